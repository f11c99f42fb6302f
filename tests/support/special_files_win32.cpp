#include "named_pipe.h"
#include "special_files.h"

#include <atomic>

#include <windows.h>

namespace {

std::atomic<int> g_nPipes{0};

} // namespace

std::string NullDevicePath()
{
    return "NUL";
}

std::string UnreadableFilePath(int& nOsError)
{
    // Windows fails reads of locked ranges only through other processes'
    // locks and Wine not at all: nothing to offer.
    nOsError = 0;
    return std::string();
}

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
