#pragma once

// The drawing constants of the framework, with the values its callers were written against.

// Raster operations for lines (SetROP2): the result as a function of pen and destination.
// The codes run from 1 in this order.
enum : int {
    R2_BLACK = 1,
    R2_NOTMERGEPEN,
    R2_MASKNOTPEN,
    R2_NOTCOPYPEN,
    R2_MASKPENNOT,
    R2_NOT,
    R2_XORPEN,
    R2_NOTMASKPEN,
    R2_MASKPEN,
    R2_NOTXORPEN,
    R2_NOP,
    R2_MERGENOTPEN,
    R2_COPYPEN,
    R2_MERGEPENNOT,
    R2_MERGEPEN,
    R2_WHITE,
};

// Stock objects (SelectStockObject).
enum : int {
    WHITE_BRUSH,
    LTGRAY_BRUSH,
    GRAY_BRUSH,
    DKGRAY_BRUSH,
    BLACK_BRUSH,
    NULL_BRUSH,
    HOLLOW_BRUSH = NULL_BRUSH,
    WHITE_PEN,
    BLACK_PEN,
    NULL_PEN,
};

// Pen styles.
enum : int {
    PS_SOLID,
    PS_DASH,
    PS_DOT,
    PS_DASHDOT,
    PS_DASHDOTDOT,
    PS_NULL,
};

// Device-independent bitmaps.
constexpr unsigned DIB_RGB_COLORS = 0;
constexpr unsigned BI_RGB = 0;
