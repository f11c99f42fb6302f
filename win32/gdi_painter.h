#pragma once

#include "field/draw_target.h"

#include <windows.h>

#include <cstdint>
#include <string>

// Draws the play area's boxes, labels and balls into a device context with
// GDI. The field speaks in 96-dpi pixels; on a scaled screen every edge is
// scaled here, so the window keeps its size and the text stays sharp.
class CGdiPainter : public CDrawTarget
{
public:
    // The device context is not owned; nDpi is the window's resolution.
    CGdiPainter(HDC hDC, int32_t nDpi);
    ~CGdiPainter() override;
    CGdiPainter(const CGdiPainter&) = delete;
    CGdiPainter& operator=(const CGdiPainter&) = delete;

    void DrawBox(Rect rc, Colour outline, Colour fill) override;
    void DrawLabel(Rect rc, const std::string& strText, int32_t nSize, Colour colour) override;
    void DrawLabelPart(Rect rcText, Rect rcClip, const std::string& strText, int32_t nSize,
                       Colour colour) override;
    TextExtent MeasureLabel(const std::string& strText, int32_t nSize) override;
    void DrawBall(Rect rc) override;

    // A length in 96-dpi pixels on a screen of nDpi.
    static int32_t Scale(int32_t nPixels, int32_t nDpi) { return ::MulDiv(nPixels, nDpi, 96); }
    // The face labels are drawn in: "ＭＳ ゴシック" where it exists.
    static const wchar_t* LabelFace();

private:
    // The label font at this screen's resolution; the caller deletes it.
    HFONT CreateLabelFont(int32_t nSize) const;
    // Sets font, colour and background mode and draws; restores nothing but
    // the font, which it deletes.
    void DrawCentred(Rect rc, const std::wstring& wstrText, int32_t nSize, Colour colour);
    RECT ToDevice(const Rect& rc) const;
    void LoadBalls();

    HDC m_hDC;
    int32_t m_nDpi;
    // The ball and its mask, each in a memory context: loaded at the first
    // ball of a paint, released with the painter.
    HDC m_hBallDC = nullptr;
    HDC m_hMaskDC = nullptr;
    HBITMAP m_hBall = nullptr;
    HBITMAP m_hMask = nullptr;
    HGDIOBJ m_hOldBall = nullptr;
    HGDIOBJ m_hOldMask = nullptr;
    int32_t m_nBallSide = 30;
};
