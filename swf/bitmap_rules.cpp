#include "swf/bitmap_rules.h"

#include "swf/lossless_bitmap.h"

namespace swf {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// The 54-byte file and information header of a bottom-up BMP without
// compression, followed by table_entries colours.
void PutBmpHeader(std::vector<uint8_t>& out, uint32_t width, uint32_t height, int bits_per_pixel,
                  uint32_t table_entries, uint32_t pixel_bytes) {
    uint32_t table_bytes = table_entries * 4;
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + table_bytes + pixel_bytes);
    Put32(out, 0);
    Put32(out, 54 + table_bytes);
    Put32(out, 40);
    Put32(out, width);
    Put32(out, height);
    Put16(out, 1);
    Put16(out, bits_per_pixel);
    for (int i = 0; i < 4; ++i) Put32(out, 0);  // compression, image size, resolutions
    // Colours used: a table shorter than 256 entries must say its length,
    // or readers take 256 entries and the pixel rows for colours.
    Put32(out, table_entries < 256 ? table_entries : 0);
    Put32(out, 0);  // important colours
}

// Bits per pixel of the BMP file of each format.
int BmpBitsPerPixel(const LosslessHeader& header) {
    return header.format == 3 ? 8 : header.format == 4 ? 16 : 32;
}

uint64_t BmpFileSize(const LosslessHeader& header) {
    return 54 + uint64_t(header.entries) * 4 + header.pixel_bytes;
}

}  // namespace

uint64_t LosslessBmpSize(Bytes body, bool with_alpha) {
    LosslessHeader layout = ReadLosslessHeader(body, with_alpha);
    if (InflateLossless(layout, nullptr) == InflateEnd::Corrupt) throw SwfDataError("the bitmap data does not inflate");
    return BmpFileSize(layout);
}

std::vector<uint8_t> LosslessToBmp(Bytes body, bool with_alpha) {
    const LosslessHeader layout = ReadLosslessHeader(body, with_alpha);
    std::vector<uint8_t> raw;
    if (InflateLossless(layout, &raw) == InflateEnd::Corrupt)
        throw SwfDataError("the bitmap data does not inflate");
    raw.resize(layout.expected, 0);

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(BmpFileSize(layout)));
    PutBmpHeader(out, layout.width, layout.height, BmpBitsPerPixel(layout), layout.entries, layout.pixel_bytes);
    for (uint32_t i = 0; i < layout.entries; ++i) {
        const uint8_t* rgb = &raw[i * layout.entry_size];
        out.push_back(rgb[2]);
        out.push_back(rgb[1]);
        out.push_back(rgb[0]);
        out.push_back(with_alpha ? rgb[3] : 0);
    }
    // Rows are stored top row first in the tag and bottom row first in BMP.
    const uint32_t stride = layout.stride;
    for (uint32_t row = layout.height; row-- > 0;) {
        const uint8_t* src = &raw[layout.table_bytes + size_t(row) * stride];
        if (layout.format == 3) {
            out.insert(out.end(), src, src + stride);
        } else if (layout.format == 4) {
            // Big-endian 0RRRRRGGGGGBBBBB becomes the little-endian 5-5-5 BMP word.
            for (uint32_t x = 0; x < stride; x += 2) {
                out.push_back(src[x + 1]);
                out.push_back(src[x] & 0x7F);
            }
        } else {
            // A R G B (the first byte reserved without alpha) becomes B G R A.
            for (uint32_t x = 0; x < stride; x += 4) {
                out.push_back(src[x + 3]);
                out.push_back(src[x + 2]);
                out.push_back(src[x + 1]);
                out.push_back(with_alpha ? src[x] : 0);
            }
        }
    }
    return out;
}

}  // namespace swf
