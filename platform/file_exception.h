#pragma once

#include <stdexcept>
#include <string>

// A file could not be opened or read. It passes through the loader to the
// window, which tells the player.
class CFileException : public std::runtime_error
{
public:
    enum class EKind {
        Read,       // reading or seeking an open file failed
        Open,       // the system would not open it (GetOsError tells why)
        NotRegular, // a folder, device or pipe, never read
    };

    CFileException(const std::string& strPath, int nOsError, EKind kind = EKind::Read);

    const std::string& GetPath() const { return m_strPath; }
    // The operating system's error number (errno); 0 for NotRegular.
    int GetOsError() const { return m_nOsError; }
    EKind GetKind() const { return m_kind; }

private:
    std::string m_strPath;
    int m_nOsError;
    EKind m_kind;
};
