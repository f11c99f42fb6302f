#include "quiz/split_string.h"

#include <cstdint>
#include <cstring>

namespace {

// The first byte equal to c in [p, pEnd), or pEnd. Fields are short, so
// eight bytes are compared at a time inline instead of calling memchr for
// each of them.
const char* FindByte(const char* p, const char* pEnd, char c)
{
    constexpr uint64_t kOnes = 0x0101010101010101u;
    constexpr uint64_t kHighs = 0x8080808080808080u;
    const uint64_t nPattern = kOnes * static_cast<unsigned char>(c);
    while (pEnd - p >= 8) {
        uint64_t nWord;
        std::memcpy(&nWord, p, sizeof nWord);
        nWord ^= nPattern;
        // Non-zero exactly when some byte of the word equals c.
        if (((nWord - kOnes) & ~nWord & kHighs) != 0)
            break;
        p += 8;
    }
    while (p != pEnd && *p != c)
        ++p;
    return p;
}

} // namespace

void SplitString(std::string_view strLine, std::string_view strSeparators,
                 std::vector<std::string_view>& fields)
{
    const char* const pLine = strLine.data();
    const char* const pEnd = pLine + strLine.size();
    const char* pStart = pLine;
    for (;;) {
        // One separator, the comma, is the usual case.
        const char* pSeparator;
        if (strSeparators.size() == 1) {
            pSeparator = FindByte(pStart, pEnd, strSeparators[0]);
        } else {
            const size_t nAt = strLine.find_first_of(strSeparators, static_cast<size_t>(pStart - pLine));
            pSeparator = nAt == std::string_view::npos ? pEnd : pLine + nAt;
        }
        if (pSeparator == pEnd)
            break;
        fields.emplace_back(pStart, static_cast<size_t>(pSeparator - pStart));
        pStart = pSeparator + 1;
    }
    if (pStart != pEnd)
        fields.emplace_back(pStart, static_cast<size_t>(pEnd - pStart));
}
