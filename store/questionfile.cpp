#include "store/questionfile.h"

#include "store/paths.h"

#include <cmath>
#include <filesystem>
#include <system_error>


namespace tovek {

std::vector<FieldDef> questionLayout()
{
    return {
        {fld::SORUNO, FieldType::Float, 0, false},   {fld::AKTIF, FieldType::Boolean, 0, false},
        {fld::SORUKOKU, FieldType::FmtMemo, 200, false}, {fld::YANITA, FieldType::FmtMemo, 200, false},
        {fld::YANITB, FieldType::FmtMemo, 200, false}, {fld::YANITC, FieldType::FmtMemo, 200, false},
        {fld::YANITD, FieldType::FmtMemo, 200, false}, {fld::YANITE, FieldType::FmtMemo, 200, false},
        {fld::DOGRUYANIT, FieldType::String, 1, false},
    };
}

IndexDef questionIndex()
{
    return {"", fld::SORUNO, true, true};
}

std::string dataDirFor(const std::string& executableDir)
{
    std::string dir = executableDir;
    if (!dir.empty() && !isPathSeparator(dir.back()))
        dir += preferredSeparator();
    return dir + "DATA" + preferredSeparator();
}

bool ensureDataDir(const std::string& dataDir)
{
    std::error_code ec;
    const auto p = fsPath(dataDir);
    if (std::filesystem::is_directory(p, ec))
        return false;
    if (!std::filesystem::create_directory(p, ec) || ec)
        throw EngineError("DATA DİZİNİ OLUŞTURULAMADI :" + dataDir);
    return true;
}

void createQuestionFile(const std::string& directory, const std::string& fileName)
{
    const std::string path = resolveTablePath(directory, fileName);
    if (fileExists(path))
        return;
    createTable(path, questionLayout(), questionIndex());
}

namespace {

bool hasQuestionExtension(const std::string& name)
{
    const std::size_t dot = extensionDot(name);
    if (dot == std::string::npos || name.size() - dot != 3)
        return false;
    return (name[dot + 1] == 'D' || name[dot + 1] == 'd') && (name[dot + 2] == 'B' || name[dot + 2] == 'b');
}

bool isListable(const std::filesystem::directory_entry& entry)
{
    std::error_code ec;
    if (!entry.is_regular_file(ec) || ec)
        return false;
    const std::string name = utf8Path(entry.path().filename());
    if (name.empty() || name[0] == '.')
        return false;
    return isWritableByUser(utf8Path(entry.path()));
}

} // namespace

std::vector<std::string> listQuestionFiles(const std::string& dataDir)
{
    std::vector<std::string> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(fsPath(dataDir), ec);
    if (ec)
        return files;
    for (const auto& entry : it) {
        const std::string name = utf8Path(entry.path().filename());
        if (hasQuestionExtension(name) && isListable(entry))
            files.push_back(dataDir + name);
    }
    return files;
}

void upgradeQuestionFile(const std::string& directory, const std::string& fileRef)
{
    // The statements name the file in double quotation marks; one inside the name is doubled.
    std::string tableRef;
    for (char c : fileRef) {
        if (c == '"')
            tableRef += '"';
        tableRef += c;
    }
    Query query;
    query.setDirectory(directory);
    const std::vector<std::string> names = query.open("SELECT * FROM \"" + tableRef + "\"");
    for (const auto& name : names)
        if (name == "AKTIF")
            return;
    query.execSql("ALTER TABLE \"" + tableRef + "\" ADD AKTIF BOOLEAN");
    query.execSql("UPDATE \"" + tableRef + "\" SET AKTIF = FALSE ");
}

std::string turkishUpperCase(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 'i') {
            out += "\xC4\xB0"; // İ
        } else if (c >= 'a' && c <= 'z') {
            out += static_cast<char>(c - 32);
        } else if (i + 1 < text.size()) {
            const unsigned char d = static_cast<unsigned char>(text[i + 1]);
            const char* up = nullptr;
            if (c == 0xC4 && d == 0xB1)
                up = "I"; // ı
            else if (c == 0xC3 && d == 0xA7)
                up = "\xC3\x87"; // ç
            else if (c == 0xC4 && d == 0x9F)
                up = "\xC4\x9E"; // ğ
            else if (c == 0xC3 && d == 0xB6)
                up = "\xC3\x96"; // ö
            else if (c == 0xC5 && d == 0x9F)
                up = "\xC5\x9E"; // ş
            else if (c == 0xC3 && d == 0xBC)
                up = "\xC3\x9C"; // ü
            if (up) {
                out += up;
                ++i;
            } else {
                out += static_cast<char>(c);
            }
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string normalizeLineBreaks(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string withQuestionExtension(const std::string& path)
{
    return replaceExtension(path, kQuestionExtension);
}

std::string questionFileOnDisk(const std::string& shownPath)
{
    if (fileExists(shownPath))
        return shownPath;
    const std::string dir = directoryPart(shownPath);
    const std::string name = fileNamePart(shownPath);
    const std::size_t dot = extensionDot(name);
    const std::string stem = dot == std::string::npos ? name : name.substr(0, dot);
    std::error_code ec;
    std::filesystem::directory_iterator it(fsPath(dir.empty() ? "." : dir), ec);
    if (ec)
        return shownPath;
    for (const auto& entry : it) {
        const std::string candidate = utf8Path(entry.path().filename());
        if (candidate.size() == name.size() && candidate.compare(0, stem.size(), stem) == 0 &&
            hasQuestionExtension(candidate) && extensionDot(candidate) == stem.size())
            return dir + candidate;
    }
    return shownPath;
}

Question readQuestion(const Table& table)
{
    Question q;
    const Value number = table.value(fld::SORUNO);
    q.number = std::holds_alternative<double>(number) ? std::get<double>(number) : 0;
    q.active = table.value(fld::AKTIF);
    q.stem = table.asText(fld::SORUKOKU);
    for (int i = 0; i < 5; ++i)
        q.answers[i] = table.asText(fld::YANIT[i]);
    q.correct = table.asText(fld::DOGRUYANIT);
    return q;
}

void writeQuestionFields(Table& table, const Question& q)
{
    table.setValue(fld::AKTIF, q.active);
    table.setText(fld::SORUKOKU, q.stem);
    for (int i = 0; i < 5; ++i)
        table.setText(fld::YANIT[i], q.answers[i]);
    if (q.correct.empty())
        table.setValue(fld::DOGRUYANIT, Value{});
    else
        table.setText(fld::DOGRUYANIT, q.correct);
}

std::vector<Question> readAllQuestions(Table& table)
{
    std::vector<Question> all;
    all.reserve(table.recordCount());
    table.first();
    while (!table.eof()) {
        all.push_back(readQuestion(table));
        table.next();
    }
    return all;
}

long long appendQuestions(Table& table, const std::vector<Question>& questions)
{
    table.last();
    long long next = table.isEmptyTable() ? 1 : std::llround(table.keyAt(table.recordCount() - 1)) + 1;
    const long long firstNew = next;
    table.beginTransaction();
    try {
        for (const Question& q : questions) {
            table.append();
            table.setInteger(fld::SORUNO, next++);
            writeQuestionFields(table, q);
            table.post();
        }
        table.commit();
    } catch (...) {
        table.cancel();
        table.rollback();
        throw;
    }
    return firstNew;
}

void renumberQuestions(Table& table)
{
    table.beginTransaction();
    try {
        long long number = 1;
        table.first();
        while (!table.eof()) {
            if (table.keyAt(table.position()) != static_cast<double>(number)) {
                table.edit();
                table.setInteger(fld::SORUNO, number);
            }
            ++number;
            table.next();
        }
        table.commit();
    } catch (...) {
        table.cancel();
        table.rollback();
        throw;
    }
}

} // namespace tovek
