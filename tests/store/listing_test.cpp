#include "support/testutil.h"

#include "store/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace tovek;

// A read-only question file stays out of the list whoever runs the program, the superuser included.
TEST(ListQuestionFiles, LeavesOutFilesWithoutWriteBits)
{
    test::TempDir dir;
    test::makeQuestionFile(dir.file("YAZILIR.DB"), 1);
    test::makeQuestionFile(dir.file("SALT.DB"), 1);
    namespace fs = std::filesystem;
    fs::permissions(fsPath(dir.file("SALT.DB")), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto files = listQuestionFiles(dir.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0], dir.file("YAZILIR.DB"));
}
