#include "document/SvgDrawing.h"

#include "platform/geometry/PointSpan.h"

#include <cstdint>
#include <limits>

namespace {

void AppendPoint(std::string& out, CPoint pt) {
    out += std::to_string(pt.x);
    out += ' ';
    out += std::to_string(pt.y);
}

// Writes a list from ToBezier as an SVG path's data.
class PathPen {
public:
    explicit PathPen(std::string& d) : m_d(d) {}

    void MoveTo(CPoint pt) {
        m_d += "M ";
        AppendPoint(m_d, pt);
    }
    void LineTo(CPoint pt) {
        m_d += " L ";
        AppendPoint(m_d, pt);
    }
    void PolyBezier(const std::vector<CPoint>& points) {
        MoveTo(points[0]);
        for (std::size_t i = 1; i + 2 < points.size(); i += 3) {
            m_d += " C ";
            AppendPoint(m_d, points[i]);
            m_d += ' ';
            AppendPoint(m_d, points[i + 1]);
            m_d += ' ';
            AppendPoint(m_d, points[i + 2]);
        }
    }
    // The path's own closing joins the ends as the window's line back to the first point does.
    void CloseFigure(CPoint, bool) { m_d += " Z"; }

private:
    std::string& m_d;
};

// Text as XML character data: markup characters become references.
std::string Escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::string SvgDrawing::PathData(const CCurve& curve) {
    std::string d;
    PathPen pen(d);
    CCurve::TracePoints(curve.ToBezier(), curve.m_bClosed, pen);
    return d;
}

std::string SvgDrawing::Build(const std::vector<const CCurve*>& curves, const CRect& area,
                              const std::string& title, const std::string& creator) {
    const std::string width = std::to_string(area.Width());
    const std::string height = std::to_string(area.Height());
    const std::string creatorText = Escaped(creator);
    std::string svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    // A comment may not hold two hyphens in a row.
    if (!creatorText.empty() && creatorText.find("--") == std::string::npos)
        svg += "<!-- Created with " + creatorText + " -->\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + width +
           "\" height=\"" + height + "\" viewBox=\"" + std::to_string(area.left) + ' ' +
           std::to_string(area.top) + ' ' + width + ' ' + height + "\">\n";
    const std::string titleText = Escaped(title);
    if (!titleText.empty())
        svg += "<title>" + titleText + "</title>\n";
    svg += "<metadata>\n<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
           "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n<rdf:Description rdf:about=\"\">\n";
    svg += "<dc:format>image/svg+xml</dc:format>\n";
    if (!titleText.empty())
        svg += "<dc:title>" + titleText + "</dc:title>\n";
    if (!creatorText.empty())
        svg += "<xmp:CreatorTool>" + creatorText + "</xmp:CreatorTool>\n";
    svg += "</rdf:Description>\n</rdf:RDF>\n</metadata>\n";
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

std::string SvgDrawing::Placed(const std::vector<const CCurve*>& curves,
                               const std::string& creator) {
    // The picture's own margin: the curves are not shifted by it, so all of it lies on the
    // right and at the bottom.
    constexpr std::int64_t kMargin = 10;
    PointSpan span = SpanOfPoints(nullptr, 0);
    for (const CCurve* curve : curves) {
        if (curve != nullptr)
            span = UnionSpan(span, SpanOfPoints(curve->m_points.data(), curve->m_points.size()));
    }
    if (span.IsEmpty())
        return {};
    const std::int64_t width = std::int64_t(span.right) - span.left + kMargin;
    const std::int64_t height = std::int64_t(span.bottom) - span.top + kMargin;
    if (width > std::numeric_limits<std::int32_t>::max() ||
        height > std::numeric_limits<std::int32_t>::max())
        return {};
    std::vector<CCurve> moved;
    moved.reserve(curves.size());
    std::vector<const CCurve*> list;
    list.reserve(curves.size());
    for (const CCurve* curve : curves) {
        if (curve == nullptr)
            continue;
        // Within the span checked above, every moved coordinate fits.
        moved.push_back(*curve);
        for (CPoint& pt : moved.back().m_points)
            pt = CPoint(std::int32_t(std::int64_t(pt.x) - span.left),
                        std::int32_t(std::int64_t(pt.y) - span.top));
    }
    for (const CCurve& curve : moved)
        list.push_back(&curve);
    return Build(list, CRect(0, 0, std::int32_t(width), std::int32_t(height)), {}, creator);
}
