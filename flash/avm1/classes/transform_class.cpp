// flash.geom.Transform: the object a clip's transform hands out. It keeps
// the clip it was made for, whose matrix and colour transform it reads and
// sets.
#include "flash/avm1/classes/color_transform_class.h"
#include "flash/avm1/classes/geom_helpers.h"
#include "flash/player.h"

#include <algorithm>
#include <cmath>

namespace flash::avm1 {

namespace {

Value Construct(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    Value clip = Arg(args, 0);
    if (!clip.IsObject() || !clip.object->AsClip()) return Value();
    self->Define("__clip", clip, kDontEnum);
    return Value();
}

// The value a script assigned, or the identity.
Value Stored(Vm& vm, Object* self, const char* slot, const char* class_name) {
    if (!self) return Value();
    if (Property* p = self->FindOwn(slot, true); p && p->value.IsObject()) {
        Value copy = vm.CallMethod(p->value, "clone", {});
        if (copy.IsObject()) return copy;
        return p->value;
    }
    return Value(NewInstance(vm, class_name, {}));
}

void Store(Object* self, const char* slot, const Value& value) {
    if (self && value.IsObject()) self->Define(slot, value, kDontEnum);
}

Clip* ClipOf(Object* self) {
    Property* p = self ? self->FindOwn("__clip", true) : nullptr;
    return p && p->value.IsObject() ? p->value.object->AsClip() : nullptr;
}

Value MatrixValue(Vm& vm, const Matrix& m) {
    return Value(NewInstance(vm, "Matrix", {Value(m.a), Value(m.b), Value(m.c), Value(m.d), Value(m.tx / 20),
                                            Value(m.ty / 20)}));
}

Value ColorValue(Vm& vm, const ColorTransform& c) {
    double values[8] = {c.rm / 256.0, c.gm / 256.0, c.bm / 256.0, c.am / 256.0,
                        static_cast<double>(c.ra), static_cast<double>(c.ga), static_cast<double>(c.ba),
                        static_cast<double>(c.aa)};
    return Value(MakeColorTransform(vm, values));
}

Value GetMatrix(Vm& vm, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    if (!clip) return Stored(vm, self, "__matrix", "Matrix");
    return MatrixValue(vm, clip->Placement().matrix);
}

Value SetMatrix(Vm& vm, Object* self, Args& args) {
    Value given = Arg(args, 0);
    Clip* clip = ClipOf(self);
    if (!clip) {
        Store(self, "__matrix", given);
        return Value();
    }
    if (!given.IsObject()) return Value();
    double v[6];
    const char* names[6] = {"a", "b", "c", "d", "tx", "ty"};
    for (int i = 0; i < 6; ++i) {
        v[i] = NumberOf(vm, given.object, names[i]);
        if (!std::isfinite(v[i])) return Value();
    }
    Instance& placed = clip->Placement();
    placed.matrix = Matrix{v[0], v[1], v[2], v[3], v[4] * 20, v[5] * 20};
    placed.has_scale = false;
    placed.scripted = true;
    return Value();
}
Value GetColor(Vm& vm, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    if (!clip) return Stored(vm, self, "__color", "ColorTransform");
    return ColorValue(vm, clip->Placement().color);
}

Value SetColor(Vm&, Object* self, Args& args) {
    Value value = Arg(args, 0);
    if (!value.IsObject() || value.object->native_class != kColorTransformClass) return Value();
    Clip* clip = ClipOf(self);
    if (!clip) {
        Store(self, "__color", value);
        return Value();
    }
    // Multipliers are kept in 256ths, offsets in whole levels.
    const double* v = static_cast<ColorTransformObject*>(value.object)->values;
    auto whole = [](double n) { return std::isfinite(n) ? static_cast<int>(std::clamp(n, -32768.0, 32767.0)) : 0; };
    Instance& placed = clip->Placement();
    placed.color = ColorTransform{whole(v[0] * 256), whole(v[1] * 256), whole(v[2] * 256), whole(v[3] * 256),
                                  whole(v[4]),       whole(v[5]),       whole(v[6]),       whole(v[7])};
    placed.scripted = true;
    return Value();
}
// The clip's own matrix followed by those of the clips it is in.
Value GetConcatenatedMatrix(Vm& vm, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    if (!clip) return GetMatrix(vm, self, args);
    Matrix m = clip->Placement().matrix;
    for (Clip* p = clip->parent; p; p = p->parent) m = Multiply(p->Placement().matrix, m);
    return MatrixValue(vm, m);
}
Value GetConcatenatedColor(Vm& vm, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    if (!clip) return GetColor(vm, self, args);
    ColorTransform c = clip->Placement().color;
    for (Clip* p = clip->parent; p; p = p->parent) c = Combine(p->Placement().color, c);
    return ColorValue(vm, c);
}
Value GetPixelBounds(Vm& vm, Object*, Args&) { return Value(NewInstance(vm, "Rectangle", {})); }

}  // namespace

void InstallTransformClass(Vm& vm) {
    Object* prototype = InstallClass(vm, FlashPackage(vm, "geom"), "Transform", Construct);
    AddAccessor(vm, prototype, "matrix", GetMatrix, SetMatrix);
    AddAccessor(vm, prototype, "concatenatedMatrix", GetConcatenatedMatrix, nullptr);
    AddAccessor(vm, prototype, "colorTransform", GetColor, SetColor);
    AddAccessor(vm, prototype, "concatenatedColorTransform", GetConcatenatedColor, nullptr);
    AddAccessor(vm, prototype, "pixelBounds", GetPixelBounds, nullptr);
}

}  // namespace flash::avm1
