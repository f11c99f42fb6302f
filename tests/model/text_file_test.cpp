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

class TextFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("wrigglet_text_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& strBytes)
    {
        const fs::path path = m_dir / ("f" + std::to_string(m_nFiles++));
        std::ofstream(path, std::ios::binary) << strBytes;
        return path.string();
    }

    static std::vector<std::string> ReadLines(CTextFile& file)
    {
        std::vector<std::string> lines;
        std::string strLine;
        while (file.ReadString(strLine))
            lines.push_back(strLine);
        return lines;
    }

    fs::path m_dir;
    int m_nFiles = 0;
};

using Lines = std::vector<std::string>;

TEST_F(TextFileTest, LineEndsFollowTextMode)
{
    CTextFile file;
    // Only a CR right before a LF is part of the line end; a final LF starts
    // no further line, and a last line needs no LF.
    ASSERT_TRUE(file.Open(Write("one\r\ntwo\n\nthree\r\r\nfour\rfive\r")));
    EXPECT_EQ(ReadLines(file), (Lines{"one", "two", "", "three\r", "four\rfive\r"}));
    std::string strLine = "stale";
    EXPECT_FALSE(file.ReadString(strLine));
    EXPECT_EQ(strLine, "");

    file.SeekToBegin();
    EXPECT_TRUE(file.ReadString(strLine));
    EXPECT_EQ(strLine, "one");

    ASSERT_TRUE(file.Open(Write("x\n")));
    EXPECT_EQ(ReadLines(file), Lines{"x"});
    ASSERT_TRUE(file.Open(Write("\n")));
    EXPECT_EQ(ReadLines(file), Lines{""});
    ASSERT_TRUE(file.Open(Write("")));
    EXPECT_EQ(ReadLines(file), Lines{});

    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.ReadString(strLine));
}

TEST_F(TextFileTest, KeepsEveryByteOfLinesOfAnyLength)
{
    std::string strBytes("a\0b\xFF\x1A\x80", 6);
    // A CR and its LF on both sides of a buffer refill, then a line of
    // several megabytes.
    std::string strSplit(65535, 'x');
    strSplit += '\r';
    std::string strLong(5 * 1024 * 1024 + 3, 'y');
    strLong[1234567] = '\0';
    CTextFile file;
    ASSERT_TRUE(file.Open(Write(strBytes + "\n" + strSplit + "\n" + strLong + "\r\nend")));
    const Lines lines = ReadLines(file);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], strBytes);
    EXPECT_EQ(lines[1], strSplit.substr(0, 65535));
    EXPECT_EQ(lines[2], strLong);
    EXPECT_EQ(lines[3], "end");
}

TEST_F(TextFileTest, OpensRegularFilesOnly)
{
    CTextFile file;
    EXPECT_FALSE(file.Open(m_dir.string()));
    EXPECT_FALSE(file.Open((m_dir / "missing").string()));
    EXPECT_FALSE(file.Open(""));
    const std::string strPath = Write("a");
    EXPECT_FALSE(file.Open(strPath + std::string(1, '\0') + "more"));
    EXPECT_FALSE(file.Open(NullDevicePath()));
    const CNamedPipe pipe(PathToString(m_dir));
    ASSERT_TRUE(pipe.IsValid());
    EXPECT_FALSE(file.Open(pipe.GetPath()));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.Open(strPath));
    EXPECT_TRUE(file.IsOpen());
}

TEST_F(TextFileTest, ReadErrorThrows)
{
    int nError = 0;
    const std::string strPath = UnreadableFilePath(nError);
    if (strPath.empty())
        GTEST_SKIP() << "no file here fails to read";
    CTextFile file;
    ASSERT_TRUE(file.Open(strPath));
    std::string strLine;
    try {
        file.ReadString(strLine);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetOsError(), nError);
        EXPECT_EQ(e.GetPath(), strPath);
    }
}

} // namespace
