// Decoding of Screen Video, the lossless codec of screen recordings: the
// picture is cut into blocks, each compressed with zlib or left out when it
// did not change since the last frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "swf/bitmap.h"

namespace flash {

class ScreenVideoDecoder {
public:
    // Decodes the next frame over the last one; false when the data is not
    // a frame, in which case the picture keeps what was drawn before.
    bool Decode(const uint8_t* data, size_t size);
    const swf::Bitmap& Picture() const { return picture_; }

private:
    swf::Bitmap picture_;
};

}  // namespace flash
