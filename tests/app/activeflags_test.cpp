#include "app/activeflags.h"

#include "store/questionfile.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using namespace tovek;
using tovek::test::TempDir;

namespace {

// 1-based numbers of the questions with the given flags.
std::vector<Question> questionsWithFlags(const std::vector<Value>& flags)
{
    std::vector<Question> qs;
    for (std::size_t i = 0; i < flags.size(); ++i) {
        Question q = test::sampleQuestion(static_cast<int>(i) + 1);
        q.active = flags[i];
        qs.push_back(q);
    }
    return qs;
}

struct OpenFile
{
    TempDir dir;
    Table table;

    explicit OpenFile(const std::vector<Question>& qs)
    {
        test::makeQuestionFile(dir.file("t.DB"), qs);
        table.setTableName(dir.file("t.DB"));
        table.open();
    }
    explicit OpenFile(int count, bool active = false) : OpenFile(std::vector<Question>{})
    {
        std::vector<Question> qs;
        for (int i = 1; i <= count; ++i)
            qs.push_back(test::sampleQuestion(i, "A", active));
        appendQuestions(table, qs);
        table.first();
    }

    // Flags as stored, read through a second table object so that nothing cached hides a missed write.
    std::map<long long, Value> storedFlags() const
    {
        Table other;
        other.setTableName(table.path());
        other.open();
        std::map<long long, Value> flags;
        for (const Question& q : readAllQuestions(other))
            flags[std::llround(q.number)] = q.active;
        return flags;
    }
    std::set<long long> storedActive() const
    {
        std::set<long long> on;
        for (const auto& [number, flag] : storedFlags())
            if (std::holds_alternative<bool>(flag) && std::get<bool>(flag))
                on.insert(number);
        return on;
    }
};

} // namespace

TEST(CountActive, CountsTrueFlagsOnlyAndEndsOnFirst)
{
    OpenFile f(questionsWithFlags({true, false, Value{}, true, false, false, true, false, Value{}, false}));
    f.table.last();
    EXPECT_EQ(countActive(f.table), 3);
    EXPECT_EQ(f.table.position(), 0);
    EXPECT_EQ(activeCountMessage(3), "ŞU ANDA 3 SORU AKTIF DURUMDA...");

    OpenFile none(4, false);
    EXPECT_EQ(countActive(none.table), 0);
    EXPECT_EQ(activeCountMessage(0), "ŞU ANDA 0 SORU AKTIF DURUMDA...");

    OpenFile empty(std::vector<Question>{});
    EXPECT_EQ(countActive(empty.table), 0);
}

TEST(SetAllActive, SwitchesEveryQuestionAndUnsetFlagsBecomeFalse)
{
    OpenFile f(questionsWithFlags({true, Value{}, false, Value{}, true}));
    f.table.last();
    setAllActive(f.table, true);
    EXPECT_EQ(f.storedActive().size(), 5u);
    EXPECT_EQ(f.table.position(), 0);

    setAllActive(f.table, false);
    for (const auto& [number, flag] : f.storedFlags())
        EXPECT_EQ(flag, Value{false}) << number;
    EXPECT_EQ(f.table.state(), TableState::Browse);
    EXPECT_FALSE(f.table.inTransaction());
}

TEST(SetAllActive, WithFilterOnWalksOnlyTheShownQuestions)
{
    OpenFile f(questionsWithFlags({true, false, true, true, false, true, true}));
    f.table.setFiltered(true);
    const auto before = f.storedFlags();
    setAllActive(f.table, true);
    EXPECT_EQ(f.storedFlags(), before);
    EXPECT_EQ(f.table.recordCount(), 5);

    // Every shown question leaves the view as it is stored; none may be stepped over.
    setAllActive(f.table, false);
    EXPECT_TRUE(f.storedActive().empty());
    EXPECT_EQ(f.table.recordCount(), 0);
}

TEST(SetAllActive, StoresThePendingEditAndKeepsIt)
{
    OpenFile f(3, false);
    f.table.moveTo(2);
    f.table.edit();
    f.table.setText(fld::SORUKOKU, "yeni kök");
    setAllActive(f.table, true);
    f.table.moveTo(2);
    EXPECT_EQ(f.table.asText(fld::SORUKOKU), "yeni kök");
    EXPECT_TRUE(f.table.asBoolean(fld::AKTIF));
}

TEST(SetAllActive, ScrollHookIsToldOnceAtTheEndAndKept)
{
    OpenFile f(200, false);
    int scrolls = 0;
    f.table.afterScroll = [&] { ++scrolls; };
    setAllActive(f.table, true);
    EXPECT_LE(scrolls, 2);
    EXPECT_GE(scrolls, 1);
    ASSERT_TRUE(f.table.afterScroll);
    f.table.next();
    EXPECT_GE(scrolls, 2);
}

TEST(RandomActivation, ExactlyNDistinctActiveAndAllOthersInactive)
{
    OpenFile f(questionsWithFlags({true, true, true, Value{}, false, true, true, Value{}, true, true}));
    Random random(42);
    const auto chosen = activateRandom(f.table, 4, random);
    ASSERT_EQ(chosen.size(), 4u);
    EXPECT_TRUE(std::is_sorted(chosen.begin(), chosen.end()));
    std::set<long long> expected;
    for (double k : chosen)
        expected.insert(std::llround(k));
    EXPECT_EQ(expected.size(), 4u);
    EXPECT_EQ(f.storedActive(), expected);
    for (const auto& [number, flag] : f.storedFlags())
        EXPECT_TRUE(std::holds_alternative<bool>(flag)) << "unset flag left on question " << number;
    EXPECT_EQ(f.table.position(), 0);
    EXPECT_EQ(countActive(f.table), 4);
}

TEST(RandomActivation, AllAndOne)
{
    OpenFile f(10, false);
    Random random(7);
    activateRandom(f.table, 10, random);
    EXPECT_EQ(f.storedActive().size(), 10u);

    activateRandom(f.table, 1, random);
    EXPECT_EQ(f.storedActive().size(), 1u);
    EXPECT_EQ(countActive(f.table), 1);
    EXPECT_EQ(activeCountMessage(countActive(f.table)), "ŞU ANDA 1 SORU AKTIF DURUMDA...");
}

TEST(RandomActivation, SameSeedSameChoice)
{
    OpenFile a(50, false);
    OpenFile b(50, false);
    Random ra(1234), rb(1234);
    EXPECT_EQ(activateRandom(a.table, 7, ra), activateRandom(b.table, 7, rb));
    EXPECT_EQ(a.storedActive(), b.storedActive());
}

TEST(RandomActivation, NumbersWithGapsStillGiveExactlyN)
{
    OpenFile f(12, true);
    // Removing without renumbering leaves the numbers 1, 3, 4, 7, 8, 11, 12.
    for (double key : {2.0, 5.0, 6.0, 9.0, 10.0}) {
        ASSERT_TRUE(f.table.findKey(key));
        f.table.remove();
    }
    ASSERT_EQ(f.table.recordCount(), 7);
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        Random random(seed);
        const auto chosen = activateRandom(f.table, 5, random);
        EXPECT_EQ(f.storedActive().size(), 5u);
        for (double k : chosen)
            EXPECT_TRUE(k != 2 && k != 5 && k != 6 && k != 9 && k != 10) << k;
    }
    Random random(3);
    activateRandom(f.table, 7, random);
    EXPECT_EQ(f.storedActive(), (std::set<long long>{1, 3, 4, 7, 8, 11, 12}));
}

TEST(RandomActivation, RefusedInputChangesNothing)
{
    OpenFile f(questionsWithFlags({true, false, true}));
    const auto before = f.storedFlags();
    Random random(1);
    EXPECT_THROW(activateRandom(f.table, 0, random), ActivationRefused);
    EXPECT_THROW(activateRandom(f.table, 4, random), ActivationRefused);
    EXPECT_THROW(activateRandom(f.table, -3, random), ActivationRefused);
    f.table.setFiltered(true);
    EXPECT_THROW(activateRandom(f.table, 1, random), ActivationRefused);
    EXPECT_EQ(f.storedFlags(), before);

    OpenFile empty(std::vector<Question>{});
    EXPECT_THROW(activateRandom(empty.table, 1, random), ActivationRefused);
}

TEST(RandomActivation, DrawIsUniformOverKeys)
{
    const std::vector<double> keys = {1, 2, 3, 4, 5};
    Random random(99);
    std::map<double, int> hits;
    const int rounds = 50000;
    for (int i = 0; i < rounds; ++i)
        for (double k : drawDistinctKeys(keys, 2, random))
            ++hits[k];
    ASSERT_EQ(hits.size(), 5u);
    for (const auto& [key, n] : hits)
        EXPECT_NEAR(n, rounds * 2 / 5, rounds * 2 / 5 / 20) << "key " << key;
}

TEST(ActiveFlagCli, ActivateAndCount)
{
    TempDir dir;
    const std::string file = dir.file("c.DB");
    test::makeQuestionFile(file,
                           questionsWithFlags({true, false, true, false, false, false, false, false, true, false}));

    auto r = test::runCli({"count", file});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "ŞU ANDA 3 SORU AKTIF DURUMDA...\n");

    r = test::runCli({"activate", file, "--random", "4", "--seed", "11"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::string first = r.err;
    EXPECT_EQ(test::runCli({"count", file}).out, "ŞU ANDA 4 SORU AKTIF DURUMDA...\n");
    r = test::runCli({"activate", file, "--random", "4", "--seed", "11"});
    EXPECT_EQ(r.err, first);

    EXPECT_EQ(test::runCli({"activate", file, "--all"}).exitCode, 0);
    EXPECT_EQ(test::runCli({"count", file}).out, "ŞU ANDA 10 SORU AKTIF DURUMDA...\n");
    EXPECT_EQ(test::runCli({"activate", file, "--none"}).exitCode, 0);
    EXPECT_EQ(test::runCli({"count", file}).out, "ŞU ANDA 0 SORU AKTIF DURUMDA...\n");
}

TEST(ActiveFlagCli, RefusedInputExitsWithTwoAndChangesNothing)
{
    TempDir dir;
    const std::string file = dir.file("r.DB");
    test::makeQuestionFile(file, 5, true);
    for (const auto& args : std::vector<std::vector<std::string>>{{"activate", file, "--random", "6"},
                                                                  {"activate", file, "--random", "0"},
                                                                  {"activate", file, "--all", "--none"},
                                                                  {"activate", file, "--all", "--random", "2"},
                                                                  {"activate", file}}) {
        const auto r = test::runCli(args);
        EXPECT_EQ(r.exitCode, 2) << args.back();
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(test::runCli({"count", file}).out, "ŞU ANDA 5 SORU AKTIF DURUMDA...\n");

    const std::string empty = dir.file("bos.DB");
    test::makeQuestionFile(empty, 0);
    EXPECT_EQ(test::runCli({"activate", empty, "--random", "1"}).exitCode, 2);
}
