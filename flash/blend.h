// Compositing of premultiplied 0xAARRGGBB pixels: a layer's pixel (source)
// onto the pixel below it (destination) in each blend mode, with 8-bit
// arithmetic throughout.
#pragma once

#include "flash/display_effects.h"

#include <cstdint>

namespace flash {

// (a * b) / 255, rounded.
inline int Mul255(int a, int b) {
    int t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

inline uint32_t PackArgb(int a, int r, int g, int b) {
    return (static_cast<uint32_t>(a) << 24) | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}

// The source pixel over the destination in the given mode. Layer acts as
// normal here (the layer itself is what makes it differ).
uint32_t BlendPixels(uint32_t src, uint32_t dst, BlendMode mode);

// Straight (not premultiplied) colour to premultiplied pixel and back.
uint32_t Premultiply(Rgba color);
Rgba Unpremultiply(uint32_t pixel);

}  // namespace flash
