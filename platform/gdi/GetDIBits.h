#pragma once

#include "platform/Types.h"
#include "platform/gdi/BITMAPINFO.h"
#include "platform/gdi/GdiConstants.h"

class CBitmap;
class CDC;

// Copies scan lines of the bitmap into `bits` as the header asks: 24 or 32 bits a pixel
// (blue, green, red[, 0]), rows padded to 4 bytes, bottom row first for a positive biHeight and
// top row first for a negative one. Scan line s counts from the first row stored. biWidth
// columns are written, those beyond the bitmap as black; the caller's buffer must hold
// scanLines rows of that stride. With `bits` null only biSizeImage is filled in.
//
// Returns the number of scan lines copied, or 0 for a bitmap without pixels or a header it
// cannot serve (a compressed or palette format, or a size past the bitmap limits).
int GetDIBits(CDC* pDC, CBitmap* bitmap, UINT startScan, UINT scanLines, void* bits,
              BITMAPINFO* info, UINT usage);
