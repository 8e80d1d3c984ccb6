#include "store/paths.h"

#include <system_error>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif
#if defined(_WIN32)
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#endif

namespace tovek {

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(fsPath(path), ec);
}

bool isWritableByUser(const std::string& path)
{
#if defined(_WIN32)
    std::error_code ec;
    const auto perms = std::filesystem::status(fsPath(path), ec).permissions();
    return !ec && (perms & std::filesystem::perms::owner_write) != std::filesystem::perms::none;
#else
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return false;
    if (st.st_uid == ::geteuid())
        return (st.st_mode & S_IWUSR) != 0;
    return ::access(path.c_str(), W_OK) == 0;
#endif
}

bool isPathSeparator(char c)
{
#if defined(_WIN32)
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

char preferredSeparator()
{
#if defined(_WIN32)
    return '\\';
#else
    return '/';
#endif
}

static std::size_t lastComponentStart(const std::string& path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        const char c = path[i - 1];
#if defined(_WIN32)
        if (isPathSeparator(c) || c == ':') // a drive colon ends the directory part too
            return i;
#else
        if (isPathSeparator(c))
            return i;
#endif
    }
    return 0;
}

std::size_t extensionDot(const std::string& path)
{
    const std::size_t start = lastComponentStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < start)
        return std::string::npos;
    return dot;
}

std::string replaceExtension(const std::string& path, const std::string& newExtension)
{
    const std::size_t dot = extensionDot(path);
    return (dot == std::string::npos ? path : path.substr(0, dot)) + newExtension;
}

std::string directoryPart(const std::string& path)
{
    return path.substr(0, lastComponentStart(path));
}

std::string fileNamePart(const std::string& path)
{
    return path.substr(lastComponentStart(path));
}

std::string executableDirectory()
{
    std::filesystem::path exe;
#if defined(_WIN32)
    std::vector<wchar_t> buf(32768);
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    exe = std::filesystem::path(std::wstring(buf.data(), n));
#elif defined(__APPLE__)
    uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> buf(size + 1);
    _NSGetExecutablePath(buf.data(), &size);
    exe = std::filesystem::path(buf.data());
#else
    std::error_code ec;
    exe = std::filesystem::read_symlink("/proc/self/exe", ec);
#endif
    std::string dir = utf8Path(exe.parent_path());
    if (dir.empty() || !isPathSeparator(dir.back()))
        dir += preferredSeparator();
    return dir;
}

} // namespace tovek
