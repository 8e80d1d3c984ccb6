// The random-activation dialog on its own and the grid's popup commands driven against a real file.
#include "app/activeflags.h"
#include "app/ui/activeflagcommands.h"
#include "app/ui/tform5.h"
#include "store/questionfile.h"
#include "support/ui/uitest.h"

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

using namespace tovek;
using namespace tovek::ui;
using tovek::test::fakeDialogs;

namespace {

// A file of count questions of which the listed numbers are active.
struct OpenFile
{
    test::TempDir dir;
    Table table;

    OpenFile(int count, std::vector<int> activeNumbers = {})
    {
        const std::string path = dir.stdPath() + "t.DB";
        createTable(path, questionLayout(), questionIndex());
        table.setTableName(path);
        table.open();
        std::vector<Question> qs(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            qs[static_cast<std::size_t>(i)].active =
                std::find(activeNumbers.begin(), activeNumbers.end(), i + 1) != activeNumbers.end();
        appendQuestions(table, qs);
        table.first();
    }
    int stored()
    {
        Table other;
        other.setTableName(table.path());
        other.open();
        other.setFiltered(true);
        return other.recordCount();
    }
};

const QString kGuardMessage = QStringLiteral("guard");

FilterGuard guardFor(Table& table)
{
    return [&table] {
        if (table.filtered()) {
            fakeDialogs().information(nullptr, kGuardMessage);
            throw Abort();
        }
    };
}

} // namespace

class TForm5Test : public QObject
{
    Q_OBJECT

private slots:
    void init() { fakeDialogs().clear(); }

    void layoutAndTexts()
    {
        TForm5 form(fakeDialogs());
        QCOMPARE(form.windowTitle(), QStringLiteral("İstenilen Sayıda Rastgele Soru Aktif Hale Getirme"));
        QCOMPARE(form.size(), QSize(352, 183));
        QCOMPARE(form.minimumSize(), form.maximumSize());
        auto* warning = form.findChild<QLabel*>(QStringLiteral("Label2"));
        QVERIFY(warning);
        QCOMPARE(warning->text().split('\n'),
                 QStringList({QStringLiteral("DİKKAT"), QStringLiteral("TÜM SORULARIN AKTİF DURUMU OFF YAPILACAK."),
                              QStringLiteral("DAHA SONRA RASTGELE SORU SEÇİMİ OLACAKTIR.")}));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage shot = warning->grab().toImage();
        QCOMPARE(QColor(shot.pixel(2, 2)), QColor(255, 128, 128));
        QVERIFY(warning->font().bold());
        QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Kaç Soru AKTIF Yapılsın :"));
        auto* cancel = form.findChild<QToolButton*>(QStringLiteral("AktifVazgecToolbarButton"));
        auto* ok = form.findChild<QToolButton*>(QStringLiteral("AktifTamamToolbarButton"));
        QCOMPARE(cancel->text(), QStringLiteral("Vazgeç"));
        QCOMPARE(ok->text(), QStringLiteral("Tamam"));
        QVERIFY(cancel->x() < ok->x());
    }

    void countFieldMovesOnlyByArrowsOneStepAtATime()
    {
        TForm5 form(fakeDialogs());
        form.setQuestionCount(40);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.SpinEdit1->setFocus();
        QTest::keyClicks(form.SpinEdit1, "25");
        QCOMPARE(form.requestedCount(), 1);
        QTest::keyClick(form.SpinEdit1, Qt::Key_Up);
        QTest::keyClick(form.SpinEdit1, Qt::Key_Up);
        QCOMPARE(form.requestedCount(), 3);
        QTest::keyClick(form.SpinEdit1, Qt::Key_PageUp);
        QCOMPARE(form.requestedCount(), 3);
        form.SpinEdit1->stepBy(5);
        QCOMPARE(form.requestedCount(), 4);
        QTest::keyClick(form.SpinEdit1, Qt::Key_Down);
        QCOMPARE(form.requestedCount(), 3);
    }

    void countCommand()
    {
        OpenFile f(10, {2, 5, 9});
        f.table.last();
        countActiveCommand(f.table, fakeDialogs(), nullptr, guardFor(f.table));
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(1));
        QCOMPARE(fakeDialogs().lastMessage(), QStringLiteral("ŞU ANDA 3 SORU AKTIF DURUMDA..."));
        QCOMPARE(fakeDialogs().messages.back().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(f.table.position(), 0);

        fakeDialogs().clear();
        f.table.setFiltered(true);
        countActiveCommand(f.table, fakeDialogs(), nullptr, guardFor(f.table));
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(1));
        QCOMPARE(fakeDialogs().lastMessage(), kGuardMessage);

        fakeDialogs().clear();
        Table closed;
        countActiveCommand(closed, fakeDialogs(), nullptr, guardFor(closed));
        allActiveCommand(closed, true, fakeDialogs(), nullptr);
        allActiveCommand(closed, false, fakeDialogs(), nullptr);
        TForm5 form(fakeDialogs());
        Random random(1);
        randomActivationCommand(closed, form, random, fakeDialogs(), nullptr, guardFor(closed));
        QVERIFY(fakeDialogs().messages.empty());
        QVERIFY(!form.isVisible());
    }

    void allOnAndOffAskFirst()
    {
        OpenFile f(6, {1});
        fakeDialogs().buttonAnswers = {QMessageBox::Cancel};
        allActiveCommand(f.table, true, fakeDialogs(), nullptr);
        QCOMPARE(f.stored(), 1);
        const test::ShownMessage asked = fakeDialogs().messages.back();
        QCOMPARE(asked.title, QStringLiteral("AKTIF DURUMU"));
        QCOMPARE(asked.text, QStringLiteral("Bütün Kayıtlarda AKTIF durumu ON Yapılacak.\nEmin misiniz?"));
        QCOMPARE(asked.icon, QMessageBox::Question);
        QCOMPARE(asked.buttons, QMessageBox::Ok | QMessageBox::Cancel);

        fakeDialogs().buttonAnswers = {QMessageBox::Ok};
        f.table.last();
        allActiveCommand(f.table, true, fakeDialogs(), nullptr);
        QCOMPARE(f.stored(), 6);
        QCOMPARE(f.table.position(), 0);

        // No guard: with the filter on the shown questions are walked.
        f.table.setFiltered(true);
        fakeDialogs().buttonAnswers = {QMessageBox::Ok};
        allActiveCommand(f.table, false, fakeDialogs(), nullptr);
        QCOMPARE(fakeDialogs().lastMessage(),
                 QStringLiteral("Bütün Kayıtlarda AKTIF durumu OFF Yapılacak.\nEmin misiniz?"));
        QCOMPARE(f.stored(), 0);
    }

    void randomActivationThroughTheDialog()
    {
        OpenFile f(10, {1, 2, 3, 4});
        TForm5 form(fakeDialogs());
        Random random(5);
        bool sawRange = false;
        test::whenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<TForm5*>(w);
            QVERIFY(dialog);
            sawRange = dialog->SpinEdit1->minimum() == 1 && dialog->SpinEdit1->maximum() == 10;
            QTest::keyClick(dialog->SpinEdit1, Qt::Key_Up);
            QTest::keyClick(dialog->SpinEdit1, Qt::Key_Up);
            dialog->AktifTamamToolbarButton->click();
        });
        randomActivationCommand(f.table, form, random, fakeDialogs(), nullptr, guardFor(f.table));
        QVERIFY(sawRange);
        QVERIFY(!form.isVisible());
        QCOMPARE(f.stored(), 3);
        QCOMPARE(f.table.position(), 0);
        QVERIFY(fakeDialogs().messages.empty());

        // "Vazgeç" changes nothing; the count is kept for the next showing.
        test::whenModal([](QWidget* w) { qobject_cast<TForm5*>(w)->AktifVazgecToolbarButton->click(); });
        randomActivationCommand(f.table, form, random, fakeDialogs(), nullptr, guardFor(f.table));
        QCOMPARE(f.stored(), 3);
        QCOMPARE(form.requestedCount(), 3);
    }

    void guardKeepsTheDialogOpen()
    {
        OpenFile f(8, {1, 2, 3});
        f.table.setFiltered(true);
        TForm5 form(fakeDialogs());
        form.setQuestionCount(10);
        form.SpinEdit1->setValue(7); // left from a bigger file: brought into the view's 1 .. 3
        Random random(5);
        bool stayedOpen = false;
        test::whenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<TForm5*>(w);
            QCOMPARE(dialog->requestedCount(), 3);
            dialog->AktifTamamToolbarButton->click();
            stayedOpen = dialog->isVisible();
            dialog->AktifVazgecToolbarButton->click();
        });
        randomActivationCommand(f.table, form, random, fakeDialogs(), nullptr, guardFor(f.table));
        QVERIFY(stayedOpen);
        QCOMPARE(fakeDialogs().lastMessage(), kGuardMessage);
        QCOMPARE(f.stored(), 3);
        form.resetRequestedCount(); // a newly opened file
        QCOMPARE(form.requestedCount(), 1);
    }

    void emptyFileIsRefusedWithoutTheDialog()
    {
        OpenFile f(0);
        TForm5 form(fakeDialogs());
        Random random(5);
        randomActivationCommand(f.table, form, random, fakeDialogs(), nullptr, guardFor(f.table));
        QCOMPARE(fakeDialogs().lastMessage(), kNoQuestionsToActivate);
        QVERIFY(!form.isVisible());

        // An empty view under the filter is the guard's case, not an empty file.
        OpenFile none(4);
        none.table.setFiltered(true);
        fakeDialogs().clear();
        randomActivationCommand(none.table, form, random, fakeDialogs(), nullptr, guardFor(none.table));
        QCOMPARE(fakeDialogs().messages.size(), std::size_t(1));
        QCOMPARE(fakeDialogs().lastMessage(), kGuardMessage);
    }
};

TOVEK_QTEST_MAIN(TForm5Test)
#include "tform5_test.moc"
