#pragma once

#include "platform/point.h"

#include <cstdint>

// A rectangle in client pixels. As on the desktop the game was made for, the
// right and bottom edges lie outside it.
struct Rect
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

void SetRect(Rect& rc, int32_t left, int32_t top, int32_t right, int32_t bottom);
void OffsetRect(Rect& rc, int32_t dx, int32_t dy);
// Grows the rectangle by dx on the left and right and by dy on top and bottom;
// negative values shrink it.
void InflateRect(Rect& rc, int32_t dx, int32_t dy);
// True when the rectangle has no area (right <= left or bottom <= top).
bool IsRectEmpty(const Rect& rc);
// left <= x < right and top <= y < bottom.
bool PtInRect(const Rect& rc, Point pt);
// The overlap of a and b in dst; an empty result is all zero and returns false.
bool IntersectRect(Rect& dst, const Rect& a, const Rect& b);
// The smallest rectangle holding both a and b.
void UnionRect(Rect& dst, const Rect& a, const Rect& b);
