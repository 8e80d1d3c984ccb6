// Merging two question files of 10,000 questions each: the whole merge, and the part of it that
// only reads the sources, as medians over repeated runs.
#include "support/benchutil.h"

#include "store/merge.h"
#include "store/paths.h"
#include "store/questionfile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

using namespace tovek;
using namespace tovek::bench;

namespace {

constexpr int kQuestions = 10000;
constexpr int kRuns = 7;

// About two in three questions active, as in a bank someone has been choosing from.
std::vector<Question> mergeSource(std::uint64_t seed)
{
    std::vector<Question> qs = realisticQuestions(kQuestions, seed);
    std::mt19937 rng(static_cast<unsigned>(seed));
    for (Question& q : qs)
        q.active = rng() % 3 != 0;
    return qs;
}

// The source side alone: open, walk and read every copied field.
void readSources(const std::string& a, const std::string& b)
{
    for (const std::string* p : {&a, &b}) {
        Table t;
        t.setTableName(*p);
        t.open();
        for (t.first(); !t.eof(); t.next())
            for (const char* f : {fld::AKTIF, fld::SORUKOKU, fld::YANITA, fld::YANITB, fld::YANITC, fld::YANITD,
                                  fld::YANITE, fld::DOGRUYANIT})
                (void)t.value(f);
    }
}

} // namespace

int main()
{
    ScratchDir dir;
    const std::string a = dir.file("BIRINCI.DB"), b = dir.file("IKINCI.DB"), t = dir.file("BIRLESIK.DB");
    makeQuestionFile(a, mergeSource(1));
    makeQuestionFile(b, mergeSource(2));

    std::vector<double> merges, reads;
    long long progressCalls = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        mergeQuestionFiles(a, b, t, true, [&](const MergeProgress&) { ++progressCalls; });
        merges.push_back(secondsSince(start));
        start = Clock::now();
        readSources(a, b);
        reads.push_back(secondsSince(start));
    }
    Table check;
    check.setTableName(t);
    check.open();
    const int merged = check.recordCount();
    check.close();

    const double m = median(merges), r = median(reads);
    std::printf("merge of two question files, %d + %d questions, %d runs\n", kQuestions, kQuestions, kRuns);
    std::printf("%-34s %10s %10s %10s\n", "", "median", "min", "max");
    std::printf("%-34s %9.3fs %9.3fs %9.3fs\n", "whole merge", m, *std::min_element(merges.begin(), merges.end()),
                *std::max_element(merges.begin(), merges.end()));
    std::printf("%-34s %9.3fs %9.3fs %9.3fs\n", "reading the sources only", r,
                *std::min_element(reads.begin(), reads.end()), *std::max_element(reads.begin(), reads.end()));
    std::printf("%-34s %9.3fs\n", "writing the target (difference)", m - r);
    std::printf("%-34s %10.0f\n", "questions per second", 2.0 * kQuestions / m);
    std::printf("%-34s %10.2f\n", "median / target of 1 s", m / 1.0);
    std::printf("%-34s %10lld\n", "progress calls per merge", progressCalls / kRuns);
    std::printf("%-34s %10.1f KiB\n", "target file size",
                static_cast<double>(std::filesystem::file_size(fsPath(t))) / 1024.0);
    std::printf("%-34s %10d\n", "questions in the target", merged);

    return merged == 2 * kQuestions ? 0 : 1;
}
