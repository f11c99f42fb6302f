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
#include <tuple>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Records = std::vector<std::pair<std::string, std::string>>; // answer, question

// A question file read at each layer: the lines of a text file, a table of
// cells, the questions. How bytes in memory read, at every layer, is the
// fuzz target's to check against a plain reading, over its seeds (line ends,
// fields, empty lines and files, which files are UTF-8, which characters
// convert, which lines fail) and whatever it finds; here, what reading a
// file adds, what tables keep of long texts, and what a failure tells.
class QuestionFileTest : public ::testing::Test
{
protected:
    QuestionFileTest() { m_set.SetFileChooser(&m_chooser); }

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

// A CR that ends the first 64 KiB read and its LF that starts the next, a
// line of megabytes with a NUL in it, and a last line without a line end,
// from a file as from memory.
TEST_F(TextFileTest, LinesCrossBuffersAndReadingEndsCleanly)
{
    const std::string strSplit(64 * 1024 - 1, 'x');
    std::string strLong(5 * 1024 * 1024 + 3, '\xFF');
    strLong[1234567] = '\0';
    const std::string strBytes = strSplit + "\r\n" + strLong + "\r\nend";
    for (bool bFromFile : {true, false}) {
        ASSERT_TRUE(bFromFile ? m_file.Open(m_dir.Write(strBytes)) : (m_file.OpenText(strBytes), true));
        std::vector<std::string> lines;
        for (std::string strLine; m_file.ReadString(strLine);)
            lines.push_back(strLine);
        EXPECT_TRUE(lines == (std::vector<std::string>{strSplit, strLong, "end"})) << lines.size() << " lines";
        std::string strLine = "stale";
        EXPECT_TRUE(!m_file.ReadString(strLine) && strLine.empty());
        m_file.SeekToBegin();
        EXPECT_TRUE(m_file.ReadString(strLine) && strLine == strSplit);
        m_file.Close();
        EXPECT_FALSE(m_file.ReadString(strLine));
    }
}

TEST_F(CsvFileTest, ColumnsAreRegisteredByIndexButFoundByPositionAndReadingAgainRefillsThem)
{
    const auto read = [this](const std::string& strBytes) {
        m_file.OpenText(strBytes);
        EXPECT_TRUE(m_file.ReadAll());
    };
    read("a,b\nc,d\n");
    // Index 7 gets a new column of empty cells at position 2 ...
    CCsvFile::CColumn* pSeventh = m_file.GetColumn(7);
    ASSERT_NE(pSeventh, nullptr);
    EXPECT_EQ(pSeventh->GetCount(), 2);
    // ... and is looked up at position 7, where there is none.
    EXPECT_TRUE(m_file.GetColumn(7) == nullptr && m_file.GetRowCount(7) == 0);
    // Index 2 is free: asking creates a fourth column, asking again finds the
    // column at position 2, which is the one made for index 7.
    EXPECT_NE(m_file.GetColumn(2), pSeventh);
    EXPECT_EQ(m_file.GetColumn(2), pSeventh);
    EXPECT_EQ(m_file.GetColumnCount(), 4);
    // The free indices below the count get columns too, and it still ends.
    EXPECT_EQ(m_file.GetMaxRowCount(), 2);
    EXPECT_EQ(m_file.GetColumnCount(), 5);
    // Every cell goes, including those of the column made for index 7.
    m_file.RemoveAll();
    EXPECT_EQ(m_file.GetColumn(0), nullptr);
    EXPECT_EQ(m_file.GetColumnCount() + m_file.GetMaxRowCount(), 0);

    // Reading again replaces the cells of the first line's columns, and
    // tells control bytes of this reading only.
    read(std::string("\n\0\n\n", 4));
    EXPECT_TRUE(m_file.HasControlBytes());
    read("a,b\nc,d\ne\n");
    EXPECT_EQ(m_file.GetMaxRowCount(), 3);
    EXPECT_FALSE(m_file.HasControlBytes());
    read("x\nyz\n");
    EXPECT_EQ(m_file.GetRowCount(0), 2);
    EXPECT_EQ(m_file.GetCell(0, 1), "yz");
    EXPECT_EQ(m_file.GetCell(0, 2), "");
    EXPECT_EQ(m_file.GetCell(1, 0), "b") << "a column the first line lacks keeps its cells";

    // Lines may be cut at any of several separators, after what is there.
    std::vector<std::string_view> fields{"kept"};
    SplitString("a;b,,c", ";,", fields);
    EXPECT_EQ(fields, (std::vector<std::string_view>{"kept", "a", "b", "", "c"}));
}

const std::string kEightLines = "A1,Q1\nA2,Q2\nA3,Q3\nA4,Q4\nA5,Q5\nA6,Q6\nA7,Q7\nA8,Q8";
const Records kFirstFive{{"A1", "Q1"}, {"A2", "Q2"}, {"A3", "Q3"}, {"A4", "Q4"}, {"A5", "Q5"}};

TEST_F(QuizLoadTest, LoadsFromFileOrMemoryAndAFailingLineIsNamedAndKeepsTheQuestions)
{
    // Every line into the table: texts around the steps of a cell's stored
    // length, one far beyond a chunk's quarter, empty ones, and enough lines
    // to fill several chunks.
    Records many;
    std::string strMany;
    for (size_t i = 0; i < 60000; ++i) {
        const size_t lengths[] = {1, 127, 128, 16383, 16384, 400000};
        many.emplace_back(std::string(i % 7 == 6 ? 0 : 10 + i % 40, static_cast<char>('a' + i % 26)),
                          i < 6 ? std::string(lengths[i], 'q') : "q" + std::to_string(i));
        strMany += many.back().first + "," + many.back().second + "\n";
    }
    // {file, lines to load (0: every line), records, or with none the line
    // that fails (-1: the file as a whole) and what its message names}.
    const std::string kBom = "\xEF\xBB\xBF";
    const std::tuple<std::string, int32_t, Records, int32_t, const char*> cases[] = {
        {strMany, 0, many, 0, nullptr},
        // An answer of 1,000 bytes and a line of megabytes are read whole;
        // one byte more of an answer loads nothing. A binary file's control
        // bytes are told with what refuses it.
        {std::string(1000, 'A') + "," + std::string(5 * 1024 * 1024, 'Q') + "\nB,b\n", 1,
         {{std::string(1000, 'A'), std::string(5 * 1024 * 1024, 'Q')}}, 0, nullptr},
        {std::string("\x7F" "ELF\x02\x01\x01\0", 8) + std::string(993, 'x'), 5, {}, 1, "1001"},
        // A character the code page lacks, after one converted before it on
        // its line; bytes that are no UTF-8; nothing to play.
        {"山,x\n山🗻\n", 0, {}, 2, "「🗻」(U+1F5FB)"},
        {kBom + "CAT,\x82\xCB", 5, {}, 1, "0x82"},
        {"", 5, {}, -1, "答えのある問題がありません"},
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
}

TEST_F(QuizLoadTest, AFailedLoadIsThrownAndKeepsTheQuestionsAndJapaneseNamesOpen)
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
    // everywhere, with the reason. A pipe's writer lets an open for reading
    // through instead of hanging.
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
    for (const auto& [strBad, kind, nOsError] : failures) {
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

    // Names as the file chooser returns them, with characters beyond ASCII
    // in the folder and in the file name: made of the characters meant, not
    // of their bytes. A chosen file replaces all five; named, it is found
    // without asking the player.
    const std::string strDir = PathToString(m_dir.Path()) + "/\xE3\x82\xAF\xE3\x82\xA4\xE3\x82\xBA"; // クイズ
    const std::string strPath = strDir + "/\xE5\x95\x8F\xE9\xA1\x8C.csv";                              // 問題.csv
    fs::create_directories(PathFromString(strDir));
    std::ofstream(PathFromString(strPath), std::ios::binary) << "N1,M1\nN2,M2\nN3,M3\nN4,M4\nN5,M5\nN6,M6\n";
    EXPECT_TRUE(fs::is_regular_file(m_dir.Path() / fs::path(u"\u30AF\u30A4\u30BA") / fs::path(u"\u554F\u984C.csv")));
    EXPECT_EQ(PathToString(PathFromString(strPath)), strPath);
    const Records kChosen{{"N1", "M1"}, {"N2", "M2"}, {"N3", "M3"}, {"N4", "M4"}, {"N5", "M5"}};
    m_chooser.m_strPath = strPath;
    m_set.Load(strMissing, 5);
    EXPECT_EQ(Get(), kChosen);
    const int nShown = m_chooser.m_nShown;
    m_set.LoadText(kEightLines, 5);
    m_set.Load(strPath, 5);
    EXPECT_EQ(m_chooser.m_nShown, nShown);
    EXPECT_EQ(Get(), kChosen);
}

// Their bytes, code page 932 as they stand or UTF-8 converted, are also the
// fuzz target's seeds.
TEST_F(QuizLoadTest, SampleFilesGiveFivePlayableQuestions)
{
    int nFiles = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(__FILE__).parent_path() / ".." / ".." / "questions")) {
        if (entry.path().extension() != ".csv")
            continue;
        ++nFiles;
        m_set.Load(entry.path().string(), 0);
        EXPECT_GE(m_set.GetCount(), 5) << entry.path();
        for (const auto& [strAnswer, strQuestion] : Get())
            EXPECT_TRUE(!strAnswer.empty() && strAnswer.size() <= 14u && !strQuestion.empty() &&
                        strAnswer.find('\r') == std::string::npos) << entry.path() << ": " << strAnswer;
    }
    EXPECT_GE(nFiles, 4);
}

} // namespace
