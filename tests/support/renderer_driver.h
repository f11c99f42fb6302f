#pragma once

#include "field/draw_target.h"
#include "field/play_field.h"
#include "game/game_painter.h"
#include "run/quiz_runner.h"

#include <cstdint>
#include <functional>
#include <string>

// The pixel checks every renderer shares: its draw target's boxes, labels
// and balls, and the panel painted through its buffers in either mode. A
// renderer's test derives from this and says how to draw into a picture of
// the window's size and how to read it back, in the game's colours.
class CRendererDriver
{
public:
    // The window's own background, which painting the panel leaves alone.
    static constexpr Colour kWindow = 0x030201;

    CRendererDriver();
    virtual ~CRendererDriver() = default;

    void CheckDrawTarget();
    void CheckPanel();

protected:
    // A new black picture, drawn into through the renderer's draw target.
    virtual void Draw(const std::function<void(CDrawTarget&)>& draw) = 0;
    // A new picture in kWindow with m_field painted on it as its window
    // paints it (through PaintInto).
    virtual void Paint(const std::string& strStatus) = 0;
    // The window's paint with this status text, through the surface.
    void PaintInto(CWindowSurface& surface, const std::string& strStatus)
    {
        m_runner.SetStatusText(strStatus);
        m_painter.Paint(surface);
    }
    virtual Colour Pixel(int32_t x, int32_t y) = 0;

    // Pixels of the rectangle that have the colour, or for which test holds.
    int32_t Count(const Rect& rc, const std::function<bool(Colour)>& test);
    int32_t Count(const Rect& rc, Colour colour);

    static constexpr int32_t kWidth = 363;
    static constexpr int32_t kHeight = 302;
    // Laid out as the window, with one tile and a snake of head and one
    // segment, clear of the menu.
    CPlayField m_field;
    CQuizRunner m_runner;
    CGamePainter m_painter{m_field, m_runner};
};
