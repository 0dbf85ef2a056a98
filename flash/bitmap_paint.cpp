#include "flash/bitmap_paint.h"

#include <algorithm>
#include <cmath>

namespace flash {

BitmapPaint::BitmapPaint(const Bitmap& bitmap, const Matrix& m, const ColorTransform& color, bool repeats, bool smooth)
    : bitmap_(bitmap), color_(color), repeats_(repeats), smooth_(smooth) {
    ColorTransform identity;
    plain_color_ = color.rm == identity.rm && color.gm == identity.gm && color.bm == identity.bm &&
                   color.am == identity.am && color.ra == 0 && color.ga == 0 && color.ba == 0 && color.aa == 0;
    std::optional<Matrix> inverse = Inverse(m);
    if (bitmap.width <= 0 || bitmap.height <= 0 || !inverse) return;
    inverse_ = *inverse;
    valid_ = true;
}

uint32_t BitmapPaint::Pixel(int x, int y) const {
    if (repeats_) {
        x %= bitmap_.width;
        y %= bitmap_.height;
        if (x < 0) x += bitmap_.width;
        if (y < 0) y += bitmap_.height;
    } else {
        x = std::clamp(x, 0, bitmap_.width - 1);
        y = std::clamp(y, 0, bitmap_.height - 1);
    }
    return bitmap_.pixels[static_cast<size_t>(y) * static_cast<size_t>(bitmap_.width) + static_cast<size_t>(x)];
}

uint32_t BitmapPaint::Sample(double u, double v) const {
    if (!smooth_) return Pixel(static_cast<int>(std::floor(u)), static_cast<int>(std::floor(v)));
    u -= 0.5;
    v -= 0.5;
    int x = static_cast<int>(std::floor(u)), y = static_cast<int>(std::floor(v));
    double fx = u - x, fy = v - y;
    uint32_t p[4] = {Pixel(x, y), Pixel(x + 1, y), Pixel(x, y + 1), Pixel(x + 1, y + 1)};
    double w[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        double sum = 0;
        for (int i = 0; i < 4; ++i) sum += w[i] * ((p[i] >> shift) & 0xFF);
        out |= static_cast<uint32_t>(std::clamp(std::lround(sum), 0L, 255L)) << shift;
    }
    return out;
}

void BitmapPaint::Blend(uint32_t* row, int y, int x0, int x1, const float* coverage) const {
    double py = y + 0.5;
    for (int x = x0; x < x1; ++x) {
        if (coverage[x] <= 0) continue;
        double px = x + 0.5;
        double u = inverse_.X(px, py), v = inverse_.Y(px, py);
        if (!std::isfinite(u) || !std::isfinite(v) || std::fabs(u) > 1e9 || std::fabs(v) > 1e9) continue;
        uint32_t p = Sample(u, v);
        Rgba c{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
               static_cast<uint8_t>(p >> 24)};
        if (!plain_color_) c = color_.Apply(c);
        row[x] = BlendPixel(row[x], c, std::min(coverage[x], 1.0f));
    }
}

}  // namespace flash
