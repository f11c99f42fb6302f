#include "platform/text_file.h"

#include "platform/file_exception.h"

#include <cerrno>
#include <cstring>
#include <utility>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <cstdio>
#elif defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#error "text_file.cpp needs this platform's file calls"
#endif

namespace {

// Why an open failed, kept for the exception a caller may throw.
struct OpenFailure
{
    // Records the reason; returns the handle of no file.
    int Set(CFileException::EKind kind, int nOsError)
    {
        m_kind = kind;
        m_nOsError = nOsError;
        return -1;
    }
    CFileException::EKind m_kind = CFileException::EKind::Open;
    int m_nOsError = 0;
};

#if defined(_WIN32)

// Paths inside the program are UTF-8 here; the file system wants UTF-16.
bool WidePath(const std::string& strPath, std::wstring& wstrPath)
{
    const int nIn = static_cast<int>(strPath.size());
    const int nOut = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strPath.data(), nIn, nullptr, 0);
    if (nOut <= 0)
        return false;
    wstrPath.assign(static_cast<size_t>(nOut), L'\0');
    return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, strPath.data(), nIn, &wstrPath[0], nOut) == nOut;
}

// The errno value that tells the player what the system's error means.
int ErrnoOf(DWORD nError)
{
    switch (nError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO;
    }
}

// A C runtime handle of a regular file, or -1 with the reason in failure.
// Devices (NUL, CON, COM1), pipes and directories are refused: reading them
// may wait for ever.
int OpenRegularFile(const std::string& strPath, OpenFailure& failure)
{
    std::wstring wstrPath;
    if (!WidePath(strPath, wstrPath))
        return failure.Set(CFileException::EKind::Open, ENOENT);
    const DWORD nAttributes = ::GetFileAttributesW(wstrPath.c_str());
    if (nAttributes == INVALID_FILE_ATTRIBUTES)
        return failure.Set(CFileException::EKind::Open, ErrnoOf(::GetLastError()));
    if ((nAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0)
        return failure.Set(CFileException::EKind::NotRegular, 0);
    // Others may keep writing, renaming or deleting the file meanwhile, as
    // they could with the file open elsewhere.
    HANDLE hFile = ::CreateFileW(wstrPath.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return failure.Set(CFileException::EKind::Open, ErrnoOf(::GetLastError()));
    // What was opened may no longer be what was looked at.
    BY_HANDLE_FILE_INFORMATION info;
    if (::GetFileType(hFile) != FILE_TYPE_DISK || !::GetFileInformationByHandle(hFile, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        ::CloseHandle(hFile);
        return failure.Set(CFileException::EKind::NotRegular, 0);
    }
    const int nHandle = ::_open_osfhandle(reinterpret_cast<intptr_t>(hFile), _O_RDONLY | _O_BINARY);
    if (nHandle < 0) {
        failure.Set(CFileException::EKind::Open, errno);
        ::CloseHandle(hFile);
    }
    return nHandle;
}

// Bytes read (0 at the end), or -1 with errno set.
long long ReadSome(int nHandle, char* pBuffer, size_t nSize)
{
    return ::_read(nHandle, pBuffer, static_cast<unsigned int>(nSize));
}

bool SeekStart(int nHandle)
{
    return ::_lseeki64(nHandle, 0, SEEK_SET) == 0;
}

void CloseFile(int nHandle)
{
    ::_close(nHandle);
}

#else

bool IsRegularFile(const struct stat& st)
{
    return S_ISREG(st.st_mode);
}

// A handle of a regular file, or -1 with the reason in failure. A FIFO,
// device or directory is refused: reading them may wait for ever.
int OpenRegularFile(const std::string& strPath, OpenFailure& failure)
{
    // Refuse anything but a regular file before opening it: opening a FIFO
    // waits for a writer, and opening a device may already do something.
    struct stat st;
    if (::stat(strPath.c_str(), &st) != 0)
        return failure.Set(CFileException::EKind::Open, errno);
    if (!IsRegularFile(st))
        return failure.Set(CFileException::EKind::NotRegular, 0);

    // O_NONBLOCK keeps the open itself from waiting should the name have been
    // replaced by a FIFO in the meantime; fstat then checks what was opened.
    int nHandle;
    do {
        nHandle = ::open(strPath.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (nHandle < 0 && errno == EINTR);
    if (nHandle < 0)
        return failure.Set(CFileException::EKind::Open, errno);
    if (::fstat(nHandle, &st) != 0 || !IsRegularFile(st)) {
        ::close(nHandle);
        return failure.Set(CFileException::EKind::NotRegular, 0);
    }
    const int nFlags = ::fcntl(nHandle, F_GETFL);
    if (nFlags != -1)
        ::fcntl(nHandle, F_SETFL, nFlags & ~O_NONBLOCK);
    return nHandle;
}

long long ReadSome(int nHandle, char* pBuffer, size_t nSize)
{
    ssize_t nRead;
    do {
        nRead = ::read(nHandle, pBuffer, nSize);
    } while (nRead < 0 && errno == EINTR);
    return nRead;
}

bool SeekStart(int nHandle)
{
    return ::lseek(nHandle, 0, SEEK_SET) != static_cast<off_t>(-1);
}

void CloseFile(int nHandle)
{
    ::close(nHandle);
}

#endif

} // namespace

CTextFile::CTextFile() = default;

CTextFile::~CTextFile()
{
    Close();
}

bool CTextFile::Open(const std::string& strPath)
{
    Close();
    m_strPath = strPath;
    OpenFailure failure;
    // A NUL would silently cut the name short and open another file.
    const int nHandle = strPath.empty() || strPath.find('\0') != std::string::npos
                      ? failure.Set(CFileException::EKind::Open, ENOENT)
                      : OpenRegularFile(strPath, failure);
    if (nHandle < 0) {
        m_openFailure = failure.m_kind;
        m_nOpenError = failure.m_nOsError;
        return false;
    }

    if (!m_buffer)
        m_buffer.reset(new char[kBufferSize]);
    m_nHandle = nHandle;
    m_pData = m_buffer.get();
    m_nPos = m_nEnd = 0;
    return true;
}

void CTextFile::OpenText(std::string strText)
{
    Close();
    m_strPath.clear();
    m_strText = std::move(strText);
    m_bText = true;
    m_pData = m_strText.data();
    m_nEnd = m_strText.size();
}

bool CTextFile::ReadString(std::string& strLine)
{
    strLine.clear();
    if (!IsOpen())
        return false;
    bool bStarted = false;
    for (;;) {
        if (m_nPos == m_nEnd && !Fill())
            return bStarted; // a last line without a line end
        const char* pStart = m_pData + m_nPos;
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

CFileException CTextFile::OpenError() const
{
    return CFileException(m_strPath, m_nOpenError, m_openFailure);
}

void CTextFile::SeekToBegin()
{
    if (m_bText) {
        m_nPos = 0;
        return;
    }
    if (m_nHandle < 0)
        return;
    if (!SeekStart(m_nHandle))
        throw CFileException(m_strPath, errno);
    m_nPos = m_nEnd = 0;
}

void CTextFile::Close()
{
    if (m_nHandle >= 0)
        CloseFile(m_nHandle);
    m_nHandle = -1;
    m_bText = false;
    std::string().swap(m_strText);
    m_nPos = m_nEnd = 0;
}

bool CTextFile::Fill()
{
    if (m_bText)
        return false;
    if (m_pCancel && m_pCancel->load())
        throw CFileException(m_strPath, ECANCELED);
    const long long nRead = ReadSome(m_nHandle, m_buffer.get(), kBufferSize);
    if (nRead < 0)
        throw CFileException(m_strPath, errno);
    m_nPos = 0;
    m_nEnd = static_cast<size_t>(nRead);
    return nRead > 0;
}
