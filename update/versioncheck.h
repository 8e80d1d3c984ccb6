#pragma once
// What an update check concludes from the server's answer. No I/O here: the window code fetches the
// version file and shows the outcome; this part decides which outcome it is.

#include <optional>
#include <string>
#include <string_view>

namespace tovek::update {

// The path of the version file below the site's root address.
inline constexpr std::string_view kVersionFilePath = "/download/tovekupd.txt";

// The answer is a one-line text file; anything bigger is not what the server is meant to send.
inline constexpr std::size_t kMaxVersionFileBytes = 64 * 1024;

enum class CheckMode {
    Silent,      // the start-up check: speaks only when a newer version exists
    Interactive, // started by the user: reports every outcome
};

enum class FetchStatus {
    Received,     // the server answered (any HTTP status); body holds the answer
    NoConnection, // the computer has no network connection; no request was made
    Unreachable,  // no answer: host not found, connection refused, network error
    TimedOut,     // the server did not finish answering in time
    TooLarge,     // the answer exceeded kMaxVersionFileBytes
};

struct FetchResult
{
    FetchStatus status = FetchStatus::Unreachable;
    int httpStatus = 0;  // 0 when no HTTP answer arrived
    std::string body;    // the answer as received (Received only)
    std::string detail;  // the network layer's own description of a failure, if any
};

enum class Verdict {
    ShowNothing,
    NoConnection, // "Bağlantı Başarısız."
    Failure,      // the general error box with Outcome::message
    NewVersion,   // the new-version window
    UpToDate,     // the up-to-date message
};

struct Outcome
{
    Verdict verdict = Verdict::ShowNothing;
    // The version text as the server wrote it (first line); empty when nothing was read.
    std::string latestVersion;
    // The text to show (UTF-8) for NoConnection, Failure and UpToDate.
    std::string message;
};

// The site's root address + the version file's path, without a doubled "/".
std::string versionFileUrl(std::string_view siteUrl);

// The text before the first line break (CR, LF or CR LF); the whole text when there is none.
std::string firstLine(std::string_view text);

// A version text as a decimal number with "." as separator, whatever the locale: digits, optionally
// "." and more digits, blanks around allowed. Versions compare as numbers, so "1.10" is 1.1.
std::optional<double> parseVersionNumber(std::string_view text);

// The message shown by an interactive check that finds no newer version.
std::string upToDateMessage(std::string_view installedVersion);

inline constexpr std::string_view kNoConnectionMessage = "Bağlantı Başarısız.";

Outcome evaluate(CheckMode mode, const FetchResult& fetch, std::string_view installedVersion);

} // namespace tovek::update
