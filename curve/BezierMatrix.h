#pragma once

#include <array>

// The segment matrix of the spline conversion. Its values are the contract: the thirds are
// stored six units in the last place below the true thirds, and the product is summed in a
// fixed order with every operation rounded on its own. Both matrices and the product are kept
// here so that the compiler evaluates the product exactly as written and checks the result.
namespace bezier_matrix {

using Matrix = std::array<std::array<double, 4>, 4>;

constexpr double kThird = 0.333333333333333;
constexpr double kTwoThirds = 0.666666666666666;

// Maps the power-basis coefficients (s^3, s^2, s, 1) of a cubic to its Bezier points.
constexpr Matrix g_bezierFromPowerBasis = {{
    {0, 0, 0, 1},
    {0, 0, kThird, 1},
    {0, kThird, kTwoThirds, 1},
    {1, 1, 1, 1},
}};

// Maps four consecutive control points to the power-basis coefficients of the uniform
// Catmull-Rom segment between the middle two.
constexpr Matrix g_catmullRomBasis = {{
    {-0.5, 1.5, -1.5, 0.5},
    {1, -2.5, 2, -0.5},
    {-0.5, 0, 0.5, 0},
    {0, 1, 0, 0},
}};

constexpr Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix m{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            m[i][j] = (((0.0 + a[i][0] * b[0][j]) + a[i][1] * b[1][j]) + a[i][2] * b[2][j]) +
                      a[i][3] * b[3][j];
    return m;
}

constexpr Matrix kSegment = Multiply(g_bezierFromPowerBasis, g_catmullRomBasis);

static_assert(kSegment[0] == std::array<double, 4>{0, 1, 0, 0});
static_assert(kSegment[1] == std::array<double, 4>{-0.1666666666666665, 1, 0.1666666666666665, 0});
static_assert(kSegment[2] == std::array<double, 4>{0, 0.16666666666666752, 0.9999999999999989,
                                                   -0.1666666666666665});
static_assert(kSegment[3] == std::array<double, 4>{0, 0, 1, 0});

} // namespace bezier_matrix
