// Function: Function.prototype.call and apply.
#include "flash/avm1/classes/classes.h"

namespace flash::avm1 {

namespace {

// call and apply with no this (undefined or null) run on _global.
Value ThisOf(Vm& vm, const Args& args) {
    if (args.empty() || args[0].IsNullish()) return Value(vm.global);
    return args[0];
}

Value Call(Vm& vm, Object* self, Args& args) {
    Value this_value = ThisOf(vm, args);
    Args rest(args.size() > 1 ? args.begin() + 1 : args.end(), args.end());
    return vm.Call(Value(self), this_value, std::move(rest));
}

Value Apply(Vm& vm, Object* self, Args& args) {
    Value this_value = ThisOf(vm, args);
    Args list;
    if (args.size() > 1 && args[1].IsObject()) {
        if (ArrayObject* array = args[1].object->AsArray()) {
            list = array->Elements();
        } else {
            double length = vm.ToNumber(vm.Get(args[1].object, "length"));
            for (int i = 0; i < length && i < 65536; ++i) list.push_back(vm.Get(args[1].object, std::to_string(i)));
        }
    }
    return vm.Call(Value(self), this_value, std::move(list));
}

// Function(x) answers x itself; with nothing, a bare object with no
// prototype at all.
Value Construct(Vm& vm, Object*, Args& args) {
    if (!args.empty()) return args[0];
    return Value(vm.heap.Make<Object>(nullptr));
}

}  // namespace

void InstallFunctionClass(Vm& vm) {
    Object* proto = vm.function_proto;
    Function* constructor = vm.MakeClass("Function", Construct, Construct, proto);
    vm.AddMethod(proto, "call", Call);
    vm.AddMethod(proto, "apply", Apply);
    vm.global->Define("Function", Value(constructor));
    vm.protos["Function"] = proto;
}

}  // namespace flash::avm1
