#pragma once
// The commands of the grid's popup menu (count, all on, all off, random activation), written
// against the table and the dialogs so that the main window only has to pass them in.

#include "app/ui/dialogs.h"
#include "exam/random.h"
#include "store/engine.h"

#include <QString>

#include <functional>

class QWidget;

namespace tovek::ui {

class TForm5;

// The main window's guard: shows its message and throws Abort while the active filter is on.
using FilterGuard = std::function<void()>;

inline const QString kAktifDurumuTitle = QStringLiteral("AKTIF DURUMU");
inline const QString kAllOnQuestion = QStringLiteral("Bütün Kayıtlarda AKTIF durumu ON Yapılacak.\nEmin misiniz?");
inline const QString kAllOffQuestion = QStringLiteral("Bütün Kayıtlarda AKTIF durumu OFF Yapılacak.\nEmin misiniz?");
inline const QString kNoQuestionsToActivate =
    QStringLiteral("Dosyada hiç soru yok; rastgele aktif yapılacak soru bulunamadı. Önce soru ekleyiniz.");

// "AKTIF DURUMU": the guard, then the count of active questions in a message; ends on the first question.
void countActiveCommand(Table& table, Dialogs& dialogs, QWidget* parent, const FilterGuard& ensureFilterOff);

// "Tüm Sorularda AKTIF ON/OFF Olsun": asks, then sets every question of the current view.
void allActiveCommand(Table& table, bool active, Dialogs& dialogs, QWidget* parent);

// "İstenilen Sayıda Rastgele Soru Aktif Hale Getirme": prepares and shows form modally; its "Tamam"
// runs the guard and the activation. A file without questions is refused with a message instead.
void randomActivationCommand(Table& table, TForm5& form, Random& random, Dialogs& dialogs, QWidget* parent,
                             const FilterGuard& ensureFilterOff);

} // namespace tovek::ui
