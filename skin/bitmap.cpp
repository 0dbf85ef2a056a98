#include "skin/bitmap.h"

#include <algorithm>

namespace {

uint32_t Read16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Read32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One colour channel described by a bit-field mask, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m) : mask(m) {
        if (!mask) return;
        while (!((mask >> shift) & 1)) shift++;
        max = mask >> shift;
    }
    uint32_t Take(uint32_t pixel) const {
        if (!max) return 0;
        return static_cast<uint32_t>(static_cast<uint64_t>((pixel & mask) >> shift) * 255 / max);
    }
};

}  // namespace

void SkinBitmap::Clear() {
    width = height = 0;
    pixels.clear();
}

void SkinBitmap::Resize(int w, int h, uint32_t fill) {
    if (w <= 0 || h <= 0) {
        Clear();
        return;
    }
    width = w;
    height = h;
    pixels.assign(static_cast<size_t>(w) * h, fill);
}

SkinBitmap SkinBitmap::Crop(int x, int y, int w, int h) const {
    SkinBitmap part;
    part.Resize(w, h);
    for (int row = 0; row < part.height; row++)
        for (int col = 0; col < part.width; col++) {
            int sx = x + col, sy = y + row;
            if (sx >= 0 && sy >= 0 && sx < width && sy < height) part.Set(col, row, At(sx, sy));
        }
    return part;
}

bool LoadBmp(const uint8_t* data, size_t size, SkinBitmap& out) {
    out.Clear();
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t pixel_offset = Read32(data + 10);
    const uint8_t* info = data + 14;
    const uint32_t info_size = Read32(info);
    if (info_size < 12 || info_size > size - 14) return false;

    int64_t width, height;
    uint32_t bits, compression = 0, colours_used = 0;
    size_t palette_entry = 4;
    if (info_size == 12) {  // the old OS/2 header
        width = Read16(info + 4);
        height = static_cast<int16_t>(Read16(info + 6));
        bits = Read16(info + 10);
        palette_entry = 3;
    } else {
        if (info_size < 40) return false;
        width = static_cast<int32_t>(Read32(info + 4));
        height = static_cast<int32_t>(Read32(info + 8));
        bits = Read16(info + 14);
        compression = Read32(info + 16);
        colours_used = Read32(info + 32);
    }
    const bool top_down = height < 0;
    if (top_down) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxBitmapSide || height > kMaxBitmapSide ||
        width * height > kMaxBitmapPixels)
        return false;

    // Bit-field masks: inside a larger header, or just after a 40-byte one.
    size_t palette_offset = 14 + info_size;
    uint32_t masks[3] = {0, 0, 0};
    if (compression == 3) {
        if (bits != 16 && bits != 32) return false;
        const uint8_t* m = info + 40;
        if (info_size == 40) {
            if (size < palette_offset + 12) return false;
            m = data + palette_offset;
            palette_offset += 12;
        } else if (info_size < 52) {
            return false;
        }
        for (int i = 0; i < 3; i++) masks[i] = Read32(m + 4 * i);
    } else if (compression != 0) {
        return false;  // run-length and embedded formats are not read
    } else if (bits == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (bits == 32) {
        masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;

    // The palette of an indexed bitmap; indices past its end give black.
    std::vector<uint32_t> palette;
    if (bits <= 8) {
        size_t count = colours_used ? colours_used : (1u << bits);
        count = std::min<size_t>(count, 1u << bits);
        if (palette_offset > size) return false;
        count = std::min(count, (size - palette_offset) / palette_entry);
        for (size_t i = 0; i < count; i++) {
            const uint8_t* e = data + palette_offset + i * palette_entry;
            palette.push_back((e[2] << 16) | (e[1] << 8) | e[0]);
        }
        palette.resize(1u << bits, 0);
    }

    const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
    if (pixel_offset > size || stride * height > size - pixel_offset) return false;

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    out.Resize(static_cast<int>(width), static_cast<int>(height));
    for (int64_t row = 0; row < height; row++) {
        const uint8_t* src = data + pixel_offset + stride * row;
        const int y = static_cast<int>(top_down ? row : height - 1 - row);
        for (int x = 0; x < width; x++) {
            uint32_t colour;
            switch (bits) {
            case 1: colour = palette[(src[x >> 3] >> (7 - (x & 7))) & 1]; break;
            case 4: colour = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
            case 8: colour = palette[src[x]]; break;
            case 24: {
                const uint8_t* p = src + 3 * x;
                colour = (p[2] << 16) | (p[1] << 8) | p[0];
                break;
            }
            default: {
                uint32_t value = bits == 16 ? Read16(src + 2 * x) : Read32(src + 4 * x);
                colour = (red.Take(value) << 16) | (green.Take(value) << 8) | blue.Take(value);
                break;
            }
            }
            out.Set(x, y, colour);
        }
    }
    return true;
}

std::vector<uint8_t> EncodeBmp24(const SkinBitmap& bitmap) {
    const uint32_t w = bitmap.Empty() ? 0 : bitmap.width;
    const uint32_t h = bitmap.Empty() ? 0 : bitmap.height;
    const uint32_t stride = (w * 3 + 3) & ~3u;
    const uint32_t image_size = stride * h;
    std::vector<uint8_t> out;
    out.reserve(54 + image_size);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + image_size);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, w);
    Put32(out, h);
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, image_size);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (uint32_t row = h; row-- > 0;) {
        for (uint32_t x = 0; x < w; x++) {
            uint32_t c = bitmap.At(x, row);
            out.push_back(c & 0xFF);
            out.push_back((c >> 8) & 0xFF);
            out.push_back((c >> 16) & 0xFF);
        }
        for (uint32_t pad = w * 3; pad < stride; pad++) out.push_back(0);
    }
    return out;
}
