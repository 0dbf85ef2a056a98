#include "flash/curve_cuts.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

// Close approximations of the integral of the square root of a parabola's
// curvature along it, and of its inverse.
double Integral(double x) {
    constexpr double d = 0.67;
    return x / (1 - d + std::sqrt(std::sqrt(d * d * d * d + 0.25 * x * x)));
}

double InverseIntegral(double x) {
    constexpr double b = 0.39;
    return x * (1 - b + std::sqrt(b * b + 0.25 * x * x));
}

}  // namespace

CurveCuts::CurveCuts(Point p0, Point p1, Point p2, double tolerance) {
    // The curve as a part of the parabola y = x * x, from x0 to x2, scaled.
    double ddx = 2 * p1.x - p0.x - p2.x, ddy = 2 * p1.y - p0.y - p2.y;
    double u0 = (p1.x - p0.x) * ddx + (p1.y - p0.y) * ddy;
    double u2 = (p2.x - p1.x) * ddx + (p2.y - p1.y) * ddy;
    double cross = (p2.x - p0.x) * ddy - (p2.y - p0.y) * ddx;
    if (!(std::fabs(cross) > 1e-9)) return;  // straight: one segment
    double x0 = u0 / cross, x2 = u2 / cross;
    double scale = std::fabs(cross) / (std::hypot(ddx, ddy) * std::fabs(x2 - x0));
    double a0 = Integral(x0), a2 = Integral(x2);
    double count = std::ceil(0.5 * std::fabs(a2 - a0) * std::sqrt(scale / tolerance));
    if (!std::isfinite(count)) return;
    count_ = static_cast<int>(std::clamp(count, 1.0, 256.0));
    a0_ = a0;
    a2_ = a2;
    u0_ = InverseIntegral(a0);
    u2_ = InverseIntegral(a2);
    even_ = !(std::fabs(u2_ - u0_) > 1e-12);
}

double CurveCuts::At(int i) const {
    double share = static_cast<double>(i) / count_;
    if (even_ || i == 0 || i == count_) return share;
    return (InverseIntegral(a0_ + (a2_ - a0_) * share) - u0_) / (u2_ - u0_);
}

}  // namespace flash
