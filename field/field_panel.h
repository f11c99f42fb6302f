#pragma once

#include "field/draw_target.h"
#include "platform/point.h"
#include "platform/rect.h"

#include <atomic>
#include <cstdint>
#include <string>

// The play area as a panel: its rectangles, the hover state of the four drawn
// buttons, the mode (menu or play) and the title. What it draws is decided
// here; how pixels are put is the draw target's business.
class CFieldPanel
{
public:
    // The game's colours, 0x00BBGGRR.
    static constexpr Colour kRed = 0x0000CC;
    static constexpr Colour kDarkGrey = 0x262626;
    static constexpr Colour kGrey = 0x8C8C8C;
    static constexpr Colour kMenuLabel = 0xCC000C;
    static constexpr Colour kGold = 0x00D1E5;
    static constexpr Colour kBlack = 0x000000;
    static constexpr Colour kTileWhite = 0xFAFAFA;
    // The menu buttons, in the order the keyboard walks them.
    enum EButton : int32_t { NoButton, ReadButton, StartButton, ExitButton };

    CFieldPanel();
    virtual ~CFieldPanel();

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
    // Back to menu mode at the natural end of a run; false when a Stop
    // reached menu mode first.
    bool FinishRun();

    // The question in play, counted from 1, of nCount; 0 before the first.
    void SetProgress(int32_t nQuestion, int32_t nCount);
    int32_t GetQuestion() const { return m_nQuestion.load(); }
    int32_t GetQuestionCount() const { return m_nQuestionCount.load(); }
    void SetPaused(bool bPaused) { m_bPaused.store(bPaused ? 1 : 0); }
    bool IsPaused() const { return m_bPaused.load() != 0; }

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
    // Left of the Stop button, outside the area, the size of the button.
    Rect GetProgressRect() const;
    // "2/5" while a question is in play; returns whether it drew.
    bool DrawProgress(CDrawTarget& dc);
    void DrawPauseMark(CDrawTarget& dc);

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
    // The menu button the keyboard is on, drawn as the one under the mouse.
    int32_t m_nFocus = NoButton;

protected:
    Rect m_rcArea;
    std::atomic<int32_t> m_bRunning{0};
    std::string m_strTitle;

private:
    std::atomic<int32_t> m_nQuestion{0};
    std::atomic<int32_t> m_nQuestionCount{0};
    std::atomic<int32_t> m_bPaused{0};
};
