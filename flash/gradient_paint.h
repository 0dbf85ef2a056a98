// Paint of linear and radial gradient fills: each device pixel is taken back
// into the gradient's square (-16384..16384 twips each way) and coloured from
// a 256-entry table built from the stops.
#pragma once

#include "flash/movie.h"
#include "flash/rasterizer.h"

#include <array>

namespace flash {

class GradientPaint : public Paint {
public:
    // fill_to_target maps the gradient square to target pixels.
    GradientPaint(const FillStyle& fill, const Matrix& fill_to_target, const ColorTransform& color);
    void Blend(uint32_t* row, int y, int x0, int x1, const float* coverage) const override;

    // False when the matrix cannot be inverted (nothing to draw).
    bool Valid() const { return valid_; }

private:
    // Where a point of the gradient square (in radii) lies between the
    // focal point (0) and the circle (1).
    double FocalRatio(double x, double y) const;

    std::array<Rgba, 256> table_{};
    Matrix inverse_;
    bool radial_ = false;
    double focal_ = 0;               // focal point on the x axis, in radii
    int spread_ = 0;
    bool valid_ = false;
};

}  // namespace flash
