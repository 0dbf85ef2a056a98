#include "flash/gradient_paint.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

uint8_t Mix(uint8_t a, uint8_t b, double t) {
    return static_cast<uint8_t>(std::lround(a + (b - a) * t));
}

}  // namespace

GradientPaint::GradientPaint(const FillStyle& fill, const Matrix& m, const ColorTransform& color) {
    radial_ = fill.kind != FillKind::LinearGradient;
    spread_ = fill.spread;
    std::optional<Matrix> inverse = Inverse(m);
    if (fill.stops.empty() || !inverse) return;
    inverse_ = *inverse;
    valid_ = true;

    // Stops whose ratios go backwards are taken as if they were in order.
    std::vector<GradientStop> stops = fill.stops;
    for (size_t i = 1; i < stops.size(); ++i) stops[i].ratio = std::max(stops[i].ratio, stops[i - 1].ratio);
    for (int i = 0; i < 256; ++i) {
        Rgba c = stops.front().color;
        if (i >= stops.back().ratio) {
            c = stops.back().color;
        } else {
            for (size_t s = 1; s < stops.size(); ++s) {
                if (i > stops[s].ratio) continue;
                const GradientStop& lo = stops[s - 1];
                const GradientStop& hi = stops[s];
                if (i < lo.ratio) break;
                double span = hi.ratio - lo.ratio;
                double t = span > 0 ? (i - lo.ratio) / span : 1.0;
                c = Rgba{Mix(lo.color.r, hi.color.r, t), Mix(lo.color.g, hi.color.g, t),
                         Mix(lo.color.b, hi.color.b, t), Mix(lo.color.a, hi.color.a, t)};
                break;
            }
        }
        table_[static_cast<size_t>(i)] = color.Apply(c);
    }
}

void GradientPaint::Blend(uint32_t* row, int y, int x0, int x1, const float* coverage) const {
    double py = y + 0.5;
    for (int x = x0; x < x1; ++x) {
        if (coverage[x] <= 0) continue;
        double px = x + 0.5;
        double gx = inverse_.X(px, py);
        double t;
        if (radial_) {
            double gy = inverse_.Y(px, py);
            t = std::sqrt(gx * gx + gy * gy) / 16384.0;
        } else {
            t = (gx + 16384.0) / 32768.0;
        }
        if (spread_ == 1) {
            t = std::fmod(std::fabs(t), 2.0);
            if (t > 1) t = 2 - t;
        } else if (spread_ == 2) {
            t -= std::floor(t);
        }
        int index = static_cast<int>(std::clamp(t, 0.0, 1.0) * 255.0 + 0.5);
        row[x] = BlendPixel(row[x], table_[static_cast<size_t>(index)], std::min(coverage[x], 1.0f));
    }
}

}  // namespace flash
