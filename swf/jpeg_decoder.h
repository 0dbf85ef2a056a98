// Decoding of the JPEG images that SWF bitmaps hold. Natively libjpeg does
// the work; a build without it (Windows) installs the platform's decoder
// with SetJpegDecoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

struct Bitmap;

// Fills bitmap (opaque pixels) from one JPEG stream; false if it cannot.
using JpegDecoder = bool (*)(const uint8_t* data, size_t size, Bitmap& bitmap);

void SetJpegDecoder(JpegDecoder decoder);
bool DecodeJpeg(const uint8_t* data, size_t size, Bitmap& bitmap);

}  // namespace swf
