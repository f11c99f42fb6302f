#pragma once

#include "field/draw_target.h"

#include <QColor>

#include <cstdint>
#include <string>

class QFont;
class QPainter;

// Draws the play area's boxes, labels and balls with a QPainter, pixel for
// pixel as the game was drawn on the desktop it was made for.
class CPainter : public CDrawTarget
{
public:
    // The painter is not owned and must outlive this object.
    explicit CPainter(QPainter& dc);
    ~CPainter() override;
    CPainter(const CPainter&) = delete;
    CPainter& operator=(const CPainter&) = delete;

    void DrawBox(Rect rc, Colour outline, Colour fill) override;
    void DrawLabel(Rect rc, const std::string& strText, int32_t nSize, Colour colour) override;
    void DrawLabelPart(Rect rcText, Rect rcClip, const std::string& strText, int32_t nSize,
                       Colour colour) override;
    TextExtent MeasureLabel(const std::string& strText, int32_t nSize) override;
    void DrawBall(Rect rc) override;

    // 0x00BBGGRR to a colour.
    static QColor ToQColor(Colour colour);
    // Tenths of a point to pixels on a 96-dpi screen: 200 gives 27.
    static int32_t PixelSize(int32_t nSize);
    // The face that labels of the given size are drawn in.
    static QFont LabelFont(int32_t nSize);

private:
    // Sets font, colour and background mode and draws; restores nothing.
    void DrawCentred(Rect rc, const std::string& strText, int32_t nSize, Colour colour);

    QPainter* m_pDC;
};
