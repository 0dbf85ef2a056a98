// Bitmap filters on premultiplied 0xAARRGGBB images, in stage pixels: box
// blur passes, drop shadow, glow, bevel, their gradient forms, colour
// matrix and convolution.
#pragma once

#include "flash/canvas.h"
#include "flash/display_effects.h"

namespace flash {

// Pixels a filter may draw beyond the object on each side.
struct Margins {
    int left = 0, top = 0, right = 0, bottom = 0;
};
Margins FilterMargins(const Filter& filter);

// Box blur: each pass averages a window blur_x pixels wide across, then
// blur_y pixels high down, every channel. Pixels beyond the image count as
// transparent; the image must leave room for the spread.
void BoxBlur(Canvas& image, double blur_x, double blur_y, int passes);

// Window width, in whole pixels, of one pass of a blur of the given size.
int BlurWindow(double blur);

// Applies the filter to the image in place (the object with room around it).
void ApplyFilter(const Filter& filter, Canvas& image);

}  // namespace flash
