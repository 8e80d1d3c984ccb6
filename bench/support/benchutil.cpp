#include "support/benchutil.h"

#include "store/paths.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <random>
#include <sys/resource.h>

namespace tovek::bench {

namespace {

const char* const kWords[] = {
    "aşağıdakilerden", "hangisi", "doğrudur", "yanlıştır", "öğrenci", "öğretmen", "sınıf", "şehir", "ülke",
    "Türkiye", "İstanbul", "Ankara", "coğrafya", "tarih", "matematik", "fizik", "kimya", "biyoloji", "edebiyat",
    "şiir", "roman", "yazar", "dönem", "yüzyıl", "savaş", "antlaşma", "çözüm", "denklem", "sayı", "küme",
    "üçgen", "açı", "kenar", "alan", "hacim", "hız", "kuvvet", "enerji", "ısı", "ışık", "elektrik", "manyetik",
    "hücre", "doku", "organ", "canlı", "bitki", "hayvan", "iklim", "dağ", "göl", "ırmak", "deniz", "nüfus",
    "göç", "tarım", "sanayi", "ekonomi", "ticaret", "kültür", "dil", "anlam", "cümle", "sözcük", "ek", "kök",
    "yapı", "özellik", "örnek", "sonuç", "neden", "etki", "değişim", "gelişim", "süreç", "olay", "kişi",
    "toplum", "devlet", "yönetim", "hukuk", "ölçü", "birim", "değer", "oran", "yüzde", "ortalama", "çarpım",
    "bölüm", "kare", "küp", "kök", "üs", "grafik", "tablo", "veri", "bilgi", "bilim", "deney", "gözlem",
    "ve", "ile", "için", "bir", "bu", "şu", "olan", "olarak", "gibi", "kadar", "daha", "en", "çok", "az",
};

std::string sentence(std::mt19937_64& g, int minWords, int maxWords)
{
    const int count = std::uniform_int_distribution<int>(minWords, maxWords)(g);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kWords) - 1);
    std::string s;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            s += ' ';
        s += kWords[pick(g)];
    }
    if (!s.empty() && s[0] >= 'a' && s[0] <= 'z')
        s[0] = static_cast<char>(s[0] - 'a' + 'A');
    return s;
}

} // namespace

std::vector<Question> realisticQuestions(int n, std::uint64_t seed)
{
    std::mt19937_64 g(seed);
    std::vector<Question> qs;
    qs.reserve(n);
    for (int i = 1; i <= n; ++i) {
        Question q;
        q.number = i;
        q.active = true;
        const int stemLines = std::uniform_int_distribution<int>(1, 3)(g);
        for (int l = 0; l < stemLines; ++l) {
            if (l > 0)
                q.stem += "\r\n";
            q.stem += sentence(g, 8, 20) + (l + 1 == stemLines ? "?" : ".");
        }
        for (auto& answer : q.answers) {
            answer = sentence(g, 1, 8);
            if (std::uniform_int_distribution<int>(0, 9)(g) == 0)
                answer += "\r\n" + sentence(g, 2, 6);
        }
        q.correct = std::string(1, "ABCDE"[std::uniform_int_distribution<int>(0, 4)(g)]);
        qs.push_back(std::move(q));
    }
    return qs;
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

void makeQuestionFile(const std::string& path, const std::vector<Question>& questions)
{
    createQuestionFile(directoryPart(path), fileNamePart(path));
    Table t;
    t.setTableName(path);
    t.open();
    appendQuestions(t, questions);
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double seconds(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return secondsSince(start);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t m = values.size() / 2;
    return values.size() % 2 ? values[m] : (values[m - 1] + values[m]) / 2;
}

double medianMs(int runs, const std::function<void()>& fn, const std::function<void()>& setup)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        times.push_back(seconds(fn) * 1000.0);
    }
    return median(std::move(times));
}

long peakMemoryKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double peakMemoryMiB()
{
    return peakMemoryKiB() / 1024.0;
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
