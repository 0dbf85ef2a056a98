// BitmapData.perlinNoise: gradient noise summed over octaves, from tables
// drawn out of a seeded generator, written over a whole bitmap.
#pragma once

#include "flash/avm1/classes/bitmap_pixels.h"

#include <vector>

namespace flash::avm1 {

struct PerlinOffset {
    double x = 0, y = 0;
};

struct PerlinOptions {
    double base_x = 0, base_y = 0;   // pixels per noise period; 0 keeps that direction flat
    int octaves = 1;
    int seed = 0;
    bool stitch = false;              // the noise repeats seamlessly at the bitmap's edges
    bool fractal = true;              // signed sum, else the sum of absolute values (turbulence)
    int channels = 7;                 // 1 red, 2 green, 4 blue, 8 alpha
    bool gray = false;                // one value for red, green and blue
    std::vector<PerlinOffset> offsets;   // per octave, in pixels; missing ones are 0
};

// Fills every pixel. Channels left out are 0, alpha 255. The values go into
// the store as they are, without premultiplying: a colour above its alpha
// lightens what the bitmap is drawn over, as in the reference player.
void FillPerlinNoise(BitmapPixels& pixels, const PerlinOptions& options);

}  // namespace flash::avm1
