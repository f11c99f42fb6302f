#pragma once

#include "platform/file_exception.h"

#include <cstddef>
#include <memory>
#include <string>

// A buffered text file opened for reading, one line at a time. A line ends at
// LF; a CR right before the LF belongs to the line end; a LF at the very end
// of the file starts no further line. Every other byte, NUL and bytes above
// 0x7F included, is kept, and a line may be of any length.
//
// Only regular files open: a directory, FIFO or device is refused at once
// instead of blocking the window on a read that may never end. Bytes that are
// already in memory (the fuzzer's) read the same way through OpenText.
class CTextFile
{
public:
    CTextFile();
    CTextFile(const CTextFile&) = delete;
    CTextFile& operator=(const CTextFile&) = delete;
    virtual ~CTextFile();

    // False when the path names no regular file that can be read;
    // OpenError then tells why.
    bool Open(const std::string& strPath);
    // The last failed Open, as the exception a caller may throw.
    CFileException OpenError() const;
    // Reads these bytes as if they were the file's; GetFilePath is then
    // empty.
    void OpenText(std::string strText);
    bool IsOpen() const { return m_nHandle >= 0 || m_bText; }

    // The next line without its line end, or false when none is left (or the
    // file is not open). Throws CFileException when reading fails.
    bool ReadString(std::string& strLine);

    // Goes back to the first line. Throws CFileException when that fails.
    void SeekToBegin();

    void Close();

    const std::string& GetFilePath() const { return m_strPath; }

private:
    // Refills the buffer; false at the end of the file.
    bool Fill();

    static constexpr size_t kBufferSize = 64 * 1024;

    std::string m_strPath;
    int m_nHandle = -1;
    CFileException::EKind m_openFailure = CFileException::EKind::Open;
    int m_nOpenError = 0;
    std::unique_ptr<char[]> m_buffer;
    // Opened by OpenText: the whole text is the one buffer, m_pData.
    bool m_bText = false;
    std::string m_strText;
    const char* m_pData = nullptr;
    size_t m_nPos = 0;
    size_t m_nEnd = 0;
};
