#include "platform/file_path.h"

#include <cerrno>
#include <exception>
#include <system_error>

// u8path and u8string convert between UTF-8 and UTF-16 on Windows and keep
// the bytes as they are elsewhere: the one path encoding, in both directions.
std::filesystem::path PathFromString(const std::string& strPath)
{
    return std::filesystem::u8path(strPath);
}

std::string PathToString(const std::filesystem::path& path)
{
    return path.u8string();
}

bool FileExists(const std::string& strPath)
{
    try {
        std::error_code error;
        return std::filesystem::exists(PathFromString(strPath), error);
    } catch (const std::exception&) {
        return false;
    }
}

std::string NullDevicePath()
{
#if defined(_WIN32)
    return "NUL";
#else
    return "/dev/null";
#endif
}

std::string UnreadableFilePath(int& nOsError)
{
#if defined(__linux__)
    // This process's memory read from address 0: a page never mapped.
    nOsError = EIO;
    return "/proc/self/mem";
#else
    // Windows fails reads of locked ranges only through other processes'
    // locks and Wine not at all: nothing to offer.
    nOsError = 0;
    return std::string();
#endif
}
