#pragma once

#include "field/draw_target.h"
#include "platform/rect.h"

#include <cstdint>
#include <string>
#include <vector>

// Fits a line of code page 932 text into a box, as the game fits its
// question, its title and the question below the area: the largest size on
// one line; failing that, lines broken where Japanese allows a break (never
// inside a word of Latin letters unless nothing else is left), balanced and
// shrinking again; past the smallest size the last line ends in "…".
// Sizes are in tenths of a point, in steps of 10.
class CTextFitter
{
public:
    struct CLayout
    {
        int32_t nSize = 0;
        std::vector<std::string> lines;
    };

    // One line from nMaxSize down to nOneLineMin; then up to nMaxLines lines
    // from nOneLineMin down to nMinSize.
    CTextFitter(int32_t nMaxSize, int32_t nOneLineMin, int32_t nMinSize, int32_t nMaxLines)
        : m_nMaxSize(nMaxSize), m_nOneLineMin(nOneLineMin), m_nMinSize(nMinSize), m_nMaxLines(nMaxLines)
    {
    }

    CLayout Fit(CDrawTarget& dc, const std::string& strText, const Rect& rc) const;
    // One line fills the box; more lines stand as a block centred in it.
    static void Draw(CDrawTarget& dc, const Rect& rc, const CLayout& layout, Colour colour);
    // Fits and draws.
    void DrawFitted(CDrawTarget& dc, const std::string& strText, const Rect& rc, Colour colour) const
    {
        Draw(dc, rc, Fit(dc, strText, rc), colour);
    }

private:
    int32_t m_nMaxSize;
    int32_t m_nOneLineMin;
    int32_t m_nMinSize;
    int32_t m_nMaxLines;
};
