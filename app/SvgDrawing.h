#pragma once

#include "curve/CCurve.h"
#include "platform/geometry/CRect.h"

#include <memory>
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
    // The whole document; the area is its size and view box. The title and creator are
    // readable UTF-8 text (ReadableText); an empty title is left out.
    static std::string Build(const std::vector<std::unique_ptr<CCurve>>& curves, const CRect& area,
                             const std::string& title, const std::string& creator);
    // The path data of one curve; empty for a curve without points.
    static std::string PathData(const CCurve& curve);
};
