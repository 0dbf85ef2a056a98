#include "flash/avm1/classes/bitmap_pixels.h"

#include <algorithm>
#include <cmath>

namespace flash::avm1 {

namespace {

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

uint8_t ClampByte(double value) {
    if (!(value > 0)) return 0;
    if (value > 255) return 255;
    return static_cast<uint8_t>(value);
}

}  // namespace

uint32_t Premultiply(uint32_t argb) {
    uint32_t a = Channel(argb, 24);
    if (a == 255) return argb;
    if (a == 0) return 0;
    auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
    return Pack(a, scale(Channel(argb, 16)), scale(Channel(argb, 8)), scale(Channel(argb, 0)));
}

uint32_t Unpremultiply(uint32_t argb) {
    uint32_t a = Channel(argb, 24);
    if (a == 255 || a == 0) return argb;
    // c * 255 / a rounded to nearest, halves down.
    auto scale = [a](uint32_t c) { return std::min<uint32_t>(255, (2 * c * 255 + a - 1) / (2 * a)); };
    return Pack(a, scale(Channel(argb, 16)), scale(Channel(argb, 8)), scale(Channel(argb, 0)));
}

BitmapPixels::BitmapPixels(int width, int height, bool transparent, uint32_t fill_argb)
    : width_(width), height_(height), transparent_(transparent) {
    if (!transparent_) fill_argb |= 0xFF000000u;
    pixels_.assign(static_cast<size_t>(width) * height, Premultiply(fill_argb));
}

uint32_t BitmapPixels::Get(int x, int y) const {
    if (!Inside(x, y)) return 0;
    // An opaque bitmap's pixels are taken as they are stored.
    if (!transparent_) return GetRaw(x, y);
    return Unpremultiply(GetRaw(x, y));
}

void BitmapPixels::Set(int x, int y, uint32_t argb) {
    if (!Inside(x, y)) return;
    if (!transparent_) argb |= 0xFF000000u;
    SetRaw(x, y, Premultiply(argb));
}

PixelRect BitmapPixels::Clip(PixelRect rect) const {
    int left = std::max(rect.x, 0), top = std::max(rect.y, 0);
    int right = std::min<int64_t>(int64_t{rect.x} + rect.width, width_);
    int bottom = std::min<int64_t>(int64_t{rect.y} + rect.height, height_);
    if (right <= left || bottom <= top) return {0, 0, 0, 0};
    return {left, top, right - left, bottom - top};
}

void BitmapPixels::FillRect(PixelRect rect, uint32_t argb) {
    // A negative size fills back from the corner given.
    if (rect.width < 0) rect.x += rect.width, rect.width = -rect.width;
    if (rect.height < 0) rect.y += rect.height, rect.height = -rect.height;
    rect = Clip(rect);
    if (!transparent_) argb |= 0xFF000000u;
    uint32_t value = Premultiply(argb);
    for (int y = rect.y; y < rect.y + rect.height; ++y)
        for (int x = rect.x; x < rect.x + rect.width; ++x) SetRaw(x, y, value);
}

bool BitmapPixels::FloodFill(int x, int y, uint32_t argb) {
    if (!Inside(x, y)) return false;
    if (!transparent_) argb |= 0xFF000000u;
    uint32_t from = GetRaw(x, y), to = Premultiply(argb);
    if (from == to) return false;
    std::vector<std::pair<int, int>> pending{{x, y}};
    while (!pending.empty()) {
        auto [px, py] = pending.back();
        pending.pop_back();
        if (!Inside(px, py) || GetRaw(px, py) != from) continue;
        SetRaw(px, py, to);
        pending.push_back({px + 1, py});
        pending.push_back({px - 1, py});
        pending.push_back({px, py + 1});
        pending.push_back({px, py - 1});
    }
    return true;
}

void BitmapPixels::ColorTransform(PixelRect rect, const double multipliers[4], const double offsets[4]) {
    rect = Clip(rect);
    for (int y = rect.y; y < rect.y + rect.height; ++y) {
        for (int x = rect.x; x < rect.x + rect.width; ++x) {
            uint32_t argb = Get(x, y);
            uint32_t out[4];
            const int shifts[4] = {16, 8, 0, 24};
            for (int i = 0; i < 4; ++i)
                out[i] = ClampByte(std::floor(Channel(argb, shifts[i]) * multipliers[i] + offsets[i]));
            Set(x, y, Pack(out[3], out[0], out[1], out[2]));
        }
    }
}

void BitmapPixels::Scroll(int dx, int dy) {
    std::vector<uint32_t> before = pixels_;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sy >= 0 && sx < width_ && sy < height_) pixels_[y * width_ + x] = before[sy * width_ + sx];
        }
    }
}

void CopyPixels(const BitmapPixels& source, PixelRect rect, BitmapPixels& dest, int dx, int dy, bool merge_alpha) {
    // Clip against the source, then against the destination.
    PixelRect from = source.Clip(rect);
    dx += from.x - rect.x;
    dy += from.y - rect.y;
    PixelRect to = dest.Clip({dx, dy, from.width, from.height});
    from.x += to.x - dx;
    from.y += to.y - dy;
    for (int y = 0; y < to.height; ++y) {
        for (int x = 0; x < to.width; ++x) {
            uint32_t src = source.GetRaw(from.x + x, from.y + y);
            if (!source.transparent()) src |= 0xFF000000u;
            uint32_t out = src;
            if (merge_alpha && source.transparent()) {
                uint32_t dst = dest.GetRaw(to.x + x, to.y + y);
                uint32_t inverse = 255 - Channel(src, 24);
                auto blend = [&](int shift) {
                    return std::min<uint32_t>(255, Channel(src, shift) + (Channel(dst, shift) * inverse + 127) / 255);
                };
                out = Pack(blend(24), blend(16), blend(8), blend(0));
            }
            if (!dest.transparent()) out = Premultiply(Unpremultiply(out) | 0xFF000000u);
            dest.SetRaw(to.x + x, to.y + y, out);
        }
    }
}

}  // namespace flash::avm1
