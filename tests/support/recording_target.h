#pragma once

#include "rect_compare.h"
#include "field/draw_target.h"
#include "game/window_surface.h"

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

// Keeps the labels a paint draws. Measures as the game's fixed-width face
// does at 96 dpi: a byte half as wide as the pixel size.
class CRecordingTarget : public CDrawTarget
{
public:
    using Label = std::tuple<int32_t, std::string, int32_t>; // top, text, size

    void DrawBox(Rect, Colour, Colour) override {}
    void DrawLabel(Rect rc, const std::string& strText, int32_t nSize, Colour) override
    {
        m_labels.emplace_back(rc.top, strText, nSize);
        m_byText.emplace(strText, std::make_pair(rc, nSize));
    }
    void DrawLabelPart(Rect, Rect, const std::string&, int32_t, Colour) override {}
    TextExtent MeasureLabel(const std::string& strText, int32_t nSize) override
    {
        const int32_t nPixels = (nSize * 96 + 360) / 720;
        return TextExtent{static_cast<int32_t>(strText.size()) * nPixels / 2, nPixels + 4};
    }
    void DrawBall(Rect) override {}

    std::vector<Label> m_labels;
    std::multimap<std::string, std::pair<Rect, int32_t>> m_byText;
};

// Keeps the labels of the window's paint that reach the window: those drawn
// into a buffer where a rectangle copied from it meets them.
class CRecordingSurface : public CWindowSurface
{
public:
    void Prepare(EBuffer, Point) override {}
    void Draw(EBuffer buffer, const std::function<void(CDrawTarget&)>& draw) override { draw(m_buffers[buffer]); }
    void Copy(EBuffer buffer, Rect rc) override
    {
        for (const auto& [strText, label] : m_buffers[buffer].m_byText) {
            Rect overlap;
            if (IntersectRect(overlap, label.first, rc))
                m_byText.emplace(strText, label);
        }
    }

    CRecordingTarget m_buffers[2];
    std::multimap<std::string, std::pair<Rect, int32_t>> m_byText;
};
