// Main window costs on large question files: opening until the first question shows, stepping to
// the last question, and deleting question 1 with the renumbering of all others. Each figure is the
// median of several runs on a fresh copy of the file; the ratio between two file sizes shows which
// steps grow with the file.

#include "support/benchutil.h"
#include "ui/benchdialogs.h"

#include "app/ui/application.h"
#include "app/ui/navigator.h"
#include "app/ui/tform1.h"
#include "store/paths.h"
#include "store/questionfile.h"

#include <QApplication>

#include <cstdio>
#include <filesystem>
#include <vector>

using namespace tovek;
using namespace tovek::bench;

namespace {

// A bank with every other question active, so that both states are on the way.
void makeBank(const std::string& path, int count)
{
    std::vector<Question> questions = realisticQuestions(count);
    for (std::size_t i = 0; i < questions.size(); ++i)
        questions[i].active = (i + 1) % 2 == 0;
    makeQuestionFile(path, questions);
}

struct Figures
{
    double open = 0, last = 0, insert = 0, type = 0, remove = 0;
};

Figures measure(ui::Dialogs& dialogs, const QString& programDir, int count, int runs)
{
    const std::string dataDir = dataDirFor(programDir.toStdString());
    ensureDataDir(dataDir);
    const std::string master = dataDir + "MASTER" + std::to_string(count) + ".bank";
    makeBank(master, count);
    std::vector<double> open, last, insert, type, remove;
    for (int r = 0; r < runs; ++r) {
        const std::string copy = dataDir + "BUYUK.DB";
        std::filesystem::copy_file(fsPath(master), fsPath(copy), std::filesystem::copy_options::overwrite_existing);
        ui::TForm1 form(dialogs, programDir);
        form.show();
        QApplication::processEvents();

        auto t0 = Clock::now();
        form.openListedFile(QString::fromStdString(copy));
        QApplication::processEvents();
        open.push_back(secondsSince(t0));

        t0 = Clock::now();
        form.DBNavigator971Click(ui::DBNavigator::Last);
        QApplication::processEvents();
        last.push_back(secondsSince(t0));

        t0 = Clock::now();
        form.DBNavigator971Click(ui::DBNavigator::Insert);
        QApplication::processEvents();
        insert.push_back(secondsSince(t0));

        t0 = Clock::now();
        form.setEditorText(0, QStringLiteral("yeni soru"));
        form.DBNavigator971Click(ui::DBNavigator::Post);
        QApplication::processEvents();
        type.push_back(secondsSince(t0));

        form.DBNavigator971Click(ui::DBNavigator::First);
        t0 = Clock::now();
        form.DBNavigator971Click(ui::DBNavigator::Delete);
        QApplication::processEvents();
        remove.push_back(secondsSince(t0));
        if (form.table().recordCount() != count || form.table().keyAt(count - 1) != count)
            std::fprintf(stderr, "renumbering went wrong\n");
        form.close();
    }
    return {median(open), median(last), median(insert), median(type), median(remove)};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ui::Application app(argc, argv);
    BenchDialogs dialogs(true);
    app.setDialogs(&dialogs);
    ScratchDir dir;
    const QString programDir = QString::fromStdString(dir.file(""));

    const int small = 1000, large = 10000, runs = 5;
    const Figures a = measure(dialogs, programDir, small, runs);
    const Figures b = measure(dialogs, programDir, large, runs);

    std::printf("%-44s %12s %12s %8s %10s\n", "step (median of 5 runs)", "1,000 q (s)", "10,000 q (s)", "ratio",
                "target");
    std::printf("%-44s %12.4f %12.4f %8.2f %10s\n", "open file until first question shows", a.open, b.open,
                b.open / a.open, "< 0.3 s");
    std::printf("%-44s %12.4f %12.4f %8.2f %10s\n", "step to the last question", a.last, b.last, b.last / a.last,
                "-");
    std::printf("%-44s %12.4f %12.4f %8.2f %10s\n", "add a question (+)", a.insert, b.insert,
                b.insert / a.insert, "-");
    std::printf("%-44s %12.4f %12.4f %8.2f %10s\n", "change its stem and post", a.type, b.type, b.type / a.type,
                "-");
    std::printf("%-44s %12.4f %12.4f %8.2f %10s\n", "delete question 1 with renumbering", a.remove, b.remove,
                b.remove / a.remove, "< 0.5 s");
    std::printf("peak memory (ru_maxrss): %ld KiB\n", peakMemoryKiB());
    return 0;
}
