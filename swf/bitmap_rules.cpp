#include "swf/bitmap_rules.h"

#include "swf/zlib_inflate.h"

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

// What the header of a lossless bitmap body says, checked before anything
// is allocated for the image.
struct LosslessLayout {
    uint8_t format = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t entries = 0;     // colour table entries (format 3 only)
    uint32_t entry_size = 0;  // bytes per colour table entry in the tag
    uint32_t stride = 0;      // bytes per pixel row, in the tag and in the BMP alike
    int bits_per_pixel = 0;
    uint32_t table_in = 0;    // bytes of the colour table in the tag
    uint32_t pixel_bytes = 0;
    size_t expected = 0;      // inflated size: colour table and pixel rows
    Bytes stream;             // the zlib stream

    uint64_t FileSize() const { return 54 + uint64_t(entries) * 4 + pixel_bytes; }
};

LosslessLayout ReadLayout(Bytes body, bool with_alpha) {
    ByteReader reader(body);
    reader.Skip(2);  // character id
    LosslessLayout layout;
    layout.format = reader.U8();
    layout.width = reader.U16();
    layout.height = reader.U16();
    const uint32_t width = layout.width;
    if (layout.format != 3 && layout.format != 4 && layout.format != 5)
        throw SwfDataError("the bitmap format is not supported");
    if (width == 0 || layout.height == 0) throw SwfDataError("the bitmap has no pixels");
    if (uint64_t(width) * layout.height > kMaxBitmapPixels) throw SwfDataError("the bitmap is too large");

    layout.entry_size = with_alpha ? 4 : 3;
    if (layout.format == 3) {
        layout.entries = reader.U8() + 1u;
        layout.stride = (width + 3) & ~3u;
        layout.bits_per_pixel = 8;
    } else if (layout.format == 4) {
        layout.stride = ((width + 1) & ~1u) * 2;
        layout.bits_per_pixel = 16;
    } else {
        layout.stride = width * 4;
        layout.bits_per_pixel = 32;
    }
    layout.table_in = layout.entries * layout.entry_size;
    layout.pixel_bytes = layout.stride * layout.height;  // at most 4 x kMaxBitmapPixels
    layout.expected = size_t(layout.table_in) + layout.pixel_bytes;

    // Deflate packs at most 1032 bytes into one, so a stream far too short
    // for the image cannot be one: it is refused before anything is
    // allocated for the image.
    layout.stream = Bytes(body.data() + reader.Pos(), reader.Remaining());
    if (layout.expected > uint64_t(layout.stream.size()) * 1032 + 1024)
        throw SwfDataError("the bitmap data is too short");
    return layout;
}

}  // namespace

uint64_t LosslessBmpSize(Bytes body, bool with_alpha) {
    LosslessLayout layout = ReadLayout(body, with_alpha);
    if (InflateCheck(layout.stream, layout.expected) == InflateEnd::Corrupt)
        throw SwfDataError("the bitmap data does not inflate");
    return layout.FileSize();
}

std::vector<uint8_t> LosslessToBmp(Bytes body, bool with_alpha) {
    const LosslessLayout layout = ReadLayout(body, with_alpha);
    std::vector<uint8_t> raw;
    if (Inflate(layout.stream, layout.expected, raw) == InflateEnd::Corrupt)
        throw SwfDataError("the bitmap data does not inflate");
    raw.resize(layout.expected, 0);

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(layout.FileSize()));
    PutBmpHeader(out, layout.width, layout.height, layout.bits_per_pixel, layout.entries, layout.pixel_bytes);
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
        const uint8_t* src = &raw[layout.table_in + size_t(row) * stride];
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
