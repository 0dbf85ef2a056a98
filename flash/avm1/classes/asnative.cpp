// ASnative(category, index): the player's built-in functions by number.
// Known categories answer the function at the index; an index the
// category does not have gives a function that does what the category's
// unknown entries do (nothing, or NaN for Math); an unknown category and
// a call with other than two arguments give undefined.
#include "flash/avm1/classes/class_helpers.h"

#include <cmath>

namespace flash::avm1 {

namespace {

struct NativeEntry {
    int category;
    int index;
    const char* owner;   // "" for _global, "Object.prototype" or "Math"
    const char* name;
};

const NativeEntry kEntries[] = {
    {100, 0, "", "escape"},
    {100, 1, "", "unescape"},
    {100, 2, "", "parseInt"},
    {100, 3, "", "parseFloat"},
    {101, 0, "Object.prototype", "watch"},
    {101, 1, "Object.prototype", "unwatch"},
    {101, 2, "Object.prototype", "addProperty"},
    {101, 3, "Object.prototype", "valueOf"},
    {101, 4, "Object.prototype", "toString"},
    {101, 5, "Object.prototype", "hasOwnProperty"},
    {101, 6, "Object.prototype", "isPrototypeOf"},
    {101, 7, "Object.prototype", "isPropertyEnumerable"},
    {200, 0, "Math", "abs"},
    {200, 1, "Math", "min"},
    {200, 2, "Math", "max"},
    {200, 3, "Math", "sin"},
    {200, 4, "Math", "cos"},
    {200, 5, "Math", "atan2"},
    {200, 6, "Math", "tan"},
    {200, 7, "Math", "exp"},
    {200, 8, "Math", "log"},
    {200, 9, "Math", "sqrt"},
    {200, 10, "Math", "round"},
    {200, 11, "Math", "random"},
    {200, 12, "Math", "floor"},
    {200, 13, "Math", "ceil"},
    {200, 14, "Math", "atan"},
    {200, 15, "Math", "asin"},
    {200, 16, "Math", "acos"},
    {200, 17, "Math", "pow"},
};

Value Nothing(Vm&, Object*, Args&) { return Value(); }

// trace as a function.
Value TraceFunction(Vm& vm, Object*, Args& args) {
    Value v = Arg(args, 0);
    vm.Trace(v.IsUndefined() ? "undefined" : vm.ToString(v));
    return Value();
}

// A Math entry that does not exist reads two numbers and answers NaN.
Value MissingMath(Vm& vm, Object*, Args& args) {
    for (size_t i = 0; i < args.size() && i < 2; ++i) vm.ToNumber(args[i]);
    return Value(NAN);
}

Value AsNative(Vm& vm, Object*, Args& args) {
    if (args.size() != 2) return Value();
    int32_t category = vm.ToInt(args[0]);
    int32_t index = vm.ToInt(args[1]);
    if (category == 100 && index == 4) return Value(vm.MakeNative("trace", TraceFunction));
    for (const NativeEntry& entry : kEntries) {
        if (entry.category != category || entry.index != index) continue;
        Object* owner = vm.global;
        if (std::string(entry.owner) == "Object.prototype") owner = vm.object_proto;
        else if (*entry.owner) owner = vm.Get(vm.global, entry.owner).object;
        return owner ? vm.Get(owner, entry.name) : Value();
    }
    if (category == 200) return Value(vm.MakeNative("", MissingMath));
    if (category == 100 || category == 101) return Value(vm.MakeNative("", Nothing));
    return Value();
}

}  // namespace

void InstallAsNative(Vm& vm) { vm.AddMethod(vm.global, "ASnative", AsNative); }

}  // namespace flash::avm1
