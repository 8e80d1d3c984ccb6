#include "exam/rtfexport.h"

#include "exam/cp1254.h"
#include "store/paths.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <new>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tovek {
namespace {

constexpr std::string_view CrLf = "\r\n";

// A failure to save, carrying the Turkish reason shown to the user.
class SaveFailure : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

std::string reasonText(const std::error_code& ec)
{
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return "Bu klasöre yazma izniniz yok.";
    if (ec == std::errc::no_space_on_device)
        return "Diskte yer kalmadı.";
    if (ec == std::errc::read_only_file_system)
        return "Disk yalnızca okunabilir.";
    if (ec == std::errc::no_such_file_or_directory)
        return "Klasör bulunamadı.";
    if (ec == std::errc::not_a_directory)
        return "Yoldaki adlardan biri klasör değil.";
    if (ec == std::errc::is_a_directory)
        return "Bu adda bir klasör var.";
    if (ec == std::errc::file_too_large)
        return "Dosya boyutu sınırı aşıldı.";
    if (ec == std::errc::filename_too_long)
        return "Dosya adı çok uzun.";
    if (ec == std::errc::too_many_files_open || ec == std::errc::too_many_files_open_in_system)
        return "Aynı anda çok fazla dosya açık.";
    if (ec == std::errc::io_error)
        return "Diske yazılırken donanım hatası oluştu.";
    return "Sistem hatası: " + ec.message() + " (" + std::to_string(ec.value()) + ").";
}

std::error_code lastErrno()
{
    return std::error_code(errno, std::generic_category());
}

// ---- files: exclusive creation, whole writes, atomic replacement ----

int openExclusive(const std::string& path, std::error_code& ec)
{
#if defined(_WIN32)
    const int fd = ::_wopen(fsPath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                            _S_IREAD | _S_IWRITE);
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
    ec = fd < 0 ? lastErrno() : std::error_code();
    return fd;
}

std::error_code writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
#if defined(_WIN32)
        const unsigned chunk = static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30));
        const int n = ::_write(fd, data, chunk);
#else
        const ssize_t n = ::write(fd, data, size);
#endif
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastErrno();
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

// Data must reach the disk before the rename makes it the document, or a crash could leave an empty file
// under the name where the old document stood.
std::error_code syncAndClose(int fd)
{
#if defined(_WIN32)
    std::error_code ec = ::_commit(fd) != 0 ? lastErrno() : std::error_code();
    if (::_close(fd) != 0 && !ec)
        ec = lastErrno();
#else
    std::error_code ec = ::fsync(fd) != 0 ? lastErrno() : std::error_code();
    if (::close(fd) != 0 && !ec)
        ec = lastErrno();
#endif
    return ec;
}

void closeQuietly(int fd)
{
#if defined(_WIN32)
    ::_close(fd);
#else
    ::close(fd);
#endif
}

// Keeps the permissions of a document being replaced, since the rename puts a new file in its place.
void copyModeFrom(const std::string& path, int fd)
{
#if !defined(_WIN32)
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        ::fchmod(fd, st.st_mode & 07777);
#else
    (void)path;
    (void)fd;
#endif
}

std::mt19937& nameGenerator()
{
    // Our own generator: temporary names must not disturb the exam's pseudo-random sequence.
    thread_local std::mt19937 generator{std::random_device{}()};
    return generator;
}

std::string hex(unsigned value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%X", value);
    return buf;
}

// Writes bytes to a new file beside path and renames it over path once it is complete, so that a failure
// never leaves a half-written document and never destroys the file that was there.
void saveAtomically(const std::string& path, const std::string& bytes)
{
    const std::string dir = directoryPart(path);
    std::string temp;
    int fd = -1;
    std::error_code ec;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = dir + ".~tovek" + hex(nameGenerator()()) + ".tmp";
        fd = openExclusive(temp, ec);
        if (fd >= 0 || ec != std::errc::file_exists)
            break;
    }
    if (fd < 0)
        throw SaveFailure(reasonText(ec));

    copyModeFrom(path, fd);
    ec = writeAll(fd, bytes.data(), bytes.size());
    if (ec)
        closeQuietly(fd);
    else
        ec = syncAndClose(fd);
    if (!ec)
        std::filesystem::rename(fsPath(temp), fsPath(path), ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(fsPath(temp), ignored);
        throw SaveFailure(reasonText(ec));
    }
}

// ---- document pieces ----

// What the platform's font metrics report for the families we know; Arial is swiss on every platform.
int fontPitchAndFamily(const std::string& name)
{
    static const char* const swiss[] = {"Arial", "Helvetica", "Liberation Sans", "Tahoma", "Verdana",
                                        "MS Sans Serif"};
    static const char* const roman[] = {"Times New Roman", "Times", "Liberation Serif", "Georgia"};
    static const char* const modern[] = {"Courier New", "Courier", "Liberation Mono", "Consolas"};
    for (const char* n : swiss)
        if (name == n)
            return 0x20;
    for (const char* n : roman)
        if (name == n)
            return 0x10;
    for (const char* n : modern)
        if (name == n)
            return 0x30;
    return 0x00;
}

std::string familyWord(int pitchAndFamily)
{
    switch (pitchAndFamily & 0xF0) {
    case 0x00: return "fdontcare";
    case 0x10: return "froman";
    case 0x20: return "fswiss";
    case 0x30: return "fmodern";
    case 0x40: return "fscript";
    case 0x50: return "fdecorative";
    default: return "froman";
    }
}

std::string charsetWord(int charset)
{
    switch (charset) {
    case 0: return "fcharset0";
    case 2: return "fcharset2";
    case 128: return "fcharset128";
    case 162: return "fcharset162"; // Turkish: readers must know the bytes are Windows-1254
    case 255: return "fcharset255";
    default: return "fcharset1";
    }
}

long long roundHalfToEven(double x)
{
    const double floor = std::floor(x);
    const double fraction = x - floor;
    long long r = static_cast<long long>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && (r % 2 != 0)))
        ++r;
    return r;
}

void appendUnicodeEscape(std::string& out, char32_t cp)
{
    auto unit = [&out](unsigned u) {
        out += "\\u";
        out += std::to_string(static_cast<int>(static_cast<std::int16_t>(static_cast<std::uint16_t>(u))));
        out += '?';
    };
    if (cp >= 0x10000) {
        cp -= 0x10000;
        unit(0xD800 + (cp >> 10));
        unit(0xDC00 + (cp & 0x3FF));
    } else {
        unit(cp);
    }
}

bool isContinuation(unsigned char b, unsigned char low = 0x80, unsigned char high = 0xBF)
{
    return b >= low && b <= high;
}

} // namespace

void appendRtfText(std::string& out, std::string_view utf8)
{
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        // Plain ASCII is by far the most common case: copy it in runs.
        std::size_t run = i;
        while (run < n && p[run] < 0x80 && p[run] != '\\' && p[run] != '{' && p[run] != '}')
            ++run;
        if (run > i) {
            out.append(utf8.data() + i, run - i);
            i = run;
            if (i == n)
                break;
        }
        const unsigned char b = p[i];
        if (b < 0x80) {
            out += '\\';
            out += static_cast<char>(b);
            ++i;
            continue;
        }

        // Decode one UTF-8 sequence strictly; a broken one becomes U+FFFD for its longest valid prefix.
        char32_t cp = 0xFFFD;
        std::size_t length = 1;
        int needed = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            needed = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            needed = 2;
            cp = b & 0x0F;
            if (b == 0xE0)
                low = 0xA0;
            else if (b == 0xED)
                high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            needed = 3;
            cp = b & 0x07;
            if (b == 0xF0)
                low = 0x90;
            else if (b == 0xF4)
                high = 0x8F;
        }
        bool valid = needed > 0;
        for (int k = 0; k < needed; ++k) {
            if (i + length >= n || !isContinuation(p[i + length], k == 0 ? low : 0x80, k == 0 ? high : 0xBF)) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (p[i + length] & 0x3F);
            ++length;
        }
        i += length;
        if (!valid)
            cp = 0xFFFD;

        if (const auto byte = encodeCp1254(cp))
            out += static_cast<char>(*byte);
        else
            appendUnicodeEscape(out, cp);
    }
}

std::string exportTypeExtension(TExportType type)
{
    switch (type) {
    case xtWord: return "DOC";
    }
    return "DOC";
}

std::string exportTypeName(TExportType type)
{
    switch (type) {
    case xtWord: return "Microsoft Word";
    }
    return "Microsoft Word";
}

std::vector<TRtfColor> templateColors(TRtfTemplate templ)
{
    switch (templ) {
    case rtStandard: break;
    }
    return {{0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 128}, {255, 255, 255}, {128, 255, 0}};
}

// ---- TCustomExport ----

TCustomExport::TCustomExport()
{
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (!ec && !temp.empty()) {
        TempDir = utf8Path(temp);
        if (!isPathSeparator(TempDir.back()))
            TempDir += preferredSeparator();
    }
}

void TCustomExport::reportError(TExportError code, const std::string& message)
{
    m_lastTarget.clear();
    m_lastErrorCode = code;
    m_lastErrorMessage = message;
    if (OnError)
        OnError(*this, code, message);
}

std::string TCustomExport::fileTarget() const
{
    return replaceExtension(FileName, "." + exportTypeExtension(ExportType));
}

int TCustomExport::fontHalfPoints(const TExportFont& font) const
{
    // Halves away from zero.
    return 2 * static_cast<int>(std::round(font.Height * 72.0 / DisplayDpi));
}

std::string TCustomExport::FontTableEntry(const TExportFont& font, int number) const
{
    return "{\\f" + std::to_string(number) + "\\" + familyWord(fontPitchAndFamily(font.Name)) + "\\" +
           charsetWord(font.Charset) + " " + font.Name + ";}";
}

std::string TCustomExport::FontAttributes(const TExportFont& font) const
{
    return "\\fs" + std::to_string(fontHalfPoints(font)) + (font.Bold ? "\\b" : "");
}

std::string TCustomExport::ColorTableEntry(const TRtfColor& color)
{
    return "\\red" + std::to_string(color.Red) + "\\green" + std::to_string(color.Green) + "\\blue" +
           std::to_string(color.Blue) + ";";
}

long long TCustomExport::cellBoundary(int column) const
{
    return roundHalfToEven((column + 1) * 100.0 / DisplayDpi * DOC_RTF.CellWidth);
}

void TCustomExport::appendHeader()
{
    std::string& b = DocumentBuffer;
    b += "{\\rtf1\\ansi\\deff0\\deftab720";
    b += CrLf;
    const TRtfCustomSettings& fonts = DOC_RTF.CustomSettings;
    b += "{\\fonttbl" + FontTableEntry(fonts.DefaultFont, 0) + FontTableEntry(fonts.HeaderFont, 1) +
         FontTableEntry(fonts.TableFont, 2) + "}";
    b += CrLf;
    b += "{\\colortbl";
    for (const TRtfColor& c : templateColors(DOC_RTF.Template))
        b += ColorTableEntry(c);
    b += "}";
    b += CrLf;
    // The margins run straight into the next entry: no line end here.
    b += "\\margl" + std::to_string(DOC_RTF.LeftMargin) + "\\margr" + std::to_string(DOC_RTF.RightMargin) +
         "\\margt" + std::to_string(DOC_RTF.TopMargin) + "\\margb" + std::to_string(DOC_RTF.BottomMargin);
    static const char* const fixedEntries[] = {
        R"(\par \pard\plain\cgrid)",
        R"({\stylesheet{\nowidctlpar\widctlpar\adjustright \fs20\cgrid \snext0 Normal;})",
        R"({\*\cs10 \additive Default Paragraph Font;}})",
        R"({\*\pnseclvl1\pnucrm\pnstart1\pnindent720\pnhang{\pntxta.}})",
        R"({\*\pnseclvl2\pnucltr\pnstart1\pnindent720\pnhang{\pntxta .}})",
        R"({\*\pnseclvl3\pndec\pnstart1\pnindent720\pnhang{\pntxta.}})",
        R"({\*\pnseclvl4\pnlcltr\pnstart1\pnindent720\pnhang{\pntxta)}})",
        R"({\*\pnseclvl5\pndec\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta)}})",
        R"({\*\pnseclvl6\pnlcltr\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}})",
        R"({\*\pnseclvl7\pnlcrm\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta)}})",
        R"({\*\pnseclvl8\pnlcltr\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta)}})",
        R"({\*\pnseclvl9\pnlcrm\pnstart1\pnindent720\pnhang{\pntxtb (}{\pntxta )}})",
    };
    for (const char* entry : fixedEntries) {
        b += entry;
        b += CrLf;
    }
}

void TCustomExport::appendRow(const std::vector<std::string_view>& values, const std::string& rowStart)
{
    static constexpr std::string_view rowEnd = "}\\pard \\nowidctlpar\\widctlpar\\intbl\\adjustright {\\row}\r\n";
    std::string& b = DocumentBuffer;
    b += rowStart;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (Options & xoUseAlignments) {
            switch (GetColumnAlignment(static_cast<int>(k))) {
            case 1: b += "\\ql "; break;
            case 2: b += "\\qr "; break;
            case 3: b += "\\qc "; break;
            default: break;
            }
        }
        appendRtfText(b, values[k]);
        b += "\\cell ";
    }
    b += rowEnd;
}

void TCustomExport::writeGuarded(const std::string& path)
{
    if (DisplayDpi <= 0)
        throw SaveFailure("Ekran çözünürlüğü geçersiz (" + std::to_string(DisplayDpi) + " nokta/inç).");
    CurrentRow = 0;
    First();
    const int columns = GetColumnCount();
    if (columns <= 0)
        throw SaveFailure("Belgeye yazılacak sütun yok.");

    // The parts of a row that do not depend on its text, built once per document.
    auto rowStartFor = [&](int background) {
        std::string s = "\\trowd\\trgaph108\\trrh260\\trleft0";
        for (int k = 0; k < columns; ++k) {
            s += "\\clvertalc";
            if (DOC_RTF.Options & roShowGridLines)
                s += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10"
                     "\\clbrdrr\\brdrs\\brdrw10";
            s += " \\clcbpat" + std::to_string(background);
            s += "\\cltxlrtb\\cellx" + std::to_string(cellBoundary(k));
        }
        s += "\\pard\\ri-123\\nowidctlpar\\widctlpar\\intbl\\adjustright";
        s += " {\\f2" + FontAttributes(DOC_RTF.CustomSettings.TableFont) + "\\cf2\\cgrid0 ";
        return s;
    };
    const std::string evenRow = rowStartFor(4);
    const std::string oddRow = (DOC_RTF.Options & roUseOddRowColor) ? rowStartFor(5) : evenRow;

    DocumentBuffer.clear();
    const std::size_t rows = static_cast<std::size_t>(std::max(0, GetRowCount()));
    DocumentBuffer.reserve(2048 + rows * (evenRow.size() + 64) + textSizeHint() + textSizeHint() / 16);
    appendHeader();

    std::vector<std::string_view> values;
    const bool progress = Options & xoShowProgress;
    while (!Eof()) {
        values.clear();
        GetRowValues(values);
        if (progress && OnProgressRow)
            OnProgressRow(CurrentRow);
        appendRow(values, (CurrentRow % 2) ? oddRow : evenRow);
        ++CurrentRow;
    }

    DocumentBuffer += "\\pard\\nowidctlpar\\widctlpar\\adjustright {";
    DocumentBuffer += CrLf;
    DocumentBuffer += "}}";

    saveAtomically(path, DocumentBuffer);
}

bool TCustomExport::WriteDocument(const std::string& path)
{
    const bool progress = Options & xoShowProgress;
    const int rowCount = GetRowCount();
    if (progress && OnProgressStart)
        OnProgressStart(rowCount);

    bool written = false;
    std::string failure;
    try {
        writeGuarded(path);
        written = true;
    } catch (const std::bad_alloc&) {
        failure = "Bellek yetersiz.";
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "Beklenmeyen bir hata oluştu.";
    }

    if (progress && OnProgressEnd)
        OnProgressEnd();

    if (!written) {
        reportError(xeGeneralExportError, "Belge kaydedilemedi: " + path + "\n" + failure +
                                              "\nVarsa önceki dosya değiştirilmedi; başka bir klasör ya da dosya "
                                              "adı seçip yeniden deneyin.");
        return false;
    }
    m_lastTarget = path;
    m_lastErrorMessage.clear();
    return true;
}

// A new name "XPT<hex>.DOC" in TempDir, created empty here so that no other program can take it between
// choosing the name and writing the document.
std::string TCustomExport::reserveViewTarget()
{
    if (TempDir.empty())
        throw SaveFailure("Geçici klasör bulunamadı. Belgeyi \"Dosyaya Kaydet\" ile kaydedin.");
    const std::string extension = "." + exportTypeExtension(ExportType);
    std::error_code ec;
    for (unsigned n = 1; n <= 0xFFFF; ++n) {
        const std::string candidate = TempDir + "XPT" + hex(n) + extension;
        const int fd = openExclusive(candidate, ec);
        if (fd >= 0) {
            closeQuietly(fd);
            return candidate;
        }
        if (ec != std::errc::file_exists)
            throw SaveFailure("Geçici klasöre yazılamadı: " + TempDir + "\n" + reasonText(ec));
    }
    throw SaveFailure("Geçici klasörde yeni bir belge adı kalmadı: " + TempDir +
                      "\nBu klasördeki eski XPT*.DOC dosyalarını silip yeniden deneyin.");
}

bool TCustomExport::RunExport()
{
    m_lastTarget.clear();
    if (!HasSource()) {
        reportError(xeComponentIsNull, "Belgeye yazılacak satırlar verilmedi; belge yazılmadı.");
        return false;
    }
    BeforeRun();
    if (ExportStyle == xsFile && FileName.empty()) {
        reportError(xeInvalidFileName, "Belge için dosya adı verilmedi. Bir dosya adı seçip yeniden kaydedin.");
        AfterRun();
        return false;
    }
    if (ExportStyle == xsFile && fileNamePart(FileName).empty()) {
        reportError(xeInvalidFileName, "Dosya adı eksik: " + FileName +
                                           "\nKlasörün ardından bir dosya adı yazıp yeniden kaydedin.");
        AfterRun();
        return false;
    }

    std::string target;
    if (ExportStyle == xsFile) {
        target = fileTarget();
    } else {
        try {
            target = reserveViewTarget();
        } catch (const std::exception& e) {
            reportError(xeGeneralExportError, std::string("Belge görüntülenmek üzere yazılamadı.\n") + e.what());
            AfterRun();
            return false;
        }
    }

    bool written = WriteDocument(target);
    if (ExportStyle == xsView) {
        if (!written) {
            std::error_code ignored;
            std::filesystem::remove(fsPath(target), ignored); // only the empty name we reserved
        } else if (OnOpenDocument) {
            try {
                OnOpenDocument(target);
            } catch (const std::exception& e) {
                reportError(xeGeneralExportError, "Belge yazıldı ama açılamadı: " + target + "\n" + e.what());
                written = false;
            }
        }
    }
    AfterRun();
    return written;
}

// ---- TStringsExport ----

bool TStringsExport::Eof() const
{
    return !Lines || CurrentRow < 0 || static_cast<std::size_t>(CurrentRow) >= Lines->size();
}

int TStringsExport::GetColumnWidth(int) const
{
    if (!Lines)
        return 0;
    std::size_t longest = 0;
    for (const std::string& line : *Lines) {
        std::size_t chars = 0;
        for (const char c : line)
            chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        longest = std::max(longest, chars);
    }
    return static_cast<int>(std::min<std::size_t>(longest, std::numeric_limits<int>::max()));
}

std::string TStringsExport::GetColumnCaption(int) const
{
    return "Satırlar";
}

void TStringsExport::GetRowValues(std::vector<std::string_view>& values)
{
    values.push_back(Lines->at(static_cast<std::size_t>(CurrentRow)));
}

int TStringsExport::GetRowCount() const
{
    if (!Lines)
        return 0;
    return static_cast<int>(std::min<std::size_t>(Lines->size(), std::numeric_limits<std::int32_t>::max()));
}

std::size_t TStringsExport::textSizeHint() const
{
    std::size_t total = 0;
    if (Lines)
        for (const std::string& line : *Lines)
            total += line.size();
    return total;
}

// ---- the one call the command line and the window share ----

std::string saveExamDocument(const std::vector<std::string>& lines, const std::string& fileName)
{
    TStringsExport exporter;
    exporter.Lines = &lines;
    exporter.FileName = fileName;
    exporter.ExportStyle = xsFile;
    if (!exporter.RunExport())
        throw ExportError(exporter.lastErrorCode(), exporter.lastErrorMessage());
    return exporter.lastTarget();
}

} // namespace tovek
