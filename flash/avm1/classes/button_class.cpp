// Button: the class of button instances. Their _x, _alpha... and the
// children of the state they show come from the display side; the class
// holds the flags the pointer handling reads (enabled, useHandCursor,
// trackAsMenu), which movie clips share.
#include "flash/avm1/classes/class_helpers.h"
#include "flash/player.h"

namespace flash::avm1 {

namespace {

Value Nothing(Vm&, Object*, Args&) { return Value(); }

Value GetDepth(Vm&, Object* self, Args&) {
    Clip* clip = self ? self->AsClip() : nullptr;
    if (!clip || !clip->parent) return Value();
    return Value(clip->depth - kDepthOffset);
}

}  // namespace

void InstallButtonClass(Vm& vm) {
    Object* proto = InstallClass(vm, vm.global, "Button", Nothing);
    vm.AddMethod(proto, "getDepth", GetDepth);
    proto->Define("enabled", Value(true));
    proto->Define("useHandCursor", Value(true));
    proto->Define("trackAsMenu", Value(false));
    if (Object* clip_proto = vm.Proto("MovieClip")) {
        clip_proto->Define("enabled", Value(true));
        clip_proto->Define("useHandCursor", Value(true));
    }
}

}  // namespace flash::avm1
