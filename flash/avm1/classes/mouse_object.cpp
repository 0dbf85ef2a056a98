// Mouse: show and hide the pointer, listeners that hear onMouseDown,
// onMouseUp, onMouseMove and onMouseWheel.
#include "flash/avm1/classes/class_helpers.h"

namespace flash::avm1 {

namespace {

// The pointer belongs to the player window; these only answer.
Value Show(Vm&, Object*, Args&) { return Value(); }
Value Hide(Vm&, Object*, Args&) { return Value(); }

}  // namespace

void InstallMouseObject(Vm& vm) {
    Object* mouse = InstallStatic(vm, "Mouse");
    MakeBroadcaster(vm, mouse);
    vm.AddMethod(mouse, "show", Show);
    vm.AddMethod(mouse, "hide", Hide);
}

}  // namespace flash::avm1
