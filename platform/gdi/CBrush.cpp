#include "platform/gdi/CBrush.h"

CBrush::CBrush(COLORREF color) : CGdiObject(Kind::Brush) {
    CreateSolidBrush(color);
}

CBrush::CBrush(StockTag, bool hollow, COLORREF color) : CBrush(color) {
    m_bHollow = hollow;
    MakeStock();
}

bool CBrush::CreateSolidBrush(COLORREF color) {
    if (IsValid())
        return false;
    m_color = color & 0xFFFFFF;
    SetValid(true);
    return true;
}
