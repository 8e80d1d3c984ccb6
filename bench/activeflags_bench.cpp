// All on, all off and the random activation of 500 questions on a file of 10,000 questions.
#include "app/activeflags.h"

#include "exam/random.h"
#include "store/paths.h"
#include "store/questionfile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

using namespace tovek;

namespace {

constexpr int kQuestions = 10000;
constexpr int kRandomCount = 500;
constexpr int kRuns = 7;
constexpr double kTargetSeconds = 0.2;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main()
{
    const auto dir = std::filesystem::temp_directory_path() / ("tovek-bench-flags-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = utf8Path(dir / "BANK.DB");

    createTable(path, questionLayout(), questionIndex());
    Table table;
    table.setTableName(path);
    table.open();
    std::vector<Question> qs;
    for (int i = 1; i <= kQuestions; ++i) {
        Question q;
        q.active = i % 3 == 0;
        q.stem = "Soru kökü " + std::to_string(i) + "\r\nikinci satır";
        for (int a = 0; a < 5; ++a)
            q.answers[a] = "Yanıt " + std::string(1, "ABCDE"[a]) + " " + std::to_string(i);
        q.correct = std::string(1, "ABCDE"[i % 5]);
        qs.push_back(q);
    }
    appendQuestions(table, qs);

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
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
