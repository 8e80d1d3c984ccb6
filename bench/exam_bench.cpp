// Time to a finished balanced examination document, per question count, for the fast search;
// the cost of one attempt for both strategies and what that makes the literal one take.
#include "exam/search.h"
#include "support/benchutil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace tovek;
using namespace tovek::bench;

namespace {

double expectedAttempts(int n)
{
    const int t = balanceTarget(n);
    const double logM = std::lgamma(n + 1.0) - 4 * std::lgamma(t + 1.0) - std::lgamma(n - 4 * t + 1.0);
    return std::exp(n * std::log(5.0) - logM);
}

std::string human(double s)
{
    char buf[64];
    if (s < 1e-3)
        std::snprintf(buf, sizeof buf, "%.1f us", s * 1e6);
    else if (s < 1)
        std::snprintf(buf, sizeof buf, "%.2f ms", s * 1e3);
    else if (s < 3600)
        std::snprintf(buf, sizeof buf, "%.2f s", s);
    else if (s < 86400 * 2)
        std::snprintf(buf, sizeof buf, "%.1f h", s / 3600);
    else
        std::snprintf(buf, sizeof buf, "%.1f days", s / 86400);
    return buf;
}

void row(int n, int repeats)
{
    const std::vector<Question> qs = realisticQuestions(n);
    Random random;

    // Fast strategy: whole searches to a balanced document.
    std::vector<double> times;
    double totalTime = 0;
    long long totalAttempts = 0;
    for (int r = 0; r < repeats; ++r) {
        ExamOptions o;
        o.seed = 1000 + r;
        const auto start = Clock::now();
        const ExamResult result = runExamSearch(qs, random, o);
        const double s = secondsSince(start);
        if (!result.arrangement.Balanced)
            std::fprintf(stderr, "unbalanced result at N=%d\n", n);
        times.push_back(s);
        totalTime += s;
        totalAttempts += result.arrangement.AttemptNo;
    }

    // What a search costs besides its attempts: loading the questions and writing one document.
    std::vector<double> oneAttempt;
    for (int r = 0; r < std::max(5, repeats / 4); ++r) {
        ExamOptions o;
        o.seed = 1;
        o.noShuffle = true;
        const auto start = Clock::now();
        runExamSearch(qs, random, o);
        oneAttempt.push_back(secondsSince(start));
    }
    const double fixedCost = median(oneAttempt);
    const double fastPerAttempt = std::max(0.0, totalTime - repeats * fixedCost) / double(totalAttempts);

    // Literal strategy, for a bounded number of attempts (about half a second of work).
    double literalTime = 0;
    long long literalAttempts = 0;
    int seed = 1;
    while (literalTime < 0.5 && literalAttempts < 2000) {
        ExamOptions o;
        o.seed = seed++;
        o.strategy = ExamStrategy::Literal;
        o.limit = 50;
        const auto start = Clock::now();
        const ExamResult result = runExamSearch(qs, random, o);
        literalTime += secondsSince(start);
        literalAttempts += result.arrangement.AttemptNo;
    }
    const double literalPerAttempt = literalTime / double(literalAttempts);
    const double expected = expectedAttempts(n);

    std::printf("%6d | %11.0f | %11.0f | %10s | %9.1f ns | %10.1f us | %8lld | %9.0fx | %12s | %7.1f MB\n", n,
                expected, double(totalAttempts) / repeats, human(median(times)).c_str(), fastPerAttempt * 1e9,
                literalPerAttempt * 1e6, literalAttempts, literalPerAttempt / fastPerAttempt,
                human(literalPerAttempt * expected).c_str(), peakMemoryMiB());
    std::fflush(stdout);
}

} // namespace

int main()
{
    std::printf("Exam search: balanced document from N active questions (realistic Turkish texts).\n");
    std::printf("fast median = median wall time of whole fast searches (seeded) to a finished balanced document;\n");
    std::printf("fast/attempt = (total search time - searches x one no-shuffle search) / attempts;\n");
    std::printf("literal/attempt measured over the attempts shown (bounded), literal expected = that x E[attempts];\n");
    std::printf("peak RSS = ru_maxrss of a separate process per row.\n\n");
    std::printf("%6s | %11s | %11s | %10s | %12s | %13s | %8s | %10s | %12s | %10s\n", "N", "E[attempts]",
                "mean att.", "fast med.", "fast/att.", "literal/att.", "lit. run", "ratio", "lit. expected",
                "peak RSS");
    std::fflush(stdout);
    const int sizes[][2] = {{10, 301}, {100, 101}, {500, 41}, {2000, 21}, {10000, 5}};
    for (const auto& size : sizes) {
        const pid_t child = fork();
        if (child == 0) {
            row(size[0], size[1]);
            _exit(0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return 1;
    }
    return 0;
}
