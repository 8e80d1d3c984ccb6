#pragma once
// The main window: one question file at a time, its questions listed at the left and the current
// question's stem, options and correct letter in bound editors; the toolbar reaches every command.

#include "app/ui/datasource.h"
#include "app/ui/dialogs.h"
#include "app/ui/navigator.h"
#include "store/engine.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace tovek::ui {

class ExamCommand;
class QuestionGrid;
class QuestionModel;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class UpdateCheck;

class TForm1 : public QMainWindow
{
    Q_OBJECT
public:
    // programDir: where DATA lives; empty means the directory of the executable.
    explicit TForm1(Dialogs& dialogs, const QString& programDir = QString(), QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- What the other windows work with.
    Table& table() { return m_table; }                  // Table1
    DataSource& dataSource() { return *m_dataSource; }  // DataSource1
    Dialogs& dialogs() { return m_dialogs; }
    const std::string& dataDir() const { return m_dataDir; }
    QWidget* panel1() const { return m_panel; }
    QToolBar* btnToolbar1() const { return m_toolbar; }
    QStatusBar* statusBar1() const { return m_statusBar; }
    void setStatusText(const QString& text);
    QString statusText() const;
    QLineEdit* dosyaAdiEdit() const { return m_dosyaAdiEdit; }
    QLabel* label6() const { return m_label6; }
    // 0: SoruKokuDBMemo, 1..5: YanitADBMemo .. YanitEDBMemo.
    QPlainTextEdit* editor(int index) const { return m_editors.at(index); }
    QGroupBox* dogruYanitRadioGroup() const { return m_radioGroup; }
    QCheckBox* dbCheckBox1() const { return m_checkBox; }
    QuestionGrid* dbGrid1() const { return m_grid; }
    DBNavigator* dbNavigator971() const { return m_navigator; }
    QMenu* dataGridPopupMenu() const { return m_gridMenu; }
    QMenu* popupSoruKokuMenu() const { return m_editorMenu; }
    TForm2* form2() const { return m_form2; }
    TForm3* form3() const { return m_form3; }
    TForm4* form4() const { return m_form4; }
    TForm5* form5() const { return m_form5; }
    TForm6* form6() const { return m_form6; }
    TForm7* form7() const { return m_form7; }
    TForm8* form8() const { return m_form8; }
    TForm9* form9() const { return m_form9; }
    UpdateCheck& updateCheck() { return *m_updateCheck; }
    ExamCommand& examCommand() { return *m_examCommand; }

    bool fileOpen() const { return m_table.isOpen(); }
    // Shows "Önce Soru Dosyası Açınız..." when no file is open; returns whether one is open.
    bool requireOpenFile();
    // Refuses the calling command (message, then Abort) while only active questions are shown.
    void EnsureFilterOff();
    bool activeFilter() const { return m_table.filtered(); }
    void setActiveFilter(bool on);
    bool hintsShown() const { return m_hintsShown; }

    // Opens a file as the chooser does once the user has picked listedPath.
    void openListedFile(const QString& listedPath);
    // Puts the current record into editing; in a file without questions, question 1 is added first.
    void editCurrentRecord();
    // Replaces an editor's whole text as the user would, putting the record into editing (0 = stem).
    void setEditorText(int index, const QString& text);

    // ---- Commands.
    void DosyaSecToolbarButtonClick();
    void KSBOToolbarButtonClick();
    void AktifToolbarButtonClick();
    void YKAToolbarButtonClick();
    void BilgiToolbarButtonClick();
    void BirlestirToolbarButtonClick();
    void CheckUpdateToolbarButtonClick();
    void KapatToolbarButtonClick();
    void SoruKokuToolbarButtonClick();
    void YanitAToolbarButtonClick();
    void YanitBToolbarButtonClick();
    void YanitCToolbarButtonClick();
    void YanitDToolbarButtonClick();
    void YanitEToolbarButtonClick();
    void DGP1Click();
    void DGP2Click();
    void DGP3Click();
    void DGP4Click();
    void PS1Click();
    void PS2Click();
    void PS3Click();
    void PS4Click();
    void DBNavigator971Click(DBNavigator::Button button);

signals:
    // A file has just been opened; the random-activation count goes back to its minimum.
    void fileOpened();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildToolbar();
    void buildPanel();
    void buildMenus();
    void startUp();
    void createWindows();
    void createSampleBank();
    void connectHandler(QToolButton* button, void (TForm1::*handler)());
    void connectHandler(QAction* action, void (TForm1::*handler)());
    void guarded(const std::function<void()>& command);

    void Table1BeforeInsert();
    void Table1NewRecord();
    void Table1BeforeDelete();
    void Table1AfterDelete();
    void DataSource1DataChange();
    void deleteCurrentQuestion();
    void zoomButtonClick(int index);
    void editorMenuCommand(int command);
    void runStartupUpdateCheck();

    void loadFieldControls();
    void applyUserChange(const std::function<void()>& write);
    void editorTextChanged(int index);
    void radioClicked(int index);
    void DBCheckBox1Click(bool checked);
    void gridCurrentChanged();
    void syncGridToTable();
    void placeCheckBox();
    void passKeyToCheckBox(int key, const QString& text, Qt::KeyboardModifiers modifiers);
    void updateAktifButton();
    void showHintOf(QWidget* widget);

    Dialogs& m_dialogs;
    std::string m_programDir;
    std::string m_dataDir;
    Table m_table;
    std::unique_ptr<DataSource> m_dataSource;
    bool m_checkBoxBound = false;
    bool m_hintsShown = true;
    bool m_loading = false;       // controls are being filled from the record
    bool m_applying = false;      // a user's change is being written into the record
    bool m_syncingGrid = false;
    bool m_activatedOnce = false;
    int m_gridColumn = 0;

    QToolBar* m_toolbar = nullptr;
    QToolButton* m_dosyaSecButton = nullptr;
    QToolButton* m_ksboButton = nullptr;
    QToolButton* m_aktifButton = nullptr;
    QToolButton* m_ykaButton = nullptr;
    QToolButton* m_bilgiButton = nullptr;
    QToolButton* m_birlestirButton = nullptr;
    QToolButton* m_checkUpdateButton = nullptr;
    QToolButton* m_kapatButton = nullptr;
    QWidget* m_panel = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_statusLabel = nullptr;
    QLineEdit* m_dosyaAdiEdit = nullptr;
    QLabel* m_label6 = nullptr;
    DBNavigator* m_navigator = nullptr;
    QuestionGrid* m_grid = nullptr;
    QuestionModel* m_model = nullptr;
    std::array<QPlainTextEdit*, 6> m_editors{};
    std::array<QToolButton*, 6> m_zoomButtons{};
    QGroupBox* m_radioGroup = nullptr;
    QButtonGroup* m_radioButtons = nullptr;
    std::array<QRadioButton*, 5> m_radios{};
    QCheckBox* m_checkBox = nullptr;
    QMenu* m_gridMenu = nullptr;
    QMenu* m_editorMenu = nullptr;

    TForm2* m_form2 = nullptr;
    TForm3* m_form3 = nullptr;
    TForm4* m_form4 = nullptr;
    TForm5* m_form5 = nullptr;
    TForm6* m_form6 = nullptr;
    TForm7* m_form7 = nullptr;
    TForm8* m_form8 = nullptr;
    TForm9* m_form9 = nullptr;
    std::unique_ptr<UpdateCheck> m_updateCheck;
    std::unique_ptr<ExamCommand> m_examCommand;
};

} // namespace tovek::ui
