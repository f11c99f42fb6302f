#include "platform/code_page.h"

#include "platform/code_page_table.h"

#include <cstdint>
#include <memory>
#include <utility>

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

int TrailIndex(unsigned char b)
{
    return b < 0x80 ? b - 0x40 : b - 0x41;
}

unsigned char TrailByte(int nIndex)
{
    return static_cast<unsigned char>(nIndex < 0x3F ? nIndex + 0x40 : nIndex + 0x41);
}

bool IsHalfWidthKatakana(unsigned char b)
{
    return b >= 0xA1 && b <= 0xDF;
}

// Rows of user-defined characters: U+E000 onwards, in order.
constexpr unsigned char kFirstUserLead = 0xF0;
constexpr unsigned char kLastUserLead = 0xF9;
constexpr char32_t kFirstUser = 0xE000;
constexpr char32_t kLastUser = kFirstUser + (kLastUserLead - kFirstUserLead + 1) * kCodePage932Trails - 1;

// Unicode to code page 932 for the basic plane beyond ASCII: lead << 8 |
// trail, or the single byte; 0 for none. Made once from the decoding table.
class EncodingTable
{
public:
    EncodingTable() : m_codes(new uint16_t[0x10000]())
    {
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            const int8_t nRow = kCodePage932Row[lead - 0x80];
            for (int t = 0; nRow >= 0 && t < kCodePage932Trails; ++t) {
                const char16_t c = kCodePage932Table[nRow][t];
                const auto code = static_cast<uint16_t>(lead << 8 | TrailByte(t));
                if (c && (!m_codes[c] || Rank(code) < Rank(m_codes[c])))
                    m_codes[c] = code;
            }
        }
        for (unsigned b = 0xA1; b <= 0xDF; ++b)
            m_codes[0xFF61 + b - 0xA1] = static_cast<uint16_t>(b);
        // What editors and other tables write for characters of the code
        // page: the JIS forms of the wave dash, double bar, minus, cent,
        // pound, not and dash, the yen sign and overline that 0x5C and 0x7E
        // stand for on Japanese desktops, and the A with ring that
        // normalising makes of the angstrom sign.
        const std::pair<char16_t, uint16_t> others[] = {
            {u'\u301C', 0x8160}, {u'\u2016', 0x8161}, {u'\u2212', 0x817C},
            {u'\u00A2', 0x8191}, {u'\u00A3', 0x8192}, {u'\u00AC', 0x81CA},
            {u'\u2014', 0x815C}, {u'\u00A5', 0x5C},   {u'\u203E', 0x7E},
            {u'\u00C5', 0x81F0}};
        for (const auto& [c, code] : others) {
            if (!m_codes[c])
                m_codes[c] = code;
        }
    }

    uint16_t operator[](char16_t c) const { return m_codes[c]; }

private:
    // Where several codes give one character, the desktop writes the lowest,
    // except that the IBM rows win over NEC's selection of them (0xED, 0xEE).
    static int Rank(uint16_t code) { return (code >> 8 == 0xED || code >> 8 == 0xEE) << 16 | code; }

    std::unique_ptr<uint16_t[]> m_codes;
};

const EncodingTable& Encoding()
{
    static const EncodingTable table;
    return table;
}

} // namespace

char32_t DecodeCodePage932Char(std::string_view strBytes, size_t nPos, size_t& nLength)
{
    nLength = 1;
    const auto b = static_cast<unsigned char>(strBytes[nPos]);
    if (b < 0x80)
        return b;
    if (IsHalfWidthKatakana(b))
        return 0xFF61 + (b - 0xA1);
    if (!IsLeadByte(b) || nPos + 1 >= strBytes.size())
        return kNoCharacter;
    const auto t = static_cast<unsigned char>(strBytes[nPos + 1]);
    if (!IsTrailByte(t))
        return kNoCharacter;
    nLength = 2;
    if (b >= kFirstUserLead && b <= kLastUserLead)
        return kFirstUser + (b - kFirstUserLead) * kCodePage932Trails + TrailIndex(t);
    const int8_t nRow = kCodePage932Row[b - 0x80];
    const char16_t c = nRow < 0 ? 0 : kCodePage932Table[nRow][TrailIndex(t)];
    return c ? c : kNoCharacter;
}

std::u16string DecodeCodePage932(std::string_view strBytes)
{
    std::u16string out;
    out.reserve(strBytes.size());
    size_t nLength = 1;
    for (size_t pos = 0; pos < strBytes.size(); pos += nLength) {
        const char32_t c = DecodeCodePage932Char(strBytes, pos, nLength);
        out.push_back(c == kNoCharacter ? kMiddleDot : static_cast<char16_t>(c));
    }
    return out;
}

char32_t DecodeUtf8Char(std::string_view strText, size_t nPos, size_t& nLength)
{
    nLength = 1;
    const auto b = static_cast<unsigned char>(strText[nPos]);
    if (b < 0x80)
        return b;
    size_t nBytes;
    char32_t c;
    char32_t nMin;
    if (b >= 0xC2 && b <= 0xDF) {
        nBytes = 2, c = b & 0x1F, nMin = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        nBytes = 3, c = b & 0x0F, nMin = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        nBytes = 4, c = b & 0x07, nMin = 0x10000;
    } else {
        return kNoCharacter;
    }
    if (strText.size() - nPos < nBytes)
        return kNoCharacter;
    for (size_t i = 1; i < nBytes; ++i) {
        const auto next = static_cast<unsigned char>(strText[nPos + i]);
        if ((next & 0xC0) != 0x80)
            return kNoCharacter;
        c = c << 6 | (next & 0x3F);
    }
    if (c < nMin || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return kNoCharacter;
    nLength = nBytes;
    return c;
}

namespace {

// The conversion itself, handing each byte of code page 932 to put.
template <class Put>
size_t ConvertUtf8(std::string_view strUtf8, Put&& put)
{
    const EncodingTable& table = Encoding();
    size_t nLength = 1;
    for (size_t pos = 0; pos < strUtf8.size(); pos += nLength) {
        const char32_t c = DecodeUtf8Char(strUtf8, pos, nLength);
        uint16_t code = 0;
        if (c < 0x80) {
            put(static_cast<char>(c));
            continue;
        }
        if (c >= kFirstUser && c <= kLastUser) {
            const auto n = static_cast<int>(c - kFirstUser);
            code = static_cast<uint16_t>((kFirstUserLead + n / kCodePage932Trails) << 8 |
                                         TrailByte(n % kCodePage932Trails));
        } else if (c < 0x10000) {
            code = table[static_cast<char16_t>(c)];
        }
        if (!code)
            return pos;
        if (code > 0xFF)
            put(static_cast<char>(code >> 8));
        put(static_cast<char>(code & 0xFF));
    }
    return std::string_view::npos;
}

} // namespace

size_t AppendUtf8AsCodePage932(std::string_view strUtf8, std::string& strOut)
{
    return ConvertUtf8(strUtf8, [&strOut](char c) { strOut.push_back(c); });
}

size_t ConvertUtf8ToCodePage932(std::string& strText)
{
    // A character never takes more bytes in the code page than in UTF-8, so
    // the bytes written never overtake those still to be read.
    size_t nOut = 0;
    const size_t nBad = ConvertUtf8(strText, [&strText, &nOut](char c) { strText[nOut++] = c; });
    if (nBad == std::string_view::npos)
        strText.resize(nOut);
    return nBad;
}
