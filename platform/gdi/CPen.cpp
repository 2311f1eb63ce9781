#include "platform/gdi/CPen.h"

CPen::CPen(int style, int width, COLORREF color) : CGdiObject(Kind::Pen) {
    CreatePen(style, width, color);
}

CPen::CPen(StockTag, int style, COLORREF color) : CPen(style, 1, color) {
    MakeStock();
}

bool CPen::CreatePen(int style, int width, COLORREF color) {
    if (IsValid() || style < PS_SOLID || style > PS_NULL)
        return false;
    m_nStyle = style;
    m_nWidth = width < 0 ? 0 : width;
    m_color = color & 0xFFFFFF;
    SetValid(true);
    return true;
}
