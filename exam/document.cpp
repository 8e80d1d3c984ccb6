#include "exam/document.h"

#include "store/engine.h"

#include <cstdio>

namespace tovek {

std::vector<std::string> memoLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    // A final break ends the last line without opening another; an empty field still has its first line.
    if (start < text.size() || lines.empty())
        lines.emplace_back(text.substr(start));
    return lines;
}

int correctOptionNumber(const std::string& correct)
{
    if (correct.size() == 1 && correct[0] >= 'A' && correct[0] <= 'E')
        return correct[0] - 'A' + 1;
    return 0;
}

std::string keyLine(long long position, int letter)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "SORU - %02lld : %c", position, letterChar(letter));
    return buf;
}

std::string distributionText(const std::array<int, 5>& letterCounts)
{
    std::string text;
    for (int j = 0; j < 5; ++j) {
        text += "  ";
        text += letterChar(j + 1);
        text += '-';
        text += std::to_string(letterCounts[j]);
    }
    return text;
}

std::string statusText(long long attemptNo, const std::string& distribution)
{
    return "Sorularda  " + std::to_string(attemptNo) + ". Dağılım Yapıldı. Şıklarda Eşit Dağılım Aranıyor..."
        + distribution + " - (ESC-Durdur)";
}

std::string summaryText(long long attemptNo, const std::string& distribution)
{
    return std::to_string(attemptNo) + ". İterasyon Sonucunda Şıklardaki Dağılım " + distribution
        + "  Olarak bulundu ...";
}

std::string orderText(const std::vector<double>& order)
{
    std::string text;
    for (std::size_t p = 0; p < order.size(); ++p) {
        if (p > 0)
            text += ", ";
        text += formatNumber(order[p]);
    }
    return text;
}

void ExamDocument::ResetDocument()
{
    m_lines.clear();
    m_keyLines.clear();
    m_keyLetters.clear();
}

void ExamDocument::appendMemo(std::string prefix, std::string_view text)
{
    std::vector<std::string> memo = memoLines(text);
    prefix += memo.front();
    m_lines.push_back(std::move(prefix));
    for (std::size_t i = 1; i < memo.size(); ++i)
        m_lines.push_back(std::move(memo[i]));
}

void ExamDocument::AppendStem(long long position, const Question& question)
{
    appendMemo(std::to_string(position) + ") ", question.stem);
    m_lines.emplace_back();
}

void ExamDocument::AppendOption(int letter, const Question& question, int option)
{
    appendMemo(std::string{letterChar(letter), ')', ' '}, question.answers.at(option - 1));
}

void ExamDocument::AddKeyEntry(long long position, int letter)
{
    m_keyLines.push_back(keyLine(position, letter));
    m_keyLetters += letterChar(letter);
}

void ExamDocument::AppendQuestionEnd()
{
    m_lines.emplace_back();
}

void ExamDocument::SetSummary(long long attemptNo, const std::string& distribution)
{
    m_summary = summaryText(attemptNo, distribution);
}

void ExamDocument::AppendKeySection(long long questionCount)
{
    m_lines.reserve(m_lines.size() + m_keyLines.size() + 7);
    m_lines.emplace_back("YANIT ANAHTARI");
    m_lines.insert(m_lines.end(), m_keyLines.begin(), m_keyLines.end());
    m_lines.emplace_back();
    m_lines.emplace_back("*****         OPTİK OKUYUCU İÇİN");
    m_lines.emplace_back("*****     K KITAPÇIK TÜRÜNÜ GÖSTERİR");
    m_lines.emplace_back();
    m_lines.push_back("SORU_SAYISI=" + std::to_string(questionCount));
    m_lines.push_back("K=" + m_keyLetters);
}

void ExamDocument::SetOrderText(const std::vector<double>& order)
{
    m_orderText = tovek::orderText(order);
}

} // namespace tovek
