#include "flash/glyph_outline.h"

#include "flash/curve_cuts.h"

#include <cmath>

namespace flash {

std::vector<double> GlyphCurveCuts(const ShapeEdge& e, double tolerance) {
    std::vector<double> cuts;
    // A curve that strays from its chord by no more than the tolerance (half
    // its control point's distance) stays one chord.
    double chord_x = e.x1 - e.x0, chord_y = e.y1 - e.y0;
    double chord2 = chord_x * chord_x + chord_y * chord_y;
    double off = chord_x * (e.cy - e.y0) - chord_y * (e.cx - e.x0);   // distance times chord length
    if ((chord2 > 0 && off * off * 0.25 <= tolerance * tolerance * chord2) || tolerance <= 0) return cuts;
    CurveCuts curve(Point{static_cast<double>(e.x0), static_cast<double>(e.y0)},
                    Point{static_cast<double>(e.cx), static_cast<double>(e.cy)},
                    Point{static_cast<double>(e.x1), static_cast<double>(e.y1)}, tolerance);
    for (int i = 1; i < curve.Count(); ++i) cuts.push_back(curve.At(i));
    return cuts;
}

Point SnapToSixteenth(Point p) { return Point{std::nearbyint(p.x * 16) / 16, std::nearbyint(p.y * 16) / 16}; }

}  // namespace flash
