#include "platform/file_exception.h"
#include "platform/file_path.h"
#include "platform/named_pipe.h"
#include "platform/text_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class TextFileTest : public ::testing::Test
{
protected:
    // Opens a file of these bytes and reads every line of it.
    Lines ReadLines(const std::string& strBytes)
    {
        EXPECT_TRUE(m_file.Open(m_dir.Write(strBytes)));
        Lines lines;
        for (std::string strLine; m_file.ReadString(strLine);)
            lines.push_back(strLine);
        return lines;
    }

    CTempDir m_dir;
    CTextFile m_file;
};

TEST_F(TextFileTest, LineEndsFollowTextModeAndEveryByteIsKept)
{
    // Only a CR right before a LF is part of the line end; a final LF starts
    // no further line, and a last line needs no LF.
    EXPECT_EQ(ReadLines("one\r\ntwo\n\nthree\r\r\nfour\rfive\r"),
              (Lines{"one", "two", "", "three\r", "four\rfive\r"}));
    std::string strLine = "stale";
    EXPECT_FALSE(m_file.ReadString(strLine));
    EXPECT_EQ(strLine, "");
    m_file.SeekToBegin();
    EXPECT_TRUE(m_file.ReadString(strLine));
    EXPECT_EQ(strLine, "one");
    EXPECT_EQ(ReadLines("\n"), Lines{""});
    EXPECT_EQ(ReadLines(""), Lines{});
    m_file.Close();
    EXPECT_FALSE(m_file.ReadString(strLine));

    // NUL and bytes above 0x7F; a CR that ends the first buffer and its LF
    // that starts the next; a line of several megabytes.
    constexpr size_t kSplitAt = 64 * 1024 - 1; // the last byte of a 64 KiB read
    const std::string strBytes("a\0b\xFF\x1A\x80", 6);
    const std::string strSplit(kSplitAt - 7, 'x');
    std::string strLong(5 * 1024 * 1024 + 3, 'y');
    strLong[1234567] = '\0';
    EXPECT_EQ(ReadLines(strBytes + "\n" + strSplit + "\r\n" + strLong + "\r\nend"),
              (Lines{strBytes, strSplit, strLong, "end"}));
}

TEST_F(TextFileTest, OpensRegularFilesOnly)
{
    const std::string strPath = m_dir.Write("a");
    const CNamedPipe pipe(PathToString(m_dir.Path()));
    ASSERT_TRUE(pipe.IsValid());
    for (const std::string& strBad : {m_dir.Path().string(), (m_dir.Path() / "missing").string(), std::string(),
                                      strPath + std::string(1, '\0') + "more", NullDevicePath(),
                                      pipe.GetPath()})
        EXPECT_FALSE(m_file.Open(strBad)) << strBad;
    EXPECT_FALSE(m_file.IsOpen());
    // The reason goes with the path: what it is, or what the system said.
    const std::tuple<std::string, CFileException::EKind, int> reasons[] = {
        {m_dir.Path().string(), CFileException::EKind::NotRegular, 0},
        {(m_dir.Path() / "missing").string(), CFileException::EKind::Open, ENOENT}};
    for (const auto& [strBad, kind, nError] : reasons) {
        EXPECT_FALSE(m_file.Open(strBad));
        const CFileException e = m_file.OpenError();
        EXPECT_EQ(e.GetPath(), strBad);
        EXPECT_TRUE(e.GetKind() == kind && e.GetOsError() == nError) << strBad << ": " << e.what();
    }
    EXPECT_TRUE(m_file.Open(strPath));
}

TEST_F(TextFileTest, ReadErrorThrows)
{
    int nError = 0;
    const std::string strPath = UnreadableFilePath(nError);
    if (strPath.empty())
        GTEST_SKIP() << "no file here fails to read";
    ASSERT_TRUE(m_file.Open(strPath));
    std::string strLine;
    try {
        m_file.ReadString(strLine);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetOsError(), nError);
        EXPECT_EQ(e.GetPath(), strPath);
    }
}

} // namespace
