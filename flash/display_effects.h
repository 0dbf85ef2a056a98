// What PlaceObject3 (and scripts) add to a display object beyond its matrix
// and colour transform: filters, a blend mode, bitmap caching and an opaque
// background.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "swf/records.h"

namespace flash {

using Rgba = swf::Rgba;

enum class BlendMode : uint8_t {
    Normal = 1, Layer, Multiply, Screen, Lighten, Darken, Difference, Add, Subtract, Invert, Alpha, Erase,
    Overlay, Hardlight,
};

// A blend mode number of PlaceObject3 (0 and unknown values: normal).
BlendMode BlendModeFromByte(uint8_t value);

enum class FilterKind { DropShadow, Blur, Glow, Bevel, GradientGlow, Convolution, ColorMatrix, GradientBevel };

struct Filter {
    FilterKind kind = FilterKind::Blur;
    double blur_x = 0, blur_y = 0;   // pixels
    double angle = 0;                // radians
    double distance = 0;             // pixels
    double strength = 1;
    bool inner = false;
    bool knockout = false;
    bool composite_source = true;    // false: hide the object
    bool on_top = false;             // bevels
    int passes = 1;
    // Drop shadow and glow: colors[0]; bevel: shadow then highlight;
    // gradient glow and bevel: the gradient, with its ratios.
    std::vector<Rgba> colors;
    std::vector<uint8_t> ratios;
    // Convolution.
    int matrix_x = 0, matrix_y = 0;
    float divisor = 1, bias = 0;
    std::vector<float> matrix;
    Rgba default_color{0, 0, 0, 0};
    bool clamp = true;
    bool preserve_alpha = true;
    // Colour matrix: 4 rows of 5 (r, g, b, a, offset).
    std::array<float, 20> color_matrix{};
};

}  // namespace flash
