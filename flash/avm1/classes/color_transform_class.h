// The object kind behind flash.geom.ColorTransform, for the classes that
// hand colour transforms around (Transform, BitmapData).
#pragma once

#include "flash/avm1/vm.h"

namespace flash::avm1 {

extern const char kColorTransformClass[];

// Multipliers red, green, blue, alpha, then offsets in the same order.
class ColorTransformObject : public Object {
public:
    explicit ColorTransformObject(Object* prototype) : Object(prototype) {
        native_class = kColorTransformClass;
    }
    double values[8] = {1, 1, 1, 1, 0, 0, 0, 0};
};

// first becomes first followed by second... as concat does it.
void ConcatColorTransforms(double* first, const double* second);
ColorTransformObject* MakeColorTransform(Vm& vm, const double values[8]);

}  // namespace flash::avm1
