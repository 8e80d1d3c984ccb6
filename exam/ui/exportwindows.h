#pragma once
// The document writer's own windows: the format choice before a save and the progress window while
// the lines are written, and the step that runs them around the writer.

#include "app/ui/dialogs.h"
#include "exam/rtfexport.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPixmap>

class QComboBox;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tovek::ui {

// The small sans-serif face the document windows are laid out for.
QFont classicFormFont();

// The 31 x 31 picture of a word-processor document shown beside the format list.
QPixmap wordDocumentIcon();

// Qt marks accelerators with "&" too, so the texts pass through as they are.
inline QString accelText(const std::string& text) { return QString::fromStdString(text); }

class Tfrm_Selection : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_Selection(QWidget* parent = nullptr);

    QGroupBox* GroupBox;
    QComboBox* SelectionCombo;
    QRadioButton* rdo_View;
    QRadioButton* rdo_File;
    QLabel* IconImage;
    QPushButton* btn_Selection;
    QPushButton* btn_Cancel;

protected:
    void showEvent(QShowEvent* event) override;
};

class Tfrm_ProgressForm : public QWidget
{
    Q_OBJECT
public:
    explicit Tfrm_ProgressForm(QWidget* parent = nullptr);

    // Sized, laid out, shown and painted before the first line is written.
    void start(int rowCount, const TExportMessages& messages);
    void setRow(int row);
    void finish();

    QLabel* ProgressLabel;
    QProgressBar* ProgressBar;

private:
    QElapsedTimer m_sincePaint;
};

// Connects an exporter to the two windows: progress notifications drive Tfrm_ProgressForm and a
// view-only document is handed to the desktop. Both windows are created here and live as long as this.
class ExportWindows
{
public:
    enum class Outcome { Cancelled, Written, Failed };

    ExportWindows(TCustomExport& exporter, Dialogs& dialogs, QWidget* parent);
    ExportWindows(const ExportWindows&) = delete;
    ExportWindows& operator=(const ExportWindows&) = delete;

    // The format choice, then, unless it is cancelled, the document. A failure has been reported
    // through the exporter's OnError when this returns Failed.
    Outcome Execute();

    Tfrm_Selection* selection() const { return m_selection; }
    Tfrm_ProgressForm* progress() const { return m_progress; }

private:
    void prepareSelection();
    void applySelection();

    TCustomExport& m_exporter;
    Dialogs& m_dialogs;
    Tfrm_Selection* m_selection;
    Tfrm_ProgressForm* m_progress;
};

} // namespace tovek::ui
