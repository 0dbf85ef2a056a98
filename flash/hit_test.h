// Whether a point falls on a shape: inside one of its fills (by the shape's
// fill rule) or on one of its lines.
#pragma once

#include "flash/movie.h"

namespace flash {

// The point is in the shape's own coordinates (twips).
bool ShapeContains(const Shape& shape, double x, double y);

}  // namespace flash
