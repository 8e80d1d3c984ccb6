// A real word processor reads the documents we write: LibreOffice converts one to plain text and every line
// must come back as the teacher typed it.
#include "exam/rtfexport.h"

#include "store/paths.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

using namespace tovek;

namespace {

std::string findOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(dir.empty() ? "." : dir) / program;
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec))
            return candidate.string();
    }
    return {};
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(RtfOffice, LibreOfficeReadsEveryLineBack)
{
    const std::string soffice = findOnPath("soffice");
    if (soffice.empty())
        GTEST_SKIP() << "soffice (LibreOffice) is not installed; install libreoffice-writer-nogui to run this check";

    const std::vector<std::string> lines{
        "1. Türkiye'nin başkenti neresidir?",
        "A) Ankara",
        "",
        "B) İSTANBUL ığüşöç ĞÜŞİÖÇ",
        "C) {küme} ve \\par ile a\\b\\\\c",
        "D) Fiyatı 5 ₺, € 3 — “tırnak”",
        "E) }{ kapanış önce",
        "K=ABCDE",
    };
    tovek::test::TempDir dir;
    const std::string document = saveExamDocument(lines, dir.file("sinav"));
    ASSERT_EQ(document, dir.file("sinav.DOC"));

    const std::string command = "'" + soffice + "' --headless --convert-to txt:Text -env:UserInstallation=file://" +
                                dir.file("profile") + " --outdir '" + dir.file("out") + "' '" + document +
                                "' >'" + dir.file("soffice.log") + "' 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_EQ(status, 0) << tovek::test::readFile(dir.file("soffice.log"));
    ASSERT_TRUE(fileExists(dir.file("out/sinav.txt"))) << tovek::test::readFile(dir.file("soffice.log"));

    std::string text = tovek::test::readFile(dir.file("out/sinav.txt"));
    const std::string bom = "\xEF\xBB\xBF";
    if (text.compare(0, bom.size(), bom) == 0)
        text.erase(0, bom.size());
    const std::vector<std::string> read = splitLines(text);

    // The header's opening paragraph and the closing paragraph read as empty lines around the table.
    ASSERT_EQ(read.size(), lines.size() + 2) << text;
    EXPECT_EQ(read.front(), "");
    EXPECT_EQ(read.back(), "");
    EXPECT_EQ(std::vector<std::string>(read.begin() + 1, read.end() - 1), lines);
}
