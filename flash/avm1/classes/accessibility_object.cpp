// Accessibility: screen readers are never active in this player.
#include "flash/avm1/classes/class_helpers.h"

namespace flash::avm1 {

namespace {

Value False(Vm&, Object*, Args&) { return Value(false); }
Value Nothing(Vm&, Object*, Args&) { return Value(); }

}  // namespace

void InstallAccessibilityObject(Vm& vm) {
    Object* accessibility = InstallStatic(vm, "Accessibility");
    vm.AddMethod(accessibility, "isActive", False);
    vm.AddMethod(accessibility, "updateProperties", Nothing);
    vm.AddMethod(accessibility, "sendEvent", Nothing);
    // The methods came with version 6: older movies see an empty object.
    for (const char* name : {"isActive", "updateProperties", "sendEvent"})
        accessibility->FindOwn(name, true)->version_flags = kVersion6;
}

}  // namespace flash::avm1
