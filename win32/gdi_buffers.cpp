#include "win32/gdi_buffers.h"

#include "field/field_panel.h"
#include "win32/gdi_painter.h"


CGdiBuffers::~CGdiBuffers()
{
    Release(m_area);
    Release(m_stop);
}

void CGdiBuffers::Release(Buffer& buffer)
{
    if (buffer.hDC) {
        ::SelectObject(buffer.hDC, buffer.hOld);
        ::DeleteDC(buffer.hDC);
    }
    if (buffer.hBitmap)
        ::DeleteObject(buffer.hBitmap);
    buffer = Buffer{};
}

void CGdiBuffers::Build(Buffer& buffer, HDC hTarget, const Rect& rc, int32_t nDpi)
{
    Release(buffer);
    const int nWidth = CGdiPainter::Scale(rc.right, nDpi);
    const int nHeight = CGdiPainter::Scale(rc.bottom, nDpi);
    if (nWidth <= 0 || nHeight <= 0)
        return;
    buffer.hBitmap = ::CreateCompatibleBitmap(hTarget, nWidth, nHeight);
    buffer.hDC = ::CreateCompatibleDC(hTarget);
    buffer.hOld = ::SelectObject(buffer.hDC, buffer.hBitmap);
    ++m_nBuilds;
}

void CGdiBuffers::Copy(HDC hTarget, const Buffer& buffer, const Rect& rc, int32_t nDpi)
{
    const int nLeft = CGdiPainter::Scale(rc.left, nDpi);
    const int nTop = CGdiPainter::Scale(rc.top, nDpi);
    ::BitBlt(hTarget, nLeft, nTop, CGdiPainter::Scale(rc.right, nDpi) - nLeft,
             CGdiPainter::Scale(rc.bottom, nDpi) - nTop, buffer.hDC, nLeft, nTop, SRCCOPY);
}

void CGdiBuffers::Paint(HDC hTarget, CFieldPanel& panel, const std::string& strStatus, int32_t nDpi)
{
    // The window cannot be resized; only a move to a screen of another
    // resolution makes what fitted no longer fit.
    if (nDpi != m_nDpi) {
        Build(m_area, hTarget, panel.GetArea(), nDpi);
        Build(m_stop, hTarget, panel.m_rcStop, nDpi);
        m_nDpi = nDpi;
    }
    if (m_area.hDC) {
        {
            CGdiPainter painter(m_area.hDC, nDpi);
            panel.Draw(painter, strStatus);
        }
        Copy(hTarget, m_area, panel.GetArea(), nDpi);
    }
    if (panel.IsRunning() && m_stop.hDC) {
        bool bProgress = false;
        {
            CGdiPainter painter(m_stop.hDC, nDpi);
            panel.DrawStopButton(painter);
            // Which question is in play, left of Stop in the same buffer.
            bProgress = panel.DrawProgress(painter);
        }
        Copy(hTarget, m_stop, panel.m_rcStop, nDpi);
        if (bProgress)
            Copy(hTarget, m_stop, panel.GetProgressRect(), nDpi);
    }
}
