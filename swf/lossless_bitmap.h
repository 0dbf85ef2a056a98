// Lossless bitmaps (DefineBitsLossless, DefineBitsLossless2): a header and
// zlib-packed pixel data in format 3 (colour-mapped, 8 bits a pixel), 4
// (15-bit big-endian 0RRRRRGGGGGBBBBB) or 5 (32-bit ARGB, the first byte
// alpha in DefineBitsLossless2 and reserved otherwise). DefineBitsLossless2
// has colour table entries of 4 bytes (RGBA), DefineBitsLossless of 3.
// Colours with alpha are premultiplied by it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "swf/bitmap.h"
#include "swf/byte_reader.h"
#include "swf/zlib_inflate.h"

namespace swf {

// What the header of a lossless bitmap body says, checked before anything
// is allocated for the image.
struct LosslessHeader {
    uint8_t format = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t entries = 0;     // colour table entries (format 3 only)
    uint32_t entry_size = 0;  // bytes per colour table entry
    uint32_t stride = 0;      // bytes per pixel row, padded to 4 bytes
    uint32_t table_bytes = 0;
    uint32_t pixel_bytes = 0;
    size_t expected = 0;      // inflated size: colour table and pixel rows
    Bytes stream;             // the zlib stream
};

// Reads the header of a tag body (the character id included). Throws
// SwfDataError for formats other than 3, 4 and 5, images of no pixels or
// of more than kMaxBitmapPixels, and streams far too short for their image (deflate packs
// at most about 1032 bytes into one).
LosslessHeader ReadLosslessHeader(Bytes body, bool with_alpha);

// Inflates the colour table and pixel rows, at most header.expected bytes,
// onto raw (only checks the stream when raw is null).
InflateEnd InflateLossless(const LosslessHeader& header, std::vector<uint8_t>* raw);

// The bitmap of a tag body. Throws SwfDataError where ReadLosslessHeader
// does, for sizes BitmapSizeAllowed refuses and for pixel data that does
// not inflate to the whole image.
Bitmap DecodeLossless(Bytes body, bool with_alpha);

}  // namespace swf
