#include "flash/bitmap_paint.h"

#include "flash/blend.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

uint32_t UnpremultiplyArgb(uint32_t p) {
    Rgba c = Unpremultiply(p);
    return PackArgb(c.a, c.r, c.g, c.b);
}

}  // namespace

BitmapPaint::BitmapPaint(const Bitmap& bitmap, const Matrix& m, const ColorTransform& color, bool repeats, bool smooth,
                         bool premultiplied)
    : bitmap_(bitmap), color_(color), repeats_(repeats), smooth_(smooth), premultiplied_(premultiplied) {
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
        if (premultiplied_) {
            // Fully covered pixels over the opaque stage blend premultiplied,
            // the way the bitmap is kept: the colour plus what it leaves.
            if (plain_color_ && coverage[x] >= 1.0f && (row[x] >> 24) == 0xFF) {
                int keep = 255 - static_cast<int>(p >> 24);
                uint32_t d = row[x];
                row[x] = PackArgb(255, std::min(255, static_cast<int>((p >> 16) & 0xFF) + Mul255((d >> 16) & 0xFF, keep)),
                                  std::min(255, static_cast<int>((p >> 8) & 0xFF) + Mul255((d >> 8) & 0xFF, keep)),
                                  std::min(255, static_cast<int>(p & 0xFF) + Mul255(d & 0xFF, keep)));
                continue;
            }
            p = UnpremultiplyArgb(p);
        }
        Rgba c{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p),
               static_cast<uint8_t>(p >> 24)};
        if (!plain_color_) c = color_.Apply(c);
        row[x] = BlendPixel(row[x], c, std::min(coverage[x], 1.0f));
    }
}

}  // namespace flash
