// All on, all off and the random activation of 500 questions on a file of 10,000 questions.
#include "app/activeflags.h"

#include "support/benchutil.h"

#include "exam/random.h"
#include "store/questionfile.h"

#include <cstdio>
#include <vector>

using namespace tovek;
using namespace tovek::bench;

namespace {

constexpr int kQuestions = 10000;
constexpr int kRandomCount = 500;
constexpr int kRuns = 7;
constexpr double kTargetSeconds = 0.2;

} // namespace

int main()
{
    ScratchDir dir;
    const std::string path = dir.file("BANK.DB");
    std::vector<Question> qs = realisticQuestions(kQuestions);
    for (std::size_t i = 0; i < qs.size(); ++i)
        qs[i].active = (i + 1) % 3 == 0;
    makeQuestionFile(path, qs);
    Table table;
    table.setTableName(path);
    table.open();

    Random random(2024);
    std::vector<double> on, off, rnd, count;
    for (int run = 0; run < kRuns; ++run) {
        on.push_back(seconds([&] { setAllActive(table, true); }));
        off.push_back(seconds([&] { setAllActive(table, false); }));
        rnd.push_back(seconds([&] { activateRandom(table, kRandomCount, random); }));
        count.push_back(seconds([&] { countActive(table); }));
    }
    if (countActive(table) != kRandomCount) {
        std::fprintf(stderr, "random activation left the wrong number of active questions\n");
        return 1;
    }

    std::printf("%-36s %12s %12s %8s\n", "operation (10,000 questions)", "median s", "target s", "ratio");
    const auto row = [](const char* name, double s) {
        std::printf("%-36s %12.4f %12.3f %8.2f\n", name, s, kTargetSeconds, s / kTargetSeconds);
    };
    row("all on", median(on));
    row("all off", median(off));
    row("random activation of 500", median(rnd));
    row("count (no target)", median(count));

    table.close();
    return 0;
}
