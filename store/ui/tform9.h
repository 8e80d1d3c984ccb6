#pragma once
// The merge window "İki Dosyayı Birleştir": two source files and a target chosen through file dialogs,
// then all questions of both copied into the target, renumbered from 1.

#include <QDialog>
#include <QElapsedTimer>
#include <QString>

class QAction;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tovek {
struct MergeProgress;
}

namespace tovek::ui {

class Dialogs;

class TForm9 : public QDialog
{
    Q_OBJECT

public:
    // dataDir: where the file dialogs start (with a trailing separator).
    TForm9(Dialogs& dialogs, const QString& dataDir, QWidget* parent = nullptr);

    bool isMerging() const { return m_merging; }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLineEdit* Dosya1ComboEdit;
    QLineEdit* Dosya2ComboEdit;
    QLineEdit* Dosya3ComboEdit;
    QAction* Dosya1ComboEditButton;
    QAction* Dosya2ComboEditButton;
    QAction* Dosya3ComboEditButton;
    QProgressBar* ProgressBar1;
    QPushButton* BirlestirButton;
    QPushButton* KapatButton;

public slots:
    void Dosya1ComboEditButtonClick();
    void Dosya2ComboEditButtonClick();
    void Dosya3ComboEditButtonClick();
    void BirlestirButtonClick();
    void KapatButtonClick();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void chooseSource(QLineEdit* field, const QString& caption);
    void merge();
    void showProgress(const MergeProgress& progress);
    void setMerging(bool on);

    Dialogs& m_dialogs;
    QString m_dataDir;
    bool m_merging = false;
    QElapsedTimer m_repaintClock;
};

} // namespace tovek::ui
