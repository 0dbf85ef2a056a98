#include "flash/glyph_outline.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

// Closed-form approximations of the integral of sqrt(sqrt(1 + 4x^2)) that
// measures how much a parabola bends up to x, and of its inverse.
double BendIntegral(double x) {
    const double d = 0.67;
    return x / (1 - d + std::sqrt(std::sqrt(d * d * d * d + 0.25 * x * x)));
}

double BendIntegralInverse(double x) {
    const double b = 0.39;
    return x * (1 - b + std::sqrt(b * b + 0.25 * x * x));
}

}  // namespace

std::vector<double> CurveCuts(const ShapeEdge& e, double tolerance) {
    std::vector<double> cuts;
    // A curve that strays from its chord by no more than the tolerance (half
    // its control point's distance) stays one chord.
    double chord_x = e.x1 - e.x0, chord_y = e.y1 - e.y0;
    double chord2 = chord_x * chord_x + chord_y * chord_y;
    double off = chord_x * (e.cy - e.y0) - chord_y * (e.cx - e.x0);   // distance times chord length
    if (chord2 > 0 && off * off * 0.25 <= tolerance * tolerance * chord2) return cuts;
    // The curve as a piece of the parabola y = x^2: where it starts and ends
    // on it, and how much it is scaled.
    double ddx = 2.0 * e.cx - e.x0 - e.x1, ddy = 2.0 * e.cy - e.y0 - e.y1;
    double cross = (e.x1 - e.x0) * ddy - (e.y1 - e.y0) * ddx;
    if (cross == 0 || tolerance <= 0) return cuts;
    double from = ((e.cx - e.x0) * ddx + (e.cy - e.y0) * ddy) / cross;
    double to = ((e.x1 - e.cx) * ddx + (e.y1 - e.cy) * ddy) / cross;
    if (to == from) return cuts;
    double scale = std::abs(cross) / (std::hypot(ddx, ddy) * std::abs(to - from));
    double a0 = BendIntegral(from), a1 = BendIntegral(to);
    double u0 = BendIntegralInverse(a0), u1 = BendIntegralInverse(a1);
    double count = 0.5 * std::abs(a1 - a0) * std::sqrt(scale / tolerance);
    if (!std::isfinite(count) || u1 == u0) return cuts;
    int pieces = std::clamp(static_cast<int>(std::ceil(count)), 1, 256);
    for (int i = 1; i < pieces; ++i)
        cuts.push_back((BendIntegralInverse(a0 + (a1 - a0) * i / pieces) - u0) / (u1 - u0));
    return cuts;
}

Point SnapToSixteenth(Point p) { return Point{std::nearbyint(p.x * 16) / 16, std::nearbyint(p.y * 16) / 16}; }

}  // namespace flash
