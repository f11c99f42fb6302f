#include "platform/file_chooser.h"
#include "platform/file_exception.h"
#include "platform/file_path.h"
#include "platform/named_pipe.h"
#include "quiz/question_set.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Records = std::vector<std::pair<std::string, std::string>>; // answer, question

class FakeChooser : public CFileChooser
{
public:
    bool DoModal() override
    {
        ++m_nShown;
        return m_bConfirm;
    }
    std::string GetPathName() const override { return m_strPath; }

    bool m_bConfirm = true;
    std::string m_strPath;
    int m_nShown = 0;
};

class QuizLoadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("wrigglet_quiz_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        m_set.SetFileChooser(&m_chooser);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& strBytes)
    {
        const fs::path path = m_dir / ("q" + std::to_string(m_nFiles++) + ".csv");
        std::ofstream(path, std::ios::binary) << strBytes;
        return path.string();
    }

    Records Get() const
    {
        Records records;
        for (int32_t i = 0; const CQuestion* p = m_set.GetAt(i); ++i)
            records.emplace_back(p->GetAnswer(), p->GetQuestion());
        return records;
    }

    fs::path m_dir;
    int m_nFiles = 0;
    FakeChooser m_chooser;
    CQuestionSet m_set;
};

const std::string kEightLines = "A1,Q1\nA2,Q2\nA3,Q3\nA4,Q4\nA5,Q5\nA6,Q6\nA7,Q7\nA8,Q8";
const Records kFirstFive{{"A1", "Q1"}, {"A2", "Q2"}, {"A3", "Q3"}, {"A4", "Q4"}, {"A5", "Q5"}};

TEST_F(QuizLoadTest, PlaysTheFirstFiveLinesWhateverTheLineEnds)
{
    m_set.Load(Write(kEightLines), 5);
    EXPECT_EQ(Get(), kFirstFive);
    EXPECT_EQ(m_chooser.m_nShown, 0);
    EXPECT_NE(m_set.GetAt(4), nullptr);
    EXPECT_EQ(m_set.GetAt(5), nullptr);
    EXPECT_EQ(m_set.GetAt(-1), nullptr);

    m_set.Load(Write("A1,Q1\r\nA2,Q2\r\nA3,Q3\r\nA4,Q4\r\nA5,Q5\r\n"), 5);
    EXPECT_EQ(Get(), kFirstFive);

    m_set.Load(Write("A1,Q1\nA2,Q2\n"), 5);
    EXPECT_EQ(Get(), (Records{{"A1", "Q1"}, {"A2", "Q2"}, {"", ""}, {"", ""}, {"", ""}}));
}

TEST_F(QuizLoadTest, EveryLineAndByteCountsAsWritten)
{
    const std::string strNulFf("\0\xFF", 2);
    // No final line end; count 0 takes every line.
    m_set.Load(Write("\xEF\xBB\xBF"
                     "CAT,\x82\xCB\x82\xB1\n"
                     "\n"
                     "ABC\n"
                     ",What\n"
                     "ABC,Q,extra\n"
                     "\"x,y\",q\n"
                     " ABC , Q \n"
                     "X,\n" +
                     strNulFf + "," + strNulFf),
               0);
    EXPECT_EQ(Get(), (Records{{"\xEF\xBB\xBF"
                               "CAT",
                               "\x82\xCB\x82\xB1"},
                              {"", ""},
                              {"ABC", ""},
                              {"", "What"},
                              {"ABC", "Q"},
                              {"\"x", "y\""},
                              {" ABC ", " Q "},
                              {"X", ""},
                              {strNulFf, strNulFf}}));

    m_set.Load(Write(kEightLines), 0);
    EXPECT_EQ(Get().size(), 8u);
    // No line with a field: no question at all.
    m_set.Load(Write("\n\n"), 0);
    EXPECT_EQ(Get(), Records{});
    m_set.Load(Write(""), 5);
    EXPECT_EQ(Get(), Records(5));
}

TEST_F(QuizLoadTest, ReadsALineOfSeveralMegabytesWhole)
{
    const std::string strAnswer(3 * 1024 * 1024, 'A');
    const std::string strQuestion(2 * 1024 * 1024, 'Q');
    m_set.Load(Write(strAnswer + "," + strQuestion + "\nB,b\n"), 5);
    ASSERT_EQ(m_set.GetCount(), 5);
    EXPECT_TRUE(m_set.GetAt(0)->GetAnswer() == strAnswer);
    EXPECT_TRUE(m_set.GetAt(0)->GetQuestion() == strQuestion);
    EXPECT_EQ(m_set.GetAt(1)->GetAnswer(), "B");
}

TEST_F(QuizLoadTest, AFailedLoadKeepsTheQuestions)
{
    const std::string strFirst = Write(kEightLines);
    m_set.Load(strFirst, 5);
    const std::string strMissing = (m_dir / "missing.csv").string();

    // The dialog is shown for a name that does not exist and cancelled.
    m_chooser.m_bConfirm = false;
    m_set.Load(strMissing, 5);
    EXPECT_EQ(m_chooser.m_nShown, 1);
    EXPECT_EQ(Get(), kFirstFive);
    m_set.Load("", 5);
    EXPECT_EQ(Get(), kFirstFive);

    // Confirmed, but the chosen file cannot be opened.
    m_chooser.m_bConfirm = true;
    m_chooser.m_strPath = strMissing;
    m_set.Load(strMissing, 5);
    EXPECT_EQ(Get(), kFirstFive);

    // Things that are not regular files are refused, also when chosen.
    m_chooser.m_strPath = m_dir.string();
    m_set.Load("", 5);
    EXPECT_EQ(Get(), kFirstFive);
    m_set.Load(m_dir.string(), 5);
    EXPECT_EQ(Get(), kFirstFive);
    m_set.Load(NullDevicePath(), 5);
    EXPECT_EQ(Get(), kFirstFive);

    // Without a dialog nothing can be chosen.
    CQuestionSet other;
    other.Load(strMissing, 5);
    EXPECT_EQ(other.GetCount(), 0);

    // A chosen file replaces all five.
    m_chooser.m_strPath = Write("N1,M1\nN2,M2\nN3,M3\nN4,M4\nN5,M5\nN6,M6\n");
    m_set.Load(strMissing, 5);
    EXPECT_EQ(Get(), (Records{{"N1", "M1"}, {"N2", "M2"}, {"N3", "M3"}, {"N4", "M4"}, {"N5", "M5"}}));
}

// Should Load open the pipe for reading, its writer lets it through instead
// of hanging, and Load then finds an empty file.
TEST_F(QuizLoadTest, APipeIsRefusedWithoutWaiting)
{
    m_set.Load(Write(kEightLines), 5);
    {
        const CNamedPipe pipe(PathToString(m_dir));
        ASSERT_TRUE(pipe.IsValid());
        m_set.Load(pipe.GetPath(), 5);
    }
    EXPECT_EQ(Get(), kFirstFive);
    {
        const CNamedPipe pipe(PathToString(m_dir));
        ASSERT_TRUE(pipe.IsValid());
        m_chooser.m_strPath = pipe.GetPath();
        m_set.Load("", 5);
    }
    EXPECT_EQ(Get(), kFirstFive);
}

TEST_F(QuizLoadTest, AReadErrorIsThrownAndKeepsTheQuestions)
{
    int nError = 0;
    const std::string strPath = UnreadableFilePath(nError);
    if (strPath.empty())
        GTEST_SKIP() << "no file here fails to read";
    m_set.Load(Write(kEightLines), 5);
    EXPECT_THROW(m_set.Load(strPath, 5), CFileException);
    EXPECT_EQ(Get(), kFirstFive);
}

TEST_F(QuizLoadTest, SampleFilesGiveFivePlayableQuestions)
{
    const fs::path samples = fs::path(__FILE__).parent_path() / ".." / ".." / "questions";
    int nFiles = 0;
    for (const auto& entry : fs::directory_iterator(samples)) {
        if (entry.path().extension() != ".csv")
            continue;
        ++nFiles;
        CQuestionSet set;
        set.Load(entry.path().string(), 0);
        EXPECT_GE(set.GetCount(), 5) << entry.path();
        for (int32_t i = 0; const CQuestion* p = set.GetAt(i); ++i) {
            const std::string strAnswer = p->GetAnswer();
            EXPECT_FALSE(strAnswer.empty()) << entry.path() << i;
            EXPECT_LE(strAnswer.size(), 14u) << entry.path() << i;
            EXPECT_FALSE(p->GetQuestion().empty()) << entry.path() << i;
            EXPECT_EQ(strAnswer.find('\r'), std::string::npos);
        }
    }
    EXPECT_GE(nFiles, 3);

    // Code page 932 bytes as they stand: kanji take two bytes, half-width
    // katakana one.
    CQuestionSet set;
    set.Load((samples / "kanji_reading.csv").string(), 5);
    EXPECT_EQ(set.GetAt(0)->GetAnswer(), "\x8E\x52");
    set.Load((samples / "animals_katakana.csv").string(), 5);
    EXPECT_EQ(set.GetAt(0)->GetAnswer(), "\xC8\xBA");
    set.Load((samples / "fruits_english.csv").string(), 5);
    EXPECT_EQ(set.GetAt(0)->GetAnswer(), "APPLE");
}

} // namespace
