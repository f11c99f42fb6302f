#include "game/window_scale.h"

#include <algorithm>

namespace {

// Division rounding down, also for points left of or above the canvas.
int32_t FloorDiv(int64_t n, int64_t d)
{
    return static_cast<int32_t>(n >= 0 ? n / d : -((-n + d - 1) / d));
}

} // namespace

void CWindowScale::Fit(Point ptWindow, int32_t nBase96)
{
    if (m_ptCanvas.x <= 0 || m_ptCanvas.y <= 0)
        return;
    const int32_t nFitX = FloorDiv(int64_t{ptWindow.x} * 96, m_ptCanvas.x);
    const int32_t nFitY = FloorDiv(int64_t{ptWindow.y} * 96, m_ptCanvas.y);
    m_nScale96 = std::max(nBase96, std::min(nFitX, nFitY));
    const Point ptSize{FloorDiv(int64_t{m_ptCanvas.x} * m_nScale96, 96), FloorDiv(int64_t{m_ptCanvas.y} * m_nScale96, 96)};
    m_ptOffset = Point{std::max(0, (ptWindow.x - ptSize.x) / 2), std::max(0, (ptWindow.y - ptSize.y) / 2)};
}

Point CWindowScale::GetMinimumSize(int32_t nBase96) const
{
    return Point{FloorDiv(int64_t{m_ptCanvas.x} * nBase96 + 95, 96), FloorDiv(int64_t{m_ptCanvas.y} * nBase96 + 95, 96)};
}

Point CWindowScale::ToCanvas(Point ptWindow) const
{
    return Point{FloorDiv(int64_t{ptWindow.x - m_ptOffset.x} * 96, m_nScale96),
                 FloorDiv(int64_t{ptWindow.y - m_ptOffset.y} * 96, m_nScale96)};
}
