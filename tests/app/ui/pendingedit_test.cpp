// Pending edits, guards and the overlay check box in the situations where they meet.

#include "tform1_helpers.h"

#include "app/ui/questiongrid.h"
#include "exam/ui/tform7.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace tovek;
using test::fakeDialogs;

namespace {

QToolButton* nav(ui::TForm1& form, const char* name)
{
    return form.dbNavigator971()->findChild<QToolButton*>(QString::fromLatin1(name));
}

} // namespace


namespace {

// UC.DB with three questions, open, the last one current and its stem edited ("z" typed in front).
std::unique_ptr<ui::TForm1> formEditingTheLastOfThree(const test::TempDir& dir)
{
    auto form = test::makeForm(dir);
    test::writeQuestionFile(form->dataDir(), "UC.DB", 3, 1);
    test::chooseFile(*form, QStringLiteral("UC.DB"));
    form->dbNavigator971()->button(ui::DBNavigator::Last)->click();
    QPlainTextEdit* stem = form->editor(0);
    stem->setFocus();
    test::typeText(stem, QStringLiteral("z"));
    return form;
}

} // namespace

class PendingEditTest : public QObject
{
    Q_OBJECT
private slots:
    void aGridClickAfterUncheckingInTheFilteredViewReachesTheClickedQuestion()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        test::writeQuestionFile(form->dataDir(), "SEKIZ.DB", 8, 2); // 2, 4, 6, 8 active
        test::chooseFile(*form, QStringLiteral("SEKIZ.DB"));
        test::toolButton(form.get(), "AktifToolbarButton")->click();
        QCOMPARE(form->table().recordCount(), 4);
        ui::QuestionGrid* grid = form->dbGrid1();
        QApplication::setActiveWindow(form.get());
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, ui::QuestionModel::AktifColumn));
        QVERIFY(form->dbCheckBox1()->isVisible());
        form->dbCheckBox1()->click();
        QCOMPARE(form->table().state(), TableState::Edit);
        // The row showing question 6.
        grid->setCurrentIndex(grid->model()->index(2, ui::QuestionModel::SorunoColumn));
        QCOMPARE(form->table().asInteger(fld::SORUNO), 6LL);
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    6"));
    }

    void typingIntoAnEmptyFilteredViewIsRefusedAndLeavesNothing()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        createQuestionFile(form->dataDir(), "BOS.DB");
        test::chooseFile(*form, QStringLiteral("BOS.DB"));
        test::toolButton(form.get(), "AktifToolbarButton")->click();
        QPlainTextEdit* stem = form->editor(0);
        stem->setFocus();
        fakeDialogs().clear();
        test::typeText(stem, QStringLiteral("x"));
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(1));
        QCOMPARE(stem->toPlainText(), QString());
        QCOMPARE(form->table().recordCount(), 0);
        QCOMPARE(form->table().state(), TableState::Browse);
        QVERIFY(!nav(*form, "nbPost")->isEnabled());
    }

    void karistirStoresThePendingEditByItsWalk()
    {
        test::TempDir dir;
        auto form = formEditingTheLastOfThree(dir);
        QCOMPARE(form->table().state(), TableState::Edit);
        test::whenModal([](QWidget* modal) {
            modal->findChild<QPushButton*>(QStringLiteral("AktifVazgecToolbarButton"))->click();
        });
        test::toolButton(form.get(), "KSBOToolbarButton")->click();
        QCOMPARE(QString::fromStdString(test::storedQuestions(form->dataDir() + "UC.DB")[2].stem), QStringLiteral("zSoru 3"));
        QCOMPARE(form->editor(0)->toPlainText(), QString::fromStdString(form->table().asText(fld::SORUKOKU)));
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    1"));
    }

    void deletingTheLastQuestionWhileEditingIt()
    {
        test::TempDir dir;
        auto form = formEditingTheLastOfThree(dir);
        fakeDialogs().buttonAnswers.push_back(QMessageBox::Yes);
        nav(*form, "nbDelete")->click();
        QCOMPARE(form->table().recordCount(), 2);
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :    2"));
        QCOMPARE(form->editor(0)->toPlainText(), QStringLiteral("Soru 2"));
        QCOMPARE(form->table().state(), TableState::Browse);
    }

    void theMergeWindowDropsThePendingEdit()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::writeQuestionFile(form->dataDir(), "UC.DB", 3, 1);
        test::chooseFile(*form, QStringLiteral("UC.DB"));
        QPlainTextEdit* stem = form->editor(0);
        stem->setFocus();
        test::typeText(stem, QStringLiteral("z"));
        test::whenModal([](QWidget* modal) { modal->findChild<QPushButton*>(QStringLiteral("KapatButton"))->click(); });
        test::toolButton(form.get(), "BirlestirToolbarButton")->click();
        QVERIFY(!form->table().isOpen());
        QCOMPARE(test::storedQuestions(form->dataDir() + "UC.DB")[0].stem, std::string("Soru 1"));
        QCOMPARE(form->editor(0)->toPlainText(), QString());
        QVERIFY(form->editor(0)->isReadOnly());
        QVERIFY(!nav(*form, "nbPost")->isEnabled());
        // Typing into the closed editors changes nothing and raises nothing.
        fakeDialogs().clear();
        for (int i = 0; i < 5; ++i) form->dogruYanitRadioGroup()->findChildren<QAbstractButton*>()[0]->click();
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(0));
    }
};

TOVEK_QTEST_MAIN(PendingEditTest)
#include "pendingedit_test.moc"
