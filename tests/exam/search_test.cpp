#include "exam/search.h"

#include "support/testutil.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace tovek;

namespace {

const char* kLetters = "ABCDE";

// Questions numbered 1..n with the file letters cycling from A, all active.
std::vector<Question> bank(int n, int firstLetter = 0)
{
    std::vector<Question> qs;
    for (int i = 1; i <= n; ++i) {
        Question q = test::sampleQuestion(i, std::string(1, kLetters[(i - 1 + firstLetter) % 5]));
        q.number = i;
        qs.push_back(q);
    }
    return qs;
}

// Checks that the document lines, key and order say what the arrangement says.
void expectConsistent(const ExamResult& r, const std::vector<Question>& qs)
{
    const Arrangement& a = r.arrangement;
    std::map<double, const Question*> active;
    for (const Question& q : qs) {
        if (q.isActive())
            active[q.number] = &q;
    }
    const std::size_t n = active.size();
    ASSERT_EQ(a.Order.size(), n);
    ASSERT_EQ(a.OptionMaps.size(), n);
    ASSERT_EQ(a.CorrectLetters.size(), n);
    EXPECT_EQ(std::set<double>(a.Order.begin(), a.Order.end()).size(), n);

    const auto& lines = r.document.lines();
    std::array<int, 5> counts{};
    std::string keyLetters;
    std::size_t li = 0;
    for (std::size_t p = 0; p < n; ++p) {
        ASSERT_TRUE(active.count(a.Order[p]));
        const Question& q = *active[a.Order[p]];
        EXPECT_EQ(lines.at(li++), std::to_string(p + 1) + ") " + q.stem);
        EXPECT_EQ(lines.at(li++), "");
        std::set<int> used;
        for (int j = 1; j <= 5; ++j) {
            const int option = a.OptionMaps[p][j - 1];
            used.insert(option);
            const std::string prefix = std::string(1, kLetters[j - 1]) + ") ";
            EXPECT_EQ(lines.at(li++), prefix + q.answers[option - 1]);
            if (std::string(1, kLetters[option - 1]) == q.correct) {
                EXPECT_EQ(a.CorrectLetters[p], j);
            }
        }
        EXPECT_EQ(used.size(), 5u);
        EXPECT_EQ(lines.at(li++), "");
        ++counts[a.CorrectLetters[p] - 1];
        keyLetters += kLetters[a.CorrectLetters[p] - 1];
    }
    EXPECT_EQ(counts, a.LetterCounts);
    ASSERT_EQ(lines.size(), li + 1 + n + 6);
    EXPECT_EQ(lines[li++], "YANIT ANAHTARI");
    for (std::size_t p = 0; p < n; ++p)
        EXPECT_EQ(lines[li++], keyLine(static_cast<long long>(p) + 1, a.CorrectLetters[p]));
    li += 4;
    EXPECT_EQ(lines[li++], "SORU_SAYISI=" + std::to_string(n));
    EXPECT_EQ(lines[li++], "K=" + keyLetters);
    EXPECT_EQ(r.document.orderText(), orderText(a.Order));
    const std::string dist = distributionText(a.LetterCounts);
    EXPECT_EQ(r.document.summary(), summaryText(a.AttemptNo, dist));
    EXPECT_EQ(r.status, statusText(a.AttemptNo, dist));
    EXPECT_EQ(a.Balanced, isBalanced(a.LetterCounts, a.FreeLetter, static_cast<long long>(n)));
}

} // namespace

TEST(ExamPrecheck, MessagesInTheirOrder)
{
    Table closed;
    EXPECT_EQ(examPrecheck(closed), std::optional<std::string>(kNoOpenFileMessage));
    EXPECT_EQ(std::string(kNoOpenFileMessage), "Önce Soru Dosyası Açınız...");
    EXPECT_EQ(std::string(kFilterOnMessage), "BU İŞLEM İÇİN \"AKTİF KAYITLARI GÖSTER\" BUTONU OFF OLMALIDIR.");

    test::TempDir dir;
    std::vector<Question> qs = bank(12);
    qs[2].correct = "";        // 3, inactive: still listed
    qs[2].active = false;
    qs[6].correct = "F";       // 7: not a letter of the options
    qs[9].correct = "a";       // 10
    qs[10].active = Value{};   // 11: empty flag reads as inactive
    const std::string path = dir.file("s.DB");
    test::makeQuestionFile(path, qs);
    Table table;
    table.setTableName(path);
    table.open();
    const std::string expected = "3,7,10,\r\rNOLU SORU veya SORULARIN DOĞRU YANITLARI TANIMLANMAMIŞ...\rSİSTEM ÇÖZÜLEMEZ...";
    EXPECT_EQ(examPrecheck(table), expected);
    for (Question& q : qs)
        q.number = &q - qs.data() + 1;
    EXPECT_EQ(examPrecheck(qs), expected);
    EXPECT_THROW(runExamSearch(qs, processRandom(), {}), std::invalid_argument);

    table.setFiltered(true);
    EXPECT_EQ(examPrecheck(table), std::optional<std::string>(kFilterOnMessage));
    table.setFiltered(false);

    std::vector<Question> inactive = bank(3);
    for (Question& q : inactive)
        q.active = false;
    EXPECT_EQ(examPrecheck(inactive), std::optional<std::string>(kNoActiveQuestionMessage));

    std::vector<Question> good = bank(4);
    good[1].active = false;
    EXPECT_EQ(examPrecheck(good), std::nullopt);
    const std::string goodPath = dir.file("g.DB");
    test::makeQuestionFile(goodPath, good);
    Table goodTable;
    goodTable.setTableName(goodPath);
    goodTable.open();
    goodTable.last();
    EXPECT_EQ(examPrecheck(goodTable), std::nullopt);
    EXPECT_EQ(goodTable.position(), 0);
}

TEST(ExamBalance, TargetAndFreeLetter)
{
    EXPECT_EQ(balanceTarget(1), 0);
    EXPECT_EQ(balanceTarget(2), 0);
    EXPECT_EQ(balanceTarget(3), 1);
    EXPECT_EQ(balanceTarget(7), 1);
    EXPECT_EQ(balanceTarget(8), 2);
    EXPECT_EQ(balanceTarget(12), 2);
    EXPECT_EQ(balanceTarget(10000), 2000);
    for (int x = 1; x <= 5; ++x) {
        EXPECT_TRUE(isBalanced({2, 2, 2, 2, 2}, x, 10));
        EXPECT_EQ(isBalanced({2, 2, 2, 2, 3}, x, 11), x == 5);
        EXPECT_EQ(isBalanced({0, 0, 1, 0, 0}, x, 1), x == 3);
        EXPECT_FALSE(isBalanced({1, 1, 1, 0, 0}, x, 3));
    }
}

class ExamSearch : public ::testing::TestWithParam<ExamStrategy>
{
protected:
    ExamOptions options(int limit = 0, std::uint64_t seed = 1)
    {
        ExamOptions o;
        o.limit = limit;
        o.seed = seed;
        o.strategy = GetParam();
        return o;
    }
};

TEST_P(ExamSearch, NoShuffleMakesOneAttemptInFileOrder)
{
    std::vector<Question> qs = bank(8, 2);
    qs[3].active = false;
    std::vector<ExamProgress> shown;
    ExamOptions o = options(0);
    o.noShuffle = true;
    o.progress = [&](const ExamProgress& p) { shown.push_back(p); };
    Random random;
    const ExamResult r = runExamSearch(qs, random, o);
    const Arrangement& a = r.arrangement;
    EXPECT_EQ(a.AttemptNo, 1);
    EXPECT_EQ(a.Order, (std::vector<double>{1, 2, 3, 5, 6, 7, 8}));
    for (const auto& map : a.OptionMaps)
        EXPECT_EQ(map, (std::array<int, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(r.document.keyLetters(), "CDEBCDE");
    EXPECT_EQ(r.document.lines().back(), "K=CDEBCDE");
    EXPECT_EQ(r.document.orderText(), "1, 2, 3, 5, 6, 7, 8");
    EXPECT_EQ(r.document.summary().rfind("1. İterasyon", 0), 0u);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].letterCounts, a.LetterCounts);
    expectConsistent(r, qs);
}

TEST_P(ExamSearch, LimitEndsAnUnbalancedSearchAtTheLastAttempt)
{
    // Three questions ask four letters for one answer each: no attempt can pass.
    const std::vector<Question> qs = bank(3);
    std::vector<ExamProgress> shown;
    ExamOptions o = options(5);
    o.progressInterval = std::chrono::hours(1);
    o.progress = [&](const ExamProgress& p) { shown.push_back(p); };
    Random random;
    const ExamResult r = runExamSearch(qs, random, o);
    EXPECT_EQ(r.arrangement.AttemptNo, 5);
    EXPECT_FALSE(r.arrangement.Balanced);
    EXPECT_FALSE(r.stopped);
    // The first attempt is shown at once, the last always; nothing between within the interval.
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].attemptNo, 1);
    EXPECT_EQ(shown[1].attemptNo, 5);
    EXPECT_EQ(shown[1].letterCounts, r.arrangement.LetterCounts);
    EXPECT_EQ(shown[1].summary, r.document.summary());
    EXPECT_EQ(r.document.summary().rfind("5. İterasyon", 0), 0u);
    expectConsistent(r, qs);
}

TEST_P(ExamSearch, StopRequestEndsAfterTheAttemptUnderWay)
{
    const std::vector<Question> qs = bank(3);
    std::atomic<bool> stop{false};
    std::vector<ExamProgress> shown;
    ExamOptions o = options(0);
    o.stopRequested = &stop;
    o.progressInterval = std::chrono::nanoseconds(0);
    o.progress = [&](const ExamProgress& p) {
        shown.push_back(p);
        if (p.attemptNo == 40)
            stop = true;
    };
    Random random;
    const ExamResult r = runExamSearch(qs, random, o);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.arrangement.AttemptNo, 40);
    ASSERT_EQ(shown.size(), 40u);
    EXPECT_EQ(shown.back().letterCounts, r.arrangement.LetterCounts);
    expectConsistent(r, qs);
}

TEST_P(ExamSearch, BalancedResultsForSmallCounts)
{
    for (int n : {1, 2, 10, 11, 12}) {
        const std::vector<Question> qs = bank(n);
        const ExamResult r = runExamSearch(qs, processRandom(), options(0, 100 + n));
        const Arrangement& a = r.arrangement;
        ASSERT_TRUE(a.Balanced) << n;
        const int t = balanceTarget(n);
        for (int j = 1; j <= 5; ++j)
            EXPECT_EQ(a.LetterCounts[j - 1], j == a.FreeLetter ? n - 4 * t : t) << n;
        expectConsistent(r, qs);
    }
}

TEST_P(ExamSearch, HundredQuestionsKeyAndOpticalBlockAgree)
{
    std::vector<Question> qs = bank(105);
    qs[0].active = false;
    qs[50].active = false;
    const ExamResult r = runExamSearch(qs, processRandom(), options(3, 9));
    expectConsistent(r, qs);
    const auto& lines = r.document.lines();
    EXPECT_EQ(lines[lines.size() - 2], "SORU_SAYISI=103");
    EXPECT_EQ(lines[lines.size() - 6 - 103].substr(0, 12), "SORU - 01 : ");
    EXPECT_EQ(lines[lines.size() - 6 - 103 + 8].substr(0, 12), "SORU - 09 : ");
    EXPECT_EQ(lines[lines.size() - 6 - 103 + 99].substr(0, 13), "SORU - 100 : ");
    EXPECT_EQ(lines[0].substr(0, 3), "1) ");
}

TEST_P(ExamSearch, SameSeedSameDocument)
{
    const std::vector<Question> qs = bank(12);
    Random random;
    const ExamResult a = runExamSearch(qs, random, options(0, 77));
    const ExamResult b = runExamSearch(qs, random, options(0, 77));
    const ExamResult c = runExamSearch(qs, random, options(0, 78));
    EXPECT_EQ(a.document.lines(), b.document.lines());
    EXPECT_EQ(a.arrangement.AttemptNo, b.arrangement.AttemptNo);
    EXPECT_NE(a.document.lines(), c.document.lines());
    // Showing progress draws nothing that the document depends on.
    ExamOptions watched = options(0, 77);
    watched.progressInterval = std::chrono::nanoseconds(0);
    int calls = 0;
    watched.progress = [&](const ExamProgress&) { ++calls; };
    const ExamResult d = runExamSearch(qs, random, watched);
    EXPECT_EQ(d.document.lines(), a.document.lines());
    EXPECT_EQ(calls, a.arrangement.AttemptNo);
}

INSTANTIATE_TEST_SUITE_P(Strategies, ExamSearch, ::testing::Values(ExamStrategy::Fast, ExamStrategy::Literal),
                         [](const auto& info) { return info.param == ExamStrategy::Fast ? "Fast" : "Literal"; });

TEST(ExamSearchLarge, ManyQuestionsAndLongLines)
{
    std::vector<Question> qs = bank(2600);
    qs[5].stem = std::string(9000, 'u') + "\r\nikinci";
    ExamOptions o;
    o.limit = 2;
    o.seed = 3;
    const ExamResult r = runExamSearch(qs, processRandom(), o);
    EXPECT_EQ(r.arrangement.Order.size(), 2600u);
    EXPECT_EQ(r.document.keyLetters().size(), 2600u);
    const auto& lines = r.document.lines();
    const auto stem = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.ends_with(") " + std::string(9000, 'u'));
    });
    ASSERT_NE(stem, lines.end());
    EXPECT_EQ(*(stem + 1), "ikinci");
}

TEST(ExamCli, RefusesAndPrintsTheDocument)
{
    test::TempDir dir;
    std::vector<Question> qs = bank(6);
    qs[4].correct = "";
    qs[4].active = false;
    const std::string bad = dir.file("bad.DB");
    test::makeQuestionFile(bad, qs);
    test::CliResult r = test::runCli({"exam", bad});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("5,"), std::string::npos);
    EXPECT_NE(r.err.find("NOLU SORU veya SORULARIN DOĞRU YANITLARI TANIMLANMAMIŞ..."), std::string::npos);
    EXPECT_TRUE(r.out.empty());

    const std::string good = dir.file("good.DB");
    test::makeQuestionFile(good, bank(10));
    r = test::runCli({"exam", good, "--seed", "5", "--text"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const test::CliResult again = test::runCli({"exam", good, "--seed", "5", "--text"});
    EXPECT_EQ(again.out, r.out);
    EXPECT_NE(r.out.find("\nSORU_SAYISI=10\nK="), std::string::npos);
    EXPECT_NE(r.err.find("İterasyon Sonucunda Şıklardaki Dağılım   A-2  B-2  C-2  D-2  E-2  Olarak bulundu ..."),
              std::string::npos);
    EXPECT_NE(r.err.find("Soru Dağılım Sırası : "), std::string::npos);
    EXPECT_NE(r.err.find("Sorularda  "), std::string::npos);

    r = test::runCli({"exam", good, "--no-shuffle", "--limit", "7"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("Soru Dağılım Sırası : 1, 2, 3, 4, 5, 6, 7, 8, 9, 10\n"), std::string::npos);
    EXPECT_EQ(test::runCli({"exam", good, "--limit", "10001"}).exitCode, 2);
}
