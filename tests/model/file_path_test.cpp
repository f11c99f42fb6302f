#include "platform/file_chooser.h"
#include "platform/file_path.h"
#include "platform/text_file.h"
#include "quiz/question_set.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

namespace fs = std::filesystem;

class NoChooser : public CFileChooser
{
public:
    bool DoModal() override
    {
        ++m_nShown;
        return false;
    }
    std::string GetPathName() const override { return std::string(); }

    int m_nShown = 0;
};

// Names as the file chooser returns them, with characters beyond ASCII in the
// folder and in the file name.
TEST(FilePathTest, OpensFilesWithJapaneseNames)
{
    const fs::path dir = fs::temp_directory_path() / ("wrigglet_path_" + std::to_string(std::random_device{}()));
    const std::string strDir = PathToString(dir) + "/\xE3\x82\xAF\xE3\x82\xA4\xE3\x82\xBA"; // クイズ
    const std::string strPath = strDir + "/\xE5\x95\x8F\xE9\xA1\x8C.csv";                    // 問題.csv
    fs::create_directories(PathFromString(strDir));
    std::ofstream(PathFromString(strPath), std::ios::binary) << "CAT,cat\nDOG,dog\n";

    // The name on disk is made of the characters meant, not of their bytes.
    EXPECT_TRUE(fs::is_regular_file(dir / fs::path(u"\u30AF\u30A4\u30BA") / fs::path(u"\u554F\u984C.csv")));
    EXPECT_EQ(PathToString(PathFromString(strPath)), strPath);
    EXPECT_TRUE(FileExists(strPath));
    EXPECT_TRUE(FileExists(strDir));
    EXPECT_FALSE(FileExists(strDir + "/\xE5\x95\x8F.csv"));

    CTextFile file;
    ASSERT_TRUE(file.Open(strPath));
    std::string strLine;
    ASSERT_TRUE(file.ReadString(strLine));
    EXPECT_EQ(strLine, "CAT,cat");
    EXPECT_EQ(file.GetFilePath(), strPath);
    file.Close();
    EXPECT_FALSE(file.Open(strDir));

    // The question set finds the name without asking the player.
    NoChooser chooser;
    CQuestionSet set;
    set.SetFileChooser(&chooser);
    set.Load(strPath, 2);
    EXPECT_EQ(chooser.m_nShown, 0);
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.GetAt(1)->GetAnswer(), "DOG");

    fs::remove_all(dir);
}

} // namespace
