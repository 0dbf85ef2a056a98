// The small records that many tags share: RECT, MATRIX, CXFORM (with and
// without alpha), RGB and RGBA, read as the format stores them.
#pragma once

#include <cstdint>

#include "swf/byte_reader.h"

namespace swf {

// Twips.
struct Rect {
    int32_t xmin = 0, xmax = 0, ymin = 0, ymax = 0;
};

// Scale and rotate-skew terms as 16.16 fixed point turned into doubles,
// translation in twips: x' = scale_x*x + skew1*y + tx,
// y' = skew0*x + scale_y*y + ty.
struct Matrix {
    double scale_x = 1, skew0 = 0, skew1 = 0, scale_y = 1;
    int32_t tx = 0, ty = 0;
};

// Multiplication terms in 8.8 fixed point (256 is 1) and addition terms.
struct ColorTransform {
    int rm = 256, gm = 256, bm = 256, am = 256;
    int ra = 0, ga = 0, ba = 0, aa = 0;
};

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 255;
};

// Each of these starts at a byte boundary and leaves the reader at one.
Rect ReadRect(ByteReader& in);
Matrix ReadMatrix(ByteReader& in);
// CXFORM (with_alpha false) or CXFORMWITHALPHA.
ColorTransform ReadColorTransform(ByteReader& in, bool with_alpha);
Rgba ReadRgb(ByteReader& in);
Rgba ReadRgba(ByteReader& in);

}  // namespace swf
