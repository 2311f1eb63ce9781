#include "document/SvgDrawing.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

CCurve Curve(std::vector<CPoint> points, bool closed) {
    CCurve curve;
    curve.m_points = std::move(points);
    curve.m_bClosed = closed;
    return curve;
}

// Reads path data back: the commands in order, and every point that follows them.
struct ParsedPath {
    std::string commands;
    std::vector<CPoint> points;
};

ParsedPath Parse(const std::string& d) {
    ParsedPath parsed;
    std::istringstream in(d);
    std::string token;
    while (in >> token) {
        if (token.size() == 1 && std::isalpha(static_cast<unsigned char>(token[0]))) {
            parsed.commands += token;
            continue;
        }
        std::string yText;
        in >> yText;
        parsed.points.push_back(CPoint(std::stoi(token), std::stoi(yText)));
    }
    return parsed;
}

} // namespace

TEST(SvgDrawing, FewPointsAreLinesClosedWithZ) {
    EXPECT_EQ(SvgDrawing::PathData(Curve({}, true)), "");
    EXPECT_EQ(SvgDrawing::PathData(Curve({{5, 6}}, false)), "M 5 6");
    EXPECT_EQ(SvgDrawing::PathData(Curve({{5, 6}}, true)), "M 5 6 Z");
    EXPECT_EQ(SvgDrawing::PathData(Curve({{1, 2}, {-3, 4}}, false)), "M 1 2 L -3 4");
    EXPECT_EQ(SvgDrawing::PathData(Curve({{1, 2}, {-3, 4}, {5, -6}}, true)),
              "M 1 2 L -3 4 L 5 -6 Z");
}

// The conversion's own worked example: the truncated points, not exact sixths.
TEST(SvgDrawing, BezierPointsAreTheConversionsIntegers) {
    EXPECT_EQ(SvgDrawing::PathData(Curve({{0, 0}, {60, 0}, {60, 60}, {0, 60}}, false)),
              "M 0 0 C 9 0 49 -9 60 0 C 69 9 69 49 60 60 C 50 69 10 60 0 60");
    EXPECT_EQ(SvgDrawing::PathData(Curve({{0, 0}, {60, 0}, {60, 60}, {0, 60}}, true)),
              "M 0 0 C 9 0 49 -9 60 0 C 69 9 69 49 60 60 C 50 69 10 60 0 60 C -10 60 -9 0 0 0 Z");
}

// Whatever the curve, the path holds the Bezier point list exactly, point for point.
TEST(SvgDrawing, PathCarriesEveryBezierPointInOrder) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> coordinate(-2000000000, 2000000000);
    std::uniform_int_distribution<int> count(0, 12);
    for (int round = 0; round < 200; ++round) {
        CCurve curve;
        curve.m_bClosed = round % 2 == 1;
        const int n = count(rng);
        for (int i = 0; i < n; ++i)
            curve.m_points.push_back(CPoint(coordinate(rng) / (round % 3 == 0 ? 1 : 100000),
                                            coordinate(rng) / (round % 3 == 0 ? 1 : 100000)));
        const std::vector<CPoint> bezier = curve.ToBezier();
        const ParsedPath parsed = Parse(SvgDrawing::PathData(curve));
        EXPECT_EQ(parsed.points, bezier) << "round " << round;
        std::string expected;
        if (!bezier.empty())
            expected = "M";
        if (bezier.size() < 4) {
            expected += std::string(bezier.empty() ? 0 : bezier.size() - 1, 'L');
            if (!bezier.empty() && curve.m_bClosed)
                expected += 'Z';
        } else {
            expected += std::string((bezier.size() - 1) / 3, 'C');
            if (curve.m_bClosed)
                expected += 'Z';
        }
        EXPECT_EQ(parsed.commands, expected) << "round " << round;
    }
}

TEST(SvgDrawing, DocumentHasOnePathPerCurveInStackingOrderOnTheArea) {
    const CCurve line = Curve({{1, 1}, {2, 2}}, false);
    const CCurve empty = Curve({}, false);
    const CCurve dot = Curve({{3, 3}}, false);
    const std::string svg = SvgDrawing::Build({&line, &empty, &dot}, CRect(-10, -20, 90, 60),
                                              "a & <b>", "Swoop2 1.0.0.1");

    EXPECT_NE(svg.find("width=\"100\" height=\"80\" viewBox=\"-10 -20 100 80\""), std::string::npos)
        << svg;
    const std::string open = "<path fill=\"none\" stroke=\"#000000\" stroke-width=\"1\" d=\"";
    std::vector<std::string> data;
    for (auto at = svg.find(open); at != std::string::npos; at = svg.find(open, at)) {
        at += open.size();
        const auto end = svg.find("\"/>", at);
        ASSERT_NE(end, std::string::npos);
        data.push_back(svg.substr(at, end - at));
    }
    EXPECT_EQ(data, (std::vector<std::string>{"M 1 1 L 2 2", "", "M 3 3"}));
    EXPECT_EQ(svg.find("<?xml"), 0u);
    EXPECT_NE(svg.rfind("</svg>"), std::string::npos);
    // A file name's markup characters stay text.
    EXPECT_NE(svg.find("<title>a &amp; &lt;b&gt;</title>"), std::string::npos) << svg;
    EXPECT_NE(svg.find("<xmp:CreatorTool>Swoop2 1.0.0.1</xmp:CreatorTool>"), std::string::npos);
}

// The clipboard's SVG: every curve moved by the same step, the corner of all their points at the
// origin; nothing for curves without points or too far apart to move into the 32-bit range.
TEST(SvgDrawing, PlacedMovesTheCurvesTogetherToTheOriginWithTheMargin) {
    const CCurve a = Curve({{100, -50}, {130, -20}}, false);
    const CCurve b = Curve({{90, 10}}, true);
    const std::string svg = SvgDrawing::Placed({&a, &b}, "Swoop2");
    EXPECT_NE(svg.find("viewBox=\"0 0 50 70\""), std::string::npos) << svg;
    EXPECT_NE(svg.find("d=\"M 10 0 L 40 30\"/>\n<path fill=\"none\" stroke=\"#000000\" "
                       "stroke-width=\"1\" d=\"M 0 60 Z\""),
              std::string::npos)
        << svg;

    const CCurve empty = Curve({}, true);
    EXPECT_EQ(SvgDrawing::Placed({&empty}, "Swoop2"), "");
    const CCurve far = Curve({{INT32_MIN, 0}, {INT32_MAX, 0}}, false);
    EXPECT_EQ(SvgDrawing::Placed({&far}, "Swoop2"), "");
}
