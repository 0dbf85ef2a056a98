// The object kind behind flash.geom.Transform, which a clip's transform
// property hands out: it reads and writes the clip's matrix and colour.
#pragma once

#include "flash/avm1/vm.h"

namespace flash {
struct Clip;
}

namespace flash::avm1 {

// A new Transform of the clip.
Object* MakeTransform(Vm& vm, Clip* clip);
// The clip a Transform was made for; nullptr for anything else.
Clip* TransformedClip(const Value& value);

}  // namespace flash::avm1
