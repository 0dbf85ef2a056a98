// Reads the body of DefineShape, DefineShape2, DefineShape3 and DefineShape4
// (after the character id) into a Shape.
#pragma once

#include "flash/movie.h"
#include "swf/byte_reader.h"

namespace flash {

// shape_version is 1 to 4 for DefineShape to DefineShape4.
Shape ReadShape(swf::ByteReader& in, int shape_version);
// The shape records after the style arrays, into shape's last layer.
void ReadShapeRecords(swf::ByteReader& in, int shape_version, Shape& shape);
// The flags of a DefineShape4 line style (caps, join, scale mode, closing)
// and its miter limit, into line; returns whether a fill style follows.
bool ReadLineFlags(swf::ByteReader& in, LineStyle& line);
// A font's glyph outline: shape records filled with style 1.
Shape ReadGlyph(swf::ByteReader& in);

}  // namespace flash
