// flash.geom.ColorTransform: eight numbers behind accessors on the
// prototype (enumerable, as scripts see them), rgb, concat and toString.
#include "flash/avm1/classes/color_transform_class.h"

#include "flash/avm1/classes/geom_helpers.h"

namespace flash::avm1 {

namespace {

const char* const kNames[8] = {"redMultiplier", "greenMultiplier", "blueMultiplier", "alphaMultiplier",
                               "redOffset",     "greenOffset",     "blueOffset",     "alphaOffset"};
// The order the accessors are made in (for..in lists them newest first).
const int kInstallOrder[8] = {3, 0, 1, 2, 7, 4, 5, 6};

ColorTransformObject* CastTo(Object* self) {
    return self ? static_cast<ColorTransformObject*>(self->NativeOf(kColorTransformClass)) : nullptr;
}

Value Construct(Vm& vm, Object*, Args& args) {
    auto* object = vm.heap.Make<ColorTransformObject>(vm.Proto("ColorTransform"));
    // Fewer than all eight arguments leave the identity.
    if (args.size() >= 8)
        for (int i = 0; i < 8; ++i) object->values[i] = vm.ToNumber(Arg(args, i));
    return Value(static_cast<Object*>(object));
}

template <int kIndex>
Value GetField(Vm&, Object* self, Args&) {
    ColorTransformObject* ct = CastTo(self);
    return ct ? Value(ct->values[kIndex]) : Value();
}

template <int kIndex>
Value SetField(Vm& vm, Object* self, Args& args) {
    if (ColorTransformObject* ct = CastTo(self)) ct->values[kIndex] = vm.ToNumber(Arg(args, 0));
    return Value();
}

const NativeFn kGetters[8] = {GetField<0>, GetField<1>, GetField<2>, GetField<3>,
                              GetField<4>, GetField<5>, GetField<6>, GetField<7>};
const NativeFn kSetters[8] = {SetField<0>, SetField<1>, SetField<2>, SetField<3>,
                              SetField<4>, SetField<5>, SetField<6>, SetField<7>};

Value GetRgb(Vm&, Object* self, Args&) {
    ColorTransformObject* ct = CastTo(self);
    if (!ct) return Value();
    int r = ToInt32(ct->values[4]), g = ToInt32(ct->values[5]), b = ToInt32(ct->values[6]);
    return Value(static_cast<double>((r << 16) | (g << 8) | b));
}

// Setting rgb makes the colour solid: multipliers 0, offsets the colour.
Value SetRgb(Vm& vm, Object* self, Args& args) {
    ColorTransformObject* ct = CastTo(self);
    if (!ct) return Value();
    uint32_t rgb = static_cast<uint32_t>(vm.ToInt(Arg(args, 0)));
    for (int i = 0; i < 3; ++i) ct->values[i] = 0;
    ct->values[4] = (rgb >> 16) & 0xFF;
    ct->values[5] = (rgb >> 8) & 0xFF;
    ct->values[6] = rgb & 0xFF;
    return Value();
}

Value ConcatMethod(Vm&, Object* self, Args& args) {
    ColorTransformObject* ct = CastTo(self);
    Value arg = Arg(args, 0);
    ColorTransformObject* second = arg.IsObject() ? CastTo(arg.object) : nullptr;
    if (ct && second) ConcatColorTransforms(ct->values, second->values);
    return Value();
}

Value ToStringMethod(Vm&, Object* self, Args&) {
    ColorTransformObject* ct = CastTo(self);
    if (!ct) return Value();
    std::string out = "(";
    for (int i = 0; i < 8; ++i) {
        if (i) out += ", ";
        out += std::string(kNames[i]) + "=" + NumberToString(ct->values[i]);
    }
    return Value(out + ")");
}

}  // namespace

const char kColorTransformClass[] = "ColorTransform";

void ConcatColorTransforms(double* first, const double* second) {
    for (int i = 0; i < 4; ++i) {
        first[4 + i] += first[i] * second[4 + i];
        first[i] *= second[i];
    }
}

ColorTransformObject* MakeColorTransform(Vm& vm, const double values[8]) {
    auto* object = vm.heap.Make<ColorTransformObject>(vm.Proto("ColorTransform"));
    for (int i = 0; i < 8; ++i) object->values[i] = values[i];
    return object;
}

void InstallColorTransformClass(Vm& vm) {
    Object* prototype = InstallClass(vm, FlashPackage(vm, "geom"), "ColorTransform", Construct, Construct);
    for (int index : kInstallOrder) AddAccessor(vm, prototype, kNames[index], kGetters[index], kSetters[index], 0);
    AddAccessor(vm, prototype, "rgb", GetRgb, SetRgb, 0);
    Function* concat = vm.MakeNative("concat", ConcatMethod);
    prototype->Define("concat", concat, 0);
    prototype->Define("toString", vm.MakeNative("toString", ToStringMethod), 0);
}

}  // namespace flash::avm1
