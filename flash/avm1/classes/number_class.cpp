// Number: the constructor (a conversion when called, a boxed number with
// new), its constants, and toString(radix) and valueOf.
#include "flash/avm1/classes/classes.h"

#include <cfloat>
#include <cmath>

namespace flash::avm1 {

namespace {

Value CallNumber(Vm& vm, Object*, Args& args) {
    if (args.empty()) return Value(0);
    return Value(vm.ToNumber(args[0]));
}

Value ConstructNumber(Vm& vm, Object*, Args& args) {
    Object* boxed = vm.heap.Make<Object>(vm.Proto("Number"));
    boxed->primitive = Value(args.empty() ? 0.0 : vm.ToNumber(args[0]));
    boxed->native_class = "Number";
    return Value(boxed);
}

Value ToStringMethod(Vm& vm, Object* self, Args& args) {
    if (!self || !self->primitive.IsNumber()) return Value("[object Object]");
    double n = self->primitive.number;
    int radix = 10;
    if (!args.empty() && !args[0].IsUndefined()) radix = vm.ToInt(args[0]);
    return Value(NumberToRadix(n, radix));
}

Value ValueOf(Vm&, Object* self, Args&) {
    if (!self || !self->primitive.IsNumber()) return Value(self);
    return self->primitive;
}

}  // namespace

void InstallNumberClass(Vm& vm) {
    Object* proto = vm.MakeObject();
    Function* constructor = vm.MakeClass("Number", CallNumber, ConstructNumber, proto);
    vm.AddMethod(proto, "toString", ToStringMethod);
    vm.AddMethod(proto, "valueOf", ValueOf);
    constexpr uint8_t kConstant = kDontEnum | kDontDelete | kReadOnly;
    constructor->Define("MAX_VALUE", Value(DBL_MAX), kConstant);
    constructor->Define("MIN_VALUE", Value(4.9406564584124654e-324), kConstant);
    constructor->Define("NaN", Value(NAN), kConstant);
    constructor->Define("NEGATIVE_INFINITY", Value(-INFINITY), kConstant);
    constructor->Define("POSITIVE_INFINITY", Value(INFINITY), kConstant);
    vm.global->Define("Number", Value(constructor));
    vm.protos["Number"] = proto;
}

}  // namespace flash::avm1
