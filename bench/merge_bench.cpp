// Merging two question files of 10,000 questions each: the whole merge, and the part of it that
// only reads the sources, as medians over repeated runs.
#include "store/merge.h"
#include "store/paths.h"
#include "store/questionfile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include <unistd.h>

using namespace tovek;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kQuestions = 10000;
constexpr int kRuns = 7;

const char* const kWords[] = {"öğrenci",  "sınav",   "aşağıdaki", "hangisi", "doğru",    "yanlış",
                              "değildir", "ışık",    "çözüm",     "denklem", "kuvvet",   "hız",
                              "şekilde",  "verilen", "göre",      "Türkiye", "coğrafya", "tarih",
                              "İstanbul", "üçgen",   "açı",       "kütle",   "gücü"};

std::string sentence(std::mt19937& rng, int minWords, int maxWords)
{
    std::uniform_int_distribution<int> count(minWords, maxWords);
    std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
    std::string s;
    const int n = count(rng);
    for (int i = 0; i < n; ++i) {
        if (i)
            s += (i % 12 == 0) ? "\r\n" : " ";
        s += kWords[word(rng)];
    }
    return s;
}

std::vector<Question> realisticQuestions(unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<Question> qs(kQuestions);
    for (auto& q : qs) {
        q.active = rng() % 3 != 0;
        q.stem = sentence(rng, 15, 45) + "?";
        for (auto& a : q.answers)
            a = sentence(rng, 1, 8);
        q.correct = std::string(1, "ABCDE"[rng() % 5]);
    }
    return qs;
}

void makeFile(const std::string& path, const std::vector<Question>& qs)
{
    createQuestionFile(directoryPart(path), fileNamePart(path));
    Table t;
    t.setTableName(path);
    t.open();
    appendQuestions(t, qs);
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
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
    const auto dir = std::filesystem::temp_directory_path() / ("tovek-merge-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string base = utf8Path(dir) + "/";
    const std::string a = base + "BIRINCI.DB", b = base + "IKINCI.DB", t = base + "BIRLESIK.DB";
    makeFile(a, realisticQuestions(1));
    makeFile(b, realisticQuestions(2));

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

    std::filesystem::remove_all(dir);
    return merged == 2 * kQuestions ? 0 : 1;
}
