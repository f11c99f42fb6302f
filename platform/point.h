#pragma once

#include <cstdint>

// A position in the dialog's client pixels: x to the right, y downwards.
struct Point
{
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
};
