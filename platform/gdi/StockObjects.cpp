#include "platform/gdi/StockObjects.h"

#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"

struct StockObjects::Stock {
    CBrush white;
    CBrush ltGray;
    CBrush gray;
    CBrush dkGray;
    CBrush black;
    CBrush hollow;
    CPen whitePen;
    CPen blackPen;
    CPen nullPen;
    CBitmap bitmap;
};

CGdiObject* StockObjects::Get(int index) {
    Stock& s = TheStock();
    switch (index) {
    case WHITE_BRUSH:
        return &s.white;
    case LTGRAY_BRUSH:
        return &s.ltGray;
    case GRAY_BRUSH:
        return &s.gray;
    case DKGRAY_BRUSH:
        return &s.dkGray;
    case BLACK_BRUSH:
        return &s.black;
    case NULL_BRUSH:
        return &s.hollow;
    case WHITE_PEN:
        return &s.whitePen;
    case BLACK_PEN:
        return &s.blackPen;
    case NULL_PEN:
        return &s.nullPen;
    default:
        return nullptr;
    }
}

CPen* StockObjects::BlackPen() {
    return &TheStock().blackPen;
}

CBrush* StockObjects::WhiteBrush() {
    return &TheStock().white;
}

CBitmap* StockObjects::DefaultBitmap() {
    return &TheStock().bitmap;
}

// Built on first use and never destroyed, so that surfaces that outlive static destruction
// still find their stock objects.
StockObjects::Stock& StockObjects::TheStock() {
    static Stock* stock = new Stock{
        CBrush(CBrush::StockTag{}, false, RGB(255, 255, 255)),
        CBrush(CBrush::StockTag{}, false, RGB(192, 192, 192)),
        CBrush(CBrush::StockTag{}, false, RGB(128, 128, 128)),
        CBrush(CBrush::StockTag{}, false, RGB(64, 64, 64)),
        CBrush(CBrush::StockTag{}, false, RGB(0, 0, 0)),
        CBrush(CBrush::StockTag{}, true, 0),
        CPen(CPen::StockTag{}, PS_SOLID, RGB(255, 255, 255)),
        CPen(CPen::StockTag{}, PS_SOLID, RGB(0, 0, 0)),
        CPen(CPen::StockTag{}, PS_NULL, 0),
        CBitmap(CBitmap::StockTag{}),
    };
    return *stock;
}
