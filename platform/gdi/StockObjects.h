#pragma once

class CGdiObject;
class CBitmap;
class CBrush;
class CPen;

// The platform's stock pens and brushes, and the empty bitmap that a new memory surface holds.
// They live as long as the program and are never deleted.
class StockObjects {
public:
    // The stock object of that index (WHITE_BRUSH ... NULL_PEN), or null for an unknown index.
    static CGdiObject* Get(int index);
    static CPen* BlackPen();
    static CBrush* WhiteBrush();
    static CBitmap* DefaultBitmap();

private:
    struct Stock;
    static Stock& TheStock();
};
