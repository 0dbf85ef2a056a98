// The engine's forms of the records that the format layer reads.
#pragma once

#include "flash/movie.h"
#include "swf/records.h"

namespace flash {

Matrix ToMatrix(const swf::Matrix& m);
ColorTransform ToColorTransform(const swf::ColorTransform& t);

}  // namespace flash
