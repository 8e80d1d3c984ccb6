// The document writer: exact bytes, target names, progress and every way a save can fail.
#include "exam/cp1254.h"
#include "exam/rtfexport.h"

#include "store/paths.h"
#include "support/testutil.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tovek;
using tovek::test::readFile;
using tovek::test::writeFile;

namespace {

const std::string Header = "{\\rtf1\\ansi\\deff0\\deftab720\r\n"
                           "{\\fonttbl{\\f0\\fswiss\\fcharset162 Arial;}{\\f1\\fswiss\\fcharset162 Arial;}"
                           "{\\f2\\fswiss\\fcharset162 Arial;}}\r\n"
                           "{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;\\red0\\green0\\blue0;"
                           "\\red0\\green0\\blue128;\\red255\\green255\\blue255;\\red128\\green255\\blue0;}\r\n"
                           "\\margl568\\margr568\\margt568\\margb568"
                           "\\par \\pard\\plain\\cgrid\r\n"
                           "{\\stylesheet{\\nowidctlpar\\widctlpar\\adjustright \\fs20\\cgrid \\snext0 Normal;}\r\n"
                           "{\\*\\cs10 \\additive Default Paragraph Font;}}\r\n"
                           "{\\*\\pnseclvl1\\pnucrm\\pnstart1\\pnindent720\\pnhang{\\pntxta.}}\r\n"
                           "{\\*\\pnseclvl2\\pnucltr\\pnstart1\\pnindent720\\pnhang{\\pntxta .}}\r\n"
                           "{\\*\\pnseclvl3\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxta.}}\r\n"
                           "{\\*\\pnseclvl4\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxta)}}\r\n"
                           "{\\*\\pnseclvl5\\pndec\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta)}}\r\n"
                           "{\\*\\pnseclvl6\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}\r\n"
                           "{\\*\\pnseclvl7\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta)}}\r\n"
                           "{\\*\\pnseclvl8\\pnlcltr\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta)}}\r\n"
                           "{\\*\\pnseclvl9\\pnlcrm\\pnstart1\\pnindent720\\pnhang{\\pntxtb (}{\\pntxta )}}\r\n";

const std::string Trailer = "\\pard\\nowidctlpar\\widctlpar\\adjustright {\r\n}}";

std::string row(const std::string& text, const std::string& cellx = "5833", const std::string& fs = "20")
{
    return "\\trowd\\trgaph108\\trrh260\\trleft0\\clvertalc\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
           "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10 \\clcbpat4\\cltxlrtb\\cellx" +
           cellx + "\\pard\\ri-123\\nowidctlpar\\widctlpar\\intbl\\adjustright {\\f2\\fs" + fs + "\\cf2\\cgrid0 " +
           text + "\\cell }\\pard \\nowidctlpar\\widctlpar\\intbl\\adjustright {\\row}\r\n";
}

struct Recorder
{
    std::vector<std::string> events;
    std::vector<TExportError> codes;
    std::vector<std::string> messages;

    void attach(TCustomExport& e)
    {
        e.OnProgressStart = [this](int n) { events.push_back("start " + std::to_string(n)); };
        e.OnProgressRow = [this](int i) { events.push_back("row " + std::to_string(i)); };
        e.OnProgressEnd = [this] { events.push_back("end"); };
        e.OnError = [this](TCustomExport&, TExportError code, const std::string& message) {
            codes.push_back(code);
            messages.push_back(message);
        };
    }
};

std::string escaped(const std::string& line)
{
    std::string out;
    appendRtfText(out, line);
    return out;
}

// Runs fn in a child process and returns its exit code, so that privileges and resource limits can be
// changed without touching the test process.
int inChild(const std::function<int()>& fn)
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(fn());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

std::vector<std::string> directoryEntries(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(fsPath(dir)))
        names.push_back(utf8Path(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

class RtfExportTest : public ::testing::Test
{
protected:
    std::string save(const std::vector<std::string>& lines, const std::string& name = "belge")
    {
        TStringsExport e;
        e.Lines = &lines;
        e.FileName = dir.file(name);
        EXPECT_TRUE(e.RunExport()) << e.lastErrorMessage();
        return readFile(e.lastTarget());
    }

    tovek::test::TempDir dir;
};

} // namespace

TEST_F(RtfExportTest, EmptyListGivesHeaderThenTrailer)
{
    EXPECT_EQ(save({}), Header + Trailer);
}

TEST_F(RtfExportTest, RowsCarryTheTextInATableCell)
{
    const std::string doc = save({"A) Ankara", "", "B) İzmir"});
    EXPECT_EQ(doc, Header + row("A) Ankara") + row("") + row("B) \xDDzmir") + Trailer);
    // The row exactly as a reader must see it, and the empty line's blank before \cell.
    EXPECT_NE(doc.find("\\trowd\\trgaph108\\trrh260\\trleft0\\clvertalc\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs"
                       "\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10 \\clcbpat4\\cltxlrtb\\cellx5833"
                       "\\pard\\ri-123\\nowidctlpar\\widctlpar\\intbl\\adjustright {\\f2\\fs20\\cf2\\cgrid0 A) Ankara"
                       "\\cell }\\pard \\nowidctlpar\\widctlpar\\intbl\\adjustright {\\row}\r\n"),
              std::string::npos);
    EXPECT_NE(doc.find(" {\\f2\\fs20\\cf2\\cgrid0 \\cell }"), std::string::npos);
}

TEST_F(RtfExportTest, LineEndsOnlyWhereTheDocumentHasThem)
{
    const std::string doc = save({"bir", "iki", "üç"});
    std::size_t crlf = 0;
    for (std::size_t i = 0; i < doc.size(); ++i) {
        if (doc[i] == '\n') {
            EXPECT_TRUE(i > 0 && doc[i - 1] == '\r') << "lone LF at " << i;
        }
        if (doc[i] == '\r') {
            EXPECT_TRUE(i + 1 < doc.size() && doc[i + 1] == '\n') << "lone CR at " << i;
            ++crlf;
        }
    }
    // 15 header line ends (the margins run on), one per row, one inside the trailer.
    EXPECT_EQ(crlf, 15u + 3u + 1u);
    EXPECT_NE(doc.find("\\margb568\\par \\pard"), std::string::npos);
    EXPECT_EQ(doc.substr(doc.size() - 2), "}}");
}

TEST_F(RtfExportTest, TextIsWindows1254WithReservedCharactersEscaped)
{
    EXPECT_EQ(escaped("çğıİöşŞü"), "\xE7\xF0\xFD\xDD\xF6\xFE\xDE\xFC");
    EXPECT_EQ(escaped("ÇĞÖÜ é"), "\xC7\xD0\xD6\xDC \xE9");
    EXPECT_EQ(escaped("a\\b{c}d"), "a\\\\b\\{c\\}d");
    EXPECT_EQ(escaped("\\par"), "\\\\par");
    // Characters the code page lacks keep their identity as Unicode escapes.
    EXPECT_EQ(escaped("5₺"), "5\\u8378?");
    EXPECT_EQ(escaped("€"), "\x80");
    EXPECT_EQ(escaped("Ý"), "\\u221?"); // Latin-1 letter whose byte Turkish took
    EXPECT_EQ(escaped("\xEF\xBF\xBF"), "\\u-1?");
    EXPECT_EQ(escaped("😀"), "\\u-10179?\\u-8704?");
    // Broken UTF-8 turns into U+FFFD, never into a stray byte or a crash.
    EXPECT_EQ(escaped("a\xFF"
                      "b"),
              "a\\u-3?b");
    EXPECT_EQ(escaped("\xC3"), "\\u-3?");              // cut short at the end
    EXPECT_EQ(escaped("\xE2\x82"), "\\u-3?");          // cut short, one replacement
    EXPECT_EQ(escaped("\xC0\xAF"), "\\u-3?\\u-3?");    // overlong
    EXPECT_EQ(escaped("\xED\xA0\x80"), "\\u-3?\\u-3?\\u-3?"); // encoded surrogate
    EXPECT_EQ(escaped("\xF4\x90\x80\x80x"), "\\u-3?\\u-3?\\u-3?\\u-3?x");
}

TEST(Cp1254, EveryDefinedByteRoundTrips)
{
    int defined = 0;
    for (int b = 0; b < 256; ++b) {
        const char32_t cp = decodeCp1254(static_cast<unsigned char>(b));
        if (cp == 0xFFFD)
            continue;
        ++defined;
        ASSERT_EQ(encodeCp1254(cp), static_cast<unsigned char>(b)) << b;
    }
    EXPECT_EQ(defined, 256 - 7); // 81, 8D, 8E, 8F, 90, 9D, 9E have no character
    EXPECT_FALSE(encodeCp1254(0x0081));
    EXPECT_FALSE(encodeCp1254(0x00D0)); // Ð
    EXPECT_FALSE(encodeCp1254(0x0100));
}

TEST_F(RtfExportTest, DisplayResolutionScalesCellAndFontButNotTheStylesheet)
{
    const std::vector<std::string> lines{"x"};
    TStringsExport e;
    e.Lines = &lines;
    e.DisplayDpi = 120;
    e.FileName = dir.file("dpi");
    ASSERT_TRUE(e.RunExport());
    const std::string doc = readFile(e.lastTarget());
    EXPECT_NE(doc.find(row("x", "4667", "16")), std::string::npos);
    EXPECT_NE(doc.find("\\adjustright \\fs20\\cgrid \\snext0"), std::string::npos);
    EXPECT_EQ(doc.find("\\fs16"), doc.rfind("\\fs16")); // only in the row

    EXPECT_EQ(e.FontAttributes(e.DOC_RTF.CustomSettings.HeaderFont), "\\fs16\\b");
    // 13 px at 144 dpi is 6.5 pt: halves go away from zero.
    e.DisplayDpi = 144;
    EXPECT_EQ(e.fontHalfPoints(e.DOC_RTF.CustomSettings.TableFont), 14);
    // Boundaries that fall on a half go to the even neighbour: (k + 1) * 100 / 400 * 2 = 0.5, 1.5, 2.5.
    e.DisplayDpi = 400;
    e.DOC_RTF.CellWidth = 2;
    EXPECT_EQ(e.cellBoundary(0), 0);  // 0.5 -> 0
    EXPECT_EQ(e.cellBoundary(2), 2);  // 1.5 -> 2
    EXPECT_EQ(e.cellBoundary(4), 2);  // 2.5 -> 2
}

TEST_F(RtfExportTest, FontAndColourEntries)
{
    TStringsExport e;
    TExportFont font;
    EXPECT_EQ(e.FontTableEntry(font, 2), "{\\f2\\fswiss\\fcharset162 Arial;}");
    font.Charset = 0;
    EXPECT_EQ(e.FontTableEntry(font, 0), "{\\f0\\fswiss\\fcharset0 Arial;}");
    font.Charset = 204; // any other character set
    font.Name = "Times New Roman";
    EXPECT_EQ(e.FontTableEntry(font, 1), "{\\f1\\froman\\fcharset1 Times New Roman;}");
    EXPECT_EQ(TCustomExport::ColorTableEntry({128, 255, 0}), "\\red128\\green255\\blue0;");
}

TEST_F(RtfExportTest, TargetNameAlwaysEndsInDoc)
{
    const std::vector<std::string> lines{"x"};
    TStringsExport e;
    e.Lines = &lines;
    const auto target = [&](const std::string& name) {
        e.FileName = name;
        return e.fileTarget();
    };
    EXPECT_EQ(target("/home/ogretmen/Sinav/deneme"), "/home/ogretmen/Sinav/deneme.DOC");
    EXPECT_EQ(target("/home/ogretmen/Ders.2/deneme"), "/home/ogretmen/Ders.2/deneme.DOC");
    EXPECT_EQ(target("deneme.yedek.txt"), "deneme.yedek.DOC");
    EXPECT_EQ(target("sinav.rtf"), "sinav.DOC");
    EXPECT_EQ(target("sorular.DB"), "sorular.DOC");
    EXPECT_EQ(target(".gizli"), ".DOC");
#if defined(_WIN32)
    EXPECT_EQ(target("C:\\Sinav\\deneme"), "C:\\Sinav\\deneme.DOC");
    EXPECT_EQ(target("C:\\Ders.2\\deneme"), "C:\\Ders.2\\deneme.DOC");
    EXPECT_EQ(target("C:deneme.txt"), "C:deneme.DOC");
#endif

    // A question file beside the chosen name is never touched.
    std::filesystem::create_directory(fsPath(dir.file("Ders.2")));
    writeFile(dir.file("Ders.2/sorular.DB"), "soru dosyası");
    e.FileName = dir.file("Ders.2/sorular.DB");
    ASSERT_TRUE(e.RunExport());
    EXPECT_EQ(e.lastTarget(), dir.file("Ders.2/sorular.DOC"));
    EXPECT_EQ(readFile(dir.file("Ders.2/sorular.DB")), "soru dosyası");
    EXPECT_EQ(directoryEntries(dir.file("Ders.2")), (std::vector<std::string>{"sorular.DB", "sorular.DOC"}));
}

TEST_F(RtfExportTest, SavingAgainReplacesTheFileWithIdenticalBytes)
{
    std::vector<std::string> lines{"1. Başkent neresidir?", "A) Ankara", "B) {İstanbul}"};
    const std::string first = save(lines);
    EXPECT_EQ(save(lines), first);

    lines.push_back("C) İzmir");
    const std::string changed = save(lines);
    EXPECT_NE(changed, first);
    EXPECT_EQ(readFile(dir.file("belge.DOC")), changed);
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"belge.DOC"}); // no temporary left
}

TEST_F(RtfExportTest, LinesAreReadInPlace)
{
    const std::vector<std::string> lines{"birinci satır", "ikinci satır"};
    TStringsExport e;
    e.Lines = &lines;
    e.CurrentRow = 1;
    std::vector<std::string_view> values;
    e.GetRowValues(values);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].data(), lines[1].data());
    EXPECT_EQ(e.GetRowCount(), 2);
    EXPECT_EQ(e.GetColumnWidth(0), 13); // characters, not bytes
}

TEST_F(RtfExportTest, ProgressReportsEveryRowAndAlwaysEnds)
{
    const std::vector<std::string> lines{"a", "b", "c"};
    TStringsExport e;
    Recorder r;
    r.attach(e);
    e.Lines = &lines;
    e.FileName = dir.file("ilerleme");
    ASSERT_TRUE(e.RunExport());
    EXPECT_EQ(r.events, (std::vector<std::string>{"start 3", "row 0", "row 1", "row 2", "end"}));
    EXPECT_TRUE(r.codes.empty());

    r.events.clear();
    e.Options &= ~xoShowProgress;
    ASSERT_TRUE(e.RunExport());
    EXPECT_TRUE(r.events.empty());

    // A failure on the way still closes the progress display and leaves the old document alone.
    const std::string before = readFile(e.lastTarget());
    e.Options |= xoShowProgress;
    e.OnProgressRow = [&](int i) {
        r.events.push_back("row " + std::to_string(i));
        if (i == 1)
            throw std::runtime_error("iptal");
    };
    EXPECT_FALSE(e.RunExport());
    EXPECT_EQ(r.events, (std::vector<std::string>{"start 3", "row 0", "row 1", "end"}));
    ASSERT_EQ(r.codes, std::vector<TExportError>{xeGeneralExportError});
    EXPECT_NE(r.messages[0].find("iptal"), std::string::npos);
    EXPECT_EQ(readFile(dir.file("ilerleme.DOC")), before);
    EXPECT_TRUE(e.lastTarget().empty());
}

TEST_F(RtfExportTest, MissingSourceOrNameIsReportedAndWritesNothing)
{
    TStringsExport e;
    Recorder r;
    r.attach(e);
    e.FileName = dir.file("kaynaksiz");
    EXPECT_FALSE(e.RunExport());
    const std::vector<std::string> lines{"x"};
    e.Lines = &lines;
    e.FileName.clear();
    EXPECT_FALSE(e.RunExport());
    e.FileName = dir.path(); // a folder without a file name
    EXPECT_FALSE(e.RunExport());

    EXPECT_EQ(r.codes, (std::vector<TExportError>{xeComponentIsNull, xeInvalidFileName, xeInvalidFileName}));
    for (const std::string& m : r.messages)
        EXPECT_FALSE(m.empty());
    EXPECT_TRUE(r.events.empty());
    EXPECT_TRUE(directoryEntries(dir.path()).empty());

    try {
        saveExamDocument(lines, "");
        FAIL() << "no error for an empty name";
    } catch (const ExportError& error) {
        EXPECT_EQ(error.code(), xeInvalidFileName);
        EXPECT_NE(std::string(error.what()).find("dosya adı"), std::string::npos);
    }
}

TEST_F(RtfExportTest, MissingFolderIsReportedWithTheReason)
{
    const std::vector<std::string> lines{"x"};
    try {
        saveExamDocument(lines, dir.file("yok/belge"));
        FAIL() << "no error for a missing folder";
    } catch (const ExportError& error) {
        EXPECT_EQ(error.code(), xeGeneralExportError);
        const std::string message = error.what();
        EXPECT_NE(message.find(dir.file("yok/belge.DOC")), std::string::npos) << message;
        EXPECT_NE(message.find("Klasör bulunamadı"), std::string::npos) << message;
    }
    EXPECT_EQ(saveExamDocument(lines, dir.file("var")), dir.file("var.DOC"));
}

TEST_F(RtfExportTest, UnwritableFolderKeepsTheOldDocument)
{
    writeFile(dir.file("eski.DOC"), "eski belge");
    const std::vector<std::string> lines{"yeni"};
    const bool root = geteuid() == 0;
    if (!root)
        ::chmod(dir.path().c_str(), 0555);
    const int result = inChild([&] {
        if (root && (setgid(65534) != 0 || setuid(65534) != 0))
            return 3;
        try {
            saveExamDocument(lines, dir.file("eski"));
            return 1;
        } catch (const ExportError& error) {
            const std::string message = error.what();
            if (error.code() != xeGeneralExportError)
                return 4;
            return message.find("yazma izniniz yok") != std::string::npos ? 0 : 5;
        }
    });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(dir.file("eski.DOC")), "eski belge");
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"eski.DOC"});
}

TEST_F(RtfExportTest, FullDiskKeepsTheOldDocument)
{
    writeFile(dir.file("eski.DOC"), "eski belge");
    const std::vector<std::string> lines(200, "Bu satır diske sığmayacak kadar uzun bir belgenin parçasıdır.");
    // A file size limit fails the write half-way, as a full disk would.
    const int result = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            saveExamDocument(lines, dir.file("eski"));
            return 1;
        } catch (const ExportError& error) {
            return std::string(error.what()).find("boyutu") != std::string::npos ? 0 : 5;
        }
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readFile(dir.file("eski.DOC")), "eski belge");
    EXPECT_EQ(directoryEntries(dir.path()), std::vector<std::string>{"eski.DOC"});
}

TEST_F(RtfExportTest, ViewOnlyWritesANewTemporaryDocumentAndOpensIt)
{
    writeFile(dir.file("XPT1.DOC"), "başkasının dosyası");
    const std::vector<std::string> lines{"A) Ankara"};
    TStringsExport e;
    Recorder r;
    r.attach(e);
    std::vector<std::string> opened;
    e.OnOpenDocument = [&](const std::string& path) { opened.push_back(path); };
    e.TempDir = dir.path();
    e.Lines = &lines;
    e.ExportStyle = xsView;
    ASSERT_TRUE(e.RunExport());
    ASSERT_TRUE(e.RunExport());

    EXPECT_EQ(opened, (std::vector<std::string>{dir.file("XPT2.DOC"), dir.file("XPT3.DOC")}));
    EXPECT_EQ(readFile(dir.file("XPT1.DOC")), "başkasının dosyası");
    EXPECT_EQ(readFile(dir.file("XPT2.DOC")), Header + row("A) Ankara") + Trailer);
    EXPECT_EQ(readFile(dir.file("XPT3.DOC")), readFile(dir.file("XPT2.DOC")));
    EXPECT_TRUE(r.codes.empty());

    // A default application that cannot be started is reported; the document stays for the user.
    e.OnOpenDocument = [](const std::string&) { throw std::runtime_error("uygulama yok"); };
    EXPECT_FALSE(e.RunExport());
    ASSERT_EQ(r.codes, std::vector<TExportError>{xeGeneralExportError});
    EXPECT_NE(r.messages[0].find("uygulama yok"), std::string::npos);
    EXPECT_TRUE(fileExists(dir.file("XPT4.DOC")));

    // Without a usable temporary folder the view is refused with a reason and nothing is left behind.
    e.TempDir = dir.file("yok/");
    EXPECT_FALSE(e.RunExport());
    ASSERT_EQ(r.codes.size(), 2u);
    EXPECT_NE(r.messages[1].find("Geçici klasör"), std::string::npos);
}

TEST(RtfExportDefaults, TempDirEndsInASeparator)
{
    TStringsExport e;
    ASSERT_FALSE(e.TempDir.empty());
    EXPECT_TRUE(isPathSeparator(e.TempDir.back()));
    EXPECT_EQ(e.ExportStyle, xsFile);
    EXPECT_EQ(exportTypeExtension(e.ExportType), "DOC");
}
