#include "support/benchutil.h"

#include "store/paths.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <sys/resource.h>

namespace tovek::bench {

namespace {
const std::vector<std::string> kWords = {
    "öğrenci", "sınav",   "soru",     "yanıt",    "Türkiye", "şehir",   "ılık",    "güneş",  "dağ",
    "deniz",   "çiçek",   "İstanbul", "Ankara",   "bölge",   "iklim",   "tarih",   "savaş",  "barış",
    "kuvvet",  "enerji",  "hücre",    "organ",    "sayı",    "kesir",   "çarpım",  "bölüm",  "açı",
    "üçgen",   "dörtgen", "ışık",     "ses",      "mıknatıs", "elektrik", "gezegen", "yıldız", "Ağrı",
    "Şanlıurfa", "göç",   "nüfus",    "ekonomi",  "tarım",   "sanayi",  "ulaşım",  "kültür", "edebiyat"};

std::string sentence(std::mt19937& gen, int words)
{
    std::string s;
    for (int i = 0; i < words; ++i) {
        if (i)
            s += ' ';
        s += kWords[gen() % kWords.size()];
    }
    return s;
}
} // namespace

std::vector<Question> realisticQuestions(int n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::vector<Question> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        Question q;
        q.active = true;
        q.stem = sentence(gen, 18) + "\r\n" + sentence(gen, 12) + " hangisidir?";
        for (auto& a : q.answers)
            a = sentence(gen, 3 + gen() % 6);
        q.correct = std::string(1, "ABCDE"[gen() % 5]);
        out.push_back(std::move(q));
    }
    return out;
}

ScratchDir::ScratchDir()
{
    std::random_device rd;
    const auto p = std::filesystem::temp_directory_path() / ("tovek-bench-" + std::to_string(rd()));
    std::filesystem::create_directories(p);
    m_path = utf8Path(p) + "/";
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    std::filesystem::remove_all(fsPath(m_path), ec);
}

double medianMs(int runs, const std::function<void()>& fn, const std::function<void()>& setup)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        const auto t0 = std::chrono::steady_clock::now();
        fn();
        const auto t1 = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double peakMemoryMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void printRow(const std::vector<std::string>& cells, const std::vector<int>& widths)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int w = i < widths.size() ? widths[i] : 12;
        std::printf(i == 0 ? "%-*s" : "%*s", w, cells[i].c_str());
    }
    std::printf("\n");
}

std::string fixed(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

} // namespace tovek::bench
