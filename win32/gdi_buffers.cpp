#include "win32/gdi_buffers.h"

#include "win32/gdi_painter.h"

CGdiBuffers::~CGdiBuffers()
{
    for (Buffer& buffer : m_buffers)
        Release(buffer);
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

void CGdiBuffers::SetTarget(HDC hTarget, const CWindowScale& scale)
{
    m_hTarget = hTarget;
    m_nDpi = scale.GetScale96();
    m_ptOffset = scale.GetOffset();
}

void CGdiBuffers::Prepare(EBuffer which, Point ptCorner)
{
    Buffer& buffer = m_buffers[which];
    if (buffer.hDC && buffer.ptCorner == ptCorner && buffer.nDpi == m_nDpi)
        return;
    Release(buffer);
    const int nWidth = CGdiPainter::Scale(ptCorner.x, m_nDpi);
    const int nHeight = CGdiPainter::Scale(ptCorner.y, m_nDpi);
    if (!m_hTarget || nWidth <= 0 || nHeight <= 0)
        return;
    buffer.hBitmap = ::CreateCompatibleBitmap(m_hTarget, nWidth, nHeight);
    buffer.hDC = ::CreateCompatibleDC(m_hTarget);
    buffer.hOld = ::SelectObject(buffer.hDC, buffer.hBitmap);
    buffer.ptCorner = ptCorner;
    buffer.nDpi = m_nDpi;
    ++m_nBuilds;
}

void CGdiBuffers::Draw(EBuffer which, const std::function<void(CDrawTarget&)>& draw)
{
    const Buffer& buffer = m_buffers[which];
    if (!buffer.hDC)
        return;
    CGdiPainter painter(buffer.hDC, buffer.nDpi);
    draw(painter);
}

void CGdiBuffers::Copy(EBuffer which, Rect rc)
{
    const Buffer& buffer = m_buffers[which];
    if (!buffer.hDC || !m_hTarget)
        return;
    const int nLeft = CGdiPainter::Scale(rc.left, buffer.nDpi);
    const int nTop = CGdiPainter::Scale(rc.top, buffer.nDpi);
    ::BitBlt(m_hTarget, m_ptOffset.x + nLeft, m_ptOffset.y + nTop, CGdiPainter::Scale(rc.right, buffer.nDpi) - nLeft,
             CGdiPainter::Scale(rc.bottom, buffer.nDpi) - nTop, buffer.hDC, nLeft, nTop, SRCCOPY);
}
