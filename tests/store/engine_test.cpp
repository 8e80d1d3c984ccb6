// The storage engine: states, hooks, filter, find, key refusal, durability and bad files.
#include "store/engine.h"
#include "store/paths.h"
#include "store/questionfile.h"
#include "support/testutil.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>

using namespace tovek;
using tovek::test::TempDir;

namespace {

class EngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = dir.file("SINAV.DB");
        test::makeQuestionFile(path, 5);
        table.setDirectory(dir.path());
        table.setTableName("SINAV.DB");
        table.open();
    }

    std::vector<double> keys()
    {
        std::vector<double> out;
        for (int i = 0; i < table.recordCount(); ++i)
            out.push_back(table.keyAt(i));
        return out;
    }

    TempDir dir;
    std::string path;
    Table table;
};

} // namespace

TEST(EngineCreate, NewTableHasTheNineFieldsInOrderAndNoRecords)
{
    TempDir dir;
    createQuestionFile(dir.path(), "YENİ.DB");
    const auto layout = readLayout(dir.file("YENİ.DB"));
    const std::vector<std::string> expected = {"SORUNO", "AKTIF",  "SORUKOKU", "YANITA",    "YANITB",
                                               "YANITC", "YANITD", "YANITE",   "DOGRUYANIT"};
    ASSERT_EQ(layout.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(layout[i].name, expected[i]);
    EXPECT_EQ(layout[0].type, FieldType::Float);
    EXPECT_EQ(layout[1].type, FieldType::Boolean);
    EXPECT_EQ(layout[2].type, FieldType::FmtMemo);
    EXPECT_EQ(layout[2].size, 200);
    EXPECT_EQ(layout[8].type, FieldType::String);
    EXPECT_EQ(layout[8].size, 1);

    Table t;
    t.setTableName(dir.file("YENİ.DB"));
    t.open();
    EXPECT_EQ(t.recordCount(), 0);
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
}

TEST(EngineCreate, ExistingFileIsLeftUntouched)
{
    TempDir dir;
    test::makeQuestionFile(dir.file("A.DB"), 3);
    const std::string before = test::readFile(dir.file("A.DB"));
    createQuestionFile(dir.path(), "A.DB");
    EXPECT_EQ(test::readFile(dir.file("A.DB")), before);
}

TEST(EnginePaths, FullPathWinsOverDirectory)
{
    EXPECT_EQ(resolveTablePath("/data/", "x.DB"), "/data/x.DB");
    EXPECT_EQ(resolveTablePath("/data", "x.DB"), "/data/x.DB");
    EXPECT_EQ(resolveTablePath("/data/", "/other/y.DB"), "/other/y.DB");
}

TEST_F(EngineTest, CursorWalksInKeyOrderAndMovesPostPendingEdits)
{
    EXPECT_EQ(keys(), (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(table.asText("SORUNO"), "1");
    EXPECT_EQ(table.asText("sorukoku"), "Soru 1"); // names are not case sensitive

    table.edit();
    EXPECT_EQ(table.state(), TableState::Edit);
    table.setText("SORUKOKU", "Değişti\r\nİkinci satır");
    table.next(); // stores the change
    EXPECT_EQ(table.state(), TableState::Browse);
    EXPECT_EQ(table.asInteger("SORUNO"), 2);

    table.first();
    EXPECT_EQ(table.asText("SORUKOKU"), "Değişti\r\nİkinci satır");

    table.last();
    EXPECT_EQ(table.asInteger("SORUNO"), 5);
    table.next();
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.asInteger("SORUNO"), 5);
}

TEST_F(EngineTest, CancelDropsChangesAndWritesNeedEditState)
{
    EXPECT_THROW(table.setText("SORUKOKU", "x"), EngineError);
    table.edit();
    table.setText("SORUKOKU", "geçici");
    EXPECT_TRUE(table.modified());
    EXPECT_EQ(table.asText("SORUKOKU"), "geçici");
    table.cancel();
    EXPECT_EQ(table.state(), TableState::Browse);
    EXPECT_EQ(table.asText("SORUKOKU"), "Soru 1");
}

TEST_F(EngineTest, CloseDropsAnUnpostedEdit)
{
    table.edit();
    table.setText("SORUKOKU", "kaybolacak");
    table.close();
    table.open();
    EXPECT_EQ(table.asText("SORUKOKU"), "Soru 1");
}

TEST_F(EngineTest, PostIsVisibleToAnotherConnectionAtOnce)
{
    table.edit();
    table.setBoolean("AKTIF", false);
    table.post();

    Table other;
    other.setTableName(path);
    other.open();
    EXPECT_FALSE(other.asBoolean("AKTIF"));
}

TEST_F(EngineTest, HooksRunAndMayRefuseSilently)
{
    int newRecords = 0, deletes = 0, scrolls = 0;
    table.beforeInsert = [] { throw Abort(); };
    table.onNewRecord = [&] { ++newRecords; };
    table.afterDelete = [&] { ++deletes; };
    table.afterScroll = [&] { ++scrolls; };

    EXPECT_THROW(table.insert(), Abort);
    EXPECT_EQ(table.state(), TableState::Browse);
    EXPECT_EQ(newRecords, 0);

    table.beforeInsert = nullptr;
    table.onNewRecord = [&] {
        ++newRecords;
        table.setInteger("SORUNO", table.recordCount() + 1);
        table.post();
    };
    table.insert();
    EXPECT_EQ(newRecords, 1);
    EXPECT_EQ(table.state(), TableState::Browse);
    EXPECT_EQ(table.asInteger("SORUNO"), 6);
    EXPECT_TRUE(isEmpty(table.value("AKTIF")));
    EXPECT_EQ(table.asText("SORUKOKU"), "");

    table.beforeDelete = [] { throw Abort(); };
    EXPECT_THROW(table.remove(), Abort);
    EXPECT_EQ(table.recordCount(), 6);
    table.beforeDelete = nullptr;
    scrolls = 0;
    table.first();
    table.remove();
    EXPECT_EQ(deletes, 1);
    EXPECT_GE(scrolls, 2);
    EXPECT_EQ(keys(), (std::vector<double>{2, 3, 4, 5, 6}));
}

TEST_F(EngineTest, EditOnAnEmptyTableInsertsInstead)
{
    TempDir other;
    createQuestionFile(other.path(), "BOS.DB");
    Table t;
    t.setTableName(other.file("BOS.DB"));
    t.open();
    bool inserted = false;
    t.onNewRecord = [&] { inserted = true; };
    t.edit();
    EXPECT_TRUE(inserted);
    EXPECT_EQ(t.state(), TableState::Insert);
    t.remove(); // deleting a record being inserted only drops it
    EXPECT_EQ(t.state(), TableState::Browse);
    EXPECT_THROW(t.remove(), EngineError) << "deleting from an empty table";
}

TEST_F(EngineTest, DuplicateKeyIsRefusedAndNothingChanges)
{
    table.insert();
    table.setInteger("SORUNO", 3);
    table.setText("SORUKOKU", "çift");
    try {
        table.post();
        FAIL() << "a duplicate number was stored";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("3"), std::string::npos);
    }
    table.cancel();
    table.close();
    table.open();
    EXPECT_EQ(keys(), (std::vector<double>{1, 2, 3, 4, 5}));
    ASSERT_TRUE(table.findKey(3.0));
    EXPECT_EQ(table.asText("SORUKOKU"), "Soru 3");

    table.first();
    table.edit();
    table.setInteger("SORUNO", 2);
    EXPECT_THROW(table.post(), EngineError);
}

TEST_F(EngineTest, FindByNumberOrDecimalText)
{
    EXPECT_TRUE(table.findKey(4.0));
    EXPECT_EQ(table.asText("SORUKOKU"), "Soru 4");
    EXPECT_TRUE(table.findKey(std::string("2")));
    EXPECT_EQ(table.position(), 1);
    EXPECT_FALSE(table.findKey(9.0));
    EXPECT_EQ(table.position(), 1) << "a failed lookup does not move";
    EXPECT_THROW(table.findKey(std::string("iki")), EngineError);
}

TEST_F(EngineTest, FilterShowsOnlyActiveRecordsAndSurvivesReopening)
{
    // Records 1..5 are active; make 2 inactive and 4 empty.
    table.findKey(2.0);
    table.edit();
    table.setBoolean("AKTIF", false);
    table.findKey(4.0);
    table.edit();
    table.setValue("AKTIF", Value{});
    table.first();

    table.setFiltered(true);
    EXPECT_EQ(keys(), (std::vector<double>{1, 3, 5}));
    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_FALSE(table.findKey(2.0));

    table.close();
    table.open();
    EXPECT_TRUE(table.filtered());
    EXPECT_EQ(keys(), (std::vector<double>{1, 3, 5}));

    // A record switched off under the filter leaves the view.
    table.edit();
    table.setBoolean("AKTIF", false);
    table.post();
    EXPECT_EQ(keys(), (std::vector<double>{3, 5}));

    table.setFiltered(false);
    EXPECT_EQ(table.recordCount(), 5);
}

TEST_F(EngineTest, MemoTextsOfAnyLengthComeBackWhole)
{
    std::string longText;
    for (int i = 0; i < 20000; ++i)
        longText += "Şğüİıöç satır " + std::to_string(i) + "\r\n";
    table.edit();
    table.setText("YANITC", longText);
    table.setText("DOGRUYANIT", "CD"); // a one-letter field keeps one letter
    table.post();
    table.close();
    table.open();
    EXPECT_EQ(table.asText("YANITC"), longText);
    EXPECT_EQ(table.asText("DOGRUYANIT"), "C");
}

TEST_F(EngineTest, RenumberingClosesGapsInOneTransaction)
{
    table.findKey(3.0);
    table.remove();
    renumberQuestions(table);
    EXPECT_EQ(keys(), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(table.position(), 3) << "the last question is current";
    table.findKey(3.0);
    EXPECT_EQ(table.asText("SORUKOKU"), "Soru 4");
}

TEST_F(EngineTest, FailedTransactionLeavesTheFileAsItWas)
{
    const std::string before = test::readFile(path);
    table.beginTransaction();
    table.first();
    table.edit();
    table.setText("SORUKOKU", "yarım");
    table.post();
    table.rollback();
    table.close();
    EXPECT_EQ(test::readFile(path), before);
}

TEST(EngineBadFiles, EveryBadFileRaisesAnErrorAndStaysUnchanged)
{
    TempDir dir;
    test::writeFile(dir.file("BOS.DB"), "");
    test::writeFile(dir.file("METIN.DB"), "Bu bir metin dosyasıdır, soru dosyası değil.\n");
    std::string noise(8192, '\0');
    std::mt19937 gen(7);
    for (auto& c : noise)
        c = static_cast<char>(gen());
    test::writeFile(dir.file("GURULTU.DB"), noise);
    {
        // A database of another program: no question table in it.
        sqlite3* db = nullptr;
        sqlite3_open(dir.file("DIGER.DB").c_str(), &db);
        sqlite3_exec(db, "CREATE TABLE notlar (id INTEGER PRIMARY KEY, metin TEXT)", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }

    for (const char* name : {"YOK.DB", "BOS.DB", "METIN.DB", "GURULTU.DB", "DIGER.DB"}) {
        const bool existed = fileExists(dir.file(name));
        const std::string before = existed ? test::readFile(dir.file(name)) : "";
        Table t;
        t.setTableName(dir.file(name));
        try {
            t.open();
            ADD_FAILURE() << name << " opened";
        } catch (const EngineError& e) {
            EXPECT_FALSE(std::string(e.what()).empty());
        }
        EXPECT_EQ(fileExists(dir.file(name)), existed) << name;
        if (existed) {
            EXPECT_EQ(test::readFile(dir.file(name)), before) << name;
        }
        EXPECT_THROW(upgradeQuestionFile(dir.path(), name), EngineError) << name;
    }
}

TEST(EngineBadFiles, ReadOnlyFileCanBeReadButNotWritten)
{
    TempDir dir;
    const std::string path = dir.file("SALT.DB");
    test::makeQuestionFile(path, 2);
    std::filesystem::permissions(fsPath(path), std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const std::string before = test::readFile(path);
    Table t;
    t.setTableName(path);
    t.open();
    EXPECT_EQ(t.asText("SORUKOKU"), "Soru 1");
    t.edit();
    t.setText("SORUKOKU", "değişiklik");
    try {
        t.post();
        ADD_FAILURE() << "a read-only file was written";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("salt okunur"), std::string::npos) << e.what();
    }
    t.cancel();
    t.close();
    EXPECT_EQ(test::readFile(path), before);
}

TEST(EngineBadFiles, MutatedFilesNeverCrashTheOpenPath)
{
    TempDir dir;
    const std::string good = dir.file("IYI.DB");
    test::makeQuestionFile(good, 40);
    const std::string original = test::readFile(good);
    std::mt19937 gen(12345);
    int opened = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bytes = original;
        switch (round % 3) {
        case 0: // flip a few bytes
            for (int k = 0; k < 1 + round % 8; ++k)
                bytes[gen() % bytes.size()] = static_cast<char>(gen());
            break;
        case 1: // cut the file short
            bytes.resize(gen() % bytes.size());
            break;
        default: // overwrite a run of bytes
        {
            const std::size_t at = gen() % bytes.size();
            for (std::size_t k = at; k < std::min(bytes.size(), at + 64); ++k)
                bytes[k] = static_cast<char>(gen());
        }
        }
        const std::string path = dir.file("M" + std::to_string(round) + ".DB");
        test::writeFile(path, bytes);
        try {
            Table t;
            t.setTableName(path);
            t.open();
            t.first();
            while (!t.eof()) {
                (void)readQuestion(t);
                t.next();
            }
            ++opened;
        } catch (const EngineError&) {
            ++refused;
        }
        EXPECT_EQ(test::readFile(path), bytes) << "round " << round << " changed the file";
    }
    EXPECT_EQ(opened + refused, 300);
}
