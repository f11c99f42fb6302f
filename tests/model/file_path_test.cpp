#include "fixed_chooser.h"
#include "platform/file_path.h"
#include "platform/text_file.h"
#include "quiz/question_set.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// Names as the file chooser returns them, with characters beyond ASCII in the
// folder and in the file name.
TEST(FilePathTest, OpensFilesWithJapaneseNames)
{
    const CTempDir dir;
    const std::string strDir = PathToString(dir.Path()) + "/\xE3\x82\xAF\xE3\x82\xA4\xE3\x82\xBA"; // クイズ
    const std::string strPath = strDir + "/\xE5\x95\x8F\xE9\xA1\x8C.csv";                            // 問題.csv
    fs::create_directories(PathFromString(strDir));
    std::ofstream(PathFromString(strPath), std::ios::binary) << "CAT,cat\nDOG,dog\n";

    // The name on disk is made of the characters meant, not of their bytes.
    EXPECT_TRUE(fs::is_regular_file(dir.Path() / fs::path(u"\u30AF\u30A4\u30BA") / fs::path(u"\u554F\u984C.csv")));
    EXPECT_EQ(PathToString(PathFromString(strPath)), strPath);
    EXPECT_TRUE(FileExists(strDir));
    EXPECT_FALSE(FileExists(strDir + "/\xE5\x95\x8F.csv"));

    CTextFile file;
    ASSERT_TRUE(file.Open(strPath));
    EXPECT_EQ(file.GetFilePath(), strPath);

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
