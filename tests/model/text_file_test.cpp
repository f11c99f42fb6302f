#include "platform/file_exception.h"
#include "platform/file_path.h"
#include "platform/named_pipe.h"
#include "platform/text_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

class TextFileTest : public ::testing::Test
{
protected:
    TextFileTest() { fs::create_directories(m_dir); }
    ~TextFileTest() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& strBytes)
    {
        const fs::path path = m_dir / ("f" + std::to_string(m_nFiles++));
        std::ofstream(path, std::ios::binary) << strBytes;
        return path.string();
    }

    // Opens a file of these bytes and reads every line of it.
    Lines ReadLines(const std::string& strBytes)
    {
        EXPECT_TRUE(m_file.Open(Write(strBytes)));
        Lines lines;
        for (std::string strLine; m_file.ReadString(strLine);)
            lines.push_back(strLine);
        return lines;
    }

    const fs::path m_dir = fs::temp_directory_path() / ("wrigglet_text_" + std::to_string(std::random_device{}()));
    int m_nFiles = 0;
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
    const std::string strPath = Write("a");
    const CNamedPipe pipe(PathToString(m_dir));
    ASSERT_TRUE(pipe.IsValid());
    for (const std::string& strBad : {m_dir.string(), (m_dir / "missing").string(), std::string(),
                                      strPath + std::string(1, '\0') + "more", NullDevicePath(),
                                      pipe.GetPath()})
        EXPECT_FALSE(m_file.Open(strBad)) << strBad;
    EXPECT_FALSE(m_file.IsOpen());
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
