#pragma once
// Path helpers on UTF-8 strings, so that Turkish file names work on every platform.

#include <filesystem>
#include <string>

namespace tovek {

inline std::filesystem::path fsPath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string utf8Path(const std::filesystem::path& p)
{
    const std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

bool fileExists(const std::string& path);
// Whether the user may change the file: a file without write permission counts as read-only,
// also for an administrator who could override it.
bool isWritableByUser(const std::string& path);
bool isPathSeparator(char c);
char preferredSeparator();

// Index of the dot that starts the extension of the last path component, or npos.
// A dot in a directory name, or after a drive colon, is no extension.
std::size_t extensionDot(const std::string& path);

// The path with its extension (dot included) replaced by newExtension, e.g. ".DB" or ".DOC";
// a name without an extension gets newExtension appended.
std::string replaceExtension(const std::string& path, const std::string& newExtension);

// "dir/name.DB" -> "dir/" and "name.DB". The directory part keeps its trailing separator.
std::string directoryPart(const std::string& path);
std::string fileNamePart(const std::string& path);

// Directory of the running executable, with a trailing separator.
std::string executableDirectory();

} // namespace tovek
