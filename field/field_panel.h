#pragma once

#include "platform/draw_target.h"
#include "platform/point.h"
#include "platform/rect.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// The window side of painting lives with the Qt code; only names reach here.
class QPainter;
class CPanelBuffers;

// The play area as a panel: its rectangles, the hover state of the four drawn
// buttons, the mode (menu or play) and the title. What it draws is decided
// here; how pixels are put is the draw target's business.
class CFieldPanel
{
public:
    CFieldPanel();
    virtual ~CFieldPanel();

    // Draws the panel into its off-screen buffers and copies the area (and,
    // in play mode, the Stop button) to the window in one go, so the area
    // never flickers. The buffers are made at the first call and kept.
    void Paint(QPainter& target, std::string strStatus);
    // Buffers made so far: two at the first Paint, none after.
    int32_t GetBufferBuilds() const { return m_nBufferBuilds; }

    // Draws the whole panel into the target, in client coordinates.
    virtual void Draw(CDrawTarget& dc, std::string strStatus) = 0;
    virtual void SetArea(Rect rc);

    Rect GetArea() const { return m_rcArea; }
    void SetTitle(std::string strTitle);
    const std::string& GetTitle() const { return m_strTitle; }

    // Play mode (1) or menu mode (0). The window and the game loop both
    // write it.
    int32_t IsRunning() const { return m_bRunning.load(); }
    void SetRunning(int32_t bRunning) { m_bRunning.store(bRunning); }

    bool HitStart(Point pt) const;
    bool HitStop(Point pt) const;
    bool HitExit(Point pt) const;
    bool HitRead(Point pt) const;
    void UpdateHover(Point pt);

    void DrawBackground(CDrawTarget& dc, Colour colour);
    void DrawStatusText(CDrawTarget& dc, const std::string& strText, int32_t nSize, Colour colour);
    void DrawTitle(CDrawTarget& dc);
    void DrawMenuButtons(CDrawTarget& dc, int32_t nSize);
    void DrawStopButton(CDrawTarget& dc);

    // Set once by the window at start-up from its layout.
    Rect m_rcTitle;
    Rect m_rcStart;
    Rect m_rcStop;
    Rect m_rcExit;
    Rect m_rcRead;

    int32_t m_bHoverStart = 0;
    int32_t m_bHoverStop = 0;
    int32_t m_bHoverExit = 0;
    int32_t m_bHoverRead = 0;

protected:
    Rect m_rcArea;
    std::atomic<int32_t> m_bRunning{0};
    std::string m_strTitle;

private:
    // Written by Paint alone, on the window thread.
    int32_t m_bBuildArea = 1;
    int32_t m_bBuildStop = 1;
    int32_t m_nBufferBuilds = 0;
    std::unique_ptr<CPanelBuffers, void (*)(CPanelBuffers*)> m_pBuffers{nullptr, nullptr};
};
