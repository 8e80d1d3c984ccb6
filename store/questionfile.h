#pragma once
// Question files: the fixed table layout, the data directory and the file operations
// that both the program and the command-line tool use.

#include "store/engine.h"

#include <array>
#include <string>
#include <vector>

namespace tovek {

inline constexpr const char* kQuestionExtension = ".DB";

// Field names of the question table.
namespace fld {
inline constexpr const char* SORUNO = "SORUNO";
inline constexpr const char* AKTIF = "AKTIF";
inline constexpr const char* SORUKOKU = "SORUKOKU";
inline constexpr const char* YANITA = "YANITA";
inline constexpr const char* YANITB = "YANITB";
inline constexpr const char* YANITC = "YANITC";
inline constexpr const char* YANITD = "YANITD";
inline constexpr const char* YANITE = "YANITE";
inline constexpr const char* DOGRUYANIT = "DOGRUYANIT";
inline constexpr std::array<const char*, 5> YANIT = {YANITA, YANITB, YANITC, YANITD, YANITE};
} // namespace fld

// One question as stored; texts keep their CR LF line breaks.
struct Question
{
    double number = 0;
    Value active;                  // empty, or a boolean
    std::string stem;
    std::array<std::string, 5> answers;
    std::string correct;           // "A".."E", or empty

    bool isActive() const { return std::holds_alternative<bool>(active) && std::get<bool>(active); }
    bool operator==(const Question&) const = default;
};

std::vector<FieldDef> questionLayout();
IndexDef questionIndex();

// DATA directory beside the executable, with a trailing separator.
std::string dataDirFor(const std::string& executableDir);
// Creates the directory when it is missing; on failure raises
// "DATA DİZİNİ OLUŞTURULAMADI :" followed by the path. Returns true when it was created now.
bool ensureDataDir(const std::string& dataDir);

// Creates an empty question file unless a file of that path already exists (then nothing happens).
void createQuestionFile(const std::string& directory, const std::string& fileName);

// Full paths of the question files of dataDir, in the order the directory gives them:
// ".DB" in any letter case, regular files only, not hidden, writable by the user.
std::vector<std::string> listQuestionFiles(const std::string& dataDir);

// Adds AKTIF (false for every question) to a file of the older layout; a current file is left alone.
void upgradeQuestionFile(const std::string& directory, const std::string& tableRef);

// Upper case by Turkish rules: i -> İ, ı -> I, ç ğ ö ş ü -> Ç Ğ Ö Ş Ü, a..z -> A..Z; all else unchanged.
std::string turkishUpperCase(const std::string& text);

// Memo texts keep their lines separated by CR LF; a lone CR or LF becomes CR LF.
std::string normalizeLineBreaks(const std::string& text);

// The path with its extension replaced by ".DB".
std::string withQuestionExtension(const std::string& path);

// The file that a shown ".DB" path stands for: where letter case matters and only x.db exists,
// that file, so that opening never names a different file from the one listed.
std::string questionFileOnDisk(const std::string& shownPath);

// Reads the current record of an open question table.
Question readQuestion(const Table& table);
// Writes q's fields (all but the number) into the current record, which must be in edit or insert state.
void writeQuestionFields(Table& table, const Question& q);
// All visible records from the first; the cursor ends on the last record.
std::vector<Question> readAllQuestions(Table& table);

// Appends questions numbered after the file's last one, in one transaction; returns the first new number.
long long appendQuestions(Table& table, const std::vector<Question>& questions);

// Renumbers all records 1..n in key order in one transaction; the cursor ends on the last record.
void renumberQuestions(Table& table);

} // namespace tovek
