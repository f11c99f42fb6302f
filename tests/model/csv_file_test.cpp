#include "platform/text_file.h"
#include "quiz/csv_file.h"
#include "quiz/split_string.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// A table is read from a text file: the lines of either come from a file or
// from memory, the same way.
class TextFileTest : public ::testing::Test
{
protected:
    // Reads every line of these bytes, from a file of them or from memory.
    Strings ReadLines(const std::string& strBytes, bool bFromFile = true)
    {
        if (bFromFile)
            EXPECT_TRUE(m_file.Open(m_dir.Write(strBytes)));
        else
            m_file.OpenText(strBytes);
        Strings lines;
        for (std::string strLine; m_file.ReadString(strLine);)
            lines.push_back(strLine);
        return lines;
    }

    void Read(const std::string& strBytes)
    {
        m_file.OpenText(strBytes);
        EXPECT_TRUE(m_file.ReadAll());
    }

    CTempDir m_dir;
    CCsvFile m_file;
};
using CsvFileTest = TextFileTest;

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
                  (Strings{"one", "two", "", "three\r", "four\rfive\r"}));
        std::string strLine = "stale";
        EXPECT_FALSE(m_file.ReadString(strLine));
        EXPECT_EQ(strLine, "");
        m_file.SeekToBegin();
        EXPECT_TRUE(m_file.ReadString(strLine));
        EXPECT_EQ(strLine, "one");
        EXPECT_EQ(ReadLines("\n", bFromFile), Strings{""});
        EXPECT_EQ(ReadLines("", bFromFile), Strings{});
        m_file.Close();
        EXPECT_FALSE(m_file.ReadString(strLine));
        EXPECT_EQ(ReadLines(strBytes + "\n" + strSplit + "\r\n" + strLong + "\r\nend", bFromFile),
                  (Strings{strBytes, strSplit, strLong, "end"}));
    }
    EXPECT_EQ(m_file.GetFilePath(), "");
    EXPECT_EQ(ReadLines("file"), Strings{"file"});
    // Opening what is no regular file, or cannot be opened or read: see the
    // loader's test.
}

Strings Split(const std::string& strLine, const std::string& strSeparators = ",")
{
    std::vector<std::string_view> views{"before"};
    SplitString(strLine, strSeparators, views);
    return Strings(views.begin() + 1, views.end());
}

// Quotes, spaces and a trailing comma on a question line: see the loader's test.
TEST(SplitStringTest, CutsAtEverySeparatorAndAppends)
{
    EXPECT_EQ(Split(""), Strings{});
    EXPECT_EQ(Split("a,,b"), (Strings{"a", "", "b"}));
    EXPECT_EQ(Split(",,"), (Strings{"", ""}));
    EXPECT_EQ(Split("a;b,c", ";,"), (Strings{"a", "b", "c"}));
    EXPECT_EQ(Split("a,b", ""), Strings{"a,b"});
}

TEST_F(CsvFileTest, ColumnsAreRegisteredByIndexButFoundByPositionAndReadingAgainRefillsThem)
{
    Read("a,b\nc,d\n");
    // Index 7 gets a new column of empty cells at position 2 ...
    CCsvFile::CColumn* pSeventh = m_file.GetColumn(7);
    ASSERT_NE(pSeventh, nullptr);
    EXPECT_EQ(m_file.GetColumnCount(), 3);
    EXPECT_EQ(pSeventh->GetCount(), 2);
    EXPECT_EQ(m_file.GetCell(7, 0), "");
    // ... and is looked up at position 7, where there is none.
    EXPECT_EQ(m_file.GetColumn(7), nullptr);
    EXPECT_EQ(m_file.GetRowCount(7), 0);
    EXPECT_EQ(m_file.GetColumnCount(), 3);
    // Index 2 is free: asking creates a fourth column, asking again finds the
    // column at position 2, which is the one made for index 7.
    CCsvFile::CColumn* pSecond = m_file.GetColumn(2);
    EXPECT_NE(pSecond, pSeventh);
    EXPECT_EQ(m_file.GetColumn(2), pSeventh);
    EXPECT_EQ(m_file.GetColumnCount(), 4);

    // The free indices below the count get columns too, and it still ends.
    EXPECT_EQ(m_file.GetMaxRowCount(), 2);
    EXPECT_EQ(m_file.GetColumnCount(), 5);
    // Every cell goes, including those of the column made for index 7.
    m_file.RemoveAll();
    EXPECT_EQ(m_file.GetColumnCount(), 0);
    EXPECT_EQ(m_file.GetColumn(0), nullptr);
    EXPECT_EQ(m_file.GetMaxRowCount(), 0);

    // Reading again replaces the cells of the first line's columns. How a
    // table is read from one file is the fuzz target's to check, against a
    // plain reading, over its seeds (one is "a,b\n\nc,d,e,f\nx,\n,,y\r\n") and
    // whatever it finds.
    Read("\n\n\n");
    Read("a,b\nc,d\n");
    EXPECT_EQ(m_file.GetMaxRowCount(), 2);
    Read("x\n");
    EXPECT_EQ(m_file.GetRowCount(0), 1);
    EXPECT_EQ(m_file.GetCell(0, 0), "x");
    EXPECT_EQ(m_file.GetCell(0, 1), "");
}

TEST_F(CsvFileTest, KeepsTextsOfEveryLengthAcrossManyLines)
{
    // Lengths around the steps of the stored length, one far beyond a
    // chunk's quarter, and enough lines to fill several chunks.
    const std::vector<size_t> lengths{1, 127, 128, 16383, 16384, 400000, 2};
    const auto answer = [&lengths](size_t i) {
        return std::string(i % 7 == 3 ? 0 : i < lengths.size() ? lengths[i] : 10 + i % 40, static_cast<char>('a' + i % 26));
    };
    std::string strBytes;
    for (size_t i = 0; i < 60000; ++i)
        strBytes += answer(i) + ",q" + std::to_string(i) + "\n";
    Read(strBytes);
    ASSERT_EQ(m_file.GetMaxRowCount(), 60000);
    for (int32_t r = 0; r < 60000; ++r) {
        ASSERT_EQ(m_file.GetCell(0, r), answer(static_cast<size_t>(r))) << r;
        ASSERT_EQ(m_file.GetCell(1, r), "q" + std::to_string(r)) << r;
    }
}

TEST_F(CsvFileTest, VisitingCellsGivesWhatGetCellGives)
{
    using Visited = std::vector<std::pair<int32_t, std::string>>;
    const auto visit = [this](int32_t nColumn, int32_t nFirst, int32_t nRows) {
        Visited visited;
        m_file.VisitCells(nColumn, nFirst, nRows, [&](int32_t nRow, std::string_view strText) {
            visited.emplace_back(nRow, std::string(strText));
        });
        return visited;
    };
    Read("a,b\nc\n,d\n");
    EXPECT_EQ(visit(1, -2, 7), (Visited{{-2, ""}, {-1, ""}, {0, "b"}, {1, ""}, {2, "d"}, {3, ""}, {4, ""}}));
    EXPECT_EQ(visit(0, 1, 2), (Visited{{1, "c"}, {2, ""}}));
    EXPECT_EQ(visit(0, 0, 0), Visited{});
    // An index not yet registered gets its column of empty cells, as GetCell
    // would give it.
    EXPECT_EQ(visit(5, 0, 3), (Visited{{0, ""}, {1, ""}, {2, ""}}));
    EXPECT_EQ(m_file.GetColumnCount(), 3);

    m_file.RemoveAll();
    Read("\n\n");
    EXPECT_EQ(visit(1, 0, 2), (Visited{{0, ""}, {1, ""}}));
    EXPECT_EQ(m_file.GetColumnCount(), 1);
}

} // namespace
