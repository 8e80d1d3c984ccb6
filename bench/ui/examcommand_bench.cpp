// The whole "Karıştır" command on 2000 active questions, from "Tamam" to the shown document window,
// against the search alone for the same questions and seed; with the number of repaints on the way.
#include "support/benchutil.h"
#include "ui/benchdialogs.h"

#include "exam/search.h"
#include "exam/ui/examcommand.h"
#include "exam/ui/tform2.h"
#include "exam/ui/tform7.h"
#include "store/questionfile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace tovek;
using namespace tovek::bench;
using namespace tovek::ui;

namespace {

// Notes when a widget is shown or painted; closes the document window as soon as it is up.
class Watcher : public QObject
{
public:
    QElapsedTimer* clock = nullptr;
    qint64 shownAt = -1;
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        if (event->type() == QEvent::Show && qobject_cast<TForm2*>(watched)) {
            shownAt = clock->nsecsElapsed();
            auto* form = static_cast<TForm2*>(watched);
            QTimer::singleShot(0, form, [form] { form->accept(); });
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchDialogs dialogs;

    constexpr int kQuestions = 2000;
    ScratchDir dir;
    const std::vector<Question> questions = realisticQuestions(kQuestions);
    makeQuestionFile(dir.file("BENCH.DB"), questions);
    Table table;
    table.setDirectory(dir.file(""));
    table.setTableName("BENCH.DB");
    table.open();
    const std::vector<Question> stored = readAllQuestions(table);

    QWidget main;
    auto* panel = new QWidget(&main);
    auto* toolbar = new QWidget(&main);
    auto* status = new QLabel(&main);
    status->setGeometry(0, 0, 700, 20);
    main.resize(720, 100);
    main.show();
    TForm7 form7(&main);
    TForm2 form2(dialogs, QString::fromStdString(dir.file("")), &main);
    ExamCommandContext context;
    context.table = &table;
    context.dialogs = &dialogs;
    context.parent = &main;
    context.panel = panel;
    context.toolbar = toolbar;
    context.setStatus = [status](const QString& s) { status->setText(s); };
    context.form7 = &form7;
    context.form2 = &form2;
    context.dataDir = QString::fromStdString(dir.file(""));
    ExamCommand command(std::move(context));

    Watcher watcher;
    QElapsedTimer clock;
    watcher.clock = &clock;
    form2.installEventFilter(&watcher);
    status->installEventFilter(&watcher);

    std::printf("Karıştır on %d active questions, limit 0 (until balanced); times in ms\n", kQuestions);
    const std::vector<int> widths = {8, 12, 12, 14, 8, 12, 14, 10};
    printRow({"seed", "attempts", "engine", "Tamam->shown", "ratio", "callbacks", "status paints", "Hz"}, widths);
    std::vector<double> ratios;
    double engineTotal = 0;
    double commandTotal = 0;
    for (std::uint64_t seed : {1ull, 2ull, 3ull, 4ull, 5ull, 6ull, 7ull}) {
        ExamOptions options;
        options.seed = seed;
        options.progress = [](const ExamProgress&) {};
        QElapsedTimer engineClock;
        engineClock.start();
        const ExamResult alone = runExamSearch(stored, processRandom(), options);
        const double engineMs = static_cast<double>(engineClock.nsecsElapsed()) / 1e6;

        command.context().seed = seed;
        watcher.shownAt = -1;
        watcher.paints = 0;
        clock.start();
        command.AktifTamamToolbarButtonClick();
        const double commandMs = static_cast<double>(watcher.shownAt) / 1e6;
        const ExamSearchStats& stats = command.lastSearch();
        if (stats.attempts != alone.arrangement.AttemptNo)
            std::fprintf(stderr, "seed %llu: %lld attempts in the command, %lld alone\n",
                         static_cast<unsigned long long>(seed), stats.attempts, alone.arrangement.AttemptNo);
        const double ratio = commandMs / engineMs;
        ratios.push_back(ratio);
        engineTotal += engineMs;
        commandTotal += commandMs;
        printRow({std::to_string(seed), std::to_string(stats.attempts), fixed(engineMs), fixed(commandMs), fixed(ratio),
                  std::to_string(stats.progressCalls), std::to_string(watcher.paints),
                  fixed(commandMs > 0 ? stats.progressCalls * 1000.0 / commandMs : 0, 1)},
                 widths);
    }
    {
        QElapsedTimer t;
        t.start();
        const auto again = readAllQuestions(table);
        const double readMs = t.nsecsElapsed() / 1e6;
        ExamOptions options;
        options.seed = 1;
        ExamResult r = runExamSearch(stored, processRandom(), options);
        const std::size_t lineCount = r.document.lines().size();
        t.restart();
        form2.setDocument(std::move(r.document));
        const double setMs = t.nsecsElapsed() / 1e6;
        std::printf("parts: read %zu records %.2f ms, fill the window with %zu lines %.2f ms\n", again.size(), readMs,
                    lineCount, setMs);
    }
    {
        // A bank five times larger: the window's share must not grow with the document.
        ExamOptions options;
        options.seed = 1;
        options.limit = 1;
        ExamResult r = runExamSearch(realisticQuestions(5 * kQuestions), processRandom(), options);
        const std::size_t lineCount = r.document.lines().size();
        QElapsedTimer t;
        t.start();
        form2.setDocument(std::move(r.document));
        const double setMs = t.nsecsElapsed() / 1e6;
        t.restart();
        const QPixmap shown = form2.grab();
        const double paintMs = t.nsecsElapsed() / 1e6;
        std::printf("fill the window with %zu lines %.2f ms, paint it once %.2f ms\n", lineCount, setMs, paintMs);
    }
    std::printf("median ratio %.2f, total ratio %.2f (target: within 1.5); peak memory %.1f MiB\n", median(ratios),
                commandTotal / engineTotal, peakMemoryMiB());
    return 0;
}
