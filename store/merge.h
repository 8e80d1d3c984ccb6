#pragma once
// Merging two question files into a new one: the checks that keep a source from being destroyed,
// and the copy itself. The merge window and the command-line tool both call these.

#include "store/engine.h"

#include <functional>
#include <stdexcept>
#include <string>

namespace tovek {

namespace mergetext {
inline constexpr const char* FirstMissing = "Lütfen 1. Dosyayı Seçiniz...";
inline constexpr const char* SecondMissing = "Lütfen 2. Dosyayı Seçiniz...";
inline constexpr const char* TargetMissing = "Lütfen Oluşturulacak Dosyayı Seçiniz...";
inline constexpr const char* TargetIsSource =
    "DİKKAT! Oluşturulacak Dosya, Birleştirilecek Dosyalardan Herhangi Biri Olamaz...";
inline constexpr const char* TargetExistsNotice = "DİKKAT! Oluşturulacak Dosya Diskte Var.\n"
                                                  "Birleştirme İşleminde Önce Bu Dosya Silinecek\n"
                                                  "Daha Sonra Birleştirme İşlemi Yapılacaktır...";
inline constexpr const char* DeleteCaption = "Silme Onayı";
inline constexpr const char* DeleteQuestion = "DİKKAT! OLUŞTURULACAK DOSYA DİSKTE VAR.\n"
                                              "BİRLEŞTİRME İŞLEMİNE BAŞLAMADAN ÖNCE\n"
                                              "BU DOSYANIN SİLİNMESİNİ ONAYLIYOR MUSUNUZ.";
inline constexpr const char* FirstPass = "1. Dosya Aktarılıyor...";
inline constexpr const char* SecondPass = "2. Dosya Aktarılıyor...";
inline constexpr const char* Success = "Dosyaları Birleştirme İşlemi Başarıyla Tamamlandı...";
} // namespace mergetext

// A merge that the checks refuse; what() is the message for the user.
class MergeRefused : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The existing target could not be removed to make room for the merged file.
class TargetNotDeletable : public EngineError
{
public:
    using EngineError::EngineError;
};

// True when the two paths name the same file: relative parts, links, hard links and, where the file
// system ignores letter case, the case of the names are all seen through.
bool sameFile(const std::string& a, const std::string& b);

// The checks before a merge, in order; returns the message of the first that fails, or an empty string.
// The first and second source may be the same file.
std::string checkMergePaths(const std::string& first, const std::string& second, const std::string& target);

// A name chosen without an extension gets ".DB"; any other extension is kept.
std::string withDefaultQuestionExtension(const std::string& path);

// True when something is at the target path (a dangling link included) that a merge would replace.
bool mergeTargetExists(const std::string& target);

// Refuses early (TargetNotDeletable) when an existing target is something a file cannot replace,
// such as a directory, so that the user does not wait for a copy that cannot be stored.
void checkTargetReplaceable(const std::string& target);

struct MergeProgress
{
    int pass = 1;  // 1: first source, 2: second source
    int done = 0;  // records copied from this source so far
    int total = 0; // records of this source
};
using MergeProgressFn = std::function<void(const MergeProgress&)>;

struct MergeCounts
{
    int first = 0;
    int second = 0;
};

// Builds target from all questions of first followed by all of second, numbered 1..n; every other
// field is copied unchanged, empty values included. Sources of the older layout are upgraded first.
// The copy is written to a temporary file beside target in one transaction and renamed into place
// only when complete, so an error leaves no half-merged file and an existing target is replaced only
// by a finished merge. An existing target needs replaceExisting (else MergeRefused with the deletion
// question); failed checks raise MergeRefused; engine failures raise EngineError.
// progress is called when a pass starts (done 0) and after every record.
MergeCounts mergeQuestionFiles(const std::string& first, const std::string& second, const std::string& target,
                               bool replaceExisting, const MergeProgressFn& progress = {});

} // namespace tovek
