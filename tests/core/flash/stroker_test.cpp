#include "flash/shape_reader.h"
#include "flash/stroker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using flash::LineCap;
using flash::LineJoin;
using flash::Point;
using flash::StrokeStyle;

// Keeps every polygon of a stroke; each is convex, so a point is covered
// when it lies inside (or on) any one of them.
class Collect : public flash::StrokeSink {
public:
    void Polygon(const Point* points, size_t count) override { polygons.emplace_back(points, points + count); }

    bool Covers(double x, double y) const {
        for (const auto& polygon : polygons) {
            bool left = false, right = false;
            for (size_t i = 0; i < polygon.size(); ++i) {
                const Point& p = polygon[i];
                const Point& q = polygon[(i + 1) % polygon.size()];
                double cross = (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x);
                if (cross > 1e-9) left = true;
                if (cross < -1e-9) right = true;
            }
            if (!(left && right)) return true;
        }
        return false;
    }

    std::vector<std::vector<Point>> polygons;
};

Collect Stroke(const std::vector<Point>& path, bool closed, const StrokeStyle& style) {
    Collect sink;
    flash::StrokePolyline(path, closed, style, sink);
    return sink;
}

StrokeStyle Style(double half, LineCap cap, LineJoin join) {
    StrokeStyle style;
    style.half = half;
    style.tolerance = 0.01;
    style.start_cap = style.end_cap = cap;
    style.join = join;
    return style;
}

TEST(Stroker, CapsEndAsTheirStyleSays) {
    // A line from (0, 0) to (10, 0), two wide.
    std::vector<Point> line{{0, 0}, {10, 0}};
    Collect none = Stroke(line, false, Style(1, LineCap::None, LineJoin::Round));
    EXPECT_TRUE(none.Covers(9.9, 0.9));
    EXPECT_FALSE(none.Covers(10.1, 0));
    EXPECT_FALSE(none.Covers(-0.1, 0));

    Collect square = Stroke(line, false, Style(1, LineCap::Square, LineJoin::Round));
    EXPECT_TRUE(square.Covers(10.9, 0.9));
    EXPECT_TRUE(square.Covers(-0.9, -0.9));
    EXPECT_FALSE(square.Covers(11.1, 0));

    Collect round = Stroke(line, false, Style(1, LineCap::Round, LineJoin::Round));
    EXPECT_TRUE(round.Covers(10.95, 0));
    EXPECT_TRUE(round.Covers(10.6, 0.75));  // 0.96 from the end
    EXPECT_FALSE(round.Covers(10.75, 0.75));  // 1.06 from the end
    EXPECT_FALSE(round.Covers(-1.05, 0));
}

TEST(Stroker, JoinsTurnTheOuterCornerAsTheirStyleSays) {
    // Right along y = 0, then down along x = 10: the outer corner is at
    // (11, -1), a half width out on both sides.
    std::vector<Point> bend{{0, 0}, {10, 0}, {10, 10}};
    Collect round = Stroke(bend, false, Style(1, LineCap::None, LineJoin::Round));
    EXPECT_TRUE(round.Covers(10.65, -0.65));  // 0.92 from the corner
    EXPECT_FALSE(round.Covers(10.75, -0.75));

    Collect bevel = Stroke(bend, false, Style(1, LineCap::None, LineJoin::Bevel));
    EXPECT_TRUE(bevel.Covers(10.45, -0.45));
    EXPECT_FALSE(bevel.Covers(10.6, -0.6));

    Collect miter = Stroke(bend, false, Style(1, LineCap::None, LineJoin::Miter));
    EXPECT_TRUE(miter.Covers(10.95, -0.95));
    EXPECT_FALSE(miter.Covers(11.05, -0.5));

    // A limit of half a width cuts the miter 1 from the corner, across the
    // diagonal.
    StrokeStyle cut = Style(1, LineCap::None, LineJoin::Miter);
    cut.miter_limit = 0.5;
    Collect clipped = Stroke(bend, false, cut);
    EXPECT_TRUE(clipped.Covers(10.65, -0.65));
    EXPECT_FALSE(clipped.Covers(10.8, -0.8));
}

TEST(Stroker, ClosedPathsJoinAtTheirStartInsteadOfCapping) {
    std::vector<Point> box{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};
    Collect closed = Stroke(box, true, Style(1, LineCap::Square, LineJoin::Miter));
    EXPECT_TRUE(closed.Covers(-0.95, -0.95));  // the start's corner is mitred
    EXPECT_FALSE(closed.Covers(-1.05, 0.5));   // and not capped past it

    Collect open = Stroke(box, false, Style(1, LineCap::None, LineJoin::Miter));
    EXPECT_FALSE(open.Covers(-0.95, -0.95));
}

TEST(Stroker, MinorAxisLinesCoverTheirWidthAcrossTheLesserExtent) {
    // A 45 degree line half a pixel either side: 0.5 up and down from the
    // centre line, not 0.5 square to it.
    std::vector<Point> diagonal{{0, 0}, {10, 10}};
    StrokeStyle style = Style(0.5, LineCap::None, LineJoin::Round);
    style.minor_axis = true;
    Collect minor = Stroke(diagonal, false, style);
    EXPECT_TRUE(minor.Covers(5, 5.45));
    EXPECT_FALSE(minor.Covers(5, 5.55));
    Collect square = Stroke(diagonal, false, Style(0.5, LineCap::None, LineJoin::Round));
    EXPECT_TRUE(square.Covers(5, 5.65));
}

TEST(Stroker, ZeroLengthSegmentsAreSkipped) {
    std::vector<Point> path{{0, 0}, {0, 0}, {10, 0}, {10, 0}};
    Collect sink = Stroke(path, false, Style(1, LineCap::None, LineJoin::Round));
    EXPECT_TRUE(sink.Covers(5, 0.9));
    EXPECT_FALSE(sink.Covers(10.1, 0));
    EXPECT_TRUE(Stroke({{3, 3}, {3, 3}}, false, Style(1, LineCap::Round, LineJoin::Round)).polygons.empty());
    // A width too large to measure still makes a bounded cap.
    Collect huge = Stroke({{0, 0}, {1, 0}}, false, Style(1e308 * 10, LineCap::Round, LineJoin::Round));
    for (const auto& polygon : huge.polygons) EXPECT_LE(polygon.size(), 258u);
}

TEST(Stroker, LineStyleFlagsGiveCapsJoinAndMiterLimit) {
    // Start cap none, miter join, no vertical scaling; no close, end cap
    // square; a miter limit of 2.5.
    std::vector<uint8_t> bytes{0x40 | 0x20 | 0x02, 0x04 | 0x02, 0x80, 0x02};
    swf::ByteReader in(bytes);
    flash::LineStyle line;
    EXPECT_FALSE(flash::ReadLineFlags(in, line));
    EXPECT_EQ(line.start_cap, LineCap::None);
    EXPECT_EQ(line.end_cap, LineCap::Square);
    EXPECT_EQ(line.join, LineJoin::Miter);
    EXPECT_DOUBLE_EQ(line.miter_limit, 2.5);
    EXPECT_TRUE(line.no_close);
    EXPECT_TRUE(line.scale_x);
    EXPECT_FALSE(line.scale_y);
}

}  // namespace
