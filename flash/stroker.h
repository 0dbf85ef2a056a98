// Turns the centre line of a stroke into polygons that cover it: a
// rectangle along each segment, a join at each corner and a cap at each open
// end, all wound the same way so that the non-zero rule makes them one shape.
#pragma once

#include "flash/movie.h"
#include "flash/rasterizer.h"

#include <vector>

namespace flash {

struct StrokeStyle {
    double half = 0.5;        // half the line's width
    double tolerance = 0.05;  // how far a round join or cap may stray inside its circle
    LineCap start_cap = LineCap::Round, end_cap = LineCap::Round;
    LineJoin join = LineJoin::Round;
    double miter_limit = 3;   // a miter is cut off this many widths past its corner
    // Segments cover the width across their minor axis (the lesser of
    // their horizontal and vertical extent) instead of square to them.
    bool minor_axis = false;
};

// Receives each polygon of a stroke (its points in order, not closed).
class StrokeSink {
public:
    virtual ~StrokeSink() = default;
    virtual void Polygon(const Point* points, size_t count) = 0;
};

// Strokes a polyline; closed joins its last segment back to its first
// (the last point repeats the first).
void StrokePolyline(const std::vector<Point>& path, bool closed, const StrokeStyle& style, StrokeSink& sink);

}  // namespace flash
