// The "Karıştır" command driven through its windows: refusals, the dialog's kept settings, the search's
// attempts, ESC and what the command leaves behind.

#include "support/ui/uitest.h"

#include "exam/search.h"
#include "exam/ui/examcommand.h"
#include "exam/ui/lineview.h"
#include "exam/ui/tform2.h"
#include "exam/ui/tform7.h"
#include "store/engine.h"
#include "store/questionfile.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace tovek;
using namespace tovek::ui;

namespace {

Question question(int n, const std::string& correct, bool active = true)
{
    Question q;
    q.active = active;
    q.stem = "Soru " + std::to_string(n);
    for (int i = 0; i < 5; ++i)
        q.answers[static_cast<std::size_t>(i)] = std::to_string(n) + static_cast<char>('A' + i);
    q.correct = correct;
    return q;
}

// One main window's worth of parts around a question file in a fresh directory.
struct Harness
{
    test::TempDir dir;
    Table table;
    QWidget main;
    QWidget* panel = new QWidget(&main);
    QWidget* toolbar = new QWidget(&main);
    QStringList statuses;
    TForm7 form7{&main};
    TForm2 form2{test::fakeDialogs(), QString(), &main};
    std::unique_ptr<ExamCommand> command;
    int documentShown = 0;

    explicit Harness(const std::vector<Question>& questions, bool open = true)
    {
        createQuestionFile(dir.stdPath(), "SINAV.DB");
        table.setDirectory(dir.stdPath());
        table.setTableName("SINAV.DB");
        table.open();
        if (!questions.empty())
            appendQuestions(table, questions);
        if (!open)
            table.close();
        ExamCommandContext c;
        c.table = &table;
        c.dialogs = &test::fakeDialogs();
        c.parent = &main;
        c.panel = panel;
        c.toolbar = toolbar;
        c.setStatus = [this](const QString& s) { statuses << s; };
        c.form7 = &form7;
        c.form2 = &form2;
        c.dataDir = dir.path();
        c.seed = 12345;
        command = std::make_unique<ExamCommand>(std::move(c));
        main.show();
    }
};

std::vector<Question> threeActive()
{
    return {question(1, "A"), question(2, "B"), question(3, "C")};
}

// Accepts the dialog with the given settings once it opens.
void acceptDialog(int limit, bool noShuffle)
{
    test::whenModal([limit, noShuffle](QWidget* w) {
        auto* form7 = qobject_cast<TForm7*>(w);
        QVERIFY(form7);
        form7->IterasyonLimitiSpinEdit->setValue(limit);
        form7->KaristirmaYapilmasinCheckBox->setChecked(noShuffle);
        form7->AktifTamamToolbarButton->click();
    });
}

// Runs inspect on the document window once it opens, then closes it with "Kapat".
void whenDocument(Harness& h, std::function<void(TForm2*)> inspect)
{
    test::whenModal([&h, inspect](QWidget* w) {
        auto* form2 = qobject_cast<TForm2*>(w);
        if (!form2) {
            qWarning("expected the document window, got %s", qPrintable(w->objectName()));
            w->close();
            return;
        }
        ++h.documentShown;
        inspect(form2);
        form2->Button1->click();
    });
}

} // namespace

class ExamCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { test::fakeDialogs().clear(); }

    void refusals_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no file") << 0 << QString::fromUtf8(kNoOpenFileMessage);
        QTest::newRow("filter on") << 1 << QString::fromUtf8(kFilterOnMessage);
        QTest::newRow("missing answers, inactive ones too")
            << 2 << QString::fromUtf8("3,7,\r\rNOLU SORU veya SORULARIN DOĞRU YANITLARI TANIMLANMAMIŞ...\r"
                                      "SİSTEM ÇÖZÜLEMEZ...");
        QTest::newRow("no active question") << 3 << QString::fromUtf8(kNoActiveQuestionMessage);
    }

    void refusals()
    {
        QFETCH(int, kind);
        QFETCH(QString, expected);
        std::vector<Question> qs;
        for (int n = 1; n <= 8; ++n)
            qs.push_back(question(n, (kind == 2 && (n == 3 || n == 7)) ? "" : "B", kind != 3 && n != 7));
        Harness h(qs, kind != 0);
        if (kind == 1)
            h.table.setFiltered(true);
        bool dialogOpened = false;
        test::whenModal([&dialogOpened](QWidget* w) {
            dialogOpened = true;
            w->close();
        }, 300);
        h.command->KSBOToolbarButtonClick();
        QTest::qWait(350);
        QVERIFY(!dialogOpened);
        QCOMPARE(test::fakeDialogs().messages.size(), std::size_t(1));
        QCOMPARE(test::fakeDialogs().lastMessage(), expected);
        QCOMPARE(h.documentShown, 0);
        QVERIFY(h.statuses.isEmpty());
    }

    void dialogLooksAndKeepsItsSettings()
    {
        Harness h({question(1, "A"), question(2, "C"), question(3, "E"), question(4, "B", false)});
        test::whenModal([](QWidget* w) {
            auto* form7 = qobject_cast<TForm7*>(w);
            QVERIFY(form7);
            QCOMPARE(form7->windowTitle(), QStringLiteral("İterasyon"));
            QVERIFY(form7->WarningLabel->text().contains(QStringLiteral("EŞİT DAĞILIM BULUNANA KADAR")));
            QCOMPARE(form7->WarningLabel->palette().color(QPalette::Window), QColor(255, 128, 192));
            QCOMPARE(form7->IterasyonLimitiSpinEdit->value(), 0);
            QCOMPARE(form7->IterasyonLimitiSpinEdit->maximum(), kMaxAttemptLimit);
            // Only single steps change the limit: typing, paging and pasting do not.
            form7->IterasyonLimitiSpinEdit->setFocus();
            QTest::keyClick(form7->IterasyonLimitiSpinEdit, Qt::Key_Up);
            QTest::keyClick(form7->IterasyonLimitiSpinEdit, Qt::Key_Up);
            QTest::keyClick(form7->IterasyonLimitiSpinEdit, Qt::Key_Up);
            QTest::keyClick(form7->IterasyonLimitiSpinEdit, Qt::Key_Down);
            QTest::keyClick(form7->IterasyonLimitiSpinEdit, Qt::Key_7);
            QTest::keyClick(form7->IterasyonLimitiSpinEdit, Qt::Key_PageUp);
            QTest::keyClick(form7->IterasyonLimitiSpinEdit, Qt::Key_Backspace);
            QCOMPARE(form7->IterasyonLimitiSpinEdit->value(), 2);
            form7->KaristirmaYapilmasinCheckBox->click();
            form7->AktifTamamToolbarButton->click();
        });
        whenDocument(h, [](TForm2* form2) {
            // Left in place: ascending numbers, every option under its own letter, one attempt.
            QCOMPARE(form2->Edit1->text(), QStringLiteral("1, 2, 3"));
            QVERIFY(form2->Label2->text().startsWith(QStringLiteral("1. İterasyon Sonucunda Şıklardaki Dağılım ")));
            const auto& lines = form2->lines();
            QCOMPARE(QString::fromStdString(lines.at(0)), QStringLiteral("1) Soru 1"));
            QCOMPARE(QString::fromStdString(lines.at(2)), QStringLiteral("A) 1A"));
            QCOMPARE(QString::fromStdString(lines.at(6)), QStringLiteral("E) 1E"));
            QCOMPARE(QString::fromStdString(lines.back()), QStringLiteral("K=ACE"));
            QCOMPARE(form2->Memo1->lineCount(), static_cast<int>(lines.size()));
        });
        h.command->KSBOToolbarButtonClick();
        QCOMPARE(h.documentShown, 1);
        QCOMPARE(h.command->lastSearch().attempts, 1);
        QVERIFY(!h.form7.isVisible());
        QVERIFY(!h.form2.isVisible());

        // The next showing offers what was chosen; "Vazgeç" ends the command with nothing else done.
        bool checked = false;
        test::whenModal([&checked](QWidget* w) {
            auto* form7 = qobject_cast<TForm7*>(w);
            QVERIFY(form7);
            checked = form7->IterasyonLimitiSpinEdit->value() == 2 && form7->KaristirmaYapilmasinCheckBox->isChecked();
            form7->AktifVazgecToolbarButton->click();
        });
        const int statusesBefore = h.statuses.size();
        h.command->KSBOToolbarButtonClick();
        QVERIFY(checked);
        QCOMPARE(h.documentShown, 1);
        QCOMPARE(h.statuses.size(), statusesBefore);
    }

    void limitFiveOnThreeQuestions()
    {
        // t = 1 over three questions: four letters would need a correct answer each, so none passes.
        Harness h(threeActive());
        bool disabledDuringSearch = false;
        h.command->context().setStatus = [&h, &disabledDuringSearch](const QString& s) {
            if (h.statuses.isEmpty())
                disabledDuringSearch = !h.panel->isEnabled() && !h.toolbar->isEnabled();
            h.statuses << s;
        };
        acceptDialog(5, false);
        QString order;
        whenDocument(h, [&order](TForm2* form2) {
            QVERIFY(form2->Label2->text().startsWith(QStringLiteral("5. İterasyon Sonucunda Şıklardaki Dağılım   A-")));
            QVERIFY(form2->Label2->text().endsWith(QStringLiteral("  Olarak bulundu ...")));
            order = form2->Edit1->text();
            QVERIFY(!form2->lines().empty());
            QVERIFY(QString::fromStdString(form2->lines().back()).startsWith(QStringLiteral("K=")));
        });
        h.command->KSBOToolbarButtonClick();
        QCOMPARE(h.command->lastSearch().attempts, 5);
        QVERIFY(!h.command->lastSearch().stopped);
        QVERIFY(disabledDuringSearch);
        QVERIFY(h.panel->isEnabled());
        QVERIFY(h.toolbar->isEnabled());
        QVERIFY(h.statuses.last().startsWith(QStringLiteral("Sorularda  5. Dağılım Yapıldı.")));
        QVERIFY(h.statuses.last().endsWith(QStringLiteral(" - (ESC-Durdur)")));
        // The table stands on the last question placed.
        const QStringList numbers = order.split(QStringLiteral(", "));
        QCOMPARE(numbers.size(), 3);
        QCOMPARE(QString::number(h.table.asInteger(fld::SORUNO)), numbers.last());
    }

    void escapeStopsAnEndlessSearch()
    {
        Harness h(threeActive());
        acceptDialog(0, false);
        bool panelDisabledAtEscape = false;
        QTimer::singleShot(150, &h.main, [&h, &panelDisabledAtEscape] {
            panelDisabledAtEscape = !h.panel->isEnabled();
            // Pressed and not released: held down.
            QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &h.main;
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        });
        bool survivedHeldEscape = false;
        whenDocument(h, [&survivedHeldEscape](TForm2* form2) {
            // Key repeats of the ESC still held must not close the window that has just opened.
            QTest::keyPress(form2, Qt::Key_Escape);
            QCoreApplication::processEvents();
            survivedHeldEscape = form2->isVisible();
            QTest::keyRelease(form2, Qt::Key_Escape);
        });
        h.command->KSBOToolbarButtonClick();
        QVERIFY(panelDisabledAtEscape);
        QVERIFY(h.command->lastSearch().stopped);
        QVERIFY(h.command->lastSearch().attempts > 1);
        QVERIFY(h.command->lastSearch().progressCalls >= 2);
        QVERIFY(survivedHeldEscape);
        QVERIFY(h.panel->isEnabled());
        QVERIFY(h.toolbar->isEnabled());
        const QString summary = h.form2.Label2->text();
        QVERIFY(summary.startsWith(QString::number(h.command->lastSearch().attempts) + QStringLiteral(". İterasyon")));

        // Once released, ESC works as usual again: it closes the dialog of the next command.
        test::whenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        h.command->KSBOToolbarButtonClick();
        QCOMPARE(h.documentShown, 1);
    }

    void errorDuringSearchGivesThePanelBack()
    {
        Harness h(threeActive());
        h.command->context().setStatus = [](const QString&) { throw EngineError("Disk okunamadı"); };
        acceptDialog(0, false);
        bool thrown = false;
        try {
            h.command->KSBOToolbarButtonClick();
        } catch (const EngineError& e) {
            thrown = QString::fromUtf8(e.what()) == QStringLiteral("Disk okunamadı");
        }
        QVERIFY(thrown);
        QVERIFY(h.panel->isEnabled());
        QVERIFY(h.toolbar->isEnabled());
        QCOMPARE(h.documentShown, 0);
        // Input reaches the windows again.
        QLineEdit edit(&h.main);
        edit.show();
        edit.setFocus();
        QTest::keyClick(&edit, Qt::Key_X);
        QCOMPARE(edit.text(), QStringLiteral("x"));
    }

    void sameSeedSameDocument()
    {
        std::vector<Question> qs;
        for (int n = 1; n <= 12; ++n)
            qs.push_back(question(n, std::string(1, static_cast<char>('A' + n % 5))));
        Harness h(qs);
        QStringList documents;
        for (int run = 0; run < 2; ++run) {
            acceptDialog(0, false);
            whenDocument(h, [&documents](TForm2* form2) { documents << form2->Memo1->toPlainText(); });
            h.command->KSBOToolbarButtonClick();
        }
        QCOMPARE(documents.size(), 2);
        QCOMPARE(documents[0], documents[1]);
        QVERIFY(h.command->lastSearch().balanced);
        QVERIFY(documents[0].contains(QStringLiteral("SORU_SAYISI=12")));
    }
};

TOVEK_QTEST_MAIN(ExamCommandTest)
#include "examcommand_test.moc"
