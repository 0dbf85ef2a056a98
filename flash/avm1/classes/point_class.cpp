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
    double x, y;
    Coordinates(vm, Arg(args, 0), &x, &y);
    return Value(NewPoint(vm, NumberOf(vm, self, "x") + x, NumberOf(vm, self, "y") + y));
}

Value Subtract(Vm& vm, Object* self, Args& args) {
    double x, y;
    Coordinates(vm, Arg(args, 0), &x, &y);
    return Value(NewPoint(vm, NumberOf(vm, self, "x") - x, NumberOf(vm, self, "y") - y));
}

Value Equals(Vm& vm, Object* self, Args& args) {
    Value other = Arg(args, 0);
    if (!self || !other.IsObject() || !vm.InstanceOf(other.object, vm.Get(vm.Proto("Point"), "constructor").object))
        return Value(false);
    return Value(NumberOf(vm, self, "x") == NumberOf(vm, other.object, "x") &&
                 NumberOf(vm, self, "y") == NumberOf(vm, other.object, "y"));
}

Value Clone(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    return Value(NewInstance(vm, "Point", {vm.Get(self, "x"), vm.Get(self, "y")}));
}

Value Offset(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    vm.Set(self, "x", Value(NumberOf(vm, self, "x") + vm.ToNumber(Arg(args, 0))));
    vm.Set(self, "y", Value(NumberOf(vm, self, "y") + vm.ToNumber(Arg(args, 1))));
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

Value Interpolate(Vm& vm, Object*, Args& args) {
    double x1, y1, x2, y2;
    Coordinates(vm, Arg(args, 0), &x1, &y1);
    Coordinates(vm, Arg(args, 1), &x2, &y2);
    double f = vm.ToNumber(Arg(args, 2));
    return Value(NewPoint(vm, x2 + (x1 - x2) * f, y2 + (y1 - y2) * f));
}

Value Polar(Vm& vm, Object*, Args& args) {
    double length = vm.ToNumber(Arg(args, 0)), angle = vm.ToNumber(Arg(args, 1));
    return Value(NewPoint(vm, length * std::cos(angle), length * std::sin(angle)));
}

}  // namespace

void InstallPointClass(Vm& vm) {
    Object* prototype = InstallClass(vm, FlashPackage(vm, "geom"), "Point", Construct);
    AddAccessor(vm, prototype, "length", Length, nullptr);
    vm.AddMethod(prototype, "add", Add);
    vm.AddMethod(prototype, "subtract", Subtract);
    vm.AddMethod(prototype, "equals", Equals);
    vm.AddMethod(prototype, "normalize", Normalize);
    vm.AddMethod(prototype, "offset", Offset);
    vm.AddMethod(prototype, "clone", Clone);
    vm.AddMethod(prototype, "toString", ToStringMethod);
    Object* constructor = vm.Get(prototype, "constructor").object;
    vm.AddMethod(constructor, "distance", Distance);
    vm.AddMethod(constructor, "interpolate", Interpolate);
    vm.AddMethod(constructor, "polar", Polar);
}

}  // namespace flash::avm1
