// Reads a TrueType font file (or one face of a collection) into the glyph
// shapes, character codes, advances and vertical metrics that text is laid
// out and drawn with, the same form an embedded SWF font takes.
#pragma once

#include "flash/movie.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace flash {

// Glyph outlines become shapes in font units with y pointing down, doubled
// so that the implied points between two control points stay whole; em is
// doubled with them. Ascent and descent are the font's Windows metrics.
// Only characters of the basic multilingual plane are mapped; codes come
// out sorted. Returns nullptr for data that is not a usable TrueType font.
std::shared_ptr<Font> ReadTrueType(const std::vector<uint8_t>& bytes);

}  // namespace flash
