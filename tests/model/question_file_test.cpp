#include "fixed_chooser.h"
#include "named_pipe.h"
#include "platform/file_exception.h"
#include "platform/file_path.h"
#include "quiz/csv_file.h"
#include "quiz/question_file_error.h"
#include "quiz/question_set.h"
#include "quiz/split_string.h"
#include "special_files.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Strings = std::vector<std::string>;
using Records = std::vector<std::pair<std::string, std::string>>; // answer, question

// A question file read at each layer: the lines of a text file, a table of
// cells, the questions. Bytes come from a file of them or from memory, and
// read the same either way.
class QuestionFileTest : public ::testing::Test
{
protected:
    QuestionFileTest() { m_set.SetFileChooser(&m_chooser); }

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

    Records Get() const
    {
        Records records;
        for (int32_t i = 0; const CQuestion* p = m_set.GetAt(i); ++i)
            records.emplace_back(p->GetAnswer(), p->GetQuestion());
        return records;
    }

    CTempDir m_dir;
    CCsvFile m_file;
    CFixedChooser m_chooser;
    CQuestionSet m_set;
};
using TextFileTest = QuestionFileTest;
using CsvFileTest = QuestionFileTest;
using QuizLoadTest = QuestionFileTest;

// Which bytes end a line, and that a last line needs none: see the fuzz
// target's seeds, read from memory as from a file.
TEST_F(TextFileTest, EveryByteIsKeptAcrossBuffersAndReadingEndsCleanly)
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
        EXPECT_EQ(ReadLines(strBytes + "\n" + strSplit + "\r\n" + strLong + "\r\nend", bFromFile),
                  (Strings{strBytes, strSplit, strLong, "end"}));
        std::string strLine = "stale";
        EXPECT_FALSE(m_file.ReadString(strLine));
        EXPECT_EQ(strLine, "");
        m_file.SeekToBegin();
        EXPECT_TRUE(m_file.ReadString(strLine));
        EXPECT_EQ(strLine, strBytes);
        EXPECT_EQ(ReadLines("\n", bFromFile), Strings{""});
        EXPECT_EQ(ReadLines("", bFromFile), Strings{});
        m_file.Close();
        EXPECT_FALSE(m_file.ReadString(strLine));
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

// Empty lines and fields, quotes and spaces in a question file: see the fuzz
// target's seeds.
TEST(SplitStringTest, CutsAtEverySeparatorAndAppends)
{
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
    Read(std::string("\n\0\n\n", 4));
    EXPECT_TRUE(m_file.HasControlBytes());
    Read("a,b\nc,d\ne\n");
    EXPECT_EQ(m_file.GetMaxRowCount(), 3);
    EXPECT_FALSE(m_file.HasControlBytes());
    Read("x\nyz\n");
    EXPECT_EQ(m_file.GetRowCount(0), 2);
    EXPECT_EQ(m_file.GetCell(0, 1), "yz");
    EXPECT_EQ(m_file.GetCell(0, 2), "");
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
    EXPECT_EQ(m_file.GetRowCount(2), 60000) << "a column made now has a cell per line";
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

const std::string kEightLines = "A1,Q1\nA2,Q2\nA3,Q3\nA4,Q4\nA5,Q5\nA6,Q6\nA7,Q7\nA8,Q8";
const Records kFirstFive{{"A1", "Q1"}, {"A2", "Q2"}, {"A3", "Q3"}, {"A4", "Q4"}, {"A5", "Q5"}};

TEST_F(QuizLoadTest, LoadsFromFileOrMemoryAndAFailingLineIsNamedAndKeepsTheQuestions)
{
    const std::string kBom = "\xEF\xBB\xBF";
    // {file, lines to load (0: every line), records, or with none the line
    // that fails and what its message names}. Line ends, fields, short and
    // empty files, and which files are UTF-8: the fuzz target's seeds, read
    // against a plain reading.
    const std::tuple<std::string, int32_t, Records, int32_t, const char*> cases[] = {
        {kEightLines, 5, kFirstFive, 0, nullptr},
        // An answer of 1,000 bytes and a line of megabytes are read whole;
        // one byte more of an answer loads nothing.
        {std::string(1000, 'A') + "," + std::string(5 * 1024 * 1024, 'Q') + "\nB,b\n", 1,
         {{std::string(1000, 'A'), std::string(5 * 1024 * 1024, 'Q')}}, 0, nullptr},
        {"A,Q\n\n" + std::string(1001, 'x') + ",q\n", 5, {}, 3, "1001"},
        // A binary file's control bytes are told with what refuses it.
        {std::string("\x7F" "ELF\x02\x01\x01\0", 8) + std::string(1000, 'x'), 5, {}, 1, "1008"},
        // Code page 932 that reads as UTF-8 in part (ﾐｱ is б), or whole but
        // for a stray continuation byte or C1 controls at either end of
        // their range (U+0080, U+009F), before a character of three bytes.
        {"\xD0\xB1,\x8E\x52\n", 0, {{"\xD0\xB1", "\x8E\x52"}}, 0, nullptr},
        {"\x80,\xE3\x81\x82\n", 0, {{"\x80", "\xE3\x81\x82"}}, 0, nullptr},
        {"\xC2\x80,\xE3\x81\x82\n", 0, {{"\xC2\x80", "\xE3\x81\x82"}}, 0, nullptr},
        {"\xC2\x9F,\xE3\x81\x82\n", 0, {{"\xC2\x9F", "\xE3\x81\x82"}}, 0, nullptr},
        {kBom + "A,B\r\nC,😀\r\n", 0, {}, 2, "「😀」(U+1F600)"},
        {"山,x\nA,🗻\n", 0, {}, 2, "「🗻」(U+1F5FB)"},
        {kBom + "CAT,\x82\xCB", 0, {}, 1, "0x82"},
        // Nothing to play (line -1: the file as a whole) replaces nothing.
        {"", 5, {}, -1, "答えのある問題がありません"},
        {kBom, 5, {}, -1, "答えのある"},
        {",,,\n,Q\n", 0, {}, -1, "答えのある"},
    };
    // From a file and from memory alike; a failure keeps the questions.
    for (const auto& [strFile, nCount, records, nBadLine, pszNamed] : cases) {
        for (bool bFromFile : {true, false}) {
            m_set.LoadText(kEightLines, 5);
            try {
                bFromFile ? m_set.Load(m_dir.Write(strFile), nCount) : m_set.LoadText(strFile, nCount);
                EXPECT_TRUE(Get() == records && nBadLine == 0) << strFile.substr(0, 80);
            } catch (const CQuestionFileError& e) {
                ASSERT_NE(nBadLine, 0) << e.what();
                EXPECT_EQ(e.GetLine(), std::max(nBadLine, 0)) << e.what();
                EXPECT_EQ(e.HasControlBytes(), strFile.find('\0') != std::string::npos) << e.what();
                EXPECT_NE(std::string(e.what()).find(pszNamed), std::string::npos) << e.what();
                EXPECT_EQ(Get(), kFirstFive) << e.what();
            }
        }
    }
    EXPECT_EQ(m_set.GetAt(-1), nullptr);
    EXPECT_EQ(m_chooser.m_nShown, 0);
}

TEST_F(QuizLoadTest, AFailedLoadIsThrownAndKeepsTheQuestions)
{
    m_set.Load(m_dir.Write(kEightLines), 5);
    const std::string strMissing = (m_dir.Path() / "missing.csv").string();

    // The dialog is shown for a name that does not exist and cancelled.
    m_chooser.m_bConfirm = false;
    m_set.Load(strMissing, 5);
    m_set.Load("", 5);
    EXPECT_EQ(m_chooser.m_nShown, 2);
    EXPECT_EQ(Get(), kFirstFive);

    // Given or chosen, what cannot be opened, is no regular file or fails to
    // read is thrown with its name and, where the system says the same
    // everywhere, with the reason. Only the last opens as a text file. A
    // pipe's writer lets an open for reading through instead of hanging.
    m_chooser.m_bConfirm = true;
    const CNamedPipe pipe(PathToString(m_dir.Path()));
    ASSERT_TRUE(pipe.IsValid());
    int nError = 0;
    const std::string strUnreadable = UnreadableFilePath(nError);
    using EKind = CFileException::EKind;
    const std::tuple<std::string, EKind, int> failures[] = { // name, reason, OS error (-1: any reason)
        {m_dir.Path().string(), EKind::NotRegular, 0}, {strMissing, EKind::Open, ENOENT}, {std::string(), EKind::Open, -1},
        {m_dir.Write("a") + std::string(1, '\0') + "b", EKind::Open, -1}, {NullDevicePath(), EKind::NotRegular, -1},
        {pipe.GetPath(), EKind::NotRegular, -1}, {strUnreadable, EKind::Read, strUnreadable.empty() ? -1 : nError}};
    CTextFile file;
    file.OpenText("text");
    for (const auto& [strBad, kind, nOsError] : failures) {
        const bool bOpens = kind == EKind::Read && nOsError >= 0;
        EXPECT_TRUE(file.Open(strBad) == bOpens && file.IsOpen() == bOpens) << strBad;
        m_chooser.m_strPath = strBad;
        for (const std::string& strNamed : {strBad, std::string()}) {
            try {
                m_set.Load(strNamed, 5);
                ADD_FAILURE() << strBad << " was loaded";
            } catch (const CFileException& e) {
                EXPECT_EQ(e.GetPath(), strBad);
                EXPECT_TRUE(nOsError < 0 || (e.GetKind() == kind && e.GetOsError() == nOsError)) << e.what();
            }
            EXPECT_EQ(Get(), kFirstFive) << strBad;
        }
    }

    // Without a dialog nothing can be chosen.
    CQuestionSet other;
    other.Load(strMissing, 5);
    EXPECT_EQ(other.GetCount(), 0);

    // A chosen file replaces all five.
    m_chooser.m_strPath = m_dir.Write("N1,M1\nN2,M2\nN3,M3\nN4,M4\nN5,M5\nN6,M6\n");
    m_set.Load(strMissing, 5);
    EXPECT_EQ(Get(), (Records{{"N1", "M1"}, {"N2", "M2"}, {"N3", "M3"}, {"N4", "M4"}, {"N5", "M5"}}));
}

// Names as the file chooser returns them, with characters beyond ASCII in the
// folder and in the file name.
TEST_F(QuizLoadTest, OpensFilesWithJapaneseNames)
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

    // The question set finds the name without asking the player.
    m_set.Load(strPath, 2);
    EXPECT_EQ(m_chooser.m_nShown, 0);
    EXPECT_EQ(Get(), (Records{{"CAT", "cat"}, {"DOG", "dog"}}));
}

// Their bytes, code page 932 as they stand or UTF-8 converted, are also the
// fuzz target's seeds.
TEST_F(QuizLoadTest, SampleFilesGiveFivePlayableQuestions)
{
    const fs::path samples = fs::path(__FILE__).parent_path() / ".." / ".." / "questions";
    int nFiles = 0;
    for (const auto& entry : fs::directory_iterator(samples)) {
        if (entry.path().extension() != ".csv")
            continue;
        ++nFiles;
        m_set.Load(entry.path().string(), 0);
        EXPECT_GE(m_set.GetCount(), 5) << entry.path();
        for (const auto& [strAnswer, strQuestion] : Get()) {
            EXPECT_TRUE(!strAnswer.empty() && strAnswer.size() <= 14u && !strQuestion.empty() &&
                        strAnswer.find('\r') == std::string::npos)
                << entry.path() << ": " << strAnswer;
        }
    }
    EXPECT_GE(nFiles, 4);
}

} // namespace
