#include "quiz/csv_file.h"
#include "quiz/split_string.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

Fields Split(const std::string& strLine, const std::string& strSeparators = ",")
{
    std::vector<std::string_view> views{"before"};
    SplitString(strLine, strSeparators, views);
    return Fields(views.begin() + 1, views.end());
}

// Quotes, spaces and a trailing comma on a question line: see the loader's test.
TEST(SplitStringTest, CutsAtEverySeparatorAndAppends)
{
    EXPECT_EQ(Split(""), Fields{});
    EXPECT_EQ(Split("a,,b"), (Fields{"a", "", "b"}));
    EXPECT_EQ(Split(",,"), (Fields{"", ""}));
    EXPECT_EQ(Split("a;b,c", ";,"), (Fields{"a", "b", "c"}));
    EXPECT_EQ(Split("a,b", ""), Fields{"a,b"});
}

class CsvFileTest : public ::testing::Test
{
protected:
    // The file's route to the bytes is the text file's concern.
    void Read(const std::string& strBytes)
    {
        m_file.OpenText(strBytes);
        EXPECT_TRUE(m_file.ReadAll());
    }

    CCsvFile m_file;
};

TEST_F(CsvFileTest, ColumnsAreRegisteredByIndexButFoundByPosition)
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
}

// How a table is read from one file is the fuzz target's to check, against a
// plain reading, over its seeds (one of them is "a,b\n\nc,d,e,f\nx,\n,,y\r\n")
// and whatever it finds. Here: reading a second file into the same table.
TEST_F(CsvFileTest, ReadingAgainReplacesTheCellsOfTheFirstLinesColumns)
{
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
    std::string strBytes;
    std::vector<Fields> expected;
    for (size_t i = 0; i < 60000; ++i) {
        const size_t nLength = i < lengths.size() ? lengths[i] : 10 + i % 40;
        Fields line{std::string(nLength, static_cast<char>('a' + i % 26)), "q" + std::to_string(i)};
        if (i % 7 == 3)
            line[0].clear();
        strBytes += line[0] + "," + line[1] + "\n";
        expected.push_back(line);
    }
    Read(strBytes);
    ASSERT_EQ(m_file.GetMaxRowCount(), 60000);
    for (int32_t r = 0; r < 60000; ++r) {
        ASSERT_EQ(m_file.GetCell(0, r), expected[r][0]) << r;
        ASSERT_EQ(m_file.GetCell(1, r), expected[r][1]) << r;
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
