// Key: key codes, the keyboard state the player feeds in, and listeners
// that hear onKeyDown and onKeyUp.
#include "flash/avm1/classes/class_helpers.h"

namespace flash::avm1 {

namespace {

Value IsDown(Vm& vm, Object*, Args& args) {
    int code = vm.ToInt(Arg(args, 0));
    return Value(code >= 0 && code < 256 && vm.keys_down[code]);
}

Value GetCode(Vm& vm, Object*, Args&) { return Value(static_cast<double>(vm.last_key)); }
Value GetAscii(Vm& vm, Object*, Args&) { return Value(static_cast<double>(vm.last_ascii)); }
Value IsToggled(Vm&, Object*, Args&) { return Value(false); }

struct KeyConstant {
    const char* name;
    int code;
};

constexpr KeyConstant kConstants[] = {
    {"ALT", 18},    {"BACKSPACE", 8}, {"CAPSLOCK", 20}, {"CONTROL", 17}, {"DELETEKEY", 46},
    {"DOWN", 40},   {"END", 35},      {"ENTER", 13},    {"ESCAPE", 27},  {"HOME", 36},
    {"INSERT", 45}, {"LEFT", 37},     {"PGDN", 34},     {"PGUP", 33},    {"RIGHT", 39},
    {"SHIFT", 16},  {"SPACE", 32},    {"TAB", 9},       {"UP", 38},
};

}  // namespace

void InstallKeyObject(Vm& vm) {
    Object* key = InstallStatic(vm, "Key");
    MakeBroadcaster(vm, key);
    // Key listeners came with version 6: older movies see no such methods.
    for (const char* name : {"addListener", "removeListener"})
        if (Property* property = key->FindOwn(name, true)) property->version_flags = kVersion6;
    for (const KeyConstant& constant : kConstants)
        key->Define(constant.name, Value(static_cast<double>(constant.code)), kDontEnum | kDontDelete | kReadOnly);
    vm.AddMethod(key, "isDown", IsDown);
    vm.AddMethod(key, "getCode", GetCode);
    vm.AddMethod(key, "getAscii", GetAscii);
    vm.AddMethod(key, "isToggled", IsToggled);
}

}  // namespace flash::avm1
