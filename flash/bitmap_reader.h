// Readers of the bitmap tags: DefineBitsLossless and DefineBitsLossless2
// (zlib-packed colour-mapped, 15-bit and 32-bit pixels) and the JPEG tags
// DefineBits (with the shared JPEGTables), DefineBitsJPEG2 and
// DefineBitsJPEG3 (with a zlib-packed alpha plane).
#pragma once

#include "flash/movie.h"
#include "flash/swf_bits.h"

#include <vector>

namespace flash {

// Bitmaps larger than this in either direction, or in pixels, are refused.
constexpr int kMaxBitmapSide = 8192;
constexpr size_t kMaxBitmapPixels = 4096u * 4096u;
bool BitmapSizeAllowed(int width, int height);

// lossless_version is 1 or 2; the body starts after the character id.
Bitmap ReadLosslessBitmap(SwfBits& in, int lossless_version);
// The JPEG data of DefineBits (tables from JPEGTables), DefineBitsJPEG2
// (tables empty) or DefineBitsJPEG3 (with_alpha), after the character id.
Bitmap ReadJpegBitmap(SwfBits& in, const std::vector<uint8_t>& tables, bool with_alpha);

}  // namespace flash
