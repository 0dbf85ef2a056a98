// Decoded bitmaps and the limits on their size that keep a hostile file
// from making large allocations: every size is checked before pixels are
// allocated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "swf/limits.h"

namespace swf {

// Pixels 0xAARRGGBB with straight (not premultiplied) alpha, rows top down.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// A size that may be decoded: not empty, no side longer than
// kMaxBitmapSide, at most kMaxBitmapPixels.
bool BitmapSizeAllowed(int width, int height);

}  // namespace swf
