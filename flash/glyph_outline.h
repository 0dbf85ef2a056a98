// How a glyph's outline becomes the polygon the rasteriser fills: curves are
// cut in the font's own units, more finely where they bend most, and every
// point lands on a sixteenth of a pixel, so that text of the same font and
// size comes out alike wherever it is placed.
#pragma once

#include "flash/movie.h"
#include "flash/rasterizer.h"

#include <vector>

namespace flash {

// Largest distance, in font units, between a glyph's curve and its chords.
constexpr double kGlyphCurveTolerance = 2;

// The parameters (strictly between 0 and 1) where a glyph's quadratic curve
// is cut so that no chord strays more than tolerance from it; none for a
// curve that close to straight.
std::vector<double> GlyphCurveCuts(const ShapeEdge& edge, double tolerance);

// A device point on the grid of sixteenths of a pixel, halves to even.
Point SnapToSixteenth(Point p);

}  // namespace flash
