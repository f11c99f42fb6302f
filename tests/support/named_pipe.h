#pragma once

#include <cstdint>
#include <string>
#include <thread>

// A pipe with a name in the file system (a FIFO; on Windows a named pipe),
// which a question file must never be. Its writer waits for a reader and
// then closes, so a reader that opened it by mistake finds an empty file at
// once instead of waiting for ever: a test of the refusal fails, not hangs.
class CNamedPipe
{
public:
    // The FIFO goes into strDir; Windows keeps its pipes elsewhere.
    explicit CNamedPipe(const std::string& strDir);
    ~CNamedPipe();
    CNamedPipe(const CNamedPipe&) = delete;
    CNamedPipe& operator=(const CNamedPipe&) = delete;

    bool IsValid() const { return m_bValid; }
    // UTF-8 on Windows, as every path.
    const std::string& GetPath() const { return m_strPath; }

private:
    std::string m_strPath;
    bool m_bValid = false;
    std::thread m_writer;
};
