#include "platform/text_file.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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

} // namespace
