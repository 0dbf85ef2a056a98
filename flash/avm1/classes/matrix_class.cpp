// flash.geom.Matrix: a, b, c, d, tx and ty kept as given; the methods read
// them as numbers and write numbers back.
#include "flash/avm1/classes/geom_helpers.h"
#include "flash/avm1/classes/matrix_math.h"

namespace flash::avm1 {

namespace {

const char* const kFields[] = {"a", "b", "c", "d", "tx", "ty"};

Affine Read(Vm& vm, const Value& value) {
    Object* o = value.IsObject() ? value.object : nullptr;
    return {NumberOf(vm, o, "a"), NumberOf(vm, o, "b"),  NumberOf(vm, o, "c"),
            NumberOf(vm, o, "d"), NumberOf(vm, o, "tx"), NumberOf(vm, o, "ty")};
}

void Write(Vm& vm, Object* self, const Affine& m) {
    double values[] = {m.a, m.b, m.c, m.d, m.tx, m.ty};
    for (int i = 0; i < 6; ++i) vm.Set(self, kFields[i], Value(values[i]));
}

Value Construct(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    if (args.empty()) {
        Write(vm, self, Affine{});
        return Value();
    }
    for (int i = 0; i < 6; ++i) vm.Set(self, kFields[i], Arg(args, i));
    return Value();
}

Value Clone(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    Args values;
    for (const char* field : kFields) values.push_back(vm.Get(self, field));
    return Value(NewInstance(vm, "Matrix", values));
}

Value ConcatMethod(Vm& vm, Object* self, Args& args) {
    if (self) Write(vm, self, Concat(Read(vm, Value(self)), Read(vm, Arg(args, 0))));
    return Value();
}

// The translation is kept as given.
Value CreateBox(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    Write(vm, self, Box(vm.ToNumber(Arg(args, 0)), vm.ToNumber(Arg(args, 1)), vm.ToNumber(Arg(args, 2)), 0, 0));
    vm.Set(self, "tx", args.size() > 3 ? args[3] : Value(0));
    vm.Set(self, "ty", args.size() > 4 ? args[4] : Value(0));
    return Value();
}

// A box of width by height in the 1638.4-unit square gradients are drawn
// in, centred on the translation (which may join strings when it is one).
Value CreateGradientBox(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    double width = vm.ToNumber(Arg(args, 0)), height = vm.ToNumber(Arg(args, 1));
    double angle = args.size() > 2 ? vm.ToNumber(args[2]) : 0;
    Write(vm, self, Box(width / 1638.4, height / 1638.4, angle, 0, 0));
    vm.Set(self, "tx", args.size() > 3 ? AddFields(vm, args[3], Value(width / 2)) : Value(width / 2));
    vm.Set(self, "ty", args.size() > 4 ? AddFields(vm, args[4], Value(height / 2)) : Value(height / 2));
    return Value();
}

Value TransformPoint(Vm& vm, Object* self, Args& args) {
    Affine m = Read(vm, Value(self));
    double x = vm.ToNumber(vm.GetMember(Arg(args, 0), "x")), y = vm.ToNumber(vm.GetMember(Arg(args, 0), "y"));
    return Value(NewPoint(vm, m.a * x + m.c * y + m.tx, m.b * x + m.d * y + m.ty));
}

Value DeltaTransformPoint(Vm& vm, Object* self, Args& args) {
    Affine m = Read(vm, Value(self));
    double x = vm.ToNumber(vm.GetMember(Arg(args, 0), "x")), y = vm.ToNumber(vm.GetMember(Arg(args, 0), "y"));
    return Value(NewPoint(vm, m.a * x + m.c * y, m.b * x + m.d * y));
}

Value Identity(Vm& vm, Object* self, Args&) {
    if (self) Write(vm, self, Affine{});
    return Value();
}

Value InvertMethod(Vm& vm, Object* self, Args&) {
    if (self) Write(vm, self, Invert(Read(vm, Value(self))));
    return Value();
}

Value RotateMethod(Vm& vm, Object* self, Args& args) {
    if (self) Write(vm, self, Rotate(Read(vm, Value(self)), vm.ToNumber(Arg(args, 0))));
    return Value();
}

Value ScaleMethod(Vm& vm, Object* self, Args& args) {
    if (self) Write(vm, self, Scale(Read(vm, Value(self)), vm.ToNumber(Arg(args, 0)), vm.ToNumber(Arg(args, 1))));
    return Value();
}

Value Translate(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    vm.Set(self, "tx", Value(NumberOf(vm, self, "tx") + vm.ToNumber(Arg(args, 0))));
    vm.Set(self, "ty", Value(NumberOf(vm, self, "ty") + vm.ToNumber(Arg(args, 1))));
    return Value();
}

Value ToStringMethod(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    std::string out = "(";
    for (int i = 0; i < 6; ++i) {
        if (i) out += ", ";
        out += std::string(kFields[i]) + "=" + vm.ToString(vm.Get(self, kFields[i]));
    }
    return Value(out + ")");
}

}  // namespace

void InstallMatrixClass(Vm& vm) {
    Object* prototype = InstallClass(vm, FlashPackage(vm, "geom"), "Matrix", Construct);
    vm.AddMethod(prototype, "clone", Clone);
    vm.AddMethod(prototype, "concat", ConcatMethod);
    vm.AddMethod(prototype, "createBox", CreateBox);
    vm.AddMethod(prototype, "createGradientBox", CreateGradientBox);
    vm.AddMethod(prototype, "deltaTransformPoint", DeltaTransformPoint);
    vm.AddMethod(prototype, "identity", Identity);
    vm.AddMethod(prototype, "invert", InvertMethod);
    vm.AddMethod(prototype, "rotate", RotateMethod);
    vm.AddMethod(prototype, "scale", ScaleMethod);
    vm.AddMethod(prototype, "translate", Translate);
    vm.AddMethod(prototype, "transformPoint", TransformPoint);
    vm.AddMethod(prototype, "toString", ToStringMethod);
}

}  // namespace flash::avm1
