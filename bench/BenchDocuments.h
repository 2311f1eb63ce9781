#pragma once

#include "curve/CCurve.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

// The drawings the benchmarks measure, on a 1920 by 1080 window, and QPainter drawing them for
// comparison.
namespace bench {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Open curves of `points` points from a random start: random walks of steps up to 20 pixels,
// like a hand clicking along, or points spread uniformly over the window. The same arguments
// give the same curves.
inline std::vector<CCurve> MakeCurves(int curves, int points, bool spread = false) {
    std::mt19937 rng(2026);
    std::uniform_int_distribution<int> x(0, kWidth - 1);
    std::uniform_int_distribution<int> y(0, kHeight - 1);
    std::uniform_int_distribution<int> step(-20, 20);
    std::vector<CCurve> result(static_cast<std::size_t>(curves));
    for (CCurve& c : result) {
        CPoint pt(x(rng), y(rng));
        for (int j = 0; j < points; ++j) {
            c.m_points.push_back(pt);
            pt = spread ? CPoint(x(rng), y(rng)) : pt + CPoint(step(rng), step(rng));
        }
    }
    return result;
}

// Writes a document file of `curves` curves of `points` points each, pseudo-random, without the
// program's own code; false when it cannot be written.
// A folder of the benchmark's own under the system's temporary folder, made at its first use;
// the benchmark removes it when it ends.
inline std::filesystem::path BenchFolder(const char* pattern) {
    std::string path = (std::filesystem::temp_directory_path() / pattern).string();
    if (!::mkdtemp(path.data()))
        std::abort();
    return path;
}

inline bool WriteDrawingFile(const std::string& path, std::uint32_t curves, std::uint32_t points) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        return false;
    const auto put = [f](std::uint32_t v) {
        const unsigned char b[4] = {
            static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
            static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        std::fwrite(b, 1, 4, f);
    };
    put(curves);
    std::uint32_t x = 12345;
    for (std::uint32_t c = 0; c < curves; ++c) {
        put(points);
        for (std::uint32_t p = 0; p < points; ++p) {
            x = x * 1103515245u + 12345u;
            put(x >> 16);
            put(static_cast<std::uint32_t>(-static_cast<std::int32_t>(x >> 20)));
        }
    }
    return std::fclose(f) == 0;
}

// QPainter with a cosmetic one-pixel pen on converted Bezier point lists.
inline void PaintWithQPainter(QImage& image, const std::vector<std::vector<CPoint>>& lists) {
    QPainter painter(&image);
    QPen pen(Qt::black, 0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const auto& l : lists) {
        if (l.empty())
            continue;
        QPainterPath path(QPointF(l[0].x, l[0].y));
        for (std::size_t i = 1; i + 2 < l.size(); i += 3)
            path.cubicTo(QPointF(l[i].x, l[i].y), QPointF(l[i + 1].x, l[i + 1].y),
                         QPointF(l[i + 2].x, l[i + 2].y));
        painter.drawPath(path);
    }
}

} // namespace bench
