#include "exam/search.h"

#include "exam/binomial.h"

#include <algorithm>
#include <map>
#include <type_traits>
#include <utility>

namespace tovek {

std::string missingAnswerList(const std::vector<double>& numbers)
{
    std::string list;
    for (double n : numbers)
        list += formatNumber(n) + ",";
    return list;
}

std::string missingAnswerMessage(const std::string& list)
{
    return list + "\r\r" + "NOLU SORU veya SORULARIN DOĞRU YANITLARI TANIMLANMAMIŞ..." + "\r" + "SİSTEM ÇÖZÜLEMEZ...";
}

namespace {

std::optional<std::string> precheckVerdict(const std::vector<double>& missing, bool anyActive)
{
    if (!missing.empty())
        return missingAnswerMessage(missingAnswerList(missing));
    if (!anyActive)
        return std::string(kNoActiveQuestionMessage);
    return std::nullopt;
}

} // namespace

std::optional<std::string> examPrecheck(Table& table)
{
    if (!table.isOpen())
        return std::string(kNoOpenFileMessage);
    if (table.filtered())
        return std::string(kFilterOnMessage);
    std::vector<double> missing;
    bool anyActive = false;
    // The key order is ascending question number, so the list comes out ascending.
    for (table.first(); !table.eof(); table.next()) {
        if (correctOptionNumber(table.asText(fld::DOGRUYANIT)) == 0) {
            const Value number = table.value(fld::SORUNO);
            missing.push_back(std::holds_alternative<double>(number) ? std::get<double>(number) : 0);
        }
        anyActive = anyActive || table.asBoolean(fld::AKTIF);
    }
    table.first();
    return precheckVerdict(missing, anyActive);
}

std::optional<std::string> examPrecheck(const std::vector<Question>& questions)
{
    std::vector<double> missing;
    bool anyActive = false;
    for (const Question& q : questions) {
        if (correctOptionNumber(q.correct) == 0)
            missing.push_back(q.number);
        anyActive = anyActive || q.isActive();
    }
    std::sort(missing.begin(), missing.end());
    return precheckVerdict(missing, anyActive);
}

int balanceTarget(long long questionCount)
{
    return static_cast<int>((questionCount + 2) / 5);
}

bool isBalanced(const std::array<int, 5>& letterCounts, int freeLetter, long long questionCount)
{
    const int t = balanceTarget(questionCount);
    for (int j = 1; j <= 5; ++j) {
        if (j != freeLetter && letterCounts[j - 1] != t)
            return false;
    }
    return true;
}

void writeQuestionBlocks(ExamDocument& document, const std::vector<const Question*>& byPosition,
                         const Arrangement& arrangement)
{
    document.ResetDocument();
    for (std::size_t p = 0; p < byPosition.size(); ++p) {
        const Question& q = *byPosition[p];
        const long long position = static_cast<long long>(p) + 1;
        document.AppendStem(position, q);
        const int k = correctOptionNumber(q.correct);
        for (int j = 1; j <= 5; ++j) {
            const int option = arrangement.OptionMaps[p][j - 1];
            document.AppendOption(j, q, option);
            if (option == k)
                document.AddKeyEntry(position, j);
        }
        document.AppendQuestionEnd();
    }
}

namespace {

// The active questions, ascending, with their correct stored options.
struct ExamInput
{
    std::vector<const Question*> active;
    std::vector<int> correct;
    long long n = 0;
    int t = 0;

    explicit ExamInput(const std::vector<Question>& questions)
    {
        std::vector<const Question*> all;
        all.reserve(questions.size());
        for (const Question& q : questions)
            all.push_back(&q);
        std::stable_sort(all.begin(), all.end(), [](auto a, auto b) { return a->number < b->number; });
        for (const Question* q : all) {
            if (q->isActive()) {
                active.push_back(q);
                correct.push_back(correctOptionNumber(q->correct));
            }
        }
        n = static_cast<long long>(active.size());
        t = balanceTarget(n);
    }

    // The count the balance test asks of a letter when `freeLetter` is free.
    int target(int letter, int freeLetter) const { return letter == freeLetter ? static_cast<int>(n) - 4 * t : t; }
};

int drawLetter(Random& random)
{
    // A letter is a draw below 6 repeated while it is 0.
    std::uint64_t r;
    do
        r = random.below(6);
    while (r == 0);
    return static_cast<int>(r);
}

void noShuffleArrangement(const ExamInput& in, Arrangement& a)
{
    a.Order.clear();
    a.OptionMaps.assign(in.active.size(), {1, 2, 3, 4, 5});
    a.CorrectLetters.assign(in.correct.begin(), in.correct.end());
    a.LetterCounts = {};
    for (const Question* q : in.active)
        a.Order.push_back(q->number);
    for (int k : in.correct)
        ++a.LetterCounts[k - 1];
}

// Only the letter counts and the free letter of an attempt decide its test. Under uniformly random
// option orders the letter of each correct option is uniform and independent between questions, so
// the counts are multinomial(N; 1/5 each): the first count and the free letter are drawn together
// from one table, the others, by conditional binomials, only while the attempt can still pass.
// The attempt that ends the search then draws an order, letters and option maps consistent with
// its counts, which gives them exactly the law they have when everything is drawn every time.
class FastAttempts
{
public:
    FastAttempts(const ExamInput& in, Random& random, Random& side, bool noShuffle)
        : m_in(in), m_random(random), m_side(side), m_noShuffle(noShuffle)
    {
        if (noShuffle)
            return;
        int lo = 0;
        const std::vector<long double> first = binomialWeights(static_cast<int>(in.n), 5, lo);
        m_firstLo = lo;
        m_firstSize = static_cast<int>(first.size());
        std::vector<long double> joint;
        joint.reserve(5 * first.size());
        for (int x = 1; x <= 5; ++x)
            joint.insert(joint.end(), first.begin(), first.end());
        m_first = AliasTable(joint);
        for (std::size_t i = 0; i < m_first.size(); ++i)
            m_first.entry(i).tag = passesFirst(static_cast<std::uint32_t>(i)) ? 1 : 0;
        for (std::size_t i = 0; i < m_first.size(); ++i) {
            if (passesFirst(m_first.entry(i).alias))
                m_first.entry(i).tag |= 2;
        }
        // While it can still pass, after k letters the rest holds N - k t, or (5 - k) t once the
        // free letter's N - 4t is among them.
        for (int k = 1; k <= 3; ++k) {
            m_stage[k][0] = BinomialTable(static_cast<int>(in.n) - k * in.t, 5 - k);
            m_stage[k][1] = BinomialTable((5 - k) * in.t, 5 - k);
        }
    }

    bool attempt()
    {
        if (m_noShuffle) {
            Arrangement a;
            noShuffleArrangement(m_in, a);
            m_counts = a.LetterCounts;
            m_drawn = 5;
            m_freeLetter = drawLetter(m_random);
            return isBalanced(m_counts, m_freeLetter, m_in.n);
        }
        const auto i = static_cast<std::uint32_t>(m_random.below(m_first.size()));
        const AliasTable::Entry& e = m_first.entry(i);
        bool pass;
        if (m_random.engine()() < e.threshold) {
            m_joint = i;
            pass = e.tag & 1;
        } else {
            m_joint = e.alias;
            pass = e.tag & 2;
        }
        m_drawn = 1;
        if (!pass)
            return false;
        decodeFirst();
        int rest = static_cast<int>(m_in.n) - m_counts[0];
        bool freeSeen = m_freeLetter == 1;
        for (int letter = 2; letter <= 4; ++letter) {
            const int c = m_stage[letter - 1][freeSeen ? 1 : 0].draw(m_random);
            m_counts[letter - 1] = c;
            rest -= c;
            m_drawn = letter;
            if (c != m_in.target(letter, m_freeLetter))
                return false;
            freeSeen = freeSeen || m_freeLetter == letter;
        }
        m_counts[4] = rest;
        m_drawn = 5;
        return rest == m_in.target(5, m_freeLetter);
    }

    // The counts of the attempt just made, drawing the ones it did not need from `random`.
    const std::array<int, 5>& counts(Random& random)
    {
        if (m_drawn == 5)
            return m_counts;
        if (m_drawn == 1)
            decodeFirst();
        int rest = static_cast<int>(m_in.n);
        for (int j = 0; j < m_drawn; ++j)
            rest -= m_counts[j];
        for (int letter = m_drawn + 1; letter <= 4; ++letter) {
            const int c = table(rest, 6 - letter).draw(random);
            m_counts[letter - 1] = c;
            rest -= c;
        }
        m_counts[4] = rest;
        m_drawn = 5;
        return m_counts;
    }

    const std::array<int, 5>& displayCounts() { return counts(m_side); }
    const std::array<int, 5>& finalCounts() { return counts(m_random); }

    void finish(Arrangement& a, ExamDocument& document)
    {
        a.LetterCounts = finalCounts();
        a.FreeLetter = m_freeLetter;
        if (m_noShuffle) {
            noShuffleArrangement(m_in, a);
        } else {
            const std::size_t n = m_in.active.size();
            std::vector<std::size_t> order(n);
            for (std::size_t p = 0; p < n; ++p)
                order[p] = p;
            shuffle(order);
            a.CorrectLetters.clear();
            a.CorrectLetters.reserve(n);
            for (int j = 1; j <= 5; ++j)
                a.CorrectLetters.insert(a.CorrectLetters.end(), a.LetterCounts[j - 1], j);
            shuffle(a.CorrectLetters);
            a.Order.resize(n);
            a.OptionMaps.resize(n);
            for (std::size_t p = 0; p < n; ++p) {
                a.Order[p] = m_in.active[order[p]]->number;
                const int k = m_in.correct[order[p]];
                const int letter = a.CorrectLetters[p];
                std::array<int, 4> others{};
                int m = 0;
                for (int option = 1; option <= 5; ++option) {
                    if (option != k)
                        others[m++] = option;
                }
                shuffle(others);
                auto& map = a.OptionMaps[p];
                m = 0;
                for (int j = 1; j <= 5; ++j)
                    map[j - 1] = j == letter ? k : others[m++];
            }
            std::vector<const Question*> byPosition(n);
            for (std::size_t p = 0; p < n; ++p)
                byPosition[p] = m_in.active[order[p]];
            writeDocument(a, document, byPosition);
            return;
        }
        writeDocument(a, document, m_in.active);
    }

private:
    bool passesFirst(std::uint32_t joint) const
    {
        const int x = static_cast<int>(joint) / m_firstSize + 1;
        const int c1 = m_firstLo + static_cast<int>(joint) % m_firstSize;
        return c1 == m_in.target(1, x);
    }

    void decodeFirst()
    {
        m_freeLetter = static_cast<int>(m_joint) / m_firstSize + 1;
        m_counts[0] = m_firstLo + static_cast<int>(m_joint) % m_firstSize;
    }

    const BinomialTable& table(int n, int divisor)
    {
        if (m_cache.size() > 64)
            m_cache.clear();
        auto it = m_cache.find({n, divisor});
        if (it == m_cache.end())
            it = m_cache.emplace(std::make_pair(n, divisor), BinomialTable(n, divisor)).first;
        return it->second;
    }

    template <class Container>
    void shuffle(Container& items)
    {
        for (std::size_t i = items.size(); i > 1; --i)
            std::swap(items[i - 1], items[m_random.below(i)]);
    }

    void writeDocument(const Arrangement& a, ExamDocument& document, const std::vector<const Question*>& byPosition)
    {
        writeQuestionBlocks(document, byPosition, a);
    }

    const ExamInput& m_in;
    Random& m_random;
    Random& m_side;
    bool m_noShuffle;
    AliasTable m_first;
    int m_firstLo = 0;
    int m_firstSize = 1;
    BinomialTable m_stage[4][2];
    std::map<std::pair<int, int>, BinomialTable> m_cache;
    std::uint32_t m_joint = 0;
    int m_drawn = 0;
    int m_freeLetter = 0;
    std::array<int, 5> m_counts{};
};

// Every attempt as the command was first written: the active list in text order, the question order
// and each option map by drawing until an unused value comes up, the whole document written, and a
// free letter drawn after it all. Kept as the reference for the fast strategy.
class LiteralAttempts
{
public:
    LiteralAttempts(const ExamInput& in, Random& random, bool noShuffle)
        : m_in(in), m_random(random), m_noShuffle(noShuffle)
    {
    }

    bool attempt(long long attemptNo)
    {
        Arrangement& a = m_arrangement;
        a.LetterCounts = {};
        const std::size_t n = m_in.active.size();

        // The active list as decimal text; shuffled attempts draw from it in text order ("10" before "2").
        std::vector<std::pair<std::string, std::size_t>> activeList;
        activeList.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            activeList.emplace_back(formatNumber(m_in.active[i]->number), i);
        if (!m_noShuffle)
            std::sort(activeList.begin(), activeList.end());

        std::vector<std::size_t> order(n);
        if (m_noShuffle) {
            for (std::size_t p = 0; p < n; ++p)
                order[p] = activeList[p].second;
        } else {
            std::vector<char> placed(n, 0);
            for (std::size_t p = 0; p < n; ++p) {
                std::size_t r;
                do
                    r = static_cast<std::size_t>(m_random.below(n));
                while (placed[r]);
                placed[r] = 1;
                order[p] = activeList[r].second;
            }
        }

        a.Order.resize(n);
        a.OptionMaps.resize(n);
        a.CorrectLetters.assign(n, 0);
        m_document.ResetDocument();
        for (std::size_t p = 0; p < n; ++p) {
            const Question& q = *m_in.active[order[p]];
            const long long position = static_cast<long long>(p) + 1;
            a.Order[p] = q.number;
            m_document.AppendStem(position, q);
            auto& map = a.OptionMaps[p];
            if (m_noShuffle) {
                map = {1, 2, 3, 4, 5};
            } else {
                bool used[6] = {};
                for (int j = 0; j < 5; ++j) {
                    std::uint64_t r;
                    do
                        r = m_random.below(6);
                    while (r < 1 || used[r]);
                    used[r] = true;
                    map[j] = static_cast<int>(r);
                }
            }
            const int k = m_in.correct[order[p]];
            for (int j = 1; j <= 5; ++j) {
                m_document.AppendOption(j, q, map[j - 1]);
                if (map[j - 1] == k) {
                    a.CorrectLetters[p] = j;
                    ++a.LetterCounts[j - 1];
                    m_document.AddKeyEntry(position, j);
                }
            }
            m_document.AppendQuestionEnd();
        }
        a.FreeLetter = drawLetter(m_random);
        a.Balanced = isBalanced(a.LetterCounts, a.FreeLetter, m_in.n);
        m_document.SetSummary(attemptNo, distributionText(a.LetterCounts));
        return a.Balanced;
    }

    const std::array<int, 5>& displayCounts() const { return m_arrangement.LetterCounts; }
    const std::array<int, 5>& finalCounts() const { return m_arrangement.LetterCounts; }

    void finish(Arrangement& a, ExamDocument& document)
    {
        a = std::move(m_arrangement);
        document = std::move(m_document);
    }

private:
    const ExamInput& m_in;
    Random& m_random;
    bool m_noShuffle;
    Arrangement m_arrangement;
    ExamDocument m_document;
};

template <class Attempts>
ExamResult runAttempts(Attempts& attempts, const ExamInput& in, const ExamOptions& options, long long clockStride)
{
    using Clock = std::chrono::steady_clock;
    ExamResult result;
    long long attemptNo = 0;
    bool balanced = false;
    bool stop = false;
    bool lastReported = false;
    auto lastReport = Clock::now() - options.progressInterval;
    long long nextClockCheck = 1;
    if (options.progressInterval.count() <= 0)
        clockStride = 1;

    auto report = [&](const std::array<int, 5>& counts) {
        ExamProgress progress;
        progress.attemptNo = attemptNo;
        progress.letterCounts = counts;
        progress.distribution = distributionText(counts);
        progress.status = statusText(attemptNo, progress.distribution);
        progress.summary = summaryText(attemptNo, progress.distribution);
        options.progress(progress);
    };

    while (!stop && (options.limit == 0 || attemptNo < options.limit)) {
        ++attemptNo;
        if constexpr (std::is_same_v<Attempts, LiteralAttempts>)
            balanced = attempts.attempt(attemptNo);
        else
            balanced = attempts.attempt();
        const bool last = balanced || options.noShuffle || attemptNo == options.limit;
        if (last)
            attempts.finalCounts();
        lastReported = false;
        if (options.progress) {
            bool due = last;
            if (!due && attemptNo >= nextClockCheck) {
                nextClockCheck = attemptNo + clockStride;
                const auto now = Clock::now();
                if (now - lastReport >= options.progressInterval) {
                    due = true;
                    lastReport = now;
                }
            }
            if (due) {
                report(attempts.displayCounts());
                lastReported = true;
            }
        }
        stop = last;
        if (!stop && options.stopRequested && options.stopRequested->load(std::memory_order_relaxed)) {
            stop = true;
            result.stopped = true;
            attempts.finalCounts();
            if (options.progress && !lastReported)
                report(attempts.displayCounts());
        }
    }

    Arrangement& a = result.arrangement;
    attempts.finish(a, result.document);
    a.AttemptNo = attemptNo;
    a.Balanced = balanced;
    const std::string distribution = distributionText(a.LetterCounts);
    result.document.SetSummary(attemptNo, distribution);
    result.document.AppendKeySection(in.n);
    result.document.SetOrderText(a.Order);
    result.status = statusText(attemptNo, distribution);
    return result;
}

} // namespace

ExamResult runExamSearch(const std::vector<Question>& questions, Random& random, const ExamOptions& options)
{
    if (const auto refusal = examPrecheck(questions))
        throw std::invalid_argument(*refusal);
    if (options.limit < 0 || options.limit > kMaxAttemptLimit)
        throw std::invalid_argument("İterasyon sayısı 0 ile " + std::to_string(kMaxAttemptLimit)
                                    + " arasında olmalıdır.");
    if (options.seed)
        random.seed(*options.seed);
    else
        random.seedFromDevice();
    const ExamInput in(questions);
    if (options.strategy == ExamStrategy::Literal) {
        LiteralAttempts attempts(in, random, options.noShuffle);
        return runAttempts(attempts, in, options, 1);
    }
    // Counts that only the progress display needs come from a generator of their own, so that how
    // often progress is shown never changes the draws that make the document.
    Random side(random.engine()());
    FastAttempts attempts(in, random, side, options.noShuffle);
    return runAttempts(attempts, in, options, 1024);
}

} // namespace tovek
