#include "fixed_chooser.h"
#include "platform/file_path.h"
#include "platform/text_file.h"
#include "quiz/question_set.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class TextFileTest : public ::testing::Test
{
protected:
    // Reads every line of these bytes, from a file of them or from memory.
    Lines ReadLines(const std::string& strBytes, bool bFromFile = true)
    {
        if (bFromFile)
            EXPECT_TRUE(m_file.Open(m_dir.Write(strBytes)));
        else
            m_file.OpenText(strBytes);
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
    // NUL and bytes above 0x7F; a CR that ends the first buffer and its LF
    // that starts the next; a line of several megabytes.
    constexpr size_t kSplitAt = 64 * 1024 - 1; // the last byte of a 64 KiB read
    const std::string strBytes("a\0b\xFF\x1A\x80", 6);
    const std::string strSplit(kSplitAt - 7, 'x');
    std::string strLong(5 * 1024 * 1024 + 3, 'y');
    strLong[1234567] = '\0';
    // Bytes in memory read exactly as a file of them.
    for (bool bFromFile : {true, false}) {
        // Only a CR right before a LF is part of the line end; a final LF
        // starts no further line, and a last line needs no LF.
        EXPECT_EQ(ReadLines("one\r\ntwo\n\nthree\r\r\nfour\rfive\r", bFromFile),
                  (Lines{"one", "two", "", "three\r", "four\rfive\r"}));
        std::string strLine = "stale";
        EXPECT_FALSE(m_file.ReadString(strLine));
        EXPECT_EQ(strLine, "");
        m_file.SeekToBegin();
        EXPECT_TRUE(m_file.ReadString(strLine));
        EXPECT_EQ(strLine, "one");
        EXPECT_EQ(ReadLines("\n", bFromFile), Lines{""});
        EXPECT_EQ(ReadLines("", bFromFile), Lines{});
        m_file.Close();
        EXPECT_FALSE(m_file.ReadString(strLine));
        EXPECT_EQ(ReadLines(strBytes + "\n" + strSplit + "\r\n" + strLong + "\r\nend", bFromFile),
                  (Lines{strBytes, strSplit, strLong, "end"}));
    }
    EXPECT_EQ(m_file.GetFilePath(), "");
    EXPECT_EQ(ReadLines("file"), Lines{"file"});
    // Opening what is no regular file, or cannot be opened or read: see the
    // loader's test.
}

// Names as the file chooser returns them, with characters beyond ASCII in the
// folder and in the file name.
TEST_F(TextFileTest, OpensFilesWithJapaneseNames)
{
    const std::string strDir = PathToString(m_dir.Path()) + "/\xE3\x82\xAF\xE3\x82\xA4\xE3\x82\xBA"; // クイズ
    const std::string strPath = strDir + "/\xE5\x95\x8F\xE9\xA1\x8C.csv";                              // 問題.csv
    fs::create_directories(PathFromString(strDir));
    std::ofstream(PathFromString(strPath), std::ios::binary) << "CAT,cat\nDOG,dog\n";

    // The name on disk is made of the characters meant, not of their bytes.
    EXPECT_TRUE(fs::is_regular_file(m_dir.Path() / fs::path(u"\u30AF\u30A4\u30BA") / fs::path(u"\u554F\u984C.csv")));
    EXPECT_EQ(PathToString(PathFromString(strPath)), strPath);
    EXPECT_TRUE(FileExists(strDir));
    EXPECT_FALSE(FileExists(strDir + "/\xE5\x95\x8F.csv"));
    ASSERT_TRUE(m_file.Open(strPath));
    EXPECT_EQ(m_file.GetFilePath(), strPath);

    // The question set finds the name without asking the player.
    CFixedChooser chooser;
    CQuestionSet set;
    set.SetFileChooser(&chooser);
    set.Load(strPath, 2);
    EXPECT_EQ(chooser.m_nShown, 0);
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.GetAt(1)->GetAnswer(), "DOG");
}

} // namespace
