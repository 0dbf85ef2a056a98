// flash.geom.Point: x and y kept as given; arithmetic reads them as numbers.
#include "flash/avm1/classes/geom_helpers.h"

namespace flash::avm1 {

namespace {

Value Construct(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    if (args.empty()) {
        vm.Set(self, "x", Value(0));
        vm.Set(self, "y", Value(0));
    } else {
        vm.Set(self, "x", args[0]);
        vm.Set(self, "y", Arg(args, 1));
    }
    return Value();
}

// The x and y of a value that may be no object at all.
void Coordinates(Vm& vm, const Value& value, double* x, double* y) {
    Object* object = value.IsObject() ? value.object : nullptr;
    *x = object ? NumberOf(vm, object, "x") : NAN;
    *y = object ? NumberOf(vm, object, "y") : NAN;
}

Value Add(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    Value other = Arg(args, 0);
    Value x = vm.GetMember(other, "x"), y = vm.GetMember(other, "y");
    return Value(NewInstance(vm, "Point", {AddFields(vm, vm.Get(self, "x"), x), AddFields(vm, vm.Get(self, "y"), y)}));
}

Value Subtract(Vm& vm, Object* self, Args& args) {
    double x, y;
    Coordinates(vm, Arg(args, 0), &x, &y);
    return Value(NewPoint(vm, NumberOf(vm, self, "x") - x, NumberOf(vm, self, "y") - y));
}

// Same type and value in each field (NaN equals nothing).
bool SameField(const Value& a, const Value& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
    case Type::Undefined:
    case Type::Null: return true;
    case Type::Boolean: return a.boolean == b.boolean;
    case Type::Number: return a.number == b.number;
    case Type::String: return a.string == b.string;
    case Type::Object: return a.object == b.object;
    }
    return false;
}

Value Equals(Vm& vm, Object* self, Args& args) {
    Value other = Arg(args, 0);
    if (!self || !other.IsObject() || !vm.InstanceOf(other.object, vm.Get(vm.Proto("Point"), "constructor").object))
        return Value(false);
    return Value(SameField(vm.Get(self, "x"), vm.Get(other.object, "x")) &&
                 SameField(vm.Get(self, "y"), vm.Get(other.object, "y")));
}

Value Clone(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    return Value(NewInstance(vm, "Point", {vm.Get(self, "x"), vm.Get(self, "y")}));
}

Value Offset(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    vm.Set(self, "x", AddFields(vm, vm.Get(self, "x"), Arg(args, 0)));
    vm.Set(self, "y", AddFields(vm, vm.Get(self, "y"), Arg(args, 1)));
    return Value();
}

Value Length(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    return Value(std::hypot(NumberOf(vm, self, "x"), NumberOf(vm, self, "y")));
}

// Scales the point to the given length; points whose coordinates are not
// both numbers, or whose length is not positive, stay as they are.
Value Normalize(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    Value x = vm.Get(self, "x"), y = vm.Get(self, "y");
    if (!x.IsNumber() || !y.IsNumber()) return Value();
    double length = std::hypot(x.number, y.number);
    if (!(length > 0)) return Value();
    double factor = vm.ToNumber(Arg(args, 0)) / length;
    vm.Set(self, "x", Value(x.number * factor));
    vm.Set(self, "y", Value(y.number * factor));
    return Value();
}

Value ToStringMethod(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    return Value("(x=" + vm.ToString(vm.Get(self, "x")) + ", y=" + vm.ToString(vm.Get(self, "y")) + ")");
}

// Point.distance(a, b): the length of a.subtract(b), as a script sees it.
Value Distance(Vm& vm, Object*, Args& args) {
    Value a = Arg(args, 0);
    if (!a.IsObject()) return Value();
    Value difference = vm.CallMethod(a, "subtract", {Arg(args, 1)});
    return vm.GetMember(difference, "length");
}

// p2 + (p1 - p2) * f, where the last addition may join strings.
Value Interpolate(Vm& vm, Object*, Args& args) {
    Value p1 = Arg(args, 0), p2 = Arg(args, 1);
    double f = vm.ToNumber(Arg(args, 2));
    Value x2 = vm.GetMember(p2, "x"), y2 = vm.GetMember(p2, "y");
    Value dx((vm.ToNumber(vm.GetMember(p1, "x")) - vm.ToNumber(x2)) * f);
    Value dy((vm.ToNumber(vm.GetMember(p1, "y")) - vm.ToNumber(y2)) * f);
    return Value(NewInstance(vm, "Point", {AddFields(vm, x2, dx), AddFields(vm, y2, dy)}));
}

Value Polar(Vm& vm, Object*, Args& args) {
    double length = vm.ToNumber(Arg(args, 0)), angle = vm.ToNumber(Arg(args, 1));
    return Value(NewPoint(vm, length * std::cos(angle), length * std::sin(angle)));
}

}  // namespace

// Scripts enumerate the members of the prototype (they are not hidden).
void InstallPointClass(Vm& vm) {
    Object* prototype = InstallClass(vm, FlashPackage(vm, "geom"), "Point", Construct);
    AddAccessor(vm, prototype, "length", Length, nullptr, 0);
    prototype->Define("add", vm.MakeNative("add", Add), 0);
    prototype->Define("subtract", vm.MakeNative("subtract", Subtract), 0);
    prototype->Define("equals", vm.MakeNative("equals", Equals), 0);
    prototype->Define("normalize", vm.MakeNative("normalize", Normalize), 0);
    prototype->Define("offset", vm.MakeNative("offset", Offset), 0);
    prototype->Define("clone", vm.MakeNative("clone", Clone), 0);
    prototype->Define("toString", vm.MakeNative("toString", ToStringMethod), 0);
    Object* constructor = vm.Get(prototype, "constructor").object;
    vm.AddMethod(constructor, "distance", Distance);
    vm.AddMethod(constructor, "interpolate", Interpolate);
    vm.AddMethod(constructor, "polar", Polar);
}

}  // namespace flash::avm1
