// Lossless SWF bitmaps (DefineBitsLossless, DefineBitsLossless2) written as
// uncompressed BMP files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "swf/byte_reader.h"

namespace swf {

// The BMP file of a lossless bitmap tag body. with_alpha selects the
// DefineBitsLossless2 layout (colour table entries of 4 bytes, alpha kept).
// Format 3 becomes an 8-bit colour-mapped BMP, format 4 (15-bit) a 16-bit
// BMP, format 5 a 32-bit BMP. Pixel data that inflates to fewer bytes than
// the image needs is completed with zero bytes. Throws SwfDataError for other
// formats, oversized images, streams far too short for their image and
// streams that do not inflate.
std::vector<uint8_t> LosslessToBmp(Bytes body, bool with_alpha);

// The size of the file that LosslessToBmp makes of body, found without
// making it: the stream is inflated to check it, its bytes are not kept.
// Throws where LosslessToBmp throws.
uint64_t LosslessBmpSize(Bytes body, bool with_alpha);

}  // namespace swf
