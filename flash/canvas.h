// A 32-bit pixel buffer to draw into: a bitmap (one uint32_t 0xAARRGGBB per
// pixel, rows top down), the layout of a top-down 32-bit DIB section.
#pragma once

#include "flash/movie.h"
#include "swf/bitmap.h"

#include <cstdint>
#include <vector>

namespace flash {

struct Canvas : swf::Bitmap {
    void Resize(int new_width, int new_height) {
        width = new_width > 0 ? new_width : 0;
        height = new_height > 0 ? new_height : 0;
        pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    }
    void Fill(Rgba color) {
        uint32_t value = 0xFF000000u | (uint32_t{color.r} << 16) | (uint32_t{color.g} << 8) | color.b;
        pixels.assign(pixels.size(), value);
    }
    uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]; }
};

}  // namespace flash
