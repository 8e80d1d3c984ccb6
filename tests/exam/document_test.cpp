#include "exam/document.h"

#include <gtest/gtest.h>

using namespace tovek;
using Lines = std::vector<std::string>;

TEST(MemoLines, BreaksOfEveryKindAndTheTrailingRule)
{
    EXPECT_EQ(memoLines(""), Lines{""});
    EXPECT_EQ(memoLines("tek"), Lines{"tek"});
    EXPECT_EQ(memoLines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
    // One break at the very end opens no line; two leave one empty line.
    EXPECT_EQ(memoLines("a\r\n"), Lines{"a"});
    EXPECT_EQ(memoLines("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(memoLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(memoLines("\r\n"), Lines{""});
    EXPECT_EQ(memoLines("\n\nx"), (Lines{"", "", "x"}));
    // LF CR is two breaks, not one.
    EXPECT_EQ(memoLines("a\n\rb"), (Lines{"a", "", "b"}));
    // Texts pass unchanged, however long.
    const std::string longLine(10000, 'x');
    EXPECT_EQ(memoLines("  Şığ İı " + longLine), Lines{"  Şığ İı " + longLine});
}

TEST(ExamTexts, KeyLinesDistributionStatusSummaryAndOrder)
{
    EXPECT_EQ(keyLine(7, 3), "SORU - 07 : C");
    EXPECT_EQ(keyLine(1, 1), "SORU - 01 : A");
    EXPECT_EQ(keyLine(10, 5), "SORU - 10 : E");
    EXPECT_EQ(keyLine(100, 2), "SORU - 100 : B");
    EXPECT_EQ(keyLine(12345, 4), "SORU - 12345 : D");

    const std::string dist = distributionText({2, 2, 3, 2, 2});
    EXPECT_EQ(dist, "  A-2  B-2  C-3  D-2  E-2");
    EXPECT_EQ(statusText(17, dist), "Sorularda  17. Dağılım Yapıldı. Şıklarda Eşit Dağılım Aranıyor...  A-2  B-2  C-3  "
                                    "D-2  E-2 - (ESC-Durdur)");
    EXPECT_EQ(summaryText(17, dist), "17. İterasyon Sonucunda Şıklardaki Dağılım   A-2  B-2  C-3  D-2  E-2  Olarak bulundu ...");

    EXPECT_EQ(orderText({3, 1, 2}), "3, 1, 2");
    EXPECT_EQ(orderText({42}), "42");
    EXPECT_EQ(orderText({}), "");

    EXPECT_EQ(correctOptionNumber("A"), 1);
    EXPECT_EQ(correctOptionNumber("E"), 5);
    for (const char* bad : {"", "a", "F", " A", "A ", "AB"})
        EXPECT_EQ(correctOptionNumber(bad), 0) << bad;
}

TEST(ExamDocument, QuestionBlocksKeySectionAndReset)
{
    Question q;
    q.number = 4;
    q.stem = "";
    q.answers = {"bir", "iki\r\nüç\r\ndört", "beş\r\n", "", "altı"};
    q.correct = "B";

    Question r;
    r.number = 9;
    r.stem = "Hangisi?\nİkinci satır\r\n";
    r.answers = {"a", "b", "c", "d", "e"};
    r.correct = "E";

    ExamDocument doc;
    doc.AddKeyEntry(99, 1); // left over from an earlier attempt
    doc.ResetDocument();
    EXPECT_TRUE(doc.lines().empty());
    EXPECT_TRUE(doc.keyLetters().empty());

    doc.AppendStem(1, q);
    // The text of option C placed under the first letter is written after "A) ".
    const int map[5] = {3, 2, 1, 5, 4};
    for (int j = 1; j <= 5; ++j) {
        doc.AppendOption(j, q, map[j - 1]);
        if (map[j - 1] == 2)
            doc.AddKeyEntry(1, j);
    }
    doc.AppendQuestionEnd();
    doc.AppendStem(2, r);
    for (int j = 1; j <= 5; ++j)
        doc.AppendOption(j, r, j);
    doc.AddKeyEntry(2, 5);
    doc.AppendQuestionEnd();
    doc.SetSummary(3, distributionText({0, 1, 0, 0, 1}));
    doc.AppendKeySection(2);
    doc.SetOrderText({4, 9});

    const Lines expected = {
        "1) ", "", "A) beş", "B) iki", "üç", "dört", "C) bir", "D) altı", "E) ", "",
        "2) Hangisi?", "İkinci satır", "", "A) a", "B) b", "C) c", "D) d", "E) e", "",
        "YANIT ANAHTARI", "SORU - 01 : B", "SORU - 02 : E", "",
        "*****         OPTİK OKUYUCU İÇİN", "*****     K KITAPÇIK TÜRÜNÜ GÖSTERİR", "",
        "SORU_SAYISI=2", "K=BE"};
    EXPECT_EQ(doc.lines(), expected);
    EXPECT_EQ(doc.keyLetters(), "BE");
    EXPECT_EQ(doc.orderText(), "4, 9");
    EXPECT_EQ(doc.summary(), "3. İterasyon Sonucunda Şıklardaki Dağılım   A-0  B-1  C-0  D-0  E-1  Olarak bulundu ...");
}
