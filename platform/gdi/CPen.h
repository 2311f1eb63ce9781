#pragma once

#include "platform/Types.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiConstants.h"

// A pen: style (PS_SOLID, PS_DOT, ...), width in logical units and colour. Widths of 0 and 1
// both draw one pixel wide.
class CPen : public CGdiObject {
public:
    CPen() : CGdiObject(Kind::Pen) {}
    CPen(int style, int width, COLORREF color);

    bool CreatePen(int style, int width, COLORREF color);

    int GetStyle() const { return m_nStyle; }
    int GetWidth() const { return m_nWidth; }
    COLORREF GetColor() const { return m_color; }

private:
    friend class StockObjects;
    struct StockTag {};
    CPen(StockTag, int style, COLORREF color);

    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_color = 0;
};
