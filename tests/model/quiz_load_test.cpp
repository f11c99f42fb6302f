#include "fixed_chooser.h"
#include "platform/file_exception.h"
#include "platform/file_path.h"
#include "platform/named_pipe.h"
#include "platform/text_file.h"
#include "quiz/question_file_error.h"
#include "quiz/question_set.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

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

class QuizLoadTest : public ::testing::Test
{
protected:
    QuizLoadTest() { m_set.SetFileChooser(&m_chooser); }

    Records Get() const
    {
        Records records;
        for (int32_t i = 0; const CQuestion* p = m_set.GetAt(i); ++i)
            records.emplace_back(p->GetAnswer(), p->GetQuestion());
        return records;
    }

    CTempDir m_dir;
    CFixedChooser m_chooser;
    CQuestionSet m_set;
};

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
        // Code page 932 that reads as UTF-8 in part (ﾐｱ is б).
        {"\xD0\xB1,\x8E\x52\n", 0, {{"\xD0\xB1", "\x8E\x52"}}, 0, nullptr},
        {kBom + "A,B\r\nC,😀\r\n", 0, {}, 2, "「😀」(U+1F600)"},
        {"山,x\nA,🗻\n", 0, {}, 2, "「🗻」(U+1F5FB)"},
        {kBom + "CAT,\x82\xCB", 0, {}, 1, "0x82"},
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
                EXPECT_EQ(e.GetLine(), nBadLine) << e.what();
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
    CTextFile file;
    ASSERT_TRUE(file.Open(strPath));
    EXPECT_EQ(file.GetFilePath(), strPath);

    // The question set finds the name without asking the player.
    m_set.Load(strPath, 2);
    EXPECT_EQ(m_chooser.m_nShown, 0);
    EXPECT_EQ(Get(), (Records{{"CAT", "cat"}, {"DOG", "dog"}}));
}

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

    // Code page 932 bytes as they stand: kanji take two bytes, half-width
    // katakana one.
    const std::pair<const char*, const char*> firstAnswers[] = {
        {"kanji_reading.csv", "\x8E\x52"}, {"animals_katakana.csv", "\xC8\xBA"}, {"fruits_english.csv", "APPLE"},
        {"kanji_utf8.csv", "\x95\x78\x8E\x6D\x8E\x52"}};
    for (const auto& [pszFile, pszAnswer] : firstAnswers) {
        m_set.Load((samples / pszFile).string(), 5);
        EXPECT_EQ(m_set.GetAt(0)->GetAnswer(), pszAnswer) << pszFile;
    }
}

} // namespace
