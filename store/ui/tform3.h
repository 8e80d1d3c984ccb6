#pragma once
// The file chooser "Dosya Seç": lists the question files of the data directory, creates new
// ones and hands the chosen file's full path back to the main window.

#include "app/ui/dialogs.h"

#include <QDialog>

#include <string>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tovek::ui {

class TForm3 : public QDialog
{
    Q_OBJECT
public:
    TForm3(Dialogs& dialogs, const std::string& dataDir, QWidget* parent = nullptr);

    // Refills the list with the question files of the data directory; nothing stays selected.
    void ListQuestionFiles();
    // Full path of the selected item; empty when none is selected.
    QString selectedPath() const;

    QListWidget* ListBox1 = nullptr;
    QPushButton* YeniDosyaButton = nullptr;
    QPushButton* DosyaSecButton = nullptr;
    QPushButton* KapatButton = nullptr;

    void YeniDosyaButtonClick();
    void DosyaSecButtonClick();
    void ListBox1DblClick();
    void KapatButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Dialogs& m_dialogs;
    std::string m_dataDir;
};

} // namespace tovek::ui
