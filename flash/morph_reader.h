// Reads DefineMorphShape and DefineMorphShape2 (after the character id) and
// makes the shape a morph shows at a given ratio.
#pragma once

#include "flash/movie.h"
#include "swf/byte_reader.h"

namespace flash {

// morph_version is 1 or 2.
MorphShape ReadMorphShape(swf::ByteReader& in, int morph_version);
// The shape at ratio 0 (start) to 65535 (end).
Shape MorphAt(const MorphShape& morph, int ratio);

}  // namespace flash
