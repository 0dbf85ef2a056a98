#include "swf/bitmap.h"

namespace swf {

bool BitmapSizeAllowed(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
           uint64_t(width) * uint64_t(height) <= kMaxBitmapPixels;
}

}  // namespace swf
