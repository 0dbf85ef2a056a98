#include "flash/curve_cuts.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using flash::CurveCuts;
using flash::Point;

Point On(Point p0, Point p1, Point p2, double t) {
    double u = 1 - t;
    return Point{u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y};
}

// The farthest the curve strays from the chords between its cuts.
double LargestStray(Point p0, Point p1, Point p2, const CurveCuts& cuts) {
    double largest = 0;
    for (int i = 0; i < cuts.Count(); ++i) {
        double t0 = cuts.At(i), t1 = cuts.At(i + 1);
        Point a = On(p0, p1, p2, t0), b = On(p0, p1, p2, t1);
        double length = std::hypot(b.x - a.x, b.y - a.y);
        for (int k = 1; k < 16; ++k) {
            Point q = On(p0, p1, p2, t0 + (t1 - t0) * k / 16);
            double off = length > 0 ? std::fabs((b.x - a.x) * (q.y - a.y) - (b.y - a.y) * (q.x - a.x)) / length
                                    : std::hypot(q.x - a.x, q.y - a.y);
            largest = std::max(largest, off);
        }
    }
    return largest;
}

TEST(CurveCuts, ChordsStayWithinTheToleranceAndTightBendsGetMore) {
    Point p0{0, 0}, p1{100, 200}, p2{200, 0};
    CurveCuts cuts(p0, p1, p2, 0.1);
    EXPECT_GT(cuts.Count(), 8);
    EXPECT_LE(LargestStray(p0, p1, p2, cuts), 0.1 * 1.05);
    EXPECT_DOUBLE_EQ(cuts.At(0), 0);
    EXPECT_DOUBLE_EQ(cuts.At(cuts.Count()), 1);
    for (int i = 0; i < cuts.Count(); ++i) EXPECT_LT(cuts.At(i), cuts.At(i + 1));
    // A coarser tolerance needs fewer segments.
    EXPECT_LT(CurveCuts(p0, p1, p2, 1).Count(), cuts.Count());

    // Bent near its end: the cuts crowd there.
    Point q0{0, 0}, q1{200, 0}, q2{200, 20};
    CurveCuts bent(q0, q1, q2, 0.1);
    EXPECT_LE(LargestStray(q0, q1, q2, bent), 0.1 * 1.05);
    EXPECT_GT(bent.At(bent.Count() / 2), 0.55);
}

TEST(CurveCuts, StraightCurvesAreOneSegmentAndCountsStayBounded) {
    EXPECT_EQ(CurveCuts({0, 0}, {50, 50}, {100, 100}, 0.1).Count(), 1);
    EXPECT_EQ(CurveCuts({5, 5}, {5, 5}, {5, 5}, 0.1).Count(), 1);
    EXPECT_EQ(CurveCuts({0, 0}, {100, 200}, {200, 0}, INFINITY).Count(), 1);
    // The count stays bounded, also where the numbers overflow.
    EXPECT_EQ(CurveCuts({0, 0}, {1e6, 1e6}, {200, 0}, 1e-9).Count(), 256);
    int overflowed = CurveCuts({0, 0}, {1e300, 1e300}, {200, 0}, 1e-300).Count();
    EXPECT_GE(overflowed, 1);
    EXPECT_LE(overflowed, 256);
}

}  // namespace
