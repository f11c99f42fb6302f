#pragma once

#include <string_view>

// Tells a question file written in UTF-8 without a byte-order mark from one
// in code page 932, fed its lines one by one. Being well-formed UTF-8 is not
// enough: pairs of half-width katakana often are (D0 B1 is the Cyrillic б).
// UTF-8 Japanese has characters of three bytes, which code page 932 text can
// only form by chance, with bytes that rarely line up for a whole file.
class CUtf8Detector
{
public:
    void Feed(std::string_view strLine);
    // Well-formed UTF-8 so far, without C1 control characters (which code
    // page 932 text read as UTF-8 is full of and real text never holds).
    bool IsPossible() const { return m_bWellFormed; }
    // Possible, and some character took three bytes or more.
    bool IsUtf8() const { return m_bWellFormed && m_bWide; }

private:
    bool m_bWellFormed = true;
    bool m_bWide = false;
};
