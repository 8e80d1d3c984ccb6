#include "update/about.h"
#include "update/versioncheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>

using namespace tovek::update;

TEST(VersionText, FirstLineEndsAtAnyLineBreak)
{
    EXPECT_EQ(firstLine("1.90\r\nyeni sürüm"), "1.90");
    EXPECT_EQ(firstLine("1.90\nx"), "1.90");
    EXPECT_EQ(firstLine("1.90\rx\ny"), "1.90");
    EXPECT_EQ(firstLine("1.90"), "1.90");
    EXPECT_EQ(firstLine("\n1.90"), "");
    EXPECT_EQ(firstLine(""), "");
    EXPECT_EQ(firstLine("\xEF\xBB\xBF" "1.90\r\n"), "1.90");
}

TEST(VersionText, ParsesDecimalNumbersWithPointOnly)
{
    EXPECT_DOUBLE_EQ(*parseVersionNumber("1.81"), 1.81);
    EXPECT_DOUBLE_EQ(*parseVersionNumber("1.10"), 1.1);
    EXPECT_DOUBLE_EQ(*parseVersionNumber(" 2 "), 2.0);
    EXPECT_DOUBLE_EQ(*parseVersionNumber(".5"), 0.5);
    for (const char* bad : {"", " ", ".", "1,81", "1.2.3", "v1.9", "1e3", "inf", "nan", "-1", "<html>", "1.9x"})
        EXPECT_FALSE(parseVersionNumber(bad)) << bad;
}

TEST(VersionText, ParsingIgnoresTheProcessLocale)
{
    // A locale with "," as decimal separator must not change how "1.9" reads.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "tr_TR.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    const auto value = parseVersionNumber("1.9");
    std::setlocale(LC_NUMERIC, previous.c_str());
    ASSERT_TRUE(value);
    EXPECT_DOUBLE_EQ(*value, 1.9);
}

TEST(VersionText, VersionFileUrlJoinsWithOneSlash)
{
    EXPECT_EQ(versionFileUrl("http://www.example.com"), "http://www.example.com/download/tovekupd.txt");
    EXPECT_EQ(versionFileUrl("http://www.example.com/"), "http://www.example.com/download/tovekupd.txt");
}

TEST(AboutTexts, MailLinkKeepsBlanksAndNoticeHasFourLines)
{
    EXPECT_EQ(mailLinkText("a@b.c"), "mailto:a@b.c?subject=Tovek Hakkinda&Body=Tovek Hakkinda");
    const std::string notice = noticeText();
    EXPECT_EQ(std::count(notice.begin(), notice.end(), '\n'), 3);
}

namespace {

FetchResult received(std::string body, int status = 200)
{
    return {FetchStatus::Received, status, std::move(body), {}};
}

} // namespace

TEST(Evaluate, NewerVersionOpensTheWindowInBothModes)
{
    for (auto mode : {CheckMode::Silent, CheckMode::Interactive}) {
        const Outcome o = evaluate(mode, received("1.90\r\nbilgi"), "1.81");
        EXPECT_EQ(o.verdict, Verdict::NewVersion);
        EXPECT_EQ(o.latestVersion, "1.90"); // as written, not 1.9
    }
    EXPECT_EQ(evaluate(CheckMode::Silent, received("1.9"), "1.81").verdict, Verdict::NewVersion);
}

TEST(Evaluate, EqualOrLowerIsUpToDateOnlyWhenAsked)
{
    for (const char* body : {"1.81", "1.10", "1.5\n9.9"}) {
        EXPECT_EQ(evaluate(CheckMode::Silent, received(body), "1.81").verdict, Verdict::ShowNothing) << body;
        const Outcome o = evaluate(CheckMode::Interactive, received(body), "1.81");
        EXPECT_EQ(o.verdict, Verdict::UpToDate) << body;
        EXPECT_EQ(o.message, "Tovek Kurulu Versiyon : 1.81\r\rŞu An En Son Versiyonu Kullanıyorsunuz...");
    }
}

TEST(Evaluate, NoConnectionSpeaksOnlyWhenAsked)
{
    const FetchResult none{FetchStatus::NoConnection, 0, {}, {}};
    EXPECT_EQ(evaluate(CheckMode::Silent, none, "1.81").verdict, Verdict::ShowNothing);
    const Outcome o = evaluate(CheckMode::Interactive, none, "1.81");
    EXPECT_EQ(o.verdict, Verdict::NoConnection);
    EXPECT_EQ(o.message, "Bağlantı Başarısız.");
}

TEST(Evaluate, FailuresSayWhatWentWrongOnlyWhenAsked)
{
    struct Case
    {
        FetchResult fetch;
        std::string expectedPart;
    };
    const std::vector<Case> cases = {
        {{FetchStatus::Unreachable, 0, {}, "Connection refused"}, "sunucuya bağlanılamadı (Connection refused)"},
        {{FetchStatus::TimedOut, 0, {}, {}}, "zamanında yanıt vermedi"},
        {{FetchStatus::TooLarge, 200, {}, {}}, "64 KB sınırını aşıyor"},
        {received(""), "sürüm dosyası boş"},
        {received("<html><body>Not Found</body></html>\n", 404), "HTTP 404"},
        {received("<html>", 404), "(\"<html>\")"},
        {received("1,90"), "bir sürüm numarası değil"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(evaluate(CheckMode::Silent, c.fetch, "1.81").verdict, Verdict::ShowNothing) << c.expectedPart;
        const Outcome o = evaluate(CheckMode::Interactive, c.fetch, "1.81");
        EXPECT_EQ(o.verdict, Verdict::Failure) << c.expectedPart;
        EXPECT_NE(o.message.find(c.expectedPart), std::string::npos) << o.message;
        EXPECT_NE(o.message.find("yeniden deneyiniz"), std::string::npos) << o.message;
    }
}

TEST(Evaluate, ErrorPageWithANumberCountsAsAnAnswer)
{
    EXPECT_EQ(evaluate(CheckMode::Silent, received("2.0\n<html>", 404), "1.81").verdict, Verdict::NewVersion);
}

TEST(Evaluate, LongFirstLineIsShortenedWithoutSplittingACharacter)
{
    const std::string line = std::string(39, 'x') + "ğğğ" + std::string(100, 'y');
    const Outcome o = evaluate(CheckMode::Interactive, received(line), "1.81");
    EXPECT_NE(o.message.find(std::string(39, 'x') + "...\""), std::string::npos) << o.message;
}
