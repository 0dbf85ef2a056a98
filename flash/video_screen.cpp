#include "flash/video_screen.h"

#include <algorithm>
#include <vector>

#include "swf/zlib_inflate.h"

namespace flash {

bool ScreenVideoDecoder::Decode(const uint8_t* data, size_t size) {
    if (size < 4) return false;
    int block_width = ((data[0] >> 4) + 1) * 16;
    int width = ((data[0] & 0x0F) << 8) | data[1];
    int block_height = ((data[2] >> 4) + 1) * 16;
    int height = ((data[2] & 0x0F) << 8) | data[3];
    if (!swf::BitmapSizeAllowed(width, height)) return false;
    swf::Bitmap next = picture_;
    if (next.width != width || next.height != height) {
        next.width = width;
        next.height = height;
        next.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
    }
    // Blocks run left to right in rows from the bottom of the picture up;
    // the pixels of a block are blue, green, red, in rows from its bottom.
    size_t pos = 4;
    std::vector<uint8_t> pixels;
    for (int bottom = height; bottom > 0; bottom -= block_height) {
        int rows = std::min(block_height, bottom);
        for (int left = 0; left < width; left += block_width) {
            int columns = std::min(block_width, width - left);
            if (pos + 2 > size) return false;
            size_t length = static_cast<size_t>(data[pos] << 8 | data[pos + 1]);
            pos += 2;
            if (length == 0) continue;  // unchanged
            if (pos + length > size) return false;
            size_t wanted = static_cast<size_t>(rows) * static_cast<size_t>(columns) * 3;
            pixels.clear();
            swf::Inflate(swf::Bytes(data + pos, length), wanted, pixels);
            pos += length;
            if (pixels.size() < wanted) return false;
            const uint8_t* p = pixels.data();
            for (int r = 0; r < rows; ++r) {
                uint32_t* row = &next.pixels[static_cast<size_t>(bottom - 1 - r) * static_cast<size_t>(width)];
                for (int c = 0; c < columns; ++c, p += 3)
                    row[left + c] = 0xFF000000u | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
            }
        }
    }
    picture_ = std::move(next);
    return true;
}

}  // namespace flash
