#include "platform/file_path.h"

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
