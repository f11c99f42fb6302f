#pragma once

#include <stdexcept>
#include <string>

// A read or seek on an open text file failed. It passes through the loader
// to the window, which tells the player.
class CFileException : public std::runtime_error
{
public:
    CFileException(const std::string& strPath, int nOsError);

    const std::string& GetPath() const { return m_strPath; }
    // The operating system's error number (errno).
    int GetOsError() const { return m_nOsError; }

private:
    std::string m_strPath;
    int m_nOsError;
};
