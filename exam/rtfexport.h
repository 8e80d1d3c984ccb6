#pragma once
// The document writer: turns an ordered list of text lines into an RTF document (one bordered one-cell table
// row per line) and saves it under the extension .DOC, or as a new temporary file that is then opened.
// No windows here: the format choice, the progress window and opening a file belong to the caller, which
// hooks in through the On... callbacks.

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tovek {

enum TExportType { xtWord };
enum TExportStyle { xsFile, xsView };

enum TExportOption : unsigned {
    xoShowProgress = 1u << 0,
    xoUseAlignments = 1u << 1,
    xoClipboardMessage = 1u << 2,
};
using TExportOptions = unsigned;

enum TExportError { xeComponentIsNull, xeInvalidFileName, xeGeneralExportError };

enum TRtfTemplate { rtStandard };
enum TRtfOption : unsigned {
    roShowGridLines = 1u << 0,
    roUseOddRowColor = 1u << 1,
};
using TRtfOptions = unsigned;

// Windows character set numbers as fonts report them.
constexpr int AnsiCharset = 0;
constexpr int TurkishCharset = 162;

struct TExportFont
{
    std::string Name = "Arial";
    int Height = 13; // pixels
    bool Bold = false;
    int Charset = TurkishCharset;
};

struct TRtfCustomSettings
{
    TExportFont DefaultFont;                                  // font 0
    TExportFont HeaderFont{"Arial", 13, true, TurkishCharset}; // font 1
    TExportFont TableFont;                                    // font 2
};

struct TRtfColor
{
    int Red = 0;
    int Green = 0;
    int Blue = 0;
};

struct TDocRtf
{
    TRtfTemplate Template = rtStandard;
    TRtfOptions Options = roShowGridLines;
    int CellWidth = 5600;
    int LeftMargin = 568;
    int RightMargin = 568;
    int TopMargin = 568;
    int BottomMargin = 568;
    TRtfCustomSettings CustomSettings;
};

// Texts of the exporter's own windows (format choice and progress), which the window code shows.
struct TExportMessages
{
    std::string Caption = "Satırlar Aktarılıyor...";
    std::string Text = "İşlem Yapılıyor...";
    std::string ExportCaption = "&Çıktı Ver";
    std::string CancelCaption = "&Vazgeç";
    std::string SelectFormat = "Çıkış &Formatı Seç:";
    std::string ViewOnly = "&Yalnız Bakış";
    std::string ExportToFile = "&Dosyaya Kaydet";
    int Width = 300;
    int Height = 80;
};

// "DOC" for xtWord.
std::string exportTypeExtension(TExportType type);
// "Microsoft Word" for xtWord: the entry of the format list.
std::string exportTypeName(TExportType type);

// The six colours of a template, by index (default text, header text, table text, header background,
// table background, odd-row background).
std::vector<TRtfColor> templateColors(TRtfTemplate templ);

class TCustomExport
{
public:
    using ErrorHandler = std::function<void(TCustomExport& exporter, TExportError code, const std::string& message)>;

    TCustomExport();
    virtual ~TCustomExport() = default;
    TCustomExport(const TCustomExport&) = delete;
    TCustomExport& operator=(const TCustomExport&) = delete;

    TExportType ExportType = xtWord;
    std::vector<TExportType> ExportTypes{xtWord};
    TExportStyle ExportStyle = xsFile;
    std::string FileName;
    // Taken when the exporter is created, with a trailing separator; empty if the platform has none.
    std::string TempDir;
    TExportOptions Options = xoShowProgress | xoUseAlignments | xoClipboardMessage;
    TDocRtf DOC_RTF;
    TExportMessages Messages;
    std::string DocumentBuffer;
    std::int32_t CurrentRow = 0;
    // Logical pixels per inch of the display; enters the font size and the cell boundary.
    int DisplayDpi = 96;

    // Every failure is reported here with its code and a Turkish message that says why and what to do.
    ErrorHandler OnError;
    // Progress, sent only with xoShowProgress: start with the row count, each row's index before it is
    // written, and end, also after a failure.
    std::function<void(int rowCount)> OnProgressStart;
    std::function<void(int row)> OnProgressRow;
    std::function<void()> OnProgressEnd;
    // View-only style: opens the written temporary document with the user's default application.
    // An exception thrown here is reported through OnError.
    std::function<void(const std::string& path)> OnOpenDocument;

    // Writes the document to the target that FileName and ExportStyle give. Returns true when the document
    // was written; every failure has then already been reported through OnError.
    bool RunExport();
    // Builds the document and saves it at path (atomically: the old file stays until the new one is complete).
    bool WriteDocument(const std::string& path);

    // The file the last successful run wrote; empty after a failure.
    const std::string& lastTarget() const { return m_lastTarget; }
    TExportError lastErrorCode() const { return m_lastErrorCode; }
    // Empty after a successful run.
    const std::string& lastErrorMessage() const { return m_lastErrorMessage; }

    // The xsFile target: FileName with its extension replaced by "." and the format's extension.
    std::string fileTarget() const;

    // Pieces of the document, exposed so the exact bytes can be checked.
    std::string FontTableEntry(const TExportFont& font, int number) const;
    std::string FontAttributes(const TExportFont& font) const;
    static std::string ColorTableEntry(const TRtfColor& color);
    // Right edge of a column in twips from the left margin.
    long long cellBoundary(int column) const;
    // Twice the font's size in points, as \fs wants it.
    int fontHalfPoints(const TExportFont& font) const;

    // The row source, in the order of the exporter's virtual operations.
    virtual void BeforeRun() {}
    virtual void AfterRun() {}
    virtual void First() = 0;
    // 0 none, 1 left, 2 right, 3 centre.
    virtual int GetColumnAlignment(int /*column*/) { return 0; }
    virtual bool HasSource() const = 0;
    virtual bool Eof() const = 0;
    virtual bool IsColumnVisible(int column) const = 0;
    virtual bool IsRowSelected(int row) const = 0;
    virtual int GetColumnWidth(int column) const = 0;
    virtual std::string GetColumnCaption(int column) const = 0;
    virtual int GetColumnCount() const = 0;
    // The values of row CurrentRow, one per column; they must stay valid until the next call.
    virtual void GetRowValues(std::vector<std::string_view>& values) = 0;
    virtual int GetRowCount() const = 0;
    // Total bytes of text the rows will carry, if the source knows it cheaply; sizes the buffer up front.
    virtual std::size_t textSizeHint() const { return 0; }

private:
    void reportError(TExportError code, const std::string& message);
    void appendHeader();
    void appendRow(const std::vector<std::string_view>& values, const std::string& rowStart);
    std::string reserveViewTarget();
    void writeGuarded(const std::string& path);

    std::string m_lastTarget;
    TExportError m_lastErrorCode = xeGeneralExportError;
    std::string m_lastErrorMessage;
};

class TStringsExport : public TCustomExport
{
public:
    // The caller's lines, read in place during a run: neither copied nor owned; keep them unchanged while
    // a run is in progress. Null means no row source.
    const std::vector<std::string>* Lines = nullptr;

    void First() override {}
    bool HasSource() const override { return Lines != nullptr; }
    bool Eof() const override;
    bool IsColumnVisible(int) const override { return true; }
    bool IsRowSelected(int) const override { return true; }
    // In characters of the longest line.
    int GetColumnWidth(int column) const override;
    std::string GetColumnCaption(int column) const override;
    int GetColumnCount() const override { return 1; }
    void GetRowValues(std::vector<std::string_view>& values) override;
    int GetRowCount() const override;
    std::size_t textSizeHint() const override;
};

// A document that could not be written: the code and the Turkish message that OnError received.
class ExportError : public std::runtime_error
{
public:
    ExportError(TExportError code, const std::string& message) : std::runtime_error(message), m_code(code) {}
    TExportError code() const { return m_code; }

private:
    TExportError m_code;
};

// Saves lines (UTF-8) as an examination document under fileName with its extension replaced by ".DOC",
// the way the document window's save does. Returns the path written; throws ExportError with the reason.
std::string saveExamDocument(const std::vector<std::string>& lines, const std::string& fileName);

// Writes the text of one line into an RTF document: Windows-1254 bytes, \\, \{ and \} for the characters
// RTF reserves, \uN? for any other character (invalid UTF-8 bytes become U+FFFD).
void appendRtfText(std::string& out, std::string_view utf8);

} // namespace tovek
