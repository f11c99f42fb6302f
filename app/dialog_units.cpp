#include "app/dialog_units.h"

#include "game/window_layout.h"

QRect DialogUnitsToPixels(const QRect& rcUnits)
{
    const Rect rc = DialogUnitsToPixels(rcUnits.x(), rcUnits.y(), rcUnits.width(), rcUnits.height());
    return QRect(rc.left, rc.top, rc.Width(), rc.Height());
}

QSize DialogUnitsToPixels(const QSize& sizeUnits)
{
    return DialogUnitsToPixels(QRect(QPoint(0, 0), sizeUnits)).size();
}
