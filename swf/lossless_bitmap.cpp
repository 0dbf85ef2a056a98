#include "swf/lossless_bitmap.h"

#include <algorithm>

namespace swf {

namespace {

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

// Straight colour from a colour premultiplied by its alpha.
uint32_t Unpremultiply(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    if (a == 0) return 0;
    if (a < 255) {
        r = std::min<uint32_t>(255, r * 255 / a);
        g = std::min<uint32_t>(255, g * 255 / a);
        b = std::min<uint32_t>(255, b * 255 / a);
    }
    return Argb(a, r, g, b);
}

}  // namespace

LosslessHeader ReadLosslessHeader(Bytes body, bool with_alpha) {
    ByteReader reader(body);
    reader.Skip(2);  // character id
    LosslessHeader header;
    header.format = reader.U8();
    header.width = reader.U16();
    header.height = reader.U16();
    const uint32_t width = header.width;
    if (header.format != 3 && header.format != 4 && header.format != 5)
        throw SwfDataError("the bitmap format is not supported");
    if (width == 0 || header.height == 0) throw SwfDataError("the bitmap has no pixels");
    if (uint64_t(width) * header.height > kMaxBitmapPixels) throw SwfDataError("the bitmap is too large");

    header.entry_size = with_alpha ? 4 : 3;
    if (header.format == 3) {
        header.entries = reader.U8() + 1u;
        header.stride = (width + 3) & ~3u;
    } else if (header.format == 4) {
        header.stride = ((width + 1) & ~1u) * 2;
    } else {
        header.stride = width * 4;
    }
    header.table_bytes = header.entries * header.entry_size;
    header.pixel_bytes = header.stride * header.height;  // at most 4 x kMaxBitmapPixels
    header.expected = size_t(header.table_bytes) + header.pixel_bytes;

    header.stream = reader.Rest();
    if (header.expected > uint64_t(header.stream.size()) * kDeflateMaxRatio + 1024)
        throw SwfDataError("the bitmap data is too short");
    return header;
}

InflateEnd InflateLossless(const LosslessHeader& header, std::vector<uint8_t>* raw) {
    if (!raw) return InflateCheck(header.stream, header.expected);
    return Inflate(header.stream, header.expected, *raw);
}

Bitmap DecodeLossless(Bytes body, bool with_alpha) {
    const LosslessHeader header = ReadLosslessHeader(body, with_alpha);
    const int width = static_cast<int>(header.width), height = static_cast<int>(header.height);
    if (!BitmapSizeAllowed(width, height)) throw SwfDataError("the bitmap size is not allowed");
    std::vector<uint8_t> data;
    data.reserve(header.expected);
    InflateLossless(header, &data);
    if (data.size() < header.expected) throw SwfDataError("the bitmap data ends early");

    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.resize(size_t(width) * size_t(height));
    std::vector<uint32_t> palette(256, 0);
    for (size_t i = 0; i < header.entries; ++i) {
        const uint8_t* c = data.data() + i * header.entry_size;
        palette[i] = with_alpha ? Unpremultiply(c[3], c[0], c[1], c[2]) : Argb(255, c[0], c[1], c[2]);
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data.data() + header.table_bytes + size_t(y) * header.stride;
        uint32_t* out = bitmap.pixels.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            if (header.format == 3) {
                out[x] = palette[row[x]];
            } else if (header.format == 4) {
                uint32_t v = (uint32_t{row[x * 2]} << 8) | row[x * 2 + 1];
                out[x] = Argb(255, ((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
            } else {
                const uint8_t* p = row + size_t(x) * 4;
                out[x] = with_alpha ? Unpremultiply(p[0], p[1], p[2], p[3]) : Argb(255, p[1], p[2], p[3]);
            }
        }
    }
    return bitmap;
}

}  // namespace swf
