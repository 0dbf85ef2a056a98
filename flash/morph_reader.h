// Reads DefineMorphShape and DefineMorphShape2 (after the character id) and
// makes the shape a morph shows at a given ratio.
#pragma once

#include "flash/movie.h"
#include "flash/swf_bits.h"

namespace flash {

// morph_version is 1 or 2.
MorphShape ReadMorphShape(SwfBits& in, int morph_version);
// The shape at ratio 0 (start) to 65535 (end).
Shape MorphAt(const MorphShape& morph, int ratio);

}  // namespace flash
