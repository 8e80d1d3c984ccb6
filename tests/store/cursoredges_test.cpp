// The storage engine at its edges: hooks that read the record while a deletion at the end is
// under way, and table references whose file names hold a double quotation mark.
#include "store/engine.h"
#include "store/paths.h"
#include "store/questionfile.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

using namespace tovek;
using tovek::test::TempDir;

TEST(CursorEdges, HooksSeeAValidRecordWhenTheLastRecordIsDeleted)
{
    TempDir dir;
    test::makeQuestionFile(dir.file("SON.DB"), 4);
    Table table;
    table.setTableName(dir.file("SON.DB"));
    table.open();
    table.last();
    ASSERT_EQ(table.position(), 3);

    std::vector<std::string> seenInDataChanged, seenInAfterDelete;
    table.dataChanged = [&] {
        ASSERT_GE(table.position(), 0);
        ASSERT_LT(table.position(), table.recordCount());
        seenInDataChanged.push_back(table.asText(fld::SORUKOKU));
    };
    table.afterDelete = [&] {
        ASSERT_LT(table.position(), table.recordCount());
        seenInAfterDelete.push_back(formatNumber(table.keyAt(table.position())));
    };
    ASSERT_NO_THROW(table.remove());

    EXPECT_EQ(table.recordCount(), 3);
    EXPECT_EQ(table.position(), 2);
    EXPECT_EQ(table.asInteger(fld::SORUNO), 3);
    EXPECT_EQ(seenInAfterDelete, (std::vector<std::string>{"3"}));
    ASSERT_FALSE(seenInDataChanged.empty());
    EXPECT_EQ(seenInDataChanged.front(), "Soru 3");
}

#if !defined(_WIN32) // Windows forbids the double quotation mark in file names.
TEST(CursorEdges, FileNamesWithAQuotationMarkCanBeUpgraded)
{
    TempDir dir;
    const std::string name = "Sınav \"A\".DB";
    auto layout = questionLayout();
    layout.erase(layout.begin() + 1); // an older file without AKTIF
    createTable(dir.file(name), layout, questionIndex());

    upgradeQuestionFile(dir.path(), name);
    const auto upgraded = readLayout(dir.file(name));
    ASSERT_EQ(upgraded.size(), 9u);
    EXPECT_EQ(upgraded.back().name, "AKTIF");

    // The statement names the table the SQL way, with the inner quotation mark doubled.
    test::makeQuestionFile(dir.file("Sınav \"B\".DB"), 2);
    Query query;
    query.setDirectory(dir.path());
    query.execSql("UPDATE \"Sınav \"\"B\"\".DB\" SET AKTIF = FALSE");
    Table t;
    t.setTableName(dir.file("Sınav \"B\".DB"));
    t.open();
    EXPECT_EQ(t.recordCount(), 2);
    EXPECT_FALSE(t.asBoolean(fld::AKTIF));
}
#endif

TEST(CursorEdges, StepsFromARecordThatLeftTheFilteredViewSkipNothing)
{
    TempDir dir;
    std::vector<Question> questions;
    for (int n = 1; n <= 8; ++n)
        questions.push_back(test::sampleQuestion(n, "A", n % 2 == 0));
    test::makeQuestionFile(dir.file("SUZGEC.DB"), questions);
    Table table;
    table.setTableName(dir.file("SUZGEC.DB"));
    table.open();
    table.setFiltered(true); // 2, 4, 6, 8

    ASSERT_TRUE(table.findKey(4.0));
    table.edit();
    table.setBoolean(fld::AKTIF, false);
    table.next(); // stores 4, which leaves the view
    EXPECT_EQ(table.asInteger(fld::SORUNO), 6);

    table.edit();
    table.setBoolean(fld::AKTIF, false);
    table.prior(); // stores 6; the record before its old place is 2
    EXPECT_EQ(table.asInteger(fld::SORUNO), 2);

    ASSERT_TRUE(table.findKey(8.0));
    table.edit();
    table.setBoolean(fld::AKTIF, false);
    table.next(); // the last one leaves: the end is reached on the new last record
    EXPECT_TRUE(table.eof());
    EXPECT_EQ(table.recordCount(), 1);
    EXPECT_EQ(table.asInteger(fld::SORUNO), 2);
}
