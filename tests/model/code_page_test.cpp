#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

TEST(CodePageTest, DecodesAsciiKanaAndKanji)
{
    EXPECT_EQ(DecodeCodePage932(""), u"");
    // 0x5C is a backslash in this code page, not a yen sign.
    EXPECT_EQ(DecodeCodePage932("a\\b"), u"a\\b");
    EXPECT_EQ(DecodeCodePage932("\x90\xB3\x89\xF0:\x82\xAD\xB6"), u"正解:く\uFF76");
}

TEST(CodePageTest, NonCharactersBecomeDotsAndKeepTheRest)
{
    for (const char* psz : {"\x80", "\xA0", "\xFD", "\xFE", "\xFF"})
        EXPECT_EQ(DecodeCodePage932(std::string("x") + psz + "y"), u"x・y") << psz;
    // A tile holds one byte of an answer: often a lone lead byte.
    EXPECT_EQ(DecodeCodePage932("\x82"), u"・");
    // A lead byte before a byte that cannot follow it: that byte stands.
    EXPECT_EQ(DecodeCodePage932("\x82 ok"), u"・ ok");
    // A well-formed but unassigned pair is one dot, not two.
    EXPECT_EQ(DecodeCodePage932("\x85\x40z"), u"・z");
    // Broken text in the middle of a long line does not end it.
    const std::u16string decoded =
        DecodeCodePage932(std::string(300, 'a') + '\xFF' + std::string(300, 'b') + "\x82\xA0");
    EXPECT_EQ(decoded, std::u16string(300, u'a') + u'・' + std::u16string(300, u'b') + u'あ');
}
