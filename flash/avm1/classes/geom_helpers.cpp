#include "flash/avm1/classes/geom_helpers.h"

namespace flash::avm1 {

// Looked up without version checks: the packages are hidden from older
// movies, and the installers run whatever the movie's version.
Object* FlashPackage(Vm& vm, const std::string& name) {
    Property* flash = vm.global->FindOwn("flash", true);
    if (!flash || !flash->value.IsObject()) {
        vm.global->Define("flash", vm.MakeObject(), kDontEnum);
        flash = vm.global->FindOwn("flash", true);
        // The packages appear to movies of version 8 and later.
        flash->version_flags = kVersion8;
    }
    Object* packages = flash->value.object;
    Property* package = packages->FindOwn(name, true);
    if (!package || !package->value.IsObject()) {
        packages->Define(name, vm.MakeObject(), kDontEnum);
        package = packages->FindOwn(name, true);
    }
    return package->value.object;
}

void AddAccessor(Vm& vm, Object* target, const std::string& name, NativeFn getter, NativeFn setter,
                 uint8_t flags) {
    Property& property = target->properties.Set(name, true);
    property.value = Value();
    property.getter = vm.MakeNative(name, getter);
    property.setter = setter ? vm.MakeNative(name, setter) : nullptr;
    property.flags = flags;
}

Object* NewInstance(Vm& vm, const std::string& class_name, Args args) {
    Object* prototype = vm.Proto(class_name);
    if (!prototype) return vm.MakeObject();
    Property* constructor = prototype->FindOwn("constructor", true);
    if (!constructor) return vm.MakeObject();
    Value made = vm.Construct(constructor->value, std::move(args));
    return made.IsObject() ? made.object : vm.MakeObject();
}

double NumberOf(Vm& vm, Object* object, const std::string& name) {
    if (!object) return NAN;
    return vm.ToNumber(vm.Get(object, name));
}

Value AddFields(Vm& vm, const Value& a, const Value& b) {
    if (a.IsString() || b.IsString()) return Value(vm.ToString(a) + vm.ToString(b));
    return Value(vm.ToNumber(a) + vm.ToNumber(b));
}

Object* NewPoint(Vm& vm, double x, double y) { return NewInstance(vm, "Point", {Value(x), Value(y)}); }

}  // namespace flash::avm1
