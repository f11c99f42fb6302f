#pragma once

#include <QBrush>
#include <QPen>

class QPainter;

// The pen and brush of one box. Selecting them keeps what the painter had,
// and the end of the scope puts that back, so a caller's pen and brush
// survive any number of boxes.
class CPenBrushScope
{
public:
    explicit CPenBrushScope(QPainter& dc);
    virtual ~CPenBrushScope();
    CPenBrushScope(const CPenBrushScope&) = delete;
    CPenBrushScope& operator=(const CPenBrushScope&) = delete;

    // Makes the pen and brush of the given colours current.
    void Select(const QColor& outline, const QColor& fill);

    const QPen& Pen() const { return m_pen; }
    const QBrush& Brush() const { return m_brush; }

private:
    QBrush m_previousBrush;
    QPen m_previousPen;
    QBrush m_brush;
    QPen m_pen;
    QPainter* m_pDC;
    bool m_bSelected = false;
};
