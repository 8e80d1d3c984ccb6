// The file chooser and the opening of a chosen file, driven through the real main window.

#include "../../app/ui/tform1_helpers.h"

#include "store/engine.h"
#include "store/paths.h"

#include <algorithm>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <filesystem>

using namespace tovek;
using test::fakeDialogs;

namespace {

QStringList listed(ui::TForm1& form)
{
    form.form3()->ListQuestionFiles();
    QStringList names;
    for (int i = 0; i < form.form3()->ListBox1->count(); ++i)
        names << QString::fromStdString(fileNamePart(form.form3()->ListBox1->item(i)->text().toStdString()));
    names.sort();
    return names;
}

} // namespace

class ChooserTest : public QObject
{
    Q_OBJECT
private slots:
    void newFileNamesFollowTheUpperCaseAndExtensionRules()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        ui::TForm3* chooser = form->form3();
        chooser->ListQuestionFiles();
        for (const char* typed : {"yeni sınav", "fizik.txt", "Ödev 1", "café"}) {
            fakeDialogs().inputAnswers.push_back(QString::fromUtf8(typed));
            chooser->YeniDosyaButton->click();
        }
        QCOMPARE(fakeDialogs().inputCaptions.front(), QStringLiteral("Yani Dosya Oluştur"));
        QCOMPARE(fakeDialogs().inputPrompts.front(), QStringLiteral("Yeni Dosya"));
        QVERIFY(chooser->selectedPath().isEmpty());
        QCOMPARE(chooser->ListBox1->count(), 5);
        QCOMPARE(listed(*form), QStringList({"CAFé.DB", "FİZİK.DB", "YENİ SINAV.DB", "ÖDEV 1.DB", "ÖRNEK.DB"}));
        const auto layout = readLayout(form->dataDir() + "YENİ SINAV.DB");
        QCOMPARE(layout.size(), std::size_t(9));
        QCOMPARE(layout[1].name, std::string("AKTIF"));

        // Cancelled or empty: nothing; unsafe names: refused with a message.
        fakeDialogs().inputAnswers.push_back(std::nullopt);
        chooser->YeniDosyaButton->click();
        fakeDialogs().inputAnswers.push_back(QString());
        chooser->YeniDosyaButton->click();
        QVERIFY(fakeDialogs().messages.empty());
        fakeDialogs().inputAnswers.push_back(QStringLiteral("../dışarı"));
        chooser->YeniDosyaButton->click();
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(1));
        QVERIFY(!fileExists(dir.stdPath() + "DIŞARI.DB"));
        QCOMPARE(listed(*form).size(), 5);
    }

    void anExistingNameKeepsItsQuestions()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::writeQuestionFile(form->dataDir(), "TARİH.DB", 4);
        fakeDialogs().inputAnswers.push_back(QStringLiteral("tarih"));
        form->form3()->YeniDosyaButton->click();
        QCOMPARE(test::storedQuestions(form->dataDir() + "TARİH.DB").size(), std::size_t(4));
        QVERIFY(fakeDialogs().messages.empty());
    }

    void listsOnlyWritableQuestionFiles()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::writeQuestionFile(form->dataDir(), "SALT.DB", 1);
        test::writeQuestionFile(form->dataDir(), "x.db", 1);
        std::filesystem::create_directory(fsPath(form->dataDir() + "KLASOR.DB"));
        test::writeQuestionFile(form->dataDir(), "NOT.TXT", 1);
        std::filesystem::permissions(fsPath(form->dataDir() + "SALT.DB"), std::filesystem::perms::owner_read |
                                                                             std::filesystem::perms::group_read |
                                                                             std::filesystem::perms::others_read);
        QCOMPARE(listed(*form), QStringList({"x.db", "ÖRNEK.DB"}));
    }

    void aLowerCaseExtensionOpensTheListedFileShownAsDB()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::writeQuestionFile(form->dataDir(), "x.db", 2);
        test::chooseFile(*form, QStringLiteral("x.db"));
        QVERIFY(form->fileOpen());
        QCOMPARE(form->dosyaAdiEdit()->text(), QString::fromStdString(form->dataDir()) + QStringLiteral("x.DB"));
        QCOMPARE(form->table().recordCount(), 2);
        QCOMPARE(listed(*form), QStringList({"x.db", "ÖRNEK.DB"}));
    }

    void closingOrChoosingNothingKeepsTheOpenFile()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));
        const QString shown = form->dosyaAdiEdit()->text();
        form->table().next();
        test::chooseFile(*form, QString(), "KapatButton");
        QVERIFY(form->fileOpen());
        QCOMPARE(form->dosyaAdiEdit()->text(), shown);
        QCOMPARE(form->table().position(), 1);
        test::chooseFile(*form, QString(), "DosyaSecButton");
        QVERIFY(form->fileOpen());
        QCOMPARE(form->table().position(), 1);
    }

    void reopeningDropsAnUnpostedEditAndKeepsTheFilter()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        int opened = 0;
        connect(form.get(), &ui::TForm1::fileOpened, [&opened] { ++opened; });
        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));
        form->setEditorText(0, QStringLiteral("değişti"));
        QCOMPARE(form->table().state(), TableState::Edit);
        form->setActiveFilter(true);
        QCOMPARE(form->table().state(), TableState::Browse);
        form->table().edit();
        form->table().setText(fld::SORUKOKU, "kaydedilmedi");
        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));
        QCOMPARE(opened, 2);
        QVERIFY(form->activeFilter());
        const auto stored = test::storedQuestions(form->dataDir() + "ÖRNEK.DB");
        const auto active = std::count_if(stored.begin(), stored.end(), [](const Question& q) { return q.isActive(); });
        QCOMPARE(form->table().recordCount(), int(active));
        QCOMPARE(form->editor(0)->toPlainText(), QStringLiteral("değişti"));
    }

    void aVanishedFileIsCreatedAgainAndAnOldFileIsUpgraded()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::writeQuestionFile(form->dataDir(), "GIDEN.DB", 3);
        const std::string gone = form->dataDir() + "GIDEN.DB";
        test::whenModal([gone](QWidget* modal) {
            auto* chooser = static_cast<ui::TForm3*>(modal);
            for (int i = 0; i < chooser->ListBox1->count(); ++i)
                if (chooser->ListBox1->item(i)->text().endsWith(QStringLiteral("GIDEN.DB")))
                    chooser->ListBox1->setCurrentRow(i);
            deleteTableFile(gone);
            chooser->DosyaSecButton->click();
        });
        test::toolButton(form.get(), "DosyaSecToolbarButton")->click();
        QVERIFY(form->fileOpen());
        QCOMPARE(form->table().recordCount(), 0);

        std::vector<FieldDef> old = questionLayout();
        old.erase(old.begin() + 1);
        createTable(form->dataDir() + "ESKI.DB", old, questionIndex());
        test::chooseFile(*form, QStringLiteral("ESKI.DB"));
        QVERIFY(form->fileOpen());
        QVERIFY(form->table().hasField(fld::AKTIF));
    }

    void doubleClickOpensTheSelectedFile()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::whenModal([](QWidget* modal) {
            auto* chooser = static_cast<ui::TForm3*>(modal);
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(chooser->ListBox1));
            chooser->ListBox1->setCurrentRow(0);
            QListWidgetItem* item = chooser->ListBox1->item(0);
            emit chooser->ListBox1->itemDoubleClicked(item);
        });
        test::toolButton(form.get(), "DosyaSecToolbarButton")->click();
        QVERIFY(form->fileOpen());
        QCOMPARE(form->form3()->windowTitle(), QStringLiteral("Dosya Seç"));
        QCOMPARE(form->form3()->minimumSize(), QSize(320, 320));
    }
};

TOVEK_QTEST_MAIN(ChooserTest)
#include "chooser_test.moc"
