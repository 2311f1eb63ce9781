#pragma once

#include "curve/CCurve.h"
#include "platform/geometry/CRect.h"

#include <string>
#include <vector>

// A drawing as an SVG document: one path per curve in stacking order, black one-pixel strokes
// with no fill, one unit a pixel. A path carries exactly the integer points that the window's
// drawing uses: M and C for the Bezier points of a curve of four or more control points, M and L
// for a curve of one to three, and Z where the curve is closed. The document names its title and
// the program that made it where viewers look for them: the title element, and the creator tool
// in RDF metadata and in a comment.
class SvgDrawing {
public:
    // The whole document, of the curves in stacking order; the area is its size and view box.
    // The title and creator are readable UTF-8 text (ReadableText); an empty one is left out.
    static std::string Build(const std::vector<const CCurve*>& curves, const CRect& area,
                             const std::string& title, const std::string& creator);
    // The curves placed as the clipboard's picture places them: their control points' top-left
    // corner at the origin, and 10 units more to the right and below. Empty when the curves have
    // no points, or span more than the 32-bit range can hold once moved there.
    static std::string Placed(const std::vector<const CCurve*>& curves, const std::string& creator);
    // The path data of one curve; empty for a curve without points.
    static std::string PathData(const CCurve& curve);
};
