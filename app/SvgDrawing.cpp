#include "app/SvgDrawing.h"

#include <cstdint>

namespace {

void AppendPoint(std::string& out, CPoint pt) {
    out += std::to_string(pt.x);
    out += ' ';
    out += std::to_string(pt.y);
}

} // namespace

std::string SvgDrawing::PathData(const CCurve& curve) {
    const std::vector<CPoint> points = curve.ToBezier();
    std::string d;
    if (points.empty())
        return d;
    d += "M ";
    AppendPoint(d, points[0]);
    if (points.size() < 4) {
        for (std::size_t i = 1; i < points.size(); ++i) {
            d += " L ";
            AppendPoint(d, points[i]);
        }
    } else {
        for (std::size_t i = 1; i + 2 < points.size(); i += 3) {
            d += " C ";
            AppendPoint(d, points[i]);
            d += ' ';
            AppendPoint(d, points[i + 1]);
            d += ' ';
            AppendPoint(d, points[i + 2]);
        }
    }
    if (curve.m_bClosed)
        d += " Z";
    return d;
}

std::string SvgDrawing::Build(const std::vector<std::unique_ptr<CCurve>>& curves,
                              const CRect& area) {
    const std::string width = std::to_string(area.Width());
    const std::string height = std::to_string(area.Height());
    std::string svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + width +
           "\" height=\"" + height + "\" viewBox=\"" + std::to_string(area.left) + ' ' +
           std::to_string(area.top) + ' ' + width + ' ' + height + "\">\n";
    // A window's pixel (x, y) is the square from (x, y) to (x + 1, y + 1): moving the strokes by
    // half a pixel puts them on the pixels the window paints, sharp instead of straddling two.
    svg += "<g transform=\"translate(0.5 0.5)\">\n";
    for (const auto& curve : curves) {
        if (curve == nullptr)
            continue;
        svg += "<path fill=\"none\" stroke=\"#000000\" stroke-width=\"1\" d=\"";
        svg += PathData(*curve);
        svg += "\"/>\n";
    }
    svg += "</g>\n</svg>\n";
    return svg;
}
