#include "platform/code_page.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

constexpr char16_t kMiddleDot = u'\u30FB';

bool IsLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(unsigned char b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

#if defined(_WIN32)

// One character of the code page (a single byte, or a lead byte with a
// trail byte) through the system's table; 0 when it is not a character.
char16_t ConvertOne(const char* p, int nBytes)
{
    wchar_t wc[2];
    const int n = ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, p, nBytes, wc, 2);
    return n == 1 ? static_cast<char16_t>(wc[0]) : 0;
}

#else

// One converter per thread: iconv_open costs far more than a tile's text,
// and a descriptor must not be shared between threads.
class Converter
{
public:
    Converter() : m_cd(iconv_open("UTF-16LE", "CP932")) {}
    ~Converter()
    {
        if (Ok())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

void AppendUtf16Le(std::u16string& out, const char* p, size_t nBytes)
{
    for (size_t i = 0; i + 1 < nBytes; i += 2) {
        const auto lo = static_cast<unsigned char>(p[i]);
        const auto hi = static_cast<unsigned char>(p[i + 1]);
        out.push_back(static_cast<char16_t>(lo | (hi << 8)));
    }
}

#endif

} // namespace

std::u16string DecodeCodePage932(const std::string& strBytes)
{
    std::u16string out;
    out.reserve(strBytes.size());

    // Plain ASCII is the same in both, and it is what most tiles hold.
    bool bAscii = true;
    for (char c : strBytes)
        bAscii = bAscii && static_cast<unsigned char>(c) < 0x80;
    if (bAscii) {
        for (char c : strBytes)
            out.push_back(static_cast<char16_t>(c));
        return out;
    }

#if defined(_WIN32)
    // The system's table maps 0x80, 0xA0 and 0xFD-0xFF to characters of its
    // own and lets a lead byte take any trail; cut the text into characters
    // here instead, as the other side does, so both draw the same.
    const auto n = strBytes.size();
    size_t pos = 0;
    while (pos < n) {
        const auto b = static_cast<unsigned char>(strBytes[pos]);
        if (b < 0x80) {
            out.push_back(static_cast<char16_t>(b));
            ++pos;
        } else if ((b >= 0xA1 && b <= 0xDF) ||
                   (IsLeadByte(b) && pos + 1 < n && IsTrailByte(static_cast<unsigned char>(strBytes[pos + 1])))) {
            // Half-width katakana, or a pair: one dot for a pair without a
            // character.
            const int nBytes = b >= 0xA1 && b <= 0xDF ? 1 : 2;
            const char16_t c = ConvertOne(strBytes.data() + pos, nBytes);
            out.push_back(c ? c : kMiddleDot);
            pos += static_cast<size_t>(nBytes);
        } else {
            out.push_back(kMiddleDot);
            ++pos;
        }
    }
#else
    thread_local Converter converter;
    const auto n = strBytes.size();
    size_t pos = 0;
    while (pos < n) {
        if (!converter.Ok()) {
            // Without a converter only ASCII can be trusted.
            const auto b = static_cast<unsigned char>(strBytes[pos]);
            out.push_back(b < 0x80 ? static_cast<char16_t>(b) : kMiddleDot);
            ++pos;
            continue;
        }
        iconv(converter.Get(), nullptr, nullptr, nullptr, nullptr);
        char buffer[256];
        char* pIn = const_cast<char*>(strBytes.data() + pos);
        size_t nIn = n - pos;
        char* pOut = buffer;
        size_t nOut = sizeof buffer;
        const size_t rc = iconv(converter.Get(), &pIn, &nIn, &pOut, &nOut);
        const int err = rc == static_cast<size_t>(-1) ? errno : 0;
        AppendUtf16Le(out, buffer, static_cast<size_t>(pOut - buffer));
        pos = n - nIn;
        if (err == 0 || err == E2BIG)
            continue;
        // Not a character: one dot for a lead byte with its trail byte, or
        // for the single byte, then go on right after it.
        out.push_back(kMiddleDot);
        const auto b = static_cast<unsigned char>(strBytes[pos]);
        if (IsLeadByte(b) && pos + 1 < n && IsTrailByte(static_cast<unsigned char>(strBytes[pos + 1])))
            pos += 2;
        else
            pos += 1;
    }
#endif
    return out;
}
