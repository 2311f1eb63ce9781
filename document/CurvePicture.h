#pragma once

#include "platform/ole/GlobalMemory.h"

#include <vector>

class CCurve;
class CDC;

// The picture of a curve that the clipboard offers other programs: a packed device-independent
// bitmap (the 40-byte header, then 24-bit rows bottom row first) in a new global block that the
// caller owns. The curve is drawn in black on white, moved so that its control points' top-left
// corner is the top-left pixel, with 10 more columns on the right and 10 more rows at the bottom.
// pWindowDC is the window surface the picture must be compatible with.
//
// Null for a curve without points (it has no extent), for a picture beyond the bitmap limits,
// and when memory cannot be had.
HGLOBAL CurvePicture(const CCurve& curve, CDC* pWindowDC);
// The same for several curves together, their control points' top-left corner the top-left
// pixel; null when none of them has points.
HGLOBAL CurvesPicture(const std::vector<const CCurve*>& curves, CDC* pWindowDC);
