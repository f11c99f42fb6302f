#pragma once

#include "platform/draw_target.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

// Keeps the labels a paint draws and adds up the rest, so that it reads all a
// paint reads. Measures as the game's fixed-width face does at 96 dpi: a byte
// half as wide as the pixel size.
class CRecordingTarget : public CDrawTarget
{
public:
    using Label = std::tuple<int32_t, std::string, int32_t>; // top, text, size

    void DrawBox(Rect rc, Colour, Colour) override { m_nSum += rc.left + rc.bottom; }
    void DrawLabel(Rect rc, const std::string& strText, int32_t nSize, Colour) override
    {
        m_labels.emplace_back(rc.top, strText, nSize);
    }
    void DrawLabelPart(Rect rc, Rect, const std::string& strText, int32_t, Colour) override
    {
        m_nSum += rc.top + static_cast<int64_t>(strText.size());
    }
    TextExtent MeasureLabel(const std::string& strText, int32_t nSize) override
    {
        const int32_t nPixels = (nSize * 96 + 360) / 720;
        return TextExtent{static_cast<int32_t>(strText.size()) * nPixels / 2, nPixels + 4};
    }
    void DrawBall(Rect rc) override { m_nSum += rc.right; }

    std::vector<Label> m_labels;
    int64_t m_nSum = 0;
};
