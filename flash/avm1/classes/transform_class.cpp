// flash.geom.Transform: the matrix and colour transform of a clip, its
// concatenated ones down from the stage and its bounds on the stage. Each
// read hands out a new Matrix or ColorTransform; assigning one of those
// changes the clip, anything else is ignored.
#include "flash/avm1/classes/transform_class.h"

#include "flash/avm1/classes/color_transform_class.h"
#include "flash/avm1/classes/geom_helpers.h"
#include "flash/player.h"

#include <cmath>

namespace flash::avm1 {

namespace {

const char kTransformClass[] = "Transform";

struct TransformObject : Object {
    explicit TransformObject(Object* prototype) : Object(prototype) { native_class = kTransformClass; }
    void TraceRefs(Tracer& tracer) override { tracer.Mark(clip); }
    Clip* clip = nullptr;
};

Clip* ClipOf(Object* self) {
    if (!self || self->native_class != kTransformClass) return nullptr;
    return static_cast<TransformObject*>(self)->clip;
}

Value MatrixValue(Vm& vm, const Matrix& m) {
    return Value(NewInstance(vm, "Matrix", {Value(m.a), Value(m.b), Value(m.c), Value(m.d), Value(m.tx / 20),
                                            Value(m.ty / 20)}));
}

Value ColorValue(Vm& vm, const ColorTransform& c) {
    const double values[8] = {c.rm / 256.0, c.gm / 256.0, c.bm / 256.0, c.am / 256.0, double(c.ra),
                              double(c.ga), double(c.ba), double(c.aa)};
    return Value(MakeColorTransform(vm, values));
}

// The colour of inner seen through outer, in the player's fixed point:
// multipliers of 8.8 bits, offsets kept to 16 bits.
ColorTransform Through(const ColorTransform& outer, const ColorTransform& inner) {
    auto wrap = [](int64_t v) { return static_cast<int>(static_cast<int16_t>(static_cast<uint16_t>(v))); };
    auto mult = [&](int o, int i) { return wrap((int64_t{o} * i) >> 8); };
    auto offset = [&](int o_mult, int i_offset, int o_offset) {
        return wrap(((int64_t{o_mult} * i_offset) >> 8) + o_offset);
    };
    ColorTransform t;
    t.rm = mult(outer.rm, inner.rm), t.gm = mult(outer.gm, inner.gm);
    t.bm = mult(outer.bm, inner.bm), t.am = mult(outer.am, inner.am);
    t.ra = offset(outer.rm, inner.ra, outer.ra), t.ga = offset(outer.gm, inner.ga, outer.ga);
    t.ba = offset(outer.bm, inner.ba, outer.ba), t.aa = offset(outer.am, inner.aa, outer.aa);
    return t;
}

Value Construct(Vm& vm, Object*, Args& args) {
    Value clip = Arg(args, 0);
    if (!clip.IsObject() || !clip.object->AsClip()) return Value();
    return Value(MakeTransform(vm, clip.object->AsClip()));
}

Value GetMatrix(Vm& vm, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    return clip ? MatrixValue(vm, clip->Placement().matrix) : Value();
}

Value SetMatrix(Vm& vm, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    Value value = Arg(args, 0);
    Value matrix_class = vm.Get(FlashPackage(vm, "geom"), "Matrix");
    if (!clip || !value.IsObject() || !matrix_class.IsObject() || !vm.InstanceOf(value.object, matrix_class.object))
        return Value();
    Instance& placed = clip->Placement();
    Object* o = value.object;
    placed.matrix = {NumberOf(vm, o, "a"), NumberOf(vm, o, "b"), NumberOf(vm, o, "c"), NumberOf(vm, o, "d"),
                     std::round(NumberOf(vm, o, "tx") * 20), std::round(NumberOf(vm, o, "ty") * 20)};
    placed.has_scale = false;
    placed.scripted = true;
    return Value();
}

Value GetColor(Vm& vm, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    return clip ? ColorValue(vm, clip->Placement().color) : Value();
}

Value SetColor(Vm&, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    Value value = Arg(args, 0);
    Object* native = value.IsObject() ? value.object->NativeOf(kColorTransformClass) : nullptr;
    if (!clip || !native) return Value();
    const double* v = static_cast<ColorTransformObject*>(native)->values;
    auto fixed = [](double n) { return std::isfinite(n) ? static_cast<int>(n * 256) : 0; };
    auto whole = [](double n) { return std::isfinite(n) ? static_cast<int>(n) : 0; };
    Instance& placed = clip->Placement();
    placed.color = {fixed(v[0]), fixed(v[1]), fixed(v[2]), fixed(v[3]),
                    whole(v[4]), whole(v[5]), whole(v[6]), whole(v[7])};
    placed.scripted = true;
    return Value();
}

Value GetConcatenatedMatrix(Vm& vm, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    return clip ? MatrixValue(vm, clip->player->WorldMatrix(*clip)) : Value();
}

Value GetConcatenatedColor(Vm& vm, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    if (!clip) return Value();
    ColorTransform color = clip->Placement().color;
    for (Clip* above = clip->parent; above; above = above->parent) color = Through(above->Placement().color, color);
    return ColorValue(vm, color);
}

Value GetPixelBounds(Vm& vm, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    if (!clip) return Value();
    double x0, y0, x1, y1;
    if (!clip->player->ClipBounds(*clip, &x0, &y0, &x1, &y1)) x0 = y0 = x1 = y1 = 0;
    Box box = TransformBox(clip->player->WorldMatrix(*clip), {x0, y0, x1, y1});
    return Value(NewInstance(vm, "Rectangle", {Value(box.xmin / 20), Value(box.ymin / 20),
                                               Value((box.xmax - box.xmin) / 20), Value((box.ymax - box.ymin) / 20)}));
}

}  // namespace

Object* MakeTransform(Vm& vm, Clip* clip) {
    auto* transform = vm.heap.Make<TransformObject>(vm.Proto("Transform"));
    transform->clip = clip;
    return transform;
}

Clip* TransformedClip(const Value& value) { return value.IsObject() ? ClipOf(value.object) : nullptr; }

void InstallTransformClass(Vm& vm) {
    Object* prototype = InstallClass(vm, FlashPackage(vm, "geom"), "Transform", Construct, Construct);
    AddAccessor(vm, prototype, "matrix", GetMatrix, SetMatrix);
    AddAccessor(vm, prototype, "concatenatedMatrix", GetConcatenatedMatrix, nullptr);
    AddAccessor(vm, prototype, "colorTransform", GetColor, SetColor);
    AddAccessor(vm, prototype, "concatenatedColorTransform", GetConcatenatedColor, nullptr);
    AddAccessor(vm, prototype, "pixelBounds", GetPixelBounds, nullptr);
}

}  // namespace flash::avm1
