#include "flash/glyph_outline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace flash {
namespace {

ShapeEdge Curve(int x0, int y0, int cx, int cy, int x1, int y1) {
    ShapeEdge e;
    e.x0 = x0, e.y0 = y0, e.cx = cx, e.cy = cy, e.x1 = x1, e.y1 = y1;
    e.curved = true;
    return e;
}

Point At(const ShapeEdge& e, double t) {
    double u = 1 - t;
    return Point{u * u * e.x0 + 2 * u * t * e.cx + t * t * e.x1, u * u * e.y0 + 2 * u * t * e.cy + t * t * e.y1};
}

// Distance from p to the segment a-b.
double Away(Point p, Point a, Point b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

TEST(GlyphOutline, CurvesAreCutWithinTheToleranceAndMoreFinelyWhereTheyBend) {
    ShapeEdge bend = Curve(0, 0, 0, 400, 400, 400);   // a quarter-round corner
    std::vector<double> cuts = GlyphCurveCuts(bend, kGlyphCurveTolerance);
    ASSERT_GE(cuts.size(), 3u);
    std::vector<double> ts{0};
    ts.insert(ts.end(), cuts.begin(), cuts.end());
    ts.push_back(1);
    for (size_t i = 1; i < ts.size(); ++i) {
        ASSERT_LT(ts[i - 1], ts[i]);
        Point a = At(bend, ts[i - 1]), b = At(bend, ts[i]);
        // No point of the curve between two cuts strays past the tolerance.
        for (int k = 1; k < 8; ++k)
            EXPECT_LE(Away(At(bend, ts[i - 1] + (ts[i] - ts[i - 1]) * k / 8), a, b), kGlyphCurveTolerance * 1.05);
    }
    // A looser tolerance cuts less; a flat curve or a point is not cut.
    EXPECT_LT(GlyphCurveCuts(bend, 20).size(), cuts.size());
    EXPECT_TRUE(GlyphCurveCuts(Curve(0, 0, 50, 50, 100, 100), 1).empty());
    // One whose control point is 3 units off its chord strays 1.5 from it.
    EXPECT_TRUE(GlyphCurveCuts(Curve(0, 0, 500, 3, 1000, 0), 2).empty());
    EXPECT_FALSE(GlyphCurveCuts(Curve(0, 0, 500, 3, 1000, 0), 1).empty());
    EXPECT_TRUE(GlyphCurveCuts(Curve(5, 5, 5, 5, 5, 5), 1).empty());
    // A curve that turns back on itself is still cut in order.
    std::vector<double> back = GlyphCurveCuts(Curve(0, 0, 300, 0, 0, 10), 1);
    for (size_t i = 1; i < back.size(); ++i) EXPECT_LT(back[i - 1], back[i]);
}

TEST(GlyphOutline, PointsSnapToSixteenthsWithHalvesToEven) {
    Point p = SnapToSixteenth(Point{2.15625, 10.03});   // 34.5 sixteenths, 160.48
    EXPECT_DOUBLE_EQ(p.x, 34.0 / 16);
    EXPECT_DOUBLE_EQ(p.y, 160.0 / 16);
    EXPECT_DOUBLE_EQ(SnapToSixteenth(Point{2.21875, -0.09375}).x, 36.0 / 16);   // 35.5
    EXPECT_DOUBLE_EQ(SnapToSixteenth(Point{2.21875, -0.09375}).y, -2.0 / 16);   // -1.5
}

}  // namespace
}  // namespace flash
