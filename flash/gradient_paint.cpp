#include "flash/gradient_paint.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

uint8_t Mix(uint8_t a, uint8_t b, double t) {
    return static_cast<uint8_t>(std::lround(a + (b - a) * t));
}

double ToLinear(uint8_t level) {
    double v = level / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

uint8_t FromLinear(double v) {
    v = std::clamp(v, 0.0, 1.0);
    double level = v <= 0.0031308 ? v * 12.92 : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
    return static_cast<uint8_t>(std::lround(level * 255));
}

// A colour channel between two stops, mixed in linear light.
uint8_t MixLinear(uint8_t a, uint8_t b, double t) {
    return FromLinear(ToLinear(a) + (ToLinear(b) - ToLinear(a)) * t);
}

}  // namespace

GradientPaint::GradientPaint(const FillStyle& fill, const Matrix& m, const ColorTransform& color) {
    radial_ = fill.kind != FillKind::LinearGradient;
    focal_ = fill.kind == FillKind::FocalGradient ? std::clamp(fill.focal, -0.98, 0.98) : 0.0;
    spread_ = fill.spread;
    std::optional<Matrix> inverse = Inverse(m);
    if (fill.stops.empty() || !inverse) return;
    inverse_ = *inverse;
    valid_ = true;

    // A stop whose ratio repeats the one before moves one step on. Each
    // entry then mixes the first stop at or past it with the stop before
    // that one, so stops whose ratios go backwards are passed over.
    std::vector<GradientStop> stops = fill.stops;
    for (size_t s = 1; s < stops.size(); ++s)
        if (stops[s].ratio == stops[s - 1].ratio && stops[s].ratio < 255) stops[s].ratio++;
    auto mix = fill.linear_rgb ? MixLinear : Mix;
    for (int i = 0; i < 256; ++i) {
        size_t s = 0;
        while (s < stops.size() && stops[s].ratio < i) ++s;
        Rgba c;
        if (s == 0) {
            c = stops.front().color;
        } else if (s == stops.size()) {
            c = stops.back().color;
        } else {
            const GradientStop& lo = stops[s - 1];
            const GradientStop& hi = stops[s];
            double t = static_cast<double>(i - lo.ratio) / (hi.ratio - lo.ratio);
            c = Rgba{mix(lo.color.r, hi.color.r, t), mix(lo.color.g, hi.color.g, t), mix(lo.color.b, hi.color.b, t),
                     Mix(lo.color.a, hi.color.a, t)};
        }
        table_[static_cast<size_t>(i)] = color.Apply(c);
    }
}

double GradientPaint::FocalRatio(double x, double y) const {
    // The ray from the focal point through (x, y) meets the unit circle at
    // s times the way to (x, y): the point lies 1 / s of the way out.
    double dx = x - focal_, dy = y;
    double dd = dx * dx + dy * dy;
    if (dd <= 0) return 0;
    double fd = focal_ * dx;
    double s = (-fd + std::sqrt(fd * fd - dd * (focal_ * focal_ - 1))) / dd;
    return s > 0 ? 1 / s : 1;
}

void GradientPaint::Blend(uint32_t* row, int y, int x0, int x1, const float* coverage) const {
    double py = y + 0.5;
    for (int x = x0; x < x1; ++x) {
        if (coverage[x] <= 0) continue;
        double px = x + 0.5;
        double gx = inverse_.X(px, py);
        double t;
        if (radial_ && focal_ != 0) {
            t = FocalRatio(gx / 16384.0, inverse_.Y(px, py) / 16384.0);
        } else if (radial_) {
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
