#include "store/merge.h"

#include "store/paths.h"
#include "store/questionfile.h"

#include <array>
#include <filesystem>
#include <random>
#include <system_error>

namespace tovek {

namespace fs = std::filesystem;

namespace {

// Every field but the number travels unchanged; the number is given anew.
constexpr std::array<const char*, 8> kCopiedFields = {fld::AKTIF,  fld::SORUKOKU, fld::YANITA, fld::YANITB,
                                                      fld::YANITC, fld::YANITD,   fld::YANITE, fld::DOGRUYANIT};

bool existsNoThrow(const fs::path& p)
{
    std::error_code ec;
    return fs::exists(p, ec) && !ec;
}

// The path as the file system would resolve it, as far as it exists: absolute, without "." and "..",
// with the links of its existing part followed.
std::string resolvedText(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::absolute(fsPath(path), ec);
    if (ec)
        p = fsPath(path);
    fs::path canonical = fs::weakly_canonical(p, ec);
    if (ec)
        canonical = p.lexically_normal();
    std::string text = utf8Path(canonical);
#if defined(_WIN32) || defined(__APPLE__)
    // These file systems ignore letter case by default, so "a.db" and "A.DB" are one file.
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
#endif
    return text;
}

std::string notDeletableMessage(const std::string& target, const std::string& reason)
{
    return "Oluşturulacak Dosya Silinemedi: " + target + " (" + reason +
           ")\nDosyayı kullanan bir program varsa kapatınız ya da başka bir dosya seçiniz...";
}

// A name beside the target that the file chooser does not list (leading dot, no ".DB" ending).
std::string temporaryBeside(const std::string& target)
{
    std::random_device device;
    const std::string dir = directoryPart(target);
    const std::string name = fileNamePart(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = dir + "." + name + ".birlestirme-" + std::to_string(device() % 1000000000u);
        if (!existsNoThrow(fsPath(candidate)) && !existsNoThrow(fsPath(candidate + "-journal")))
            return candidate;
    }
    throw EngineError("Geçici dosya adı bulunamadı: " + dir);
}

void removeQuietly(const std::string& path) noexcept
{
    std::error_code ec;
    fs::remove(fsPath(path), ec);
    fs::remove(fsPath(path + "-journal"), ec);
}

void moveIntoPlace(const std::string& temporary, const std::string& target)
{
    std::error_code ec;
    // A journal left beside the old target would be played back into the new file on its next opening.
    const fs::path journal = fsPath(target + "-journal");
    if (existsNoThrow(journal) && !fs::remove(journal, ec))
        throw TargetNotDeletable(notDeletableMessage(target + "-journal", ec.message()));
    fs::rename(fsPath(temporary), fsPath(target), ec);
    if (ec)
        throw TargetNotDeletable(notDeletableMessage(target, ec.message()));
}

void openSource(Table& table, const std::string& path)
{
    upgradeQuestionFile(directoryPart(path), fileNamePart(path));
    table.setDirectory(directoryPart(path));
    table.setTableName(fileNamePart(path));
    table.open();
}

int copyPass(Table& source, Table& target, int pass, long long& number, const MergeProgressFn& progress)
{
    for (const char* field : kCopiedFields)
        if (!source.hasField(field))
            throw EngineError(std::string("Alan bulunamadı: ") + field + " (" + source.path() + ")");
    MergeProgress state{pass, 0, source.recordCount()};
    if (progress)
        progress(state);
    source.first();
    while (!source.eof()) {
        target.append();
        target.setInteger(fld::SORUNO, ++number);
        for (const char* field : kCopiedFields)
            target.setValue(field, source.value(field));
        target.post();
        source.next();
        ++state.done;
        if (progress)
            progress(state);
    }
    return state.done;
}

} // namespace

bool sameFile(const std::string& a, const std::string& b)
{
    if (resolvedText(a) == resolvedText(b))
        return true;
    // Different texts may still reach one file (hard links, letter case on a case-blind file system).
    const fs::path pa = fsPath(a), pb = fsPath(b);
    if (!existsNoThrow(pa) || !existsNoThrow(pb))
        return false;
    std::error_code ec;
    const bool equivalent = fs::equivalent(pa, pb, ec);
    return equivalent && !ec;
}

std::string checkMergePaths(const std::string& first, const std::string& second, const std::string& target)
{
    if (first.empty())
        return mergetext::FirstMissing;
    if (second.empty())
        return mergetext::SecondMissing;
    if (target.empty())
        return mergetext::TargetMissing;
    if (sameFile(target, first) || sameFile(target, second))
        return mergetext::TargetIsSource;
    return {};
}

std::string withDefaultQuestionExtension(const std::string& path)
{
    if (path.empty() || extensionDot(path) != std::string::npos)
        return path;
    return path + kQuestionExtension;
}

bool mergeTargetExists(const std::string& target)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(fsPath(target), ec));
}

void checkTargetReplaceable(const std::string& target)
{
    std::error_code ec;
    if (fs::is_directory(fsPath(target), ec))
        throw TargetNotDeletable(notDeletableMessage(target, "bir dizin, dosya değil"));
}

MergeCounts mergeQuestionFiles(const std::string& first, const std::string& second, const std::string& target,
                               bool replaceExisting, const MergeProgressFn& progress)
{
    const std::string refusal = checkMergePaths(first, second, target);
    if (!refusal.empty())
        throw MergeRefused(refusal);
    const bool targetExists = mergeTargetExists(target);
    if (targetExists && !replaceExisting)
        throw MergeRefused(mergetext::DeleteQuestion);
    if (targetExists)
        checkTargetReplaceable(target);

    Table table1, table2, table3;
    openSource(table1, first);
    openSource(table2, second);

    const std::string temporary = temporaryBeside(target);
    createQuestionFile(directoryPart(temporary), fileNamePart(temporary));
    MergeCounts counts;
    try {
        table3.setDirectory(directoryPart(temporary));
        table3.setTableName(fileNamePart(temporary));
        table3.open();
        table3.beginTransaction();
        table1.first();
        table2.first();
        table3.first();
        long long number = 0;
        counts.first = copyPass(table1, table3, 1, number, progress);
        counts.second = copyPass(table2, table3, 2, number, progress);
        table3.commit();
        table1.close();
        table2.close();
        table3.close();
        moveIntoPlace(temporary, target);
    } catch (...) {
        // Closing rolls back the open transaction; the temporary file then goes.
        table1.close();
        table2.close();
        table3.close();
        removeQuietly(temporary);
        throw;
    }
    return counts;
}

} // namespace tovek
