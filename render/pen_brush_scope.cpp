#include "render/pen_brush_scope.h"

#include <QPainter>

CPenBrushScope::CPenBrushScope(QPainter& dc) : m_pDC(&dc) {}

CPenBrushScope::~CPenBrushScope()
{
    if (m_bSelected) {
        m_pDC->setPen(m_previousPen);
        m_pDC->setBrush(m_previousBrush);
    }
    // Boxes replace the pixels they cover.
    m_pDC->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void CPenBrushScope::Select(const QColor& outline, const QColor& fill)
{
    m_pen = QPen(outline, 1, Qt::SolidLine);
    m_brush = QBrush(fill, Qt::SolidPattern);
    if (!m_bSelected) {
        m_previousPen = m_pDC->pen();
        m_previousBrush = m_pDC->brush();
        m_bSelected = true;
    }
    m_pDC->setPen(m_pen);
    m_pDC->setBrush(m_brush);
}
