#pragma once

#include "platform/rect.h"

#include <ostream>

// Rectangles compare in the tests only; the game itself never needs to.
inline bool operator==(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const Rect& rc)
{
    return out << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}
