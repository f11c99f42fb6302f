#include "app/dialog_units.h"

int DialogUnitsToPixelsX(int nUnits)
{
    return (nUnits * 6 * 2 + 4) / (4 * 2);
}

int DialogUnitsToPixelsY(int nUnits)
{
    return (nUnits * 12 * 2 + 8) / (8 * 2);
}

QRect DialogUnitsToPixels(const QRect& rcUnits)
{
    return QRect(DialogUnitsToPixelsX(rcUnits.x()), DialogUnitsToPixelsY(rcUnits.y()),
                 DialogUnitsToPixelsX(rcUnits.width()), DialogUnitsToPixelsY(rcUnits.height()));
}

QSize DialogUnitsToPixels(const QSize& sizeUnits)
{
    return QSize(DialogUnitsToPixelsX(sizeUnits.width()), DialogUnitsToPixelsY(sizeUnits.height()));
}
