#pragma once
// The prepared document window: the shuffled examination as the search left it, with the save flow
// that writes it as a word-processor document. Created once; the writer and its style choice live
// as long as the window.

#include "app/ui/dialogs.h"
#include "exam/rtfexport.h"
#include "exam/ui/exportwindows.h"

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tovek {
class ExamDocument;
}

namespace tovek::ui {

class LineView;

class TForm2 : public QDialog
{
    Q_OBJECT
public:
    // dataDir: where every save starts, with a trailing separator.
    TForm2(Dialogs& dialogs, const QString& dataDir, QWidget* parent = nullptr);
    ~TForm2() override;

    void setDataDir(const QString& dataDir) { m_dataDir = dataDir; }
    const QString& dataDir() const { return m_dataDir; }

    // The whole finished document: its lines, summary strip and question order.
    void setDocument(std::vector<std::string> lines, const QString& summary, const QString& orderText);
    void setDocument(ExamDocument&& document);
    // The summary strip alone, while the search is still running.
    void setSummary(const QString& summary);

    // The lines shown in Memo1; the writer reads this very list.
    const std::vector<std::string>& lines() const { return m_lines; }

    TStringsExport& StringsExport1() { return m_export; }
    ExportWindows& exportWindows() { return *m_exportWindows; }
    // The outcome of the last save; Cancelled before any.
    ExportWindows::Outcome lastSaveOutcome() const { return m_lastSave; }

    QFrame* Panel1;
    QLabel* Label1;
    QLineEdit* Edit1;
    QLabel* Label2;
    LineView* Memo1;
    QFrame* Panel2;
    QPushButton* Button2;
    QPushButton* Button1;

public slots:
    // "Kaydet".
    void Button2Click();
    // "Kapat".
    void Button1Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Dialogs& m_dialogs;
    QString m_dataDir;
    std::vector<std::string> m_lines;
    TStringsExport m_export;
    std::unique_ptr<ExportWindows> m_exportWindows;
    ExportWindows::Outcome m_lastSave = ExportWindows::Outcome::Cancelled;
};

} // namespace tovek::ui
