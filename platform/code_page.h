#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Code page 932 (Shift-JIS as the desktop knows it) to and from Unicode,
// from one table built into the program, so that every system reads and
// draws the same.

// What a decoder gives for bytes that are no character.
constexpr char32_t kNoCharacter = 0x110000;

// The character at nPos, and in nLength the bytes it takes: 2 for a lead byte
// followed by a trail byte, 1 otherwise. kNoCharacter for a pair the code page
// does not assign, a lone lead byte, 0x80, 0xA0 and 0xFD-0xFF.
char32_t DecodeCodePage932Char(std::string_view strBytes, size_t nPos, size_t& nLength);

// The text in UTF-16 for drawing. What is no character becomes U+30FB "・"
// (one for a pair); the rest of the text is always kept.
std::u16string DecodeCodePage932(std::string_view strBytes);

// The well-formed UTF-8 character at nPos and in nLength its bytes, or
// kNoCharacter with nLength 1 (cut short, overlong, a surrogate, past
// U+10FFFF, a stray continuation byte).
char32_t DecodeUtf8Char(std::string_view strText, size_t nPos, size_t& nLength);

// Appends UTF-8 text to strOut in code page 932. A few characters that
// editors write for the code page's own (WAVE DASH for its tilde, MINUS SIGN,
// the yen sign for 0x5C...) are taken as those. Returns npos, or the offset
// of the first character the code page cannot hold or the first bytes that
// are no UTF-8; nothing from there on is appended.
size_t AppendUtf8AsCodePage932(std::string_view strUtf8, std::string& strOut);
// The same in place, without a second copy of a long text. On failure the
// text from the returned offset on is still the UTF-8 that was given.
size_t ConvertUtf8ToCodePage932(std::string& strText);
