#pragma once

#include "platform/Types.h"
#include "platform/gdi/CGdiObject.h"

// A solid brush of one colour, or the hollow stock brush that fills nothing.
class CBrush : public CGdiObject {
public:
    CBrush() : CGdiObject(Kind::Brush) {}
    explicit CBrush(COLORREF color);

    bool CreateSolidBrush(COLORREF color);

    bool IsHollow() const { return m_bHollow; }
    COLORREF GetColor() const { return m_color; }

private:
    friend class StockObjects;
    struct StockTag {};
    CBrush(StockTag, bool hollow, COLORREF color);

    bool m_bHollow = false;
    COLORREF m_color = 0;
};
