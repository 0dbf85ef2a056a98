// flash.geom.Transform: the object a clip's transform hands out. It keeps
// the clip it was made for; until clips expose their matrix and colour to
// scripts it answers the identity and remembers what scripts assign.
#include "flash/avm1/classes/color_transform_class.h"
#include "flash/avm1/classes/geom_helpers.h"

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

Value GetMatrix(Vm& vm, Object* self, Args&) { return Stored(vm, self, "__matrix", "Matrix"); }
Value SetMatrix(Vm&, Object* self, Args& args) {
    Store(self, "__matrix", Arg(args, 0));
    return Value();
}
Value GetColor(Vm& vm, Object* self, Args&) { return Stored(vm, self, "__color", "ColorTransform"); }
Value SetColor(Vm&, Object* self, Args& args) {
    Value value = Arg(args, 0);
    if (value.IsObject() && value.object->NativeOf(kColorTransformClass)) Store(self, "__color", value);
    return Value();
}
Value GetConcatenatedMatrix(Vm& vm, Object* self, Args&) { return Stored(vm, self, "__matrix", "Matrix"); }
Value GetConcatenatedColor(Vm& vm, Object* self, Args&) { return Stored(vm, self, "__color", "ColorTransform"); }
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
