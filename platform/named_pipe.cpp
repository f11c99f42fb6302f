#include "platform/named_pipe.h"

#include <atomic>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::atomic<int> g_nPipes{0};

} // namespace

#if defined(_WIN32)

CNamedPipe::CNamedPipe(const std::string&)
{
    m_strPath = "\\\\.\\pipe\\wrigglet-" + std::to_string(::GetCurrentProcessId()) + "-" +
                std::to_string(g_nPipes++);
    const std::wstring wstrPath(m_strPath.begin(), m_strPath.end()); // ASCII
    HANDLE hPipe = ::CreateNamedPipeW(wstrPath.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                      0, 0, 0, nullptr);
    if (hPipe == INVALID_HANDLE_VALUE)
        return;
    m_bValid = true;
    m_writer = std::thread([hPipe] {
        ::ConnectNamedPipe(hPipe, nullptr); // also returns when the reader came first
        ::CloseHandle(hPipe);
    });
}

CNamedPipe::~CNamedPipe()
{
    if (!m_bValid)
        return;
    // Release the writer with a reader of our own; this fails harmlessly if
    // another reader took the pipe already.
    const std::wstring wstrPath(m_strPath.begin(), m_strPath.end());
    HANDLE hReader = ::CreateFileW(wstrPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    m_writer.join();
    if (hReader != INVALID_HANDLE_VALUE)
        ::CloseHandle(hReader);
}

#else

CNamedPipe::CNamedPipe(const std::string& strDir)
{
    m_strPath = strDir + "/fifo" + std::to_string(g_nPipes++) + ".csv";
    if (::mkfifo(m_strPath.c_str(), 0600) != 0)
        return;
    m_bValid = true;
    m_writer = std::thread([strPath = m_strPath] {
        const int nHandle = ::open(strPath.c_str(), O_WRONLY | O_CLOEXEC);
        if (nHandle >= 0)
            ::close(nHandle);
    });
}

CNamedPipe::~CNamedPipe()
{
    if (!m_bValid)
        return;
    // Release the writer with a reader of our own.
    const int nReader = ::open(m_strPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    m_writer.join();
    if (nReader >= 0)
        ::close(nReader);
    ::unlink(m_strPath.c_str());
}

#endif
