#pragma once
// The text of a shuffled examination: question blocks, answer key, optical-reader block,
// the question-order line and the summary strip. The document window shows these as they are.

#include "store/questionfile.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tovek {

// A memo field as lines: CR LF, a lone CR and a lone LF each end a line; one break at the very end
// starts no further line; an empty field gives a single empty line.
std::vector<std::string> memoLines(std::string_view text);

// 'A' for letter 1 .. 'E' for letter 5.
inline char letterChar(int letter) { return static_cast<char>('A' + letter - 1); }

// Stored option number (1..5) named by a correct-answer field, or 0 when it is not exactly "A".."E".
int correctOptionNumber(const std::string& correct);

// "SORU - 07 : C": the position with one leading zero below 10, then the output letter.
std::string keyLine(long long position, int letter);

// "  A-2  B-2  C-3  D-2  E-2".
std::string distributionText(const std::array<int, 5>& letterCounts);
// The main window's status line while the search runs.
std::string statusText(long long attemptNo, const std::string& distribution);
// The document window's summary strip.
std::string summaryText(long long attemptNo, const std::string& distribution);
// "3, 1, 2": question numbers in document order.
std::string orderText(const std::vector<double>& order);

// The document of one attempt. The operations are called in the order in which the lines are read:
// per question ResetDocument once, then AppendStem, AppendOption (with AddKeyEntry after the correct
// one), AppendQuestionEnd; after the search AppendKeySection and SetOrderText.
class ExamDocument
{
public:
    void ResetDocument();
    void AppendStem(long long position, const Question& question);
    // Lines of stored option `option` (1..5) under output letter `letter` (1..5).
    void AppendOption(int letter, const Question& question, int option);
    void AddKeyEntry(long long position, int letter);
    void AppendQuestionEnd();
    void SetSummary(long long attemptNo, const std::string& distribution);
    void AppendKeySection(long long questionCount);
    void SetOrderText(const std::vector<double>& order);

    // The document window's text area.
    const std::vector<std::string>& lines() const { return m_lines; }
    std::vector<std::string> takeLines() { return std::move(m_lines); }
    const std::vector<std::string>& keyLines() const { return m_keyLines; }
    const std::string& keyLetters() const { return m_keyLetters; }
    // The document window's summary strip and question-order field.
    const std::string& summary() const { return m_summary; }
    const std::string& orderText() const { return m_orderText; }

    void reserveLines(std::size_t count) { m_lines.reserve(count); }

private:
    void appendMemo(std::string prefix, std::string_view text);

    std::vector<std::string> m_lines;
    std::vector<std::string> m_keyLines;
    std::string m_keyLetters;
    std::string m_summary;
    std::string m_orderText;
};

} // namespace tovek
