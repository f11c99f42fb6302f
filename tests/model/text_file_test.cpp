#include "fixed_chooser.h"
#include "platform/file_exception.h"
#include "platform/file_path.h"
#include "platform/named_pipe.h"
#include "platform/text_file.h"
#include "quiz/question_set.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
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
}

TEST_F(TextFileTest, OpensRegularFilesOnly)
{
    const std::string strPath = m_dir.Write("a");
    const CNamedPipe pipe(PathToString(m_dir.Path()));
    ASSERT_TRUE(pipe.IsValid());
    m_file.OpenText("text");
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
