// Error: an object with a message (the constructor's argument), the name
// "Error" and a toString that answers the message.
#include "flash/avm1/classes/classes.h"

namespace flash::avm1 {

namespace {

Value Init(Vm& vm, Object* self, Args& args) {
    if (self && !args.empty() && !args[0].IsUndefined()) vm.Set(self, "message", args[0]);
    return Value();
}

Value ToStringMethod(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    // The message as it is, converted by whoever uses it.
    return vm.Get(self, "message");
}

}  // namespace

void InstallErrorClass(Vm& vm) {
    Object* proto = vm.MakeObject();
    Function* constructor = vm.MakeClass("Error", Init, nullptr, proto);
    proto->Define("message", Value("Error"), kDontEnum);
    proto->Define("name", Value("Error"), kDontEnum);
    vm.AddMethod(proto, "toString", ToStringMethod);
    vm.global->Define("Error", Value(constructor));
    vm.protos["Error"] = proto;
}

}  // namespace flash::avm1
