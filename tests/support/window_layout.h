#pragma once

#include "field/field_panel.h"

// The window's layout in client pixels, as its template gives it at 96 dpi.
inline void SetWindowLayout(CFieldPanel& panel)
{
    panel.SetArea(Rect{11, 11, 353, 238});
    panel.m_rcTitle = Rect{27, 35, 332, 89};
    panel.m_rcRead = Rect{126, 107, 221, 139};
    panel.m_rcStart = Rect{126, 146, 221, 178};
    panel.m_rcExit = Rect{126, 185, 221, 217};
    panel.m_rcStop = Rect{258, 245, 353, 277};
}
