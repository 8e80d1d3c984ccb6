#pragma once
// The balanced shuffling search: from the active questions of a question file, repeated attempts
// at an order of the questions and of every question's options, until the correct answers are
// spread evenly over A..E, a limit is reached or a stop is requested. No window here: the caller
// shows the messages and the progress.

#include "exam/document.h"
#include "exam/random.h"
#include "store/engine.h"
#include "store/questionfile.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tovek {

inline constexpr int kMaxAttemptLimit = 10000;

inline constexpr const char* kNoOpenFileMessage = "Önce Soru Dosyası Açınız...";
inline constexpr const char* kNoActiveQuestionMessage =
    "EN AZ BİR SORUYU AKTİF HALE GETİRMELİSİNİZ...\rAKSİ TAKTİRDE SİSTEM ÇÖZÜLEMEZ...";
// Shown by the guard that refuses an operation while only the active records are shown;
// the caller then ends its command silently (Abort).
inline constexpr const char* kFilterOnMessage =
    "BU İŞLEM İÇİN \"AKTİF KAYITLARI GÖSTER\" BUTONU OFF OLMALIDIR.";

// "3,7,": the numbers of the records without a usable correct letter, in the order given.
std::string missingAnswerList(const std::vector<double>& numbers);
// The refusal for a non-empty missing-answer list.
std::string missingAnswerMessage(const std::string& list);

// The checks before the search, in their order: no open file, records without a correct letter
// (inactive ones too; anything but exactly "A".."E" counts as missing), no active record.
// Returns the message to show, or nothing when the search may start. The table is walked from its
// first record with the active-only filter off (a filtered table is refused with kFilterOnMessage);
// the cursor ends on the first record.
std::optional<std::string> examPrecheck(Table& table);
// The same checks on all the records of a file in key order.
std::optional<std::string> examPrecheck(const std::vector<Question>& questions);

// Balanced: every letter but the free one (1..5) holds exactly t = (N + 2) / 5 correct answers.
int balanceTarget(long long questionCount);
bool isBalanced(const std::array<int, 5>& letterCounts, int freeLetter, long long questionCount);

// The outcome of one attempt. Positions and letters are 1-based in meaning, 0-based in the vectors:
// Order[p-1] is the question number at position p; OptionMaps[p-1][j-1] is the stored option
// (1 = YANITA .. 5 = YANITE) printed under letter j; CorrectLetters[p-1] is that question's output letter.
struct Arrangement
{
    std::vector<double> Order;
    std::vector<std::array<int, 5>> OptionMaps;
    std::vector<int> CorrectLetters;
    std::array<int, 5> LetterCounts{};
    long long AttemptNo = 0;
    int FreeLetter = 0;
    bool Balanced = false;
};

struct ExamProgress
{
    long long attemptNo = 0;
    std::array<int, 5> letterCounts{};
    std::string distribution; // DistributionText
    std::string status;       // the main window's status line
    std::string summary;      // the document window's summary strip
};

enum class ExamStrategy {
    // Each attempt draws only what the balance test needs (the letter counts and the free letter);
    // the attempt that ends the search then draws its question order and option maps.
    Fast,
    // Each attempt draws the order, every option map and writes the whole document, the reference.
    Literal,
};

struct ExamOptions
{
    int limit = 0;               // most attempts, 0 for no limit; 0 .. kMaxAttemptLimit
    bool noShuffle = false;      // one attempt, questions ascending, options A..E as stored
    std::optional<std::uint64_t> seed; // reseed the generator with this; otherwise from the device
    ExamStrategy strategy = ExamStrategy::Fast;
    // Polled at the end of every attempt; once set, the attempt under way is the last.
    const std::atomic<bool>* stopRequested = nullptr;
    // Called at most once per progressInterval, and always for the last attempt. It may set
    // *stopRequested (the window reads ESC here); the attempt just reported is then the last.
    std::function<void(const ExamProgress&)> progress;
    std::chrono::nanoseconds progressInterval = std::chrono::milliseconds(33);
};

struct ExamResult
{
    Arrangement arrangement;     // of the last attempt
    ExamDocument document;       // its lines with key section, summary and order text
    std::string status;          // the status line of the last attempt
    bool stopped = false;        // ended by the stop request
};

// Runs the search over questions (all records of the file in key order; the active ones take part).
// Throws std::invalid_argument when examPrecheck would refuse them or the limit is out of range.
ExamResult runExamSearch(const std::vector<Question>& questions, Random& random, const ExamOptions& options);

// Writes the question blocks of an arrangement (the operations of ExamDocument in their order).
void writeQuestionBlocks(ExamDocument& document, const std::vector<const Question*>& byPosition,
                         const Arrangement& arrangement);

} // namespace tovek
