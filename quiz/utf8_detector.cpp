#include "quiz/utf8_detector.h"

#include "platform/code_page.h"

#include <cstddef>

void CUtf8Detector::Feed(std::string_view strLine)
{
    size_t nLength = 1;
    for (size_t nPos = 0; m_bWellFormed && nPos < strLine.size(); nPos += nLength) {
        if (static_cast<unsigned char>(strLine[nPos]) < 0x80) {
            nLength = 1;
            continue;
        }
        const char32_t c = DecodeUtf8Char(strLine, nPos, nLength);
        m_bWellFormed = c != kNoCharacter && !(c >= 0x80 && c <= 0x9F);
        m_bWide = m_bWide || nLength >= 3;
    }
}
