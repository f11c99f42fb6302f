#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <string>

TEST(CodePageTest, DecodesAsciiKanaAndKanji)
{
    EXPECT_EQ(DecodeCodePage932("Start"), u"Start");
    EXPECT_EQ(DecodeCodePage932(""), u"");
    // 0x5C is a backslash in this code page, not a yen sign.
    EXPECT_EQ(DecodeCodePage932("a\\b"), u"a\\b");
    EXPECT_EQ(DecodeCodePage932("\x82\xAD\x82\xCB"), u"くね");
    EXPECT_EQ(DecodeCodePage932("\xB6\xC5"), u"\uFF76\uFF85") << "half-width katakana";
    EXPECT_EQ(DecodeCodePage932("\x90\xB3\x89\xF0:A"), u"正解:A");
    EXPECT_EQ(DecodeCodePage932("\x5C\x82\xA0"), u"\\あ") << "ASCII before a pair";
}

TEST(CodePageTest, NonCharactersBecomeDotsAndKeepTheRest)
{
    // Bytes that are never a character on their own.
    for (const char* psz : {"\x80", "\xA0", "\xFD", "\xFE", "\xFF"}) {
        SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(psz[0])));
        EXPECT_EQ(DecodeCodePage932(std::string("x") + psz + "y"), u"x・y");
    }
    // A tile holds one byte of an answer: a lone lead byte.
    EXPECT_EQ(DecodeCodePage932("\x82"), u"・");
    EXPECT_EQ(DecodeCodePage932("ab\x82"), u"ab・");
    // A lead byte before a byte that cannot follow it: the next byte stands.
    EXPECT_EQ(DecodeCodePage932("\x82 ok"), u"・ ok");
    EXPECT_EQ(DecodeCodePage932("\x82\x7F" "z"), u"・\x7Fz");
    // A well-formed but unassigned pair is one dot, not two.
    EXPECT_EQ(DecodeCodePage932("\x85\x40" "z"), u"・z");
    // Broken text in the middle of a long line does not end it.
    std::string strLong(300, 'a');
    strLong += '\xFF';
    strLong += std::string(300, 'b');
    strLong += "\x82\xA0";
    const std::u16string decoded = DecodeCodePage932(strLong);
    ASSERT_EQ(decoded.size(), 602u);
    EXPECT_EQ(decoded[300], u'・');
    EXPECT_EQ(decoded[600], u'b');
    EXPECT_EQ(decoded[601], u'あ');
}
