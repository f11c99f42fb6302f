#include "platform/rect.h"

#include <algorithm>

void SetRect(Rect& rc, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    rc.left = left;
    rc.top = top;
    rc.right = right;
    rc.bottom = bottom;
}

void OffsetRect(Rect& rc, int32_t dx, int32_t dy)
{
    rc.left += dx;
    rc.right += dx;
    rc.top += dy;
    rc.bottom += dy;
}

void InflateRect(Rect& rc, int32_t dx, int32_t dy)
{
    rc.left -= dx;
    rc.right += dx;
    rc.top -= dy;
    rc.bottom += dy;
}

bool IsRectEmpty(const Rect& rc)
{
    return rc.right <= rc.left || rc.bottom <= rc.top;
}

bool PtInRect(const Rect& rc, Point pt)
{
    return rc.left <= pt.x && pt.x < rc.right && rc.top <= pt.y && pt.y < rc.bottom;
}

bool IntersectRect(Rect& dst, const Rect& a, const Rect& b)
{
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (IsRectEmpty(r)) {
        dst = Rect{};
        return false;
    }
    dst = r;
    return true;
}

void UnionRect(Rect& dst, const Rect& a, const Rect& b)
{
    dst = Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
               std::max(a.bottom, b.bottom)};
}
