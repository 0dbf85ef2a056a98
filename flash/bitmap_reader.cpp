#include "flash/bitmap_reader.h"

#include "flash/inflate.h"
#include "flash/jpeg_decoder.h"

#include <algorithm>

namespace flash {

bool BitmapSizeAllowed(int width, int height) {
    return width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide &&
           static_cast<size_t>(width) * static_cast<size_t>(height) <= kMaxBitmapPixels;
}

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

// The JPEG data as one stream: the tables joined to the image, and the
// stray end-and-start marker pair some encoders put in front removed.
std::vector<uint8_t> JoinJpeg(const std::vector<uint8_t>& tables, const uint8_t* data, size_t size) {
    std::vector<uint8_t> joined(tables);
    joined.insert(joined.end(), data, data + size);
    std::vector<uint8_t> out;
    out.reserve(joined.size());
    for (size_t i = 0; i < joined.size(); ++i) {
        if (i + 3 < joined.size() && joined[i] == 0xFF && joined[i + 1] == 0xD9 && joined[i + 2] == 0xFF &&
            joined[i + 3] == 0xD8) {
            i += 3;
            if (out.empty()) out = {0xFF, 0xD8};
            continue;
        }
        out.push_back(joined[i]);
    }
    return out;
}

}  // namespace

Bitmap ReadLosslessBitmap(SwfBits& in, int version) {
    int format = in.U8();
    int width = in.U16();
    int height = in.U16();
    if (!BitmapSizeAllowed(width, height)) throw SwfFormatError("bitmap size not allowed");
    size_t colors = format == 3 ? size_t{in.U8()} + 1 : 0;
    size_t entry = version == 2 ? 4 : 3;
    size_t stride = format == 3 ? (static_cast<size_t>(width) + 3) & ~size_t{3}
                  : format == 4 ? (static_cast<size_t>(width) * 2 + 3) & ~size_t{3}
                  : static_cast<size_t>(width) * 4;
    if (format != 3 && format != 4 && format != 5) throw SwfFormatError("unknown bitmap format");
    size_t table = colors * entry;
    size_t wanted = table + stride * static_cast<size_t>(height);
    std::vector<uint8_t> data = Inflate(in.Here(), in.Remaining(), wanted);
    if (data.size() < wanted) throw SwfFormatError("bitmap data ends early");

    Bitmap bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    std::vector<uint32_t> palette(256, 0);
    for (size_t i = 0; i < colors; ++i) {
        const uint8_t* c = data.data() + i * entry;
        palette[i] = version == 2 ? Unpremultiply(c[3], c[0], c[1], c[2]) : Argb(255, c[0], c[1], c[2]);
    }
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = data.data() + table + static_cast<size_t>(y) * stride;
        uint32_t* out = bitmap.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (int x = 0; x < width; ++x) {
            if (format == 3) {
                out[x] = palette[row[x]];
            } else if (format == 4) {
                uint32_t v = (uint32_t{row[x * 2]} << 8) | row[x * 2 + 1];
                out[x] = Argb(255, ((v >> 10) & 31) * 255 / 31, ((v >> 5) & 31) * 255 / 31, (v & 31) * 255 / 31);
            } else {
                const uint8_t* p = row + static_cast<size_t>(x) * 4;
                out[x] = version == 2 ? Unpremultiply(p[0], p[1], p[2], p[3]) : Argb(255, p[1], p[2], p[3]);
            }
        }
    }
    return bitmap;
}

Bitmap ReadJpegBitmap(SwfBits& in, const std::vector<uint8_t>& tables, bool with_alpha) {
    size_t jpeg_size = in.Remaining();
    if (with_alpha) {
        jpeg_size = in.U32();
        if (jpeg_size > in.Remaining()) throw SwfFormatError("JPEG data outside the tag");
    }
    std::vector<uint8_t> stream = JoinJpeg(tables, in.Here(), jpeg_size);
    Bitmap bitmap;
    if (!DecodeJpeg(stream.data(), stream.size(), bitmap)) throw SwfFormatError("the JPEG image cannot be decoded");
    if (with_alpha) {
        in.Skip(jpeg_size);
        size_t count = bitmap.pixels.size();
        std::vector<uint8_t> alpha = Inflate(in.Here(), in.Remaining(), count);
        if (alpha.size() == count)
            for (size_t i = 0; i < count; ++i)
                bitmap.pixels[i] = (bitmap.pixels[i] & 0x00FFFFFFu) | (uint32_t{alpha[i]} << 24);
    }
    return bitmap;
}

}  // namespace flash
