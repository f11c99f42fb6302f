#pragma once

#include <QImage>

// The panel's two off-screen pictures: the area, and the Stop button that
// lies outside it. Each covers client pixels from (0, 0) to its rectangle's
// bottom-right corner, so drawing into it needs no translation.
class CPanelBuffers
{
public:
    QImage m_imgArea;
    QImage m_imgStop;

    // The deleter the panel holds, so the panel's header needs no Qt type.
    static void Delete(CPanelBuffers* pBuffers);
    // A black buffer of width x height client pixels at the given device
    // pixel ratio; null when either side is empty.
    static QImage Make(int32_t nWidth, int32_t nHeight, qreal ratio);
};
