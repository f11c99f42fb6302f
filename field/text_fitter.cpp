#include "field/text_fitter.h"

#include "platform/code_page.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr int32_t kSizeStep = 10;
const std::string kEllipsis = "\x81\x63"; // …

// Characters that do not begin a line (closing marks, small kana, the long
// vowel mark) and ones that do not end one (opening marks).
constexpr std::u16string_view kNoLineStart =
    u")]},.!?:;\uFF61\uFF63\uFF64\uFF65\uFF70\uFF9E\uFF9F\uFF67\uFF68\uFF69\uFF6A\uFF6B"
    u"\uFF6C\uFF6D\uFF6E\uFF6F、。，．・：；？！゛゜ヽヾゝゞ々ー）］｝」』〕〉》】’”"
    u"ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ…‥";
constexpr std::u16string_view kNoLineEnd = u"([{\uFF62（［｛「『〔〈《【‘“";

bool In(std::u16string_view set, char32_t c)
{
    return c < 0x10000 && set.find(static_cast<char16_t>(c)) != std::u16string_view::npos;
}

bool IsSpace(char32_t c)
{
    return c == u' ' || c == u'\u3000';
}

bool IsWordChar(char32_t c)
{
    return c < 0x80 && c > u' ' && !In(kNoLineStart, c);
}

// The last n in [nFirst, nEnd) for which holds(n), where it holds for
// nFirst and, once false, stays so: a longer text is never narrower.
template <class F>
size_t LastTrue(size_t nFirst, size_t nEnd, F holds)
{
    while (nEnd - nFirst > 1) {
        const size_t nMid = nFirst + (nEnd - nFirst) / 2;
        (holds(nMid) ? nFirst : nEnd) = nMid;
    }
    return nFirst;
}

// The text as characters, and the places between them where a line may
// break.
class CBreakable
{
public:
    explicit CBreakable(const std::string& strText) : m_strText(strText)
    {
        size_t nLength = 1;
        for (size_t nPos = 0; nPos < strText.size(); nPos += nLength)
            m_units.push_back(Unit{nPos, DecodeCodePage932Char(strText, nPos, nLength)});
        for (int bRelaxed = 0; bRelaxed < 2 && m_breaks.empty(); ++bRelaxed) {
            for (size_t k = 1; k < m_units.size(); ++k) {
                const char32_t before = m_units[k - 1].c;
                const char32_t after = m_units[k].c;
                if (bRelaxed || (!In(kNoLineStart, after) && !In(kNoLineEnd, before) &&
                                 !(IsWordChar(before) && IsWordChar(after))))
                    m_breaks.push_back(k);
            }
        }
        if (m_breaks.empty())
            m_breaks.push_back(m_units.size());
    }

    size_t Units() const { return m_units.size(); }
    const std::vector<size_t>& Breaks() const { return m_breaks; }

    // Characters nFrom to nTo without spaces at either end.
    std::string Trimmed(size_t nFrom, size_t nTo) const
    {
        while (nFrom < nTo && IsSpace(m_units[nFrom].c))
            ++nFrom;
        while (nTo > nFrom && IsSpace(m_units[nTo - 1].c))
            --nTo;
        return nFrom < nTo ? m_strText.substr(m_units[nFrom].nPos, Pos(nTo) - m_units[nFrom].nPos) : std::string();
    }

    // nLines lines of about equal bytes (in the game's fixed-width face a
    // byte is half a full-width character wide); fewer when the text has
    // fewer breaks.
    std::vector<std::string> Balanced(int32_t nLines) const
    {
        std::vector<std::string> lines;
        const size_t nBytes = m_strText.size();
        size_t nFrom = 0;
        size_t nNext = 0; // the first break not yet passed
        for (int32_t j = 1; j < nLines && nNext < m_breaks.size(); ++j) {
            const auto offTarget = [&](size_t k) {
                const size_t nAt = nLines * Pos(m_breaks[k]);
                const size_t nTarget = j * nBytes;
                return std::max(nAt, nTarget) - std::min(nAt, nTarget);
            };
            size_t nBest = nNext;
            for (size_t k = nNext + 1; k < m_breaks.size(); ++k) {
                if (offTarget(k) < offTarget(nBest))
                    nBest = k;
            }
            lines.push_back(Trimmed(nFrom, m_breaks[nBest]));
            nFrom = m_breaks[nBest];
            nNext = nBest + 1;
        }
        lines.push_back(Trimmed(nFrom, m_units.size()));
        return lines;
    }

private:
    struct Unit
    {
        size_t nPos;
        char32_t c;
    };

    size_t Pos(size_t nUnit) const { return nUnit < m_units.size() ? m_units[nUnit].nPos : m_strText.size(); }

    const std::string& m_strText;
    std::vector<Unit> m_units;
    std::vector<size_t> m_breaks;
};

} // namespace

CTextFitter::CLayout CTextFitter::Fit(CDrawTarget& dc, const std::string& strText, const Rect& rc) const
{
    const int32_t nWidth = rc.Width();
    const auto fits = [&](const std::string& strLine, int32_t nAt) { return dc.MeasureLabel(strLine, nAt).cx <= nWidth; };
    // The largest size from nFrom down to nTo at which every line fits, and
    // the lines fit the height, tried from about where their width at nFrom
    // says; 0 when none.
    const auto fittingSize = [&](const std::vector<std::string>& lines, int32_t nFrom, int32_t nTo) {
        int32_t nWidest = 0;
        for (const std::string& strLine : lines)
            nWidest = std::max(nWidest, dc.MeasureLabel(strLine, nFrom).cx);
        const auto tallEnough = [&](int32_t nAt) {
            return lines.size() < 2 ||
                   static_cast<int32_t>(lines.size()) * dc.MeasureLabel(lines[0], nAt).cy <= rc.Height();
        };
        if (nWidest <= nWidth && tallEnough(nFrom))
            return nFrom;
        const int32_t nGuess =
            nWidest <= nWidth ? nFrom
                              : (static_cast<int32_t>(int64_t{nFrom} * nWidth / nWidest) / kSizeStep + 1) * kSizeStep;
        for (int32_t nAt = std::min(nGuess, nFrom - kSizeStep); nAt >= nTo; nAt -= kSizeStep) {
            if (std::all_of(lines.begin(), lines.end(), [&](const std::string& s) { return fits(s, nAt); }) &&
                tallEnough(nAt))
                return nAt;
        }
        return 0;
    };

    if (strText.empty() || nWidth <= 0)
        return CLayout{m_nMaxSize, {strText}};
    if (const int32_t nOneLine = fittingSize({strText}, m_nMaxSize, m_nOneLineMin))
        return CLayout{nOneLine, {strText}};

    // More lines, as few as the largest size allows.
    const CBreakable text(strText);
    CLayout best;
    for (int32_t nLines = 2; nLines <= m_nMaxLines; ++nLines) {
        std::vector<std::string> lines = text.Balanced(nLines);
        const int32_t nAt = fittingSize(lines, m_nOneLineMin, std::max(m_nMinSize, best.nSize + kSizeStep));
        if (nAt > best.nSize)
            best = CLayout{nAt, std::move(lines)};
    }
    if (best.nSize > 0)
        return best;

    // Too long even so: as many lines as the height holds at the smallest
    // size, each as full as it goes, the last cut.
    const int32_t nAt = m_nMinSize;
    const int32_t nLineHeight = std::max(1, dc.MeasureLabel(strText, nAt).cy);
    const int32_t nLines = std::clamp(rc.Height() / nLineHeight, 1, std::max(1, m_nMaxLines));
    const std::vector<size_t>& breaks = text.Breaks();
    CLayout cut{nAt, {}};
    size_t nFrom = 0;
    for (int32_t j = 1; j < nLines; ++j) {
        const size_t nFirst = std::upper_bound(breaks.begin(), breaks.end(), nFrom) - breaks.begin();
        if (nFirst == breaks.size())
            break;
        const size_t nBreak = breaks[LastTrue(nFirst, breaks.size(), [&](size_t i) {
            return fits(text.Trimmed(nFrom, breaks[i]), nAt);
        })];
        cut.lines.push_back(text.Trimmed(nFrom, nBreak));
        nFrom = nBreak;
    }
    std::string strLast = text.Trimmed(nFrom, text.Units());
    if (!fits(strLast, nAt)) {
        const size_t nEnd = LastTrue(nFrom, text.Units(), [&](size_t n) {
            return fits(text.Trimmed(nFrom, n) + kEllipsis, nAt);
        });
        strLast = text.Trimmed(nFrom, nEnd) + kEllipsis;
    }
    cut.lines.push_back(std::move(strLast));
    return cut;
}

void CTextFitter::Draw(CDrawTarget& dc, const Rect& rc, const CLayout& layout, Colour colour)
{
    if (layout.lines.size() < 2) {
        dc.DrawLabel(rc, layout.lines.empty() ? std::string() : layout.lines[0], layout.nSize, colour);
        return;
    }
    const int32_t nLines = static_cast<int32_t>(layout.lines.size());
    const int32_t nLineHeight = dc.MeasureLabel(layout.lines[0], layout.nSize).cy;
    int32_t y = (rc.top + rc.bottom) / 2 - nLines * nLineHeight / 2;
    for (const std::string& strLine : layout.lines) {
        dc.DrawLabel(Rect{rc.left, y, rc.right, y + nLineHeight}, strLine, layout.nSize, colour);
        y += nLineHeight;
    }
}
