#include "update/versioncheck.h"

#include <charconv>

namespace tovek::update {

namespace {

constexpr std::string_view kTryLater = " Daha sonra yeniden deneyiniz.";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// An HTML page can put anything on its first line; show only a short, whole-character prefix.
std::string shortened(std::string_view text, std::size_t maxBytes = 40)
{
    if (text.size() <= maxBytes)
        return std::string(text);
    std::size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut)) + "...";
}

std::string failureMessage(const FetchResult& fetch, std::string_view line)
{
    std::string text = "Sürüm bilgisi alınamadı: ";
    switch (fetch.status) {
    case FetchStatus::Unreachable:
        text += "sunucuya bağlanılamadı";
        if (!fetch.detail.empty())
            text += " (" + fetch.detail + ")";
        text += ". İnternet bağlantınızı denetleyiniz.";
        break;
    case FetchStatus::TimedOut:
        text += "sunucu zamanında yanıt vermedi.";
        break;
    case FetchStatus::TooLarge:
        text += "sunucunun yanıtı " + std::to_string(kMaxVersionFileBytes / 1024) + " KB sınırını aşıyor.";
        break;
    case FetchStatus::Received:
    case FetchStatus::NoConnection:
        if (fetch.body.empty()) {
            text += "sunucudan gelen sürüm dosyası boş.";
        } else {
            text += "sürüm dosyasının ilk satırı bir sürüm numarası değil (\"" + shortened(line) + "\").";
        }
        if (fetch.httpStatus >= 400)
            text += " Sunucu HTTP " + std::to_string(fetch.httpStatus) + " hatası döndürdü.";
        break;
    }
    return text + std::string(kTryLater);
}

} // namespace

std::string versionFileUrl(std::string_view siteUrl)
{
    while (!siteUrl.empty() && siteUrl.back() == '/')
        siteUrl.remove_suffix(1);
    return std::string(siteUrl) + std::string(kVersionFilePath);
}

std::string firstLine(std::string_view text)
{
    // Editors on some systems put a byte-order mark in front of a UTF-8 text file.
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    return std::string(text.substr(0, text.find_first_of("\r\n")));
}

std::optional<double> parseVersionNumber(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    // from_chars would also take exponents, "inf" and "nan"; a version is only digits and one ".".
    bool seenPoint = false;
    bool seenDigit = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            seenDigit = true;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit)
        return std::nullopt;

    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string upToDateMessage(std::string_view installedVersion)
{
    // Two carriage returns: Qt's labels break a line at "\r" as at "\n", giving a blank line between.
    return "Tovek Kurulu Versiyon : " + std::string(installedVersion) + "\r\r" +
           "Şu An En Son Versiyonu Kullanıyorsunuz...";
}

Outcome evaluate(CheckMode mode, const FetchResult& fetch, std::string_view installedVersion)
{
    const bool interactive = mode == CheckMode::Interactive;
    Outcome outcome;

    if (fetch.status == FetchStatus::NoConnection) {
        if (interactive) {
            outcome.verdict = Verdict::NoConnection;
            outcome.message = std::string(kNoConnectionMessage);
        }
        return outcome;
    }

    if (fetch.status == FetchStatus::Received)
        outcome.latestVersion = firstLine(fetch.body);

    const auto installed = parseVersionNumber(installedVersion);
    const auto latest =
        fetch.status == FetchStatus::Received ? parseVersionNumber(outcome.latestVersion) : std::nullopt;
    if (!installed || !latest) {
        // At start-up the user asked for nothing, so a failed check stays quiet.
        if (interactive) {
            outcome.verdict = Verdict::Failure;
            outcome.message = failureMessage(fetch, outcome.latestVersion);
        }
        return outcome;
    }

    if (*installed < *latest) {
        outcome.verdict = Verdict::NewVersion;
    } else if (interactive) {
        outcome.verdict = Verdict::UpToDate;
        outcome.message = upToDateMessage(installedVersion);
    }
    return outcome;
}

} // namespace tovek::update
