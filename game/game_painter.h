#pragma once

#include "field/draw_target.h"
#include "game/window_surface.h"

#include <string>
#include <utility>

class CPlayField;
class CQuizResult;
class CQuizRunner;

// Paints the game window for any front-end: what is drawn into which of its
// buffers in each mode, and which rectangles of them reach the window. The
// front-end only keeps the buffers and puts the pixels.
class CGamePainter
{
public:
    CGamePainter(CPlayField& field, const CQuizRunner& runner) : m_field(field), m_runner(runner) {}

    // The window's client area reaches to this corner.
    void SetClientSize(Point ptClient) { m_ptClient = ptClient; }
    // The file the questions came from, by name in code page 932, and how
    // many a quiz plays; an empty name for none yet.
    void SetLoadedFile(std::string strName, int32_t nQuestions);
    // The file loading beside the window, by name; empty when none is.
    void SetLoading(std::string strName) { m_strLoading = std::move(strName); }
    // Between the progress and Stop, down to the window's bottom edge: the
    // question in play.
    Rect GetQuestionRect() const;

    // Draws the whole window and copies it in one go, so that it never
    // flickers; returns the status text it showed.
    std::string Paint(CWindowSurface& surface);

private:
    // The last quiz's result around the title and the menu buttons, which
    // stay as they are.
    void DrawResult(CDrawTarget& dc, const CQuizResult& result);
    // The question in play below the area, beside the progress; returns
    // whether it drew.
    bool DrawQuestion(CDrawTarget& dc);
    // Below the menu's buttons: what is loaded, or how to load.
    Rect GetLoadedFileRect() const;
    void DrawLoadedFile(CDrawTarget& dc);

    CPlayField& m_field;
    const CQuizRunner& m_runner;
    Point m_ptClient;
    std::string m_strLoaded;
    std::string m_strLoading;
};
