#include "platform/code_page.h"
#include "quiz/utf8_detector.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

namespace {

// UTF-8 of a character of the basic plane.
std::string Utf8(char32_t c)
{
    if (c < 0x80)
        return std::string(1, static_cast<char>(c));
    if (c < 0x800)
        return {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    return {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
}

} // namespace

TEST(CodePageTest, DecodesCharactersAndEverythingElseAsDots)
{
    const std::pair<std::string, std::u16string> cases[] = {
        // 0x5C is a backslash in this code page, not a yen sign.
        {"a\\b", u"a\\b"},
        {"\x90\xB3\x89\xF0:\x82\xAD\xB6", u"正解:く\uFF76"},
        {"x\x80\xA0\xFD\xFE\xFFy\xFD@", u"x・・・・・y・@"},
        // The rows of user-defined characters, first and last.
        {"\xF0\x40\xF9\xFC", u"\uE000\uE757"},
        // A tile holds one byte of an answer: often a lone lead byte.
        {"\x82", u"・"},
        // A lead byte before a byte that cannot follow it: that byte stands.
        {"\x82 ok", u"・ ok"},
        // A well-formed but unassigned pair is one dot, not two.
        {"\x85\x40z", u"・z"},
        // Broken text in the middle of a long line does not end it.
        {std::string(300, 'a') + '\xFF' + std::string(300, 'b') + "\x82\xA0",
         std::u16string(300, u'a') + u'・' + std::u16string(300, u'b') + u'あ'},
    };
    for (const auto& [strBytes, expected] : cases)
        EXPECT_EQ(DecodeCodePage932(strBytes), expected) << strBytes;
}

TEST(CodePageTest, EncodesUtf8AndStopsAtWhatTheCodePageLacksAndUtf8IsToldFromIt)
{
    constexpr size_t npos = std::string_view::npos;
    const struct
    {
        std::string strUtf8, strExpected;
        size_t nBad;
    } cases[] = {
        {"a\\~", "a\\~", npos},
        {"正解:くｱﾐб", "\x90\xB3\x89\xF0:\x82\xAD\xB1\xD0\x84\x71", npos},
        // Characters the code page holds twice: the desktop's choice.
        {"∵ⅰⅠ￢纊", "\x81\xE6\xFA\x40\x87\x54\x81\xCA\xFA\x5C", npos},
        // Other tables' forms of its characters, and user-defined ones.
        {"〜−¥‖Å¢£¬—‾\uE000\uE757", "\x81\x60\x81\x7C\x5C\x81\x61\x81\xF0\x81\x91\x81\x92\x81\xCA\x81\x5C\x7E\xF0\x40\xF9\xFC", npos},
        {"a😀b", "a", 1}, {"a\xFF", "a", 1}, {"x\x80", "x", 1}, {"\uE758", "", 0},
        // U+0080 and U+10000, the first past ASCII and past the basic plane.
        {"\xC2\x80", "", 0}, {"\xF0\x90\x80\x80", "", 0},
        // Cut short, overlong, a surrogate, past U+10FFFF.
        {"\xE3\x81", "", 0}, {"\xC0\xAF", "", 0}, {"\xED\xA0\x80", "", 0}, {"\xF4\x90\x80\x80", "", 0},
    };
    size_t nLength = 0;
    EXPECT_TRUE(DecodeUtf8Char("\xF0\x90\x80\x80", 0, nLength) == 0x10000 && nLength == 4);
    for (const auto& c : cases) {
        std::string strOut;
        EXPECT_EQ(AppendUtf8AsCodePage932(c.strUtf8, strOut), c.nBad) << c.strUtf8;
        EXPECT_EQ(strOut, c.strExpected) << c.strUtf8;
        // In place: converted, or the UTF-8 still there from the failure on.
        std::string strInPlace = c.strUtf8;
        EXPECT_EQ(ConvertUtf8ToCodePage932(strInPlace), c.nBad) << c.strUtf8;
        EXPECT_EQ(strInPlace.substr(c.nBad == npos ? 0 : c.nBad), c.nBad == npos ? c.strExpected : c.strUtf8.substr(c.nBad));
    }

    // Every character of the code page comes back as itself, or, for one of
    // NEC's or IBM's rows, as the code the desktop writes for it.
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

    // Japanese in UTF-8 is told from the same text in the code page. Text of
    // every kind: kana, both levels of kanji, half-width katakana alone,
    // symbols, Greek and Cyrillic, a sample file's lines.
    const char* corpus[] = {
        "日本でいちばん高い山は？", "ﾈｺ,「猫」を半角カタカナで", "ｳｻｷﾞ ﾊﾟﾝﾀﾞ ｿﾞｳ ﾐｱ ﾂｶﾞﾙ",
        "①②③㈱№ ※→←↑↓ ￥＄％＃＆＊＠「」『』【】", "ÅΩαβγ АБВб ≒≡∫√⊥∠∵",
        "齋藤 髙橋 﨑 纊 漾 蕭 鬱 龠 熙", "図書館,本を借りるところは？\r", "2024年 ＡＢＣ 123 ｶﾀｶﾅ",
    };
    for (const char* pszUtf8 : corpus) {
        std::string strCodePage932;
        ASSERT_EQ(AppendUtf8AsCodePage932(pszUtf8, strCodePage932), std::string_view::npos) << pszUtf8;
        CUtf8Detector fromCodePage932;
        CUtf8Detector fromUtf8;
        fromCodePage932.Feed(strCodePage932);
        fromUtf8.Feed(pszUtf8);
        EXPECT_FALSE(fromCodePage932.IsUtf8()) << pszUtf8;
        EXPECT_TRUE(fromUtf8.IsUtf8()) << pszUtf8;
    }
    // The C1 controls end before U+00A0, which UTF-8 text may hold.
    CUtf8Detector withSpace;
    withSpace.Feed("\u00A0\u3042");
    EXPECT_TRUE(withSpace.IsUtf8());
}
