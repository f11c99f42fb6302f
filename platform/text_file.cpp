#include "platform/text_file.h"

#include "platform/file_exception.h"

#include <cerrno>
#include <cstring>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#error "text_file.cpp needs this platform's file calls"
#endif

namespace {

bool IsRegularFile(const struct stat& st)
{
    return S_ISREG(st.st_mode);
}

} // namespace

CTextFile::CTextFile() = default;

CTextFile::~CTextFile()
{
    Close();
}

bool CTextFile::Open(const std::string& strPath)
{
    Close();
    // A NUL would silently cut the name short and open another file.
    if (strPath.empty() || strPath.find('\0') != std::string::npos)
        return false;

    // Refuse anything but a regular file before opening it: opening a FIFO
    // waits for a writer, and opening a device may already do something.
    struct stat st;
    if (::stat(strPath.c_str(), &st) != 0 || !IsRegularFile(st))
        return false;

    // O_NONBLOCK keeps the open itself from waiting should the name have been
    // replaced by a FIFO in the meantime; fstat then checks what was opened.
    int nHandle;
    do {
        nHandle = ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (nHandle < 0 && errno == EINTR);
    if (nHandle < 0)
        return false;
    if (::fstat(nHandle, &st) != 0 || !IsRegularFile(st)) {
        ::close(nHandle);
        return false;
    }
    const int nFlags = ::fcntl(nHandle, F_GETFL);
    if (nFlags != -1)
        ::fcntl(nHandle, F_SETFL, nFlags & ~O_NONBLOCK);

    if (!m_buffer)
        m_buffer.reset(new char[kBufferSize]);
    m_strPath = strPath;
    m_nHandle = nHandle;
    m_nPos = m_nEnd = 0;
    return true;
}

bool CTextFile::ReadString(std::string& strLine)
{
    strLine.clear();
    if (m_nHandle < 0)
        return false;
    bool bStarted = false;
    for (;;) {
        if (m_nPos == m_nEnd && !Fill())
            return bStarted; // a last line without a line end
        const char* pStart = m_buffer.get() + m_nPos;
        const size_t nAvail = m_nEnd - m_nPos;
        const void* pLf = std::memchr(pStart, '\n', nAvail);
        if (pLf) {
            const size_t nLength = static_cast<size_t>(static_cast<const char*>(pLf) - pStart);
            strLine.append(pStart, nLength);
            m_nPos += nLength + 1;
            if (!strLine.empty() && strLine.back() == '\r')
                strLine.pop_back();
            return true;
        }
        strLine.append(pStart, nAvail);
        m_nPos = m_nEnd;
        bStarted = true;
    }
}

void CTextFile::SeekToBegin()
{
    if (m_nHandle < 0)
        return;
    if (::lseek(m_nHandle, 0, SEEK_SET) == static_cast<off_t>(-1))
        throw CFileException(m_strPath, errno);
    m_nPos = m_nEnd = 0;
}

void CTextFile::Close()
{
    if (m_nHandle >= 0)
        ::close(m_nHandle);
    m_nHandle = -1;
    m_nPos = m_nEnd = 0;
}

bool CTextFile::Fill()
{
    ssize_t nRead;
    do {
        nRead = ::read(m_nHandle, m_buffer.get(), kBufferSize);
    } while (nRead < 0 && errno == EINTR);
    if (nRead < 0)
        throw CFileException(m_strPath, errno);
    m_nPos = 0;
    m_nEnd = static_cast<size_t>(nRead);
    return nRead > 0;
}
