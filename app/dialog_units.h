#pragma once

#include <QRect>
#include <QSize>

// Dialog units of the windows' 9-point font to pixels, for Qt's rectangles.
QRect DialogUnitsToPixels(const QRect& rcUnits);
QSize DialogUnitsToPixels(const QSize& sizeUnits);
