#include "platform/code_page.h"
#include "quiz/utf8_detector.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

// UTF-8 of a character of the basic plane.
std::string Utf8(char32_t c)
{
    if (c < 0x80)
        return std::string(1, static_cast<char>(c));
    const auto next = [](char32_t bits) { return static_cast<char>(0x80 | (bits & 0x3F)); };
    if (c < 0x800)
        return {static_cast<char>(0xC0 | c >> 6), next(c)};
    return {static_cast<char>(0xE0 | c >> 12), next(c >> 6), next(c)};
}

} // namespace

// Decoding the code page's characters is also what the fuzz target checks a
// UTF-8 file's conversion against; what is no character only shows here.
TEST(CodePageTest, DecodesCharactersAndEverythingElseAsDots)
{
    // The rows of user-defined characters, first and last. A lead byte before
    // a byte that cannot follow it leaves that byte standing; a well-formed
    // but unassigned pair is one dot; a tile holds one byte of an answer,
    // often a lone lead byte.
    EXPECT_EQ(DecodeCodePage932("\x90\xB3\x89\xF0:\x82\xAD\xB6\xF0\x40\xF9\xFC\xA1"), u"正解:く\uFF76\uE000\uE757\uFF61");
    EXPECT_EQ(DecodeCodePage932("x\x80\xA0\xFD\xFE\xFFy\xFD@\x82 ok\x85\x40z\x82"), u"x・・・・・y・@・ ok・z・");
}

// Which characters convert, to what, and where conversion stops: the fuzz
// target's seeds, each converted line read back against a plain reading.
TEST(CodePageTest, EncodesUtf8AsTheDesktopDoesAndUtf8IsToldFromIt)
{
    // Characters the code page holds twice: the desktop's choice, up to the
    // first character it lacks.
    std::string strOut;
    EXPECT_EQ(AppendUtf8AsCodePage932("ⅰⅠ纊a😀b", strOut), 10u);
    EXPECT_EQ(strOut, "\xFA\x40\x87\x54\xFA\x5C" "a");

    // Every character of the code page comes back as itself, or, for one of
    // NEC's or IBM's rows, as the code the desktop writes for it.
    size_t nLength = 0;
    for (int nCode = 0; nCode <= 0xFCFC; ++nCode) {
        const std::string strChar = nCode < 0x100 ? std::string(1, static_cast<char>(nCode))
                                                  : std::string{static_cast<char>(nCode >> 8), static_cast<char>(nCode)};
        const char32_t c = DecodeCodePage932Char(strChar, 0, nLength);
        if (c == kNoCharacter || nLength != strChar.size())
            continue;
        std::string strBack;
        ASSERT_EQ(AppendUtf8AsCodePage932(Utf8(c), strBack), std::string_view::npos) << nCode;
        EXPECT_EQ(DecodeCodePage932Char(strBack, 0, nLength), c) << nCode;
        EXPECT_TRUE(strBack == strChar || nCode >> 8 == 0x87 || nCode >= 0xED00) << nCode;
    }
    EXPECT_TRUE(DecodeUtf8Char("\xC2\x80", 0, nLength) == 0x80 && nLength == 2 &&
                DecodeUtf8Char("\xE0\xA0\x80", 0, nLength) == 0x800 && nLength == 3 &&
                DecodeUtf8Char("\xF4\x8F\xBF\xBF", 0, nLength) == 0x10FFFF && nLength == 4 &&
                DecodeUtf8Char("\x80", 0, nLength) == kNoCharacter)
        << "the first characters of two and three bytes, the last of four, a byte that only continues one";

    // Japanese in UTF-8 is told from the same text in the code page. Text of
    // every kind: kana, both levels of kanji, half-width katakana alone,
    // symbols, Greek and Cyrillic, a sample file's lines.
    for (const char* pszUtf8 : {"日本でいちばん高い山は？", "ﾈｺ,「猫」を半角カタカナで", "ｳｻｷﾞ ﾊﾟﾝﾀﾞ ｿﾞｳ ﾐｱ ﾂｶﾞﾙ",
                                "①②③㈱№ ※→←↑↓ ￥＄％＃＆＊＠「」『』【】", "ÅΩαβγ АБВб ≒≡∫√⊥∠∵",
                                "齋藤 髙橋 﨑 纊 漾 蕭 鬱 龠 熙", "図書館,本を借りるところは？\r", "2024年 ＡＢＣ 123 ｶﾀｶﾅ"}) {
        std::string strCodePage932;
        ASSERT_EQ(AppendUtf8AsCodePage932(pszUtf8, strCodePage932), std::string_view::npos) << pszUtf8;
        CUtf8Detector fromCodePage932;
        CUtf8Detector fromUtf8;
        fromCodePage932.Feed(strCodePage932);
        fromUtf8.Feed(pszUtf8);
        EXPECT_TRUE(!fromCodePage932.IsUtf8() && fromUtf8.IsUtf8()) << pszUtf8;
    }
}
