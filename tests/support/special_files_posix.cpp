#include "named_pipe.h"
#include "special_files.h"

#include <atomic>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> g_nPipes{0};

} // namespace

std::string NullDevicePath()
{
    return "/dev/null";
}

std::string UnreadableFilePath(int& nOsError)
{
    // This process's memory read from address 0: a page never mapped.
    nOsError = EIO;
    return "/proc/self/mem";
}

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
