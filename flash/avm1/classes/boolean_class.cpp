// Boolean: the constructor (a conversion when called, a boxed boolean
// with new), toString and valueOf.
#include "flash/avm1/classes/classes.h"

namespace flash::avm1 {

namespace {

Value CallBoolean(Vm& vm, Object*, Args& args) {
    if (args.empty()) return Value();
    return Value(vm.ToBoolean(args[0]));
}

Value ConstructBoolean(Vm& vm, Object*, Args& args) {
    Object* boxed = vm.heap.Make<Object>(vm.Proto("Boolean"));
    boxed->primitive = Value(!args.empty() && vm.ToBoolean(args[0]));
    boxed->native_class = "Boolean";
    return Value(boxed);
}

Value ToStringMethod(Vm&, Object* self, Args&) {
    if (!self || !self->primitive.IsBoolean()) return Value("[object Object]");
    return Value(self->primitive.boolean ? "true" : "false");
}

Value ValueOf(Vm&, Object* self, Args&) {
    if (!self || !self->primitive.IsBoolean()) return Value(self);
    return self->primitive;
}

}  // namespace

void InstallBooleanClass(Vm& vm) {
    Object* proto = vm.MakeObject();
    Function* constructor = vm.MakeClass("Boolean", CallBoolean, ConstructBoolean, proto);
    vm.AddMethod(proto, "toString", ToStringMethod);
    vm.AddMethod(proto, "valueOf", ValueOf);
    vm.global->Define("Boolean", Value(constructor));
    vm.protos["Boolean"] = proto;
}

}  // namespace flash::avm1
