#include "store/merge.h"

#include "store/paths.h"
#include "store/questionfile.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace tovek;
using tovek::test::TempDir;

namespace {

std::vector<Question> readFileQuestions(const std::string& path)
{
    Table t;
    t.setTableName(path);
    t.open();
    return readAllQuestions(t);
}

// Questions whose every field holds something that a sloppy copy would lose.
std::vector<Question> trickyQuestions()
{
    Question a;
    a.active = true;
    a.stem = "Aşağıdakilerden hangisi\r\nçoğul eki almıştır?\r\n\r\n(İki satır boşluk)";
    a.answers = {"ağaçlar", "Işık\r\nsönük", "", "ÇÖĞÜŞİ ıi", "\"tırnak\" ve 'kesme'"};
    a.correct = "A";
    Question b;
    b.active = Value{}; // never set by the user
    b.stem = "";
    b.answers = {"x", "y", "z", "w", "v"};
    b.correct = "";
    Question c;
    c.active = false;
    c.stem = std::string(700, 'u') + "ş";
    c.answers = {"1", "2", "3", "4", "5"};
    c.correct = "E";
    return {a, b, c};
}

std::vector<std::string> directoryEntries(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(fsPath(dir)))
        names.push_back(utf8Path(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

// A file of the layout without AKTIF, as older versions wrote them.
void makeOldLayoutFile(const std::string& path, int count, const char* missing = fld::AKTIF)
{
    std::vector<FieldDef> layout = questionLayout();
    std::erase_if(layout, [missing](const FieldDef& f) { return f.name == missing; });
    createTable(path, layout, questionIndex());
    Table t;
    t.setTableName(path);
    t.open();
    for (int i = 1; i <= count; ++i) {
        const Question q = tovek::test::sampleQuestion(i, "C");
        t.append();
        t.setInteger(fld::SORUNO, i);
        t.setText(fld::SORUKOKU, q.stem);
        for (int k = 0; k < 5; ++k)
            if (fld::YANIT[k] != std::string(missing))
                t.setText(fld::YANIT[k], q.answers[k]);
        t.setText(fld::DOGRUYANIT, q.correct);
        t.post();
    }
}

} // namespace

TEST(MergeChecks, OrderAndMessages)
{
    TempDir dir;
    const std::string a = dir.file("A.DB"), b = dir.file("B.DB"), t = dir.file("T.DB");
    tovek::test::makeQuestionFile(a, 1);
    EXPECT_EQ(checkMergePaths("", "", ""), mergetext::FirstMissing);
    EXPECT_EQ(checkMergePaths(a, "", ""), mergetext::SecondMissing);
    EXPECT_EQ(checkMergePaths(a, b, ""), mergetext::TargetMissing);
    EXPECT_EQ(checkMergePaths(a, b, a), mergetext::TargetIsSource);
    EXPECT_EQ(checkMergePaths(a, b, b), mergetext::TargetIsSource); // b does not exist: compared by its path
    EXPECT_EQ(checkMergePaths(a, a, t), "");                        // one file twice is allowed
    EXPECT_EQ(checkMergePaths(a, b, t), "");
}

TEST(MergeChecks, SameFileSeenThroughOtherNames)
{
    TempDir dir;
    const std::string a = dir.file("A.DB");
    tovek::test::makeQuestionFile(a, 2);
    std::filesystem::create_directory(fsPath(dir.file("alt")));
    std::filesystem::create_symlink(fsPath(a), fsPath(dir.file("link.DB")));
    std::filesystem::create_hard_link(fsPath(a), fsPath(dir.file("hard.DB")));

    EXPECT_TRUE(sameFile(a, dir.file("alt/../A.DB")));
    EXPECT_TRUE(sameFile(a, dir.file("./A.DB")));
    EXPECT_TRUE(sameFile(a, dir.file("link.DB")));
    EXPECT_TRUE(sameFile(a, dir.file("hard.DB")));
    EXPECT_FALSE(sameFile(a, dir.file("alt/A.DB")));

    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(fsPath(dir.file("alt")));
    EXPECT_TRUE(sameFile(a, "../A.DB"));
    EXPECT_EQ(checkMergePaths(a, dir.file("B.DB"), "../link.DB"), mergetext::TargetIsSource);
    std::filesystem::current_path(cwd);

    // A target through a link must never lead to the source being replaced.
    const auto before = tovek::test::readFile(a);
    EXPECT_THROW(mergeQuestionFiles(dir.file("B.DB"), a, dir.file("link.DB"), true), MergeRefused);
    EXPECT_EQ(tovek::test::readFile(a), before);
}

TEST(MergeChecks, DefaultExtension)
{
    EXPECT_EQ(withDefaultQuestionExtension("/d/fizik"), "/d/fizik.DB");
    EXPECT_EQ(withDefaultQuestionExtension("/d/fizik.db"), "/d/fizik.db");
    EXPECT_EQ(withDefaultQuestionExtension("/d.x/fizik"), "/d.x/fizik.DB");
    EXPECT_EQ(withDefaultQuestionExtension(""), "");
}

TEST(Merge, ThreePlusTwoCopiesEveryFieldAndRenumbers)
{
    TempDir dir;
    const std::string a = dir.file("A.DB"), b = dir.file("B.DB"), t = dir.file("Yeni Sınav.DB");
    tovek::test::makeQuestionFile(a, trickyQuestions());
    std::vector<Question> second = {tovek::test::sampleQuestion(10, "D", false), trickyQuestions()[0]};
    tovek::test::makeQuestionFile(b, second);
    const auto aBytes = tovek::test::readFile(a), bBytes = tovek::test::readFile(b);

    std::vector<MergeProgress> seen;
    const MergeCounts counts = mergeQuestionFiles(a, b, t, false, [&](const MergeProgress& p) { seen.push_back(p); });
    EXPECT_EQ(counts.first, 3);
    EXPECT_EQ(counts.second, 2);

    const auto merged = readFileQuestions(t);
    ASSERT_EQ(merged.size(), 5u);
    std::vector<Question> expected = trickyQuestions();
    expected.insert(expected.end(), second.begin(), second.end());
    for (std::size_t i = 0; i < merged.size(); ++i) {
        expected[i].number = static_cast<double>(i + 1);
        EXPECT_EQ(merged[i], expected[i]) << "question " << i + 1;
    }
    EXPECT_TRUE(isEmpty(merged[1].active));
    EXPECT_EQ(merged[3].stem, "Soru 10");
    EXPECT_EQ(tovek::test::readFile(a), aBytes);
    EXPECT_EQ(tovek::test::readFile(b), bBytes);
    EXPECT_EQ(readLayout(t).size(), questionLayout().size());

    ASSERT_EQ(seen.size(), 7u); // a start and one call per record, for each pass
    EXPECT_EQ(seen[0].pass, 1);
    EXPECT_EQ(seen[0].done, 0);
    EXPECT_EQ(seen[0].total, 3);
    EXPECT_EQ(seen[3].done, 3);
    EXPECT_EQ(seen[4].pass, 2);
    EXPECT_EQ(seen[4].total, 2);
    EXPECT_EQ(seen[6].done, 2);
    EXPECT_EQ(directoryEntries(dir.path()), (std::vector<std::string>{"A.DB", "B.DB", "Yeni Sınav.DB"}));
}

TEST(Merge, SameFileTwiceAndEmptySources)
{
    TempDir dir;
    const std::string a = dir.file("A.DB"), e = dir.file("E.DB");
    tovek::test::makeQuestionFile(a, 4);
    tovek::test::makeQuestionFile(e, 0);

    mergeQuestionFiles(a, a, dir.file("AA.DB"), false);
    const auto twice = readFileQuestions(dir.file("AA.DB"));
    ASSERT_EQ(twice.size(), 8u);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(twice[i].number, i + 1);
        EXPECT_EQ(twice[i].stem, "Soru " + std::to_string(i % 4 + 1));
    }

    mergeQuestionFiles(e, a, dir.file("EA.DB"), false);
    const auto ea = readFileQuestions(dir.file("EA.DB"));
    ASSERT_EQ(ea.size(), 4u);
    EXPECT_EQ(ea[0].number, 1);
    EXPECT_EQ(ea[0].stem, "Soru 1");

    mergeQuestionFiles(e, e, dir.file("EE.DB"), false);
    EXPECT_TRUE(readFileQuestions(dir.file("EE.DB")).empty());
}

TEST(Merge, ExistingTargetIsReplacedOnlyWhenAllowed)
{
    TempDir dir;
    const std::string a = dir.file("A.DB"), b = dir.file("B.DB"), t = dir.file("T.DB");
    tovek::test::makeQuestionFile(a, 1);
    tovek::test::makeQuestionFile(b, 1);
    tovek::test::makeQuestionFile(t, 9);
    const auto old = tovek::test::readFile(t);

    try {
        mergeQuestionFiles(a, b, t, false);
        FAIL() << "an existing target was replaced without consent";
    } catch (const MergeRefused& e) {
        EXPECT_STREQ(e.what(), mergetext::DeleteQuestion);
    }
    EXPECT_EQ(tovek::test::readFile(t), old);

    tovek::test::writeFile(t + "-journal", "stale journal of the old file");
    mergeQuestionFiles(a, b, t, true);
    const auto merged = readFileQuestions(t);
    ASSERT_EQ(merged.size(), 2u);
    EXPECT_EQ(merged[1].stem, "Soru 1");
    EXPECT_FALSE(fileExists(t + "-journal"));
}

TEST(Merge, TargetThatCannotBeDeletedIsReported)
{
    TempDir dir;
    const std::string a = dir.file("A.DB"), t = dir.file("T.DB");
    tovek::test::makeQuestionFile(a, 2);
    std::filesystem::create_directory(fsPath(t));
    tovek::test::writeFile(t + "/icerik.txt", "x");
    try {
        mergeQuestionFiles(a, a, t, true);
        FAIL() << "a directory was taken for a replaceable target";
    } catch (const TargetNotDeletable& e) {
        EXPECT_NE(std::string(e.what()).find("Oluşturulacak Dosya Silinemedi"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find(t), std::string::npos);
    }
    EXPECT_TRUE(fileExists(t + "/icerik.txt"));
    EXPECT_EQ(directoryEntries(dir.path()), (std::vector<std::string>{"A.DB", "T.DB"}));
}

TEST(Merge, OlderLayoutSourceIsUpgradedAndArrivesInactive)
{
    TempDir dir;
    const std::string old = dir.file("ESKI.DB"), a = dir.file("A.DB"), t = dir.file("T.DB");
    makeOldLayoutFile(old, 3);
    tovek::test::makeQuestionFile(a, 2, true);

    mergeQuestionFiles(a, old, t, false);
    const auto merged = readFileQuestions(t);
    ASSERT_EQ(merged.size(), 5u);
    EXPECT_TRUE(merged[1].isActive());
    for (int i = 2; i < 5; ++i) {
        ASSERT_TRUE(std::holds_alternative<bool>(merged[i].active));
        EXPECT_FALSE(std::get<bool>(merged[i].active));
        EXPECT_EQ(merged[i].stem, "Soru " + std::to_string(i - 1));
        EXPECT_EQ(merged[i].correct, "C");
    }
    const auto layout = readLayout(old);
    EXPECT_EQ(layout.back().name, fld::AKTIF);
}

// The copy fails in its second pass: the first file's records are already posted when it stops.
TEST(Merge, FailureHalfWayLeavesNoTargetAndUnchangedSources)
{
    TempDir dir;
    const std::string a = dir.file("A.DB"), lacking = dir.file("EKSIK.DB"), text = dir.file("METIN.DB");
    tovek::test::makeQuestionFile(a, 5);
    makeOldLayoutFile(lacking, 2, fld::YANITE);
    tovek::test::writeFile(text, "Bu bir soru dosyası değil, düz bir metin.\n");
    const auto aBytes = tovek::test::readFile(a), textBytes = tovek::test::readFile(text);

    try {
        mergeQuestionFiles(a, lacking, dir.file("T.DB"), false);
        FAIL() << "a source without YANITE was merged";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("YANITE"), std::string::npos);
    }
    EXPECT_THROW(mergeQuestionFiles(a, text, dir.file("T.DB"), false), EngineError);
    EXPECT_EQ(directoryEntries(dir.path()), (std::vector<std::string>{"A.DB", "EKSIK.DB", "METIN.DB"}));
    EXPECT_EQ(tovek::test::readFile(a), aBytes);
    EXPECT_EQ(tovek::test::readFile(text), textBytes);

    // An existing target survives a failed merge: it is replaced only by a finished one.
    const std::string t = dir.file("T.DB");
    tovek::test::makeQuestionFile(t, 7);
    const auto tBytes = tovek::test::readFile(t);
    EXPECT_THROW(mergeQuestionFiles(a, lacking, t, true), EngineError);
    EXPECT_EQ(tovek::test::readFile(t), tBytes);
    EXPECT_THROW(mergeQuestionFiles(dir.file("YOK.DB"), a, t, true), EngineError);
    EXPECT_EQ(tovek::test::readFile(t), tBytes);
    EXPECT_EQ(directoryEntries(dir.path()), (std::vector<std::string>{"A.DB", "EKSIK.DB", "METIN.DB", "T.DB"}));
}

TEST(MergeCli, MergesRefusesAndAsksForConsent)
{
    TempDir dir;
    const std::string a = dir.file("A.DB"), b = dir.file("B.DB");
    tovek::test::makeQuestionFile(a, 3);
    tovek::test::makeQuestionFile(b, 2);

    auto r = tovek::test::runCli({"merge", dir.file("A"), dir.file("B"), dir.file("C")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, std::string(mergetext::Success) + "\n");
    const auto merged = readFileQuestions(dir.file("C.DB"));
    ASSERT_EQ(merged.size(), 5u);
    EXPECT_EQ(merged[3].number, 4);
    EXPECT_EQ(merged[3].stem, "Soru 1");

    r = tovek::test::runCli({"merge", a, b, dir.file("C.DB")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find(mergetext::DeleteQuestion), std::string::npos);
    EXPECT_EQ(readFileQuestions(dir.file("C.DB")).size(), 5u);

    r = tovek::test::runCli({"merge", b, b, dir.file("C.DB"), "--yes"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFileQuestions(dir.file("C.DB")).size(), 4u);

    r = tovek::test::runCli({"merge", a, b, dir.path() + "x/../A.DB", "--yes"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find(mergetext::TargetIsSource), std::string::npos);
    EXPECT_EQ(readFileQuestions(a).size(), 3u);

    r = tovek::test::runCli({"merge", a, "", dir.file("D")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find(mergetext::SecondMissing), std::string::npos);
}
