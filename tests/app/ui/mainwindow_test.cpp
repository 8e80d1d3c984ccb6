// The main window driven through its real widgets, with a fresh data directory per test.

#include "tform1_helpers.h"

#include "app/ui/questiongrid.h"
#include "app/version.h"
#include "store/paths.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>

using namespace tovek;
using test::fakeDialogs;

namespace {

const QString kFilterMessage = QStringLiteral("BU İŞLEM İÇİN \"AKTİF KAYITLARI GÖSTER\" BUTONU OFF OLMALIDIR.");
const QString kNoFileMessage = QStringLiteral("Önce Soru Dosyası Açınız...");

QToolButton* nav(ui::TForm1& form, const char* name)
{
    return form.dbNavigator971()->findChild<QToolButton*>(QString::fromLatin1(name));
}

std::vector<double> keysOf(const std::string& path)
{
    std::vector<double> keys;
    for (const Question& q : test::storedQuestions(path))
        keys.push_back(q.number);
    return keys;
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void startsWithTheLaidOutWindowAndTheSampleBank()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        QCOMPARE(form->windowTitle(), QStringLiteral("TOVEK Ver 1.81 ") + QString::fromUtf8(kNotice));
        QCOMPARE(form->size(), QSize(628, 525));
        QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(form->btnToolbar1()->windowTitle(), QStringLiteral("Tovek Toolbar"));
        QVERIFY(fileExists(form->dataDir() + "ÖRNEK.DB"));
        QCOMPARE(test::storedQuestions(form->dataDir() + "ÖRNEK.DB").size(), std::size_t(30));
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU 1"));
        QVERIFY(form->dosyaAdiEdit()->text().isEmpty());
        QVERIFY(fakeDialogs().messages.empty());

        struct Expect { const char* name; QString caption; QString hint; int width; };
        const Expect buttons[] = {
            {"DosyaSecToolbarButton", "Dosya", "Dosya Seç", 45},
            {"KSBOToolbarButton", "Karıştır", "Karıştırılmış Soru Belgesi Oluştur", 45},
            {"AktifToolbarButton", "Aktif OFF", "AKTIF Edilmiş Soruları Göster", 45},
            {"YKAToolbarButton", "Yardımcı", "Yardımcıları Kapat", 45},
            {"BilgiToolbarButton", "Bilgi", "Program Hakkında", 45},
            {"BirlestirToolbarButton", "Birleştir", "İki Dosyayı Birleştir", 45},
            {"CheckUpdateToolbarButton", "", "Yeni Version Var mı", 45},
            {"KapatToolbarButton", "Programı Kapat", "Programı Kapat", 86},
        };
        for (const Expect& e : buttons) {
            QToolButton* b = test::toolButton(form.get(), e.name);
            QVERIFY2(b, e.name);
            QCOMPARE(b->text(), e.caption);
            QCOMPARE(b->property("hint").toString(), e.hint);
            QCOMPARE(b->size(), QSize(e.width, 35));
            QVERIFY(!b->icon().isNull());
        }
        for (const char* n : {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert", "nbDelete", "nbEdit", "nbPost",
                              "nbCancel"})
            QVERIFY2(!nav(*form, n)->isEnabled(), n);
        QCOMPARE(nav(*form, "nbPrior")->toolTip(), QStringLiteral("Önceki Soru"));
        QCOMPARE(nav(*form, "nbNext")->toolTip(), QStringLiteral("Sonraki Soru"));

        QStringList gridItems, editorItems;
        for (QAction* a : form->dataGridPopupMenu()->actions())
            gridItems << (a->isSeparator() ? QStringLiteral("-") : a->text());
        for (QAction* a : form->popupSoruKokuMenu()->actions())
            editorItems << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(gridItems, QStringList({"AKTIF DURUMU", "-", "Tüm Sorularda AKTIF ON Olsun",
                                         "Tüm Sorularda AKTIF OFF Olsun", "-",
                                         "İstenilen Sayıda Rastgele Soru Aktif Hale Getirme"}));
        QCOMPARE(editorItems, QStringList({"Hepsini Seç", "-", "Kes", "Kopyala", "Yapıştır"}));
        QCOMPARE(form->editor(3)->property("hint").toString(),
                 QStringLiteral("C Şıkkını buraya yazınız veya yapıştırınız.\r\nC) gibi ifadeler koymayınız."));
        QCOMPARE(form->editor(0)->font().pixelSize(), 13);
    }

    void reportsAnUncreatableDataDirectoryAndStillOpens()
    {
        test::TempDir dir;
        QFile blocker(dir.path() + QStringLiteral("DATA"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        auto form = test::makeForm(dir);
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(1));
        const test::ShownMessage& m = fakeDialogs().messages.front();
        QCOMPARE(m.icon, QMessageBox::Critical);
        QCOMPARE(m.text, QStringLiteral("DATA DİZİNİ OLUŞTURULAMADI :") + QString::fromStdString(form->dataDir()) +
                             QStringLiteral("."));
        QVERIFY(form->isVisible());
    }

    void numbersNewQuestionsAndStoresThemAtOnce()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        createQuestionFile(form->dataDir(), "BOS.DB");
        test::chooseFile(*form, QStringLiteral("BOS.DB"));
        QVERIFY(form->fileOpen());
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    0"));
        QVERIFY(!nav(*form, "nbDelete")->isEnabled());

        nav(*form, "nbInsert")->click();
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    1"));
        QVERIFY(!nav(*form, "nbPost")->isEnabled());
        QVERIFY(!nav(*form, "nbCancel")->isEnabled());
        nav(*form, "nbInsert")->click();
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    2"));
        QVERIFY(nav(*form, "nbFirst")->isEnabled());
        QVERIFY(!nav(*form, "nbLast")->isEnabled());
        const auto stored = test::storedQuestions(form->dataDir() + "BOS.DB");
        QCOMPARE(stored.size(), std::size_t(2));
        QCOMPARE(stored[1].number, 2.0);
        QVERIFY(stored[1].stem.empty() && stored[1].correct.empty() && isEmpty(stored[1].active));
        QCOMPARE(form->dbGrid1()->model()->rowCount(), 2);
    }

    void typingIntoAnEmptyFileCreatesQuestionOneWithTheText()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        createQuestionFile(form->dataDir(), "BOS.DB");
        test::chooseFile(*form, QStringLiteral("BOS.DB"));
        QPlainTextEdit* stem = form->editor(0);
        stem->setFocus();
        test::typeText(stem, QStringLiteral("Çağ"));
        QCOMPARE(form->table().recordCount(), 1);
        QCOMPARE(form->table().state(), TableState::Edit);
        QCOMPARE(stem->toPlainText(), QStringLiteral("Çağ"));
        QTest::keyClick(stem, Qt::Key_Return);
        test::typeText(stem, QStringLiteral("x"));
        QVERIFY(nav(*form, "nbPost")->isEnabled());
        nav(*form, "nbPost")->click();
        const auto stored = test::storedQuestions(form->dataDir() + "BOS.DB");
        QCOMPARE(stored.size(), std::size_t(1));
        QCOMPARE(stored[0].number, 1.0);
        QCOMPARE(stored[0].stem, std::string("Çağ\r\nx"));
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    1"));
    }

    void deletingRenumbersAndLeavesTheLastQuestionCurrent()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::writeQuestionFile(form->dataDir(), "BES.DB", 5);
        const std::string path = form->dataDir() + "BES.DB";
        test::chooseFile(*form, QStringLiteral("BES.DB"));
        QVERIFY(form->table().findKey(3.0));

        fakeDialogs().buttonAnswers.push_back(QMessageBox::No);
        nav(*form, "nbDelete")->click();
        QCOMPARE(keysOf(path).size(), std::size_t(5));

        fakeDialogs().buttonAnswers.push_back(QMessageBox::Yes);
        nav(*form, "nbDelete")->click();
        const test::ShownMessage& ask = fakeDialogs().messages.back();
        QCOMPARE(ask.title, QStringLiteral("Kayıt Silme Onayı"));
        QCOMPARE(ask.text, QStringLiteral("Kayıt Silinsin mi ?"));
        QCOMPARE(ask.icon, QMessageBox::Question);
        QCOMPARE(ask.buttons, QMessageBox::Yes | QMessageBox::No);
        const auto stored = test::storedQuestions(path);
        QCOMPARE(keysOf(path), (std::vector<double>{1, 2, 3, 4}));
        QCOMPARE(stored[2].stem, std::string("Soru 4"));
        QCOMPARE(stored[3].stem, std::string("Soru 5"));
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    4"));
        QCOMPARE(form->editor(0)->toPlainText(), QStringLiteral("Soru 5"));
        QCOMPARE(form->dbGrid1()->currentIndex().row(), 3);
        QCOMPARE(form->dbGrid1()->model()->index(2, 0).data().toString(), QStringLiteral("3"));
    }

    void deletingTheOnlyQuestionShowsZero()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::writeQuestionFile(form->dataDir(), "TEK.DB", 1);
        test::chooseFile(*form, QStringLiteral("TEK.DB"));
        fakeDialogs().buttonAnswers.push_back(QMessageBox::Yes);
        nav(*form, "nbDelete")->click();
        QCOMPARE(form->table().recordCount(), 0);
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    0"));
        QVERIFY(form->editor(0)->toPlainText().isEmpty());
    }

    void theActiveFilterRefusesInsertAndDelete()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        QToolButton* aktif = test::toolButton(form.get(), "AktifToolbarButton");
        aktif->click(); // no file open: still toggles, and carries over to the file opened next
        QCOMPARE(aktif->text(), QStringLiteral("Aktif ON"));
        QCOMPARE(aktif->property("hint").toString(), QStringLiteral("Tüm Soruları Göster"));
        test::writeQuestionFile(form->dataDir(), "ON.DB", 10, 3);
        const std::string path = form->dataDir() + "ON.DB";
        test::chooseFile(*form, QStringLiteral("ON.DB"));
        QCOMPARE(form->table().recordCount(), 3);
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    3"));

        fakeDialogs().messages.clear();
        nav(*form, "nbInsert")->click();
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(1));
        QCOMPARE(fakeDialogs().lastMessage(), kFilterMessage);
        QCOMPARE(test::storedQuestions(path).size(), std::size_t(10));

        fakeDialogs().messages.clear();
        fakeDialogs().buttonAnswers.push_back(QMessageBox::Yes);
        nav(*form, "nbDelete")->click();
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(2));
        QCOMPARE(fakeDialogs().messages[0].text, QStringLiteral("Kayıt Silinsin mi ?"));
        QCOMPARE(fakeDialogs().messages[1].text, kFilterMessage);
        QCOMPARE(test::storedQuestions(path).size(), std::size_t(10));

        fakeDialogs().messages.clear();
        QVERIFY_THROWS_EXCEPTION(Abort, form->EnsureFilterOff());
        fakeDialogs().messages.clear();
        aktif->click();
        QCOMPARE(aktif->text(), QStringLiteral("Aktif OFF"));
        QCOMPARE(aktif->property("hint").toString(), QStringLiteral("AKTIF Edilmiş Soruları Göster"));
        QCOMPARE(form->table().recordCount(), 10);
        form->EnsureFilterOff();
        QVERIFY(fakeDialogs().messages.empty());
    }

    void editsAreStoredByPostOrMoveAndDroppedByCancelOrClose()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::writeQuestionFile(form->dataDir(), "UC.DB", 3);
        const std::string path = form->dataDir() + "UC.DB";
        test::chooseFile(*form, QStringLiteral("UC.DB"));
        QPlainTextEdit* optionB = form->editor(2);
        optionB->setFocus();
        QTest::keyClick(optionB, Qt::Key_End);
        test::typeText(optionB, QStringLiteral("ş"));
        QCOMPARE(form->table().state(), TableState::Edit);
        QCOMPARE(form->dbGrid1()->model()->headerData(0, Qt::Vertical).toString(), QStringLiteral("I"));
        nav(*form, "nbCancel")->click();
        QCOMPARE(optionB->toPlainText(), QStringLiteral("1B"));
        QCOMPARE(form->table().state(), TableState::Browse);

        form->findChild<QRadioButton*>(QStringLiteral("DogruYanitRadioD"))->click();
        QCOMPARE(form->table().state(), TableState::Edit);
        QTest::keyClick(optionB, Qt::Key_End);
        test::typeText(optionB, QStringLiteral("!"));
        nav(*form, "nbNext")->click();
        auto stored = test::storedQuestions(path);
        QCOMPARE(stored[0].correct, std::string("D"));
        QCOMPARE(stored[0].answers[1], std::string("1B!"));
        QCOMPARE(form->editor(0)->toPlainText(), QStringLiteral("Soru 2"));
        QVERIFY(form->findChild<QRadioButton*>(QStringLiteral("DogruYanitRadioA"))->isChecked());

        form->setEditorText(0, QStringLiteral("iki\nsatır"));
        QVERIFY(nav(*form, "nbPost")->isEnabled());
        form->close();
        QVERIFY(!form->fileOpen());
        QCOMPARE(test::storedQuestions(path)[1].stem, std::string("Soru 2"));
    }

    void theOverlayCheckBoxFollowsTheFocusedActiveCell()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        test::writeQuestionFile(form->dataDir(), "UC.DB", 3);
        const std::string path = form->dataDir() + "UC.DB";
        test::chooseFile(*form, QStringLiteral("UC.DB"));
        QCheckBox* box = form->dbCheckBox1();
        ui::QuestionGrid* grid = form->dbGrid1();
        QApplication::setActiveWindow(form.get());
        grid->setFocus();
        QCOMPARE(QApplication::focusWidget(), grid);
        QVERIFY(!box->isVisible());
        grid->setCurrentIndex(grid->model()->index(1, ui::QuestionModel::AktifColumn));
        QCOMPARE(form->table().position(), 1);
        QVERIFY(box->isVisible());
        const QRect cell = grid->visualRect(grid->currentIndex());
        QCOMPARE(box->geometry().topLeft(), grid->viewport()->mapTo(form->panel1(), cell.topLeft()));
        QVERIFY(!box->isChecked());

        box->click();
        QCOMPARE(form->table().state(), TableState::Edit);
        QVERIFY(form->table().asBoolean(fld::AKTIF));

        // A space typed in the grid's AKTIF column reaches the check box and toggles it back.
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Space);
        QVERIFY(!form->table().asBoolean(fld::AKTIF));
        QTest::keyClick(grid, Qt::Key_Space);
        QVERIFY(form->table().asBoolean(fld::AKTIF));
        nav(*form, "nbPost")->click();
        QVERIFY(test::storedQuestions(path)[1].isActive());

        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(test::storedQuestions(path).size(), std::size_t(3));
        grid->setCurrentIndex(grid->model()->index(1, ui::QuestionModel::SorunoColumn));
        QVERIFY(!box->isVisible());
    }

    void theStatusBarShowsHintsAlsoWithHintsOff()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        QEvent enter(QEvent::Enter);
        QApplication::sendEvent(test::toolButton(form.get(), "KSBOToolbarButton"), &enter);
        QCOMPARE(form->statusText(), QStringLiteral("Karıştırılmış Soru Belgesi Oluştur"));
        QToolButton* yka = test::toolButton(form.get(), "YKAToolbarButton");
        yka->click();
        QVERIFY(!form->hintsShown());
        QCOMPARE(yka->property("hint").toString(), QStringLiteral("Yardımcıları Aç"));
        QApplication::sendEvent(form->editor(0)->viewport(), &enter);
        QCOMPARE(form->statusText(),
                 QStringLiteral("Soru kökünü buraya yazınız veya yapıştırınız. Soru numarası vermeyiniz."));
        QApplication::sendEvent(nav(*form, "nbLast"), &enter);
        QCOMPARE(form->statusText(), QStringLiteral("Son Soru"));
        yka->click();
        QCOMPARE(yka->property("hint").toString(), QStringLiteral("Yardımcıları Kapat"));
    }

    void commandsThatNeedAFileSaySoAndMergeClosesTheTable()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        for (const char* name : {"KSBOToolbarButton", "SoruKokuToolbarButton", "YanitCToolbarButton"}) {
            fakeDialogs().messages.clear();
            test::toolButton(form.get(), name)->click();
            QCOMPARE(fakeDialogs().lastMessage(), kNoFileMessage);
        }
        fakeDialogs().messages.clear();
        form->DGP1Click();
        QVERIFY(fakeDialogs().messages.empty());

        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));
        QVERIFY(form->fileOpen());
        const QString shown = form->dosyaAdiEdit()->text();
        bool mergeWindowShown = false;
        test::whenModal([&mergeWindowShown](QWidget* modal) {
            mergeWindowShown = modal->objectName() == QStringLiteral("TForm9");
            modal->findChild<QPushButton*>(QStringLiteral("KapatButton"))->click();
        });
        test::toolButton(form.get(), "BirlestirToolbarButton")->click();
        QVERIFY(mergeWindowShown);
        QVERIFY(!form->fileOpen());
        QCOMPARE(form->dosyaAdiEdit()->text(), shown);
        QVERIFY(form->editor(0)->toPlainText().isEmpty());
        QVERIFY(form->editor(0)->isReadOnly());
    }

    void engineErrorsReachTheGeneralErrorBox()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        QFile notADatabase(QString::fromStdString(form->dataDir()) + QStringLiteral("METIN.DB"));
        QVERIFY(notADatabase.open(QIODevice::WriteOnly));
        notADatabase.write("bu bir soru dosyası değil\n");
        notADatabase.close();
        fakeDialogs().messages.clear();
        test::chooseFile(*form, QStringLiteral("METIN.DB"));
        QVERIFY(!form->fileOpen());
        QVERIFY(form->dosyaAdiEdit()->text().endsWith(QStringLiteral("METIN.DB")));
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(1));
        QCOMPARE(fakeDialogs().messages[0].icon, QMessageBox::Critical);
        QVERIFY(fakeDialogs().messages[0].text.endsWith(QLatin1Char('.')));
        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));
        QVERIFY(form->fileOpen());
    }

    void clipboardCommandsActOnTheFocusedEditor()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));
        QApplication::setActiveWindow(form.get());
        form->editor(1)->setFocus();
        QCOMPARE(QApplication::focusWidget(), form->editor(1));
        form->PS1Click();
        form->PS3Click();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("İstanbul"));
        QCOMPARE(form->table().state(), TableState::Browse);
        form->editor(5)->setFocus();
        form->PS1Click();
        form->PS4Click();
        QCOMPARE(form->editor(5)->toPlainText(), QStringLiteral("İstanbul"));
        QCOMPARE(form->table().state(), TableState::Edit);
        QCOMPARE(form->table().asText(fld::YANITE), std::string("İstanbul"));
    }
};

TOVEK_QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
