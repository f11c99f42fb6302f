#include "field/field_panel.h"

#include "platform/code_page.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The pause mark's text, in code page 932.
const char kPaused[] = "\x88\xea\x8e\x9e\x92\xe2\x8e\x7e"; // 一時停止

// A text too wide for the area shrinks to the tile letters' size on one line,
// then goes on two lines, which shrink down to a size at which two lines of
// 20 full-width characters still fit the area; past that the text is cut.
constexpr int32_t kLetterSize = 200;
constexpr int32_t kSmallestSize = 120;
constexpr int32_t kSizeStep = 10;
const std::string kEllipsis = "\x81\x63"; // …

// Characters that do not begin a line (closing marks, small kana, the long
// vowel mark) and ones that do not end one (opening marks).
constexpr std::u16string_view kNoLineStart =
    u")]},.!?:;\uFF61\uFF63\uFF64\uFF65\uFF70\uFF9E\uFF9F\uFF67\uFF68\uFF69\uFF6A\uFF6B"
    u"\uFF6C\uFF6D\uFF6E\uFF6F、。，．・：；？！゛゜ヽヾゝゞ々ー）］｝」』〕〉》】’”"
    u"ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮヵヶ…‥";
constexpr std::u16string_view kNoLineEnd = u"([{\uFF62（［｛「『〔〈《【‘“";

struct Unit
{
    size_t nPos;
    char32_t c;
};

bool IsSpace(char32_t c)
{
    return c == u' ' || c == u'\u3000';
}

bool IsWordChar(char32_t c)
{
    return c < 0x80 && c > u' ' && kNoLineStart.find(static_cast<char16_t>(c)) == std::u16string_view::npos;
}

bool In(std::u16string_view set, char32_t c)
{
    return c < 0x10000 && set.find(static_cast<char16_t>(c)) != std::u16string_view::npos;
}

// The text from nFrom to nTo without spaces at either end.
std::string Trimmed(const std::string& strText, const std::vector<Unit>& units, size_t nFrom, size_t nTo)
{
    while (nFrom < nTo && IsSpace(units[nFrom].c))
        ++nFrom;
    while (nTo > nFrom && IsSpace(units[nTo - 1].c))
        --nTo;
    const size_t nEnd = nTo < units.size() ? units[nTo].nPos : strText.size();
    return nFrom < nTo ? strText.substr(units[nFrom].nPos, nEnd - units[nFrom].nPos) : std::string();
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

} // namespace

CFieldPanel::CFieldPanel() = default;

CFieldPanel::~CFieldPanel() = default;

void CFieldPanel::SetArea(Rect rc)
{
    m_rcArea = rc;
}

void CFieldPanel::SetTitle(std::string strTitle)
{
    m_strTitle = std::move(strTitle);
}

bool CFieldPanel::HitStart(Point pt) const
{
    return PtInRect(m_rcStart, pt);
}

bool CFieldPanel::HitStop(Point pt) const
{
    return PtInRect(m_rcStop, pt);
}

bool CFieldPanel::HitExit(Point pt) const
{
    return PtInRect(m_rcExit, pt);
}

bool CFieldPanel::HitRead(Point pt) const
{
    return PtInRect(m_rcRead, pt);
}

void CFieldPanel::UpdateHover(Point pt)
{
    m_bHoverStart = HitStart(pt) ? 1 : 0;
    m_bHoverStop = HitStop(pt) ? 1 : 0;
    m_bHoverExit = HitExit(pt) ? 1 : 0;
    m_bHoverRead = HitRead(pt) ? 1 : 0;
}

void CFieldPanel::DrawBackground(CDrawTarget& dc, Colour colour)
{
    dc.DrawBox(m_rcArea, colour, colour);
}

void CFieldPanel::DrawStatusText(CDrawTarget& dc, const std::string& strText, int32_t nSize,
                                 Colour colour)
{
    const int32_t nWidth = m_rcArea.Width();
    const auto fits = [&](const std::string& strLine, int32_t nAt) {
        return dc.MeasureLabel(strLine, nAt).cx <= nWidth;
    };
    // The largest size from nFrom down to nTo at which both lines fit,
    // tried from about where their width at nFrom says; 0 when none.
    const auto fittingSize = [&](const std::string& strOne, const std::string& strTwo, int32_t nFrom,
                                 int32_t nTo) {
        const int32_t nWidest = std::max(dc.MeasureLabel(strOne, nFrom).cx, dc.MeasureLabel(strTwo, nFrom).cx);
        if (nWidest <= nWidth)
            return nFrom;
        const int32_t nGuess = (static_cast<int32_t>(int64_t{nFrom} * nWidth / nWidest) / kSizeStep + 1) * kSizeStep;
        for (int32_t nAt = std::min(nGuess, nFrom - kSizeStep); nAt >= nTo; nAt -= kSizeStep) {
            if (fits(strOne, nAt) && fits(strTwo, nAt))
                return nAt;
        }
        return 0;
    };
    const int32_t nOneLine =
        strText.empty() || nWidth <= 0 ? nSize : fittingSize(strText, std::string(), nSize, kLetterSize);
    if (nOneLine > 0) {
        dc.DrawLabel(m_rcArea, strText, nOneLine, colour);
        return;
    }

    // Two lines, broken where a line may end and the next begin, and never
    // inside a word of Latin letters unless nothing else is left.
    std::vector<Unit> units;
    size_t nLength = 1;
    for (size_t nPos = 0; nPos < strText.size(); nPos += nLength)
        units.push_back(Unit{nPos, DecodeCodePage932Char(strText, nPos, nLength)});
    std::vector<size_t> breaks;
    for (int bRelaxed = 0; bRelaxed < 2 && breaks.empty(); ++bRelaxed) {
        for (size_t k = 1; k < units.size(); ++k) {
            const char32_t before = units[k - 1].c;
            const char32_t after = units[k].c;
            if (bRelaxed || (!In(kNoLineStart, after) && !In(kNoLineEnd, before) &&
                             !(IsWordChar(before) && IsWordChar(after))))
                breaks.push_back(k);
        }
    }
    if (breaks.empty())
        breaks.push_back(units.size());
    // Balanced by bytes: in the game's fixed-width face a byte is half a
    // full-width character wide.
    const size_t nBalanced = *std::min_element(breaks.begin(), breaks.end(), [&](size_t a, size_t b) {
        const auto offCentre = [&](size_t k) {
            const size_t nPos = k < units.size() ? units[k].nPos : strText.size();
            return std::max(2 * nPos, strText.size()) - std::min(2 * nPos, strText.size());
        };
        return offCentre(a) < offCentre(b);
    });
    std::string strFirst = Trimmed(strText, units, 0, nBalanced);
    std::string strSecond = Trimmed(strText, units, nBalanced, units.size());
    int32_t nAt = fittingSize(strFirst, strSecond, kLetterSize, kSmallestSize);
    if (nAt == 0) {
        nAt = kSmallestSize;
        // Too long even so: the first line as full as it goes, the rest cut.
        const size_t nBreak = breaks[LastTrue(0, breaks.size(), [&](size_t i) {
            return fits(Trimmed(strText, units, 0, breaks[i]), nAt);
        })];
        strFirst = Trimmed(strText, units, 0, nBreak);
        strSecond = Trimmed(strText, units, nBreak, units.size());
        if (!fits(strSecond, nAt)) {
            const size_t nEnd = LastTrue(nBreak, units.size(), [&](size_t n) {
                return fits(Trimmed(strText, units, nBreak, n) + kEllipsis, nAt);
            });
            strSecond = Trimmed(strText, units, nBreak, nEnd) + kEllipsis;
        }
    }
    const int32_t nLineHeight = dc.MeasureLabel(strFirst, nAt).cy;
    const int32_t cy = (m_rcArea.top + m_rcArea.bottom) / 2;
    dc.DrawLabel(Rect{m_rcArea.left, cy - nLineHeight, m_rcArea.right, cy}, strFirst, nAt, colour);
    dc.DrawLabel(Rect{m_rcArea.left, cy, m_rcArea.right, cy + nLineHeight}, strSecond, nAt, colour);
}

void CFieldPanel::DrawTitle(CDrawTarget& dc)
{
    dc.DrawBox(m_rcTitle, kGrey, kDarkGrey);
    dc.DrawLabel(m_rcTitle, m_strTitle, 400, kRed);
}

void CFieldPanel::DrawMenuButtons(CDrawTarget& dc, int32_t nSize)
{
    const struct
    {
        const Rect& rc;
        int32_t bHover;
        const char* pszLabel;
    } buttons[] = {
        {m_rcStart, m_bHoverStart, "Start"},
        {m_rcExit, m_bHoverExit, "Exit"},
        {m_rcRead, m_bHoverRead, "Read"},
    };
    for (const auto& button : buttons) {
        dc.DrawBox(button.rc, kGrey, button.bHover ? kRed : kDarkGrey);
        dc.DrawLabel(button.rc, button.pszLabel, nSize, kMenuLabel);
    }
}

void CFieldPanel::DrawStopButton(CDrawTarget& dc)
{
    dc.DrawBox(m_rcStop, kDarkGrey, m_bHoverStop ? kRed : kDarkGrey);
    dc.DrawLabel(m_rcStop, "Stop", 200, kGold);
}

bool CFieldPanel::FinishRun()
{
    int32_t bRunning = 1;
    return m_bRunning.compare_exchange_strong(bRunning, 0);
}

void CFieldPanel::SetProgress(int32_t nQuestion, int32_t nCount)
{
    m_nQuestionCount.store(nCount);
    m_nQuestion.store(nQuestion);
}

Rect CFieldPanel::GetProgressRect() const
{
    return Rect{m_rcArea.left, m_rcStop.top, m_rcArea.left + m_rcStop.Width(), m_rcStop.bottom};
}

bool CFieldPanel::DrawProgress(CDrawTarget& dc)
{
    const int32_t nQuestion = GetQuestion();
    if (nQuestion <= 0)
        return false;
    const Rect rc = GetProgressRect();
    dc.DrawBox(rc, kGrey, kBlack);
    dc.DrawLabel(rc, std::to_string(nQuestion) + "/" + std::to_string(GetQuestionCount()), 200,
                 kGold);
    return true;
}

void CFieldPanel::DrawPauseMark(CDrawTarget& dc)
{
    if (!IsPaused())
        return;
    // Above the centre, where the question and the verdict are shown.
    const int32_t x = (m_rcArea.left + m_rcArea.right) / 2;
    const int32_t y = m_rcArea.top + m_rcArea.Height() / 4;
    const Rect rc{x - 95, y - 26, x + 95, y + 26};
    dc.DrawBox(rc, kGrey, kDarkGrey);
    dc.DrawLabel(rc, kPaused, 300, kTileWhite);
}
