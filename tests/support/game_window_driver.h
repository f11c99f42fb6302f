#pragma once

#include "fixed_chooser.h"
#include "game/game_controller.h"
#include "sleep_swap.h"
#include "temp_dir.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The checks every game window shares, made through the window's own events:
// a front-end's test derives from this, says how to send each kind of event,
// and so shows both what the controller decides and that its window passes
// the events on.
class CGameWindowDriver
{
public:
    // The keys the checks press: the arrows in the snake's direction order,
    // then P, Space, one that means nothing, Escape, Enter, Tab, Shift+Tab,
    // R, Ctrl+O and S.
    enum EKey { kUp, kRight, kDown, kLeft, kP, kSpace, kOther, kEscape, kEnter, kTab, kBackTab, kR, kCtrlO, kS };

    virtual ~CGameWindowDriver() = default;

    // Keys, hover, the about box, the buttons in either mode, and loads that
    // work or fail, by Read and by a drop.
    void CheckCommands();
    // The test player wins the quiz file of two kanji questions (answers in
    // code page 932) with key-ups only, pausing once mid-quiz, and finds the
    // characters whole in the body moving right; then a wrong order, a drop
    // in play, Read and Start right after Stop, and Escape in play.
    void CheckWholeQuizzes(const std::string& strQuizPath, const std::vector<std::string>& answers);

protected:
    virtual CGameController& Controller() = 0;
    virtual void LeftButtonUp(Point pt) = 0;
    virtual void MouseMove(Point pt) = 0;
    virtual void KeyDown(EKey key) = 0;
    virtual void KeyUp(EKey key) = 0;
    virtual void SysCommand(uint32_t nId) = 0;
    // Another window takes the activation.
    virtual void Deactivate() = 0;
    // Sizes the window's client area, in its units; returns the size it
    // took, which the screen may limit.
    virtual Point Resize(Point ptClient) = 0;
    virtual void Drop(const std::string& strPath) = 0;
    // Runs fn and returns the text of the modal box it opened (its title
    // when it has no text), closed with OK; empty when it opened none.
    virtual std::string Modal(const std::function<void()>& fn) = 0;
    // Handles the window's waiting events.
    virtual void Pump() = 0;
    // Paints the window now; returns the status text the paint showed.
    virtual std::string Repaint() = 0;
    virtual bool IsShown() = 0;
    // Keeps a picture of that part of the window for the README, where the
    // front-end can and is asked to.
    virtual void Snapshot(const std::string&, const Rect&) {}

    // Handles window events until the condition holds; fails on a hang only.
    void WaitFor(const std::function<bool()>& condition);
    void Click(const Rect& rc);
    // Read, with this file chosen.
    void Read(const std::string& strPath);

    CSleepSwap m_sleep{[](int32_t) {}};
    CTempDir m_dir;
    CFixedChooser m_chooser;
};
