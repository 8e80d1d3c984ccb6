// Question files: data directory, names, listing, the layout upgrade, JSON and the command line.
#include "store/paths.h"
#include "store/questionfile.h"
#include "store/questionjson.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace tovek;
using tovek::test::TempDir;

TEST(TurkishUpperCase, FollowsTheTurkishTableAndLeavesOtherLettersAlone)
{
    EXPECT_EQ(turkishUpperCase("yeni sınav"), "YENİ SINAV");
    EXPECT_EQ(turkishUpperCase("fizik.txt"), "FİZİK.TXT");
    EXPECT_EQ(turkishUpperCase("Ödev 1"), "ÖDEV 1");
    EXPECT_EQ(turkishUpperCase("café"), "CAFé");
    EXPECT_EQ(turkishUpperCase("çğıöşü iâ"), "ÇĞIÖŞÜ İâ");
    EXPECT_EQ(turkishUpperCase(" ab "), " AB ") << "blanks are kept";
}

TEST(QuestionNames, ExtensionRuleMatchesTheChooser)
{
    EXPECT_EQ(withQuestionExtension(turkishUpperCase("fizik.txt")), "FİZİK.DB");
    EXPECT_EQ(withQuestionExtension("ÖDEV 1"), "ÖDEV 1.DB");
    EXPECT_EQ(withQuestionExtension("/d/Ders.2/x"), "/d/Ders.2/x.DB");
    EXPECT_EQ(withQuestionExtension("/d/a.yedek.db"), "/d/a.yedek.DB");
}

TEST(DataDirectory, IsBesideTheProgramAndCreatedOnce)
{
    TempDir dir;
    const std::string data = dataDirFor(dir.path());
    EXPECT_EQ(data, dir.path() + "DATA/");
    EXPECT_TRUE(ensureDataDir(data));
    EXPECT_FALSE(ensureDataDir(data));

    test::writeFile(dir.file("dosya"), "x");
    const std::string impossible = dataDirFor(dir.file("dosya"));
    try {
        ensureDataDir(impossible);
        FAIL() << "created a directory under a file";
    } catch (const EngineError& e) {
        EXPECT_EQ(std::string(e.what()), "DATA DİZİNİ OLUŞTURULAMADI :" + impossible);
    }
}

TEST(Listing, KeepsWritablePlainQuestionFilesOnly)
{
    TempDir dir;
    test::makeQuestionFile(dir.file("A.DB"), 1);
    test::makeQuestionFile(dir.file("kucuk.db"), 1);
    test::makeQuestionFile(dir.file("SALT.DB"), 1);
    std::filesystem::permissions(fsPath(dir.file("SALT.DB")), std::filesystem::perms::owner_read);
    test::makeQuestionFile(dir.file(".GIZLI.DB"), 1);
    std::filesystem::create_directory(fsPath(dir.file("KLASOR.DB")));
    test::writeFile(dir.file("notlar.txt"), "x");
    test::writeFile(dir.file("B.DB-journal"), "x");

    auto files = listQuestionFiles(dir.path());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{dir.file("A.DB"), dir.file("kucuk.db")}));
    EXPECT_TRUE(listQuestionFiles(dir.file("yok/")).empty());
}

TEST(Listing, ALowerCaseExtensionOpensTheListedFile)
{
    TempDir dir;
    test::makeQuestionFile(dir.file("x.db"), 3);
    const std::string shown = withQuestionExtension(dir.file("x.db"));
    EXPECT_EQ(shown, dir.file("x.DB"));
    EXPECT_EQ(questionFileOnDisk(shown), dir.file("x.db"));
    EXPECT_EQ(questionFileOnDisk(dir.file("yeni.DB")), dir.file("yeni.DB"));
}

TEST(Upgrade, OlderLayoutGainsActiveFlagFalseOnceOnly)
{
    TempDir dir;
    const std::string path = dir.file("ESKI.DB");
    auto layout = questionLayout();
    layout.erase(layout.begin() + 1); // no AKTIF
    createTable(path, layout, questionIndex());
    {
        Table t;
        t.setTableName(path);
        t.open();
        for (int i = 1; i <= 3; ++i) {
            t.append();
            t.setInteger("SORUNO", i);
            t.setText("SORUKOKU", "Eski " + std::to_string(i));
            t.setText("DOGRUYANIT", "B");
            t.post();
        }
    }
    upgradeQuestionFile(dir.path(), "ESKI.DB");
    const auto upgraded = readLayout(path);
    ASSERT_EQ(upgraded.size(), 9u);
    EXPECT_EQ(upgraded.back().name, "AKTIF");

    Table t;
    t.setTableName(path);
    t.open();
    for (const Question& q : readAllQuestions(t)) {
        ASSERT_TRUE(std::holds_alternative<bool>(q.active));
        EXPECT_FALSE(std::get<bool>(q.active));
        EXPECT_EQ(q.correct, "B");
    }
    t.close();

    const std::string before = test::readFile(path);
    upgradeQuestionFile(dir.path(), path); // a full path works too
    EXPECT_EQ(test::readFile(path), before);
}

TEST(Json, ImportRefusesBadInputNamingTheElement)
{
    const auto expectRefused = [](const std::string& text, const std::string& part) {
        try {
            questionsFromJson(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
    };
    const std::string ok = R"({"AKTIF":true,"SORUKOKU":"s","YANITA":"a","YANITB":"b","YANITC":"c","YANITD":"d","YANITE":"e","DOGRUYANIT":"A"})";
    expectRefused("yok", "JSON");
    expectRefused("{}", "dizi");
    expectRefused("[" + ok + R"(,{"AKTIF":true})" + "]", "2. soru");
    expectRefused(R"([{"AKTIF":1,"SORUKOKU":"s","YANITA":"a","YANITB":"b","YANITC":"c","YANITD":"d","YANITE":"e","DOGRUYANIT":"A"}])",
                  "AKTIF");
    expectRefused(R"([{"AKTIF":null,"SORUKOKU":"s","YANITA":"a","YANITB":"b","YANITC":"c","YANITD":"d","YANITE":"e","DOGRUYANIT":"AB"}])",
                  "DOGRUYANIT");
    expectRefused(R"([{"AKTIF":null,"SORUKOKU":5,"YANITA":"a","YANITB":"b","YANITC":"c","YANITD":"d","YANITE":"e","DOGRUYANIT":""}])",
                  "SORUKOKU");
    EXPECT_EQ(questionsFromJson("[" + ok + "]").size(), 1u);
}

TEST(Json, LineBreaksAreStoredAsCrLf)
{
    EXPECT_EQ(normalizeLineBreaks("a\nb\rc\r\nd\n"), "a\r\nb\r\nc\r\nd\r\n");
}

TEST(CommandLine, ImportThenExportKeepsEveryQuestion)
{
    TempDir dir;
    const auto imported = test::runCli({"import", dir.file("örnek"), TOVEK_SAMPLE_BANK});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    const auto exported = test::runCli({"export", dir.file("örnek.DB")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const auto questions = questionsFromJson(exported.out);
    ASSERT_EQ(questions.size(), 30u);
    EXPECT_EQ(questions.front().stem, "Türkiye'nin başkenti neresidir?");

    // Re-importing the export into an empty file gives the same questions, numbered after the last one.
    test::writeFile(dir.file("export.json"), exported.out);
    ASSERT_EQ(test::runCli({"new", dir.file("kopya")}).exitCode, 0);
    ASSERT_EQ(test::runCli({"import", dir.file("kopya.DB"), dir.file("export.json")}).exitCode, 0);
    EXPECT_EQ(test::runCli({"export", dir.file("kopya.DB")}).out, exported.out);
    ASSERT_EQ(test::runCli({"import", dir.file("kopya.DB"), dir.file("export.json")}).exitCode, 0);
    const std::string doubledText = test::runCli({"export", dir.file("kopya.DB")}).out;
    EXPECT_EQ(questionsFromJson(doubledText).size(), 60u);
    EXPECT_NE(doubledText.find("\"SORUNO\": 60"), std::string::npos);
    EXPECT_EQ(doubledText.find("\"SORUNO\": 61"), std::string::npos);
}

TEST(CommandLine, RelativePathsInAnotherDirectoryWork)
{
    TempDir dir;
    std::filesystem::create_directory(fsPath(dir.file("DATA")));
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(fsPath(dir.path()));
    const auto imported = test::runCli({"import", "DATA/örnek", TOVEK_SAMPLE_BANK});
    const auto exported = test::runCli({"export", "DATA/örnek.DB"});
    const auto exam = test::runCli({"exam", "DATA/örnek.DB", "--seed", "1", "--limit", "3"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exam.exitCode, 0) << exam.err;
}

TEST(CommandLine, RefusedInputWritesNothing)
{
    TempDir dir;
    test::writeFile(dir.file("bozuk.json"), R"([{"AKTIF":true}])");
    const auto refused = test::runCli({"import", dir.file("banka"), dir.file("bozuk.json")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("1. soru"), std::string::npos) << refused.err;
    EXPECT_FALSE(fileExists(dir.file("banka.DB")));

    test::writeFile(dir.file("metin.DB"), "düz metin");
    const auto broken = test::runCli({"export", dir.file("metin.DB")});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(test::readFile(dir.file("metin.DB")), "düz metin");
}
