// Paint of bitmap fills: each device pixel is taken back into the bitmap's
// pixels (nearest pixel, or the four around it when smoothed), the bitmap
// repeating beyond its edges or stretching its edge pixels.
#pragma once

#include "flash/movie.h"
#include "flash/rasterizer.h"

namespace flash {

class BitmapPaint : public Paint {
public:
    // bitmap_to_target maps bitmap pixels to target pixels. A premultiplied
    // bitmap (a BitmapData's) keeps its colour premultiplied by alpha.
    BitmapPaint(const Bitmap& bitmap, const Matrix& bitmap_to_target, const ColorTransform& color, bool repeats,
                bool smooth, bool premultiplied = false);
    void Blend(uint32_t* row, int y, int x0, int x1, const float* coverage) const override;
    bool Valid() const { return valid_; }

private:
    uint32_t Sample(double u, double v) const;
    uint32_t Pixel(int x, int y) const;

    const Bitmap& bitmap_;
    Matrix inverse_;
    ColorTransform color_;
    bool plain_color_;
    bool repeats_;
    bool smooth_;
    bool premultiplied_;
    bool valid_ = false;
};

}  // namespace flash
