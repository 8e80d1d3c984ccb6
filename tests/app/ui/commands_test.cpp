// The main window's commands that open the other windows: zoom, "Karıştır", the grid's menu, about.
#include "app/ui/tform5.h"
#include "app/ui/tform6.h"
#include "exam/ui/lineview.h"
#include "support/ui/uitest.h"
#include "tform1_helpers.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>

using namespace tovek;
using tovek::test::fakeDialogs;

namespace {

QString countMessage(int n)
{
    return QStringLiteral("ŞU ANDA ") + QString::number(n) + QStringLiteral(" SORU AKTIF DURUMDA...");
}

template <typename T>
T* child(QWidget* parent, const char* name)
{
    return parent->findChild<T*>(QString::fromLatin1(name));
}

} // namespace

class CommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void zoomedOptionIsStoredWithTheNextMove()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));

        test::whenModal([](QWidget* modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("TForm6"));
            QCOMPARE(child<QPlainTextEdit>(modal, "ZoomMemo")->toPlainText(), QStringLiteral("İzmir"));
            child<QPlainTextEdit>(modal, "ZoomMemo")->setPlainText(QStringLiteral("İzmir\nEge'nin incisi"));
            child<QPushButton>(modal, "DegistirButton")->click();
        });
        test::toolButton(form.get(), "YanitCToolbarButton")->click();
        QCOMPARE(form->table().state(), TableState::Edit);
        QVERIFY(form->dbNavigator971()->button(ui::DBNavigator::Post)->isEnabled());
        QVERIFY(form->dbNavigator971()->button(ui::DBNavigator::Cancel)->isEnabled());

        form->dbNavigator971()->button(ui::DBNavigator::Next)->click();
        const auto stored = test::storedQuestions(form->dataDir() + "ÖRNEK.DB");
        QCOMPARE(stored[0].answers[2], std::string("İzmir\r\nEge'nin incisi"));
        QCOMPARE(stored[1].answers[2], std::string("1923"));

        test::whenModal([](QWidget* modal) { child<QPushButton>(modal, "VazgecButton")->click(); });
        test::toolButton(form.get(), "SoruKokuToolbarButton")->click();
        QCOMPARE(form->table().state(), TableState::Browse);
    }

    void karistirRunsFromTheToolbarToTheDocumentWindow()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));

        QStringList documentLines;
        QString order;
        test::whenModal([&](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("TForm7"));
            child<QCheckBox>(dialog, "KaristirmaYapilmasinCheckBox")->setChecked(true);
            test::whenModal([&](QWidget* document) {
                QCOMPARE(document->objectName(), QStringLiteral("TForm2"));
                documentLines = child<ui::LineView>(document, "Memo1")->toPlainText().split(QLatin1Char('\n'));
                order = document->findChild<QLineEdit*>(QStringLiteral("Edit1"))->text();
                child<QPushButton>(document, "Button1")->click();
            });
            child<QPushButton>(dialog, "AktifTamamToolbarButton")->click();
        });
        test::toolButton(form.get(), "KSBOToolbarButton")->click();

        QVERIFY(!documentLines.isEmpty());
        QCOMPARE(documentLines.first(), QStringLiteral("1) Türkiye'nin başkenti neresidir?"));
        QVERIFY(documentLines.contains(QStringLiteral("SORU_SAYISI=25")));
        QVERIFY(order.startsWith(QStringLiteral("1, 2, 3, ")));
        QVERIFY(order.endsWith(QStringLiteral(", 25")));
        QVERIFY(form->statusText().startsWith(QStringLiteral("Sorularda  1. Dağılım Yapıldı.")));
        QVERIFY(form->panel1()->isEnabled());
        QVERIFY(form->btnToolbar1()->isEnabled());
        QCOMPARE(form->table().asInteger(fld::SORUNO), 25LL); // the last question placed
        QCOMPARE(form->label6()->text(), QStringLiteral("SORU :   25"));
        QCOMPARE(form->editor(0)->toPlainText(), QString::fromStdString(test::storedQuestions(form->dataDir() + "ÖRNEK.DB")[24].stem));
    }

    void gridMenuCountsAndSwitchesFlags()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));

        form->DGP1Click();
        QCOMPARE(fakeDialogs().lastMessage(), countMessage(25));

        fakeDialogs().buttonAnswers = {QMessageBox::Ok};
        form->DGP3Click();
        form->DGP1Click();
        QCOMPARE(fakeDialogs().lastMessage(), countMessage(0));

        test::whenModal([](QWidget* modal) {
            QCOMPARE(modal->objectName(), QStringLiteral("TForm5"));
            auto* spin = child<QSpinBox>(modal, "SpinEdit1");
            QCOMPARE(spin->maximum(), 30);
            spin->setValue(4);
            child<QAbstractButton>(modal, "AktifTamamToolbarButton")->click();
        });
        form->DGP4Click();
        form->DGP1Click();
        QCOMPARE(fakeDialogs().lastMessage(), countMessage(4));
        QCOMPARE(form->table().position(), 0); // ends on the first question

        // Opening a file brings the requested count back to its minimum.
        test::chooseFile(*form, QStringLiteral("ÖRNEK.DB"));
        QCOMPARE(form->form5()->findChild<QSpinBox*>(QStringLiteral("SpinEdit1"))->value(), 1);
    }

    void aboutWindowOpensFromTheToolbar()
    {
        test::TempDir dir;
        auto form = test::makeForm(dir);
        QString shown;
        test::whenModal([&shown](QWidget* modal) {
            shown = modal->objectName();
            child<QPushButton>(modal, "OKButton")->click();
        });
        test::toolButton(form.get(), "BilgiToolbarButton")->click();
        QCOMPARE(shown, QStringLiteral("TForm4"));
    }
};

TOVEK_QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
