// Readers of the small SWF records that several tags share.
#pragma once

#include "flash/movie.h"
#include "flash/swf_bits.h"

namespace flash {

struct Rect {
    int32_t xmin = 0, xmax = 0, ymin = 0, ymax = 0;
};

Rect ReadRect(SwfBits& in);
Matrix ReadMatrix(SwfBits& in);
Rgba ReadRgb(SwfBits& in);
Rgba ReadRgba(SwfBits& in);
// CXFORM (with_alpha false) or CXFORMWITHALPHA.
ColorTransform ReadColorTransform(SwfBits& in, bool with_alpha);

}  // namespace flash
