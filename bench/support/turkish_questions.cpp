#include "support/turkish_questions.h"

#include <random>
#include <string>

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

std::vector<Question> turkishQuestions(int n, std::uint64_t seed)
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

} // namespace tovek::bench
