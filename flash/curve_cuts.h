// Where to cut a quadratic curve into straight segments that stray at most
// a tolerance from it: the cuts are spread evenly in the integral of the
// square root of the curvature, which is where a parabola the curve is a
// part of needs them, so that tight bends get more segments than flat
// stretches.
#pragma once

#include "flash/rasterizer.h"

namespace flash {

class CurveCuts {
public:
    // The curve from p0 to p2 with control point p1; tolerance is in the
    // points' units.
    CurveCuts(Point p0, Point p1, Point p2, double tolerance);

    // Segments the curve is cut into (at least 1, at most 256).
    int Count() const { return count_; }
    // The curve parameter (0 to 1) of cut i of 0 to Count().
    double At(int i) const;

private:
    int count_ = 1;
    bool even_ = true;     // cuts evenly spaced in the parameter
    double a0_ = 0, a2_ = 0, u0_ = 0, u2_ = 1;
};

}  // namespace flash
