#pragma once

#include <QRect>
#include <QSize>

// The window is laid out in dialog units of its 9-point font: 4 x 8 units
// are 6 x 12 pixels. Each value converts on its own, halves rounding up.
int DialogUnitsToPixelsX(int nUnits);
int DialogUnitsToPixelsY(int nUnits);
QRect DialogUnitsToPixels(const QRect& rcUnits);
QSize DialogUnitsToPixels(const QSize& sizeUnits);
