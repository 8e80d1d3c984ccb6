#pragma once
// The zoom buttons and the editors' clipboard menu, written against the table and the editor
// widgets so that the main window only has to pass them in.

#include "app/ui/dialogs.h"
#include "store/engine.h"

#include <QList>
#include <QString>

#include <functional>

class QWidget;

namespace tovek::ui {

class TForm6;

inline constexpr int kZoomFieldCount = 6;
inline const QString kOpenFileFirst = QStringLiteral("Önce Soru Dosyası Açınız...");

// Zoomed field 0 .. 5: "Zoom: Soru Kökü", "Zoom: Yanıt A" .. "Zoom: Yanıt E" (also the buttons' hints).
QString zoomTitle(int field);
// SORUKOKU, YANITA .. YANITE.
const char* zoomFieldName(int field);

// Plain text of an editor (QPlainTextEdit, QTextEdit or QLineEdit), lines separated by "\n".
QString editorText(const QWidget* editor);
void setEditorText(QWidget* editor, const QString& text);

// Puts the current record into editing. The main window passes its own way of doing so (which in a
// file without questions inserts question 1 behind its guard and may throw Abort); empty: Table::edit.
using StartEditing = std::function<void()>;

// A zoom button: with no file open, the message; otherwise TForm6 on the editor's text, and on
// "Degistir" the text written back. Returns true when it was written back.
bool zoomCommand(int field, Table& table, QWidget* editor, TForm6& form, Dialogs& dialogs, QWidget* parent,
                 const StartEditing& startEditing);

// "Degistir": the record into editing, the editor's whole text replaced and the field given the
// same text as a pending change of the current record.
void zoomApply(Table& table, int field, QWidget* editor, const QString& text, const StartEditing& startEditing);

enum class EditorCommand { SelectAll, Cut, Copy, Paste };

// PS1 .. PS4 on the focused widget, only when it is one of editors; the clipboard carries plain text.
// Cut and paste that change the text call startEditing first (when given). Returns true when it acted.
bool editorCommand(EditorCommand command, QWidget* focused, const QList<QWidget*>& editors,
                   const StartEditing& startEditing = {});

} // namespace tovek::ui
