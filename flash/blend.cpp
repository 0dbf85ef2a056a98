#include "flash/blend.h"

#include <algorithm>

namespace flash {

BlendMode BlendModeFromByte(uint8_t value) {
    if (value < 1 || value > 14) return BlendMode::Normal;
    return static_cast<BlendMode>(value);
}

uint32_t Premultiply(Rgba c) {
    return PackArgb(c.a, Mul255(c.r, c.a), Mul255(c.g, c.a), Mul255(c.b, c.a));
}

Rgba Unpremultiply(uint32_t p) {
    int a = static_cast<int>(p >> 24);
    if (a == 0) return Rgba{0, 0, 0, 0};
    auto channel = [a](uint32_t v) {
        return static_cast<uint8_t>(std::min(255, (static_cast<int>(v & 0xFF) * 255 + a / 2) / a));
    };
    return Rgba{channel(p >> 16), channel(p >> 8), channel(p), static_cast<uint8_t>(a)};
}

namespace {

// One colour channel of a separable mode: s and d premultiplied, sa and da
// their alphas; the parts where only one of them covers keep their colour.
int Separable(int s, int d, int sa, int da, BlendMode mode) {
    int outside = Mul255(s, 255 - da) + Mul255(d, 255 - sa);
    int both = 0;
    switch (mode) {
    case BlendMode::Multiply: both = Mul255(s, d); break;
    case BlendMode::Screen: both = Mul255(s, da) + Mul255(d, sa) - Mul255(s, d); break;
    case BlendMode::Lighten: both = std::max(Mul255(s, da), Mul255(d, sa)); break;
    case BlendMode::Darken: both = std::min(Mul255(s, da), Mul255(d, sa)); break;
    case BlendMode::Difference: both = std::abs(Mul255(s, da) - Mul255(d, sa)); break;
    case BlendMode::Overlay:
    case BlendMode::Hardlight: {
        // Overlay looks at the destination, hard light at the source.
        bool dark = mode == BlendMode::Overlay ? 2 * d <= da : 2 * s <= sa;
        both = dark ? 2 * Mul255(s, d) : Mul255(sa, da) - 2 * Mul255(da - d, sa - s);
        break;
    }
    default: both = Mul255(s, da); break;
    }
    return std::clamp(both + outside, 0, 255);
}

int Channel(uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

}  // namespace

uint32_t BlendPixels(uint32_t src, uint32_t dst, BlendMode mode) {
    int sa = Channel(src, 24), da = Channel(dst, 24);
    if (sa == 0 && mode != BlendMode::Alpha) return dst;
    int s[3] = {Channel(src, 16), Channel(src, 8), Channel(src, 0)};
    int d[3] = {Channel(dst, 16), Channel(dst, 8), Channel(dst, 0)};
    int out[3];
    int oa = std::min(255, sa + da - Mul255(sa, da));
    switch (mode) {
    case BlendMode::Add:
        for (int i = 0; i < 3; ++i) out[i] = std::min(255, s[i] + d[i]);
        oa = std::min(255, sa + da);
        break;
    case BlendMode::Subtract:
        for (int i = 0; i < 3; ++i) out[i] = std::max(0, d[i] - s[i]);
        oa = da;
        break;
    case BlendMode::Invert:
        // The destination turns negative where the source covers it.
        for (int i = 0; i < 3; ++i) out[i] = Mul255(da - d[i], sa) + Mul255(d[i], 255 - sa);
        oa = da;
        break;
    case BlendMode::Alpha:
        for (int i = 0; i < 3; ++i) out[i] = Mul255(d[i], sa);
        oa = Mul255(da, sa);
        break;
    case BlendMode::Erase:
        for (int i = 0; i < 3; ++i) out[i] = Mul255(d[i], 255 - sa);
        oa = Mul255(da, 255 - sa);
        break;
    case BlendMode::Multiply:
    case BlendMode::Screen:
    case BlendMode::Lighten:
    case BlendMode::Darken:
    case BlendMode::Difference:
    case BlendMode::Overlay:
    case BlendMode::Hardlight:
        for (int i = 0; i < 3; ++i) out[i] = Separable(s[i], d[i], sa, da, mode);
        break;
    default:
        for (int i = 0; i < 3; ++i) out[i] = std::min(255, s[i] + Mul255(d[i], 255 - sa));
        break;
    }
    for (int& c : out) c = std::min(c, oa);
    return PackArgb(oa, out[0], out[1], out[2]);
}

}  // namespace flash
