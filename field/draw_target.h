#pragma once

#include "platform/rect.h"

#include <cstdint>
#include <string>

// A colour as the game states it: 0x00BBGGRR (0x0000CC is red).
using Colour = uint32_t;

constexpr int32_t ColourRed(Colour c) { return static_cast<int32_t>(c & 0xFF); }
constexpr int32_t ColourGreen(Colour c) { return static_cast<int32_t>((c >> 8) & 0xFF); }
constexpr int32_t ColourBlue(Colour c) { return static_cast<int32_t>((c >> 16) & 0xFF); }

// The extent of a line of text in pixels: its width and its line height.
struct TextExtent
{
    int32_t cx = 0;
    int32_t cy = 0;
};

// What the panel draws on: the stand-in for a device context. The panel and
// the play field decide what goes where; an implementation only puts pixels.
class CDrawTarget
{
public:
    virtual ~CDrawTarget() = default;

    // Covers left <= x < right, top <= y < bottom: a 1-pixel outline, the
    // rest filled.
    virtual void DrawBox(Rect rc, Colour outline, Colour fill) = 0;
    // One line of code page 932 text, centred in the rectangle and clipped
    // to it. nSize is in tenths of a point.
    virtual void DrawLabel(Rect rc, const std::string& strText, int32_t nSize, Colour colour) = 0;
    // The text exactly as DrawLabel draws it in rcText, but only its pixels
    // inside rcClip: one half of a double-width character on its tile.
    virtual void DrawLabelPart(Rect rcText, Rect rcClip, const std::string& strText, int32_t nSize,
                               Colour colour) = 0;
    // The extent of the one line DrawLabel draws of the text at the size.
    virtual TextExtent MeasureLabel(const std::string& strText, int32_t nSize) = 0;
    // The 30 x 30 ball with its top-left corner at the rectangle's: the mask
    // ORed in first, then the picture ANDed, so the corners stay as they were.
    virtual void DrawBall(Rect rc) = 0;
};
