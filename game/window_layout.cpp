#include "game/window_layout.h"

#include "field/play_field.h"
#include "game/window_template.h"

namespace {

int32_t UnitsToPixels(int32_t nUnits, int32_t nPixelsPerBase, int32_t nUnitsPerBase)
{
    return (nUnits * nPixelsPerBase * 2 + nUnitsPerBase) / (nUnitsPerBase * 2);
}

} // namespace

Rect DialogUnitsToPixels(int32_t x, int32_t y, int32_t nWidth, int32_t nHeight)
{
    const int32_t nLeft = UnitsToPixels(x, 6, 4);
    const int32_t nTop = UnitsToPixels(y, 12, 8);
    return Rect{nLeft, nTop, nLeft + UnitsToPixels(nWidth, 6, 4), nTop + UnitsToPixels(nHeight, 12, 8)};
}

Rect TemplateControlRect(int32_t nId)
{
    switch (nId) {
    case IDC_TITLE:
        return DialogUnitsToPixels(WRIGGLET_RECT_TITLE);
    case IDC_READ:
        return DialogUnitsToPixels(WRIGGLET_RECT_READ);
    case IDC_START:
        return DialogUnitsToPixels(WRIGGLET_RECT_START);
    case IDOK:
        return DialogUnitsToPixels(WRIGGLET_RECT_EXIT);
    case IDC_AREA:
        return DialogUnitsToPixels(WRIGGLET_RECT_AREA);
    case IDC_STOP:
        return DialogUnitsToPixels(WRIGGLET_RECT_STOP);
    default:
        return Rect{};
    }
}

Point TemplateClientSize()
{
    const Rect rc = DialogUnitsToPixels(0, 0, WRIGGLET_DIALOG_SIZE);
    return Point{rc.right, rc.bottom};
}

void LayOutField(CPlayField& field, const std::function<Rect(int32_t)>& controlRect)
{
    field.SetArea(controlRect(IDC_AREA));
    field.m_rcStart = controlRect(IDC_START);
    field.m_rcStop = controlRect(IDC_STOP);
    field.m_rcExit = controlRect(IDOK);
    field.m_rcRead = controlRect(IDC_READ);
    field.m_rcTitle = controlRect(IDC_TITLE);
    field.CentreSnake();
}
