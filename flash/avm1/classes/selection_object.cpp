// Selection: which object has the keyboard focus, with listeners that hear
// onSetFocus. Text selection indexes are -1 while nothing is edited.
#include "flash/avm1/classes/class_helpers.h"

#include "flash/avm1/display_host.h"

namespace flash::avm1 {

namespace {

class SelectionObject : public Object {
public:
    explicit SelectionObject(Object* prototype) : Object(prototype) {}
    void TraceRefs(Tracer& tracer) override { tracer.Mark(focus); }
    Object* focus = nullptr;
};

SelectionObject* AsSelection(Object* self) { return dynamic_cast<SelectionObject*>(self); }

Value FocusPath(Vm& vm, Object* focus) {
    if (!focus) return Value::Null();
    if (vm.host) {
        std::string path = vm.host->DottedPath(focus);
        if (!path.empty()) return Value(path);
    }
    return Value::Null();
}

Value GetFocus(Vm& vm, Object* self, Args&) {
    SelectionObject* selection = AsSelection(self);
    return FocusPath(vm, selection ? selection->focus : nullptr);
}

// setFocus(clip or path): true when focus changed to it or was cleared by
// null; false for anything that names no object.
// A movie clip takes the focus when it acts as a button (has a mouse
// handler) or while its focusEnabled is true.
bool Focusable(Vm& vm, Object* clip) {
    for (const char* handler : {"onRelease", "onPress", "onReleaseOutside", "onRollOver", "onRollOut", "onDragOver",
                                "onDragOut"}) {
        Value value = vm.Get(clip, handler);
        if (value.IsObject() && value.object->AsFunction()) return true;
    }
    return vm.ToBoolean(vm.Get(clip, "focusEnabled"));
}

Value SetFocus(Vm& vm, Object* self, Args& args) {
    SelectionObject* selection = AsSelection(self);
    if (!selection || args.empty()) return Value(false);
    Object* target = nullptr;
    if (args[0].IsObject()) {
        target = args[0].object;
    } else if (args[0].IsString() && vm.host) {
        target = vm.host->ResolveTarget(vm.host->RootClip(), args[0].string);
        if (!target) return Value(false);
    } else if (!args[0].IsNull() && !args[0].IsUndefined()) {
        return Value(false);
    }
    if (target && target->TypeOf() == std::string("movieclip") && !Focusable(vm, target)) return Value(false);
    Object* old = selection->focus;
    if (old == target) return Value(true);
    selection->focus = target;
    Value old_path = old ? Value(old) : Value::Null();
    Value new_path = target ? Value(target) : Value::Null();
    vm.Broadcast("Selection", "onSetFocus", {old_path, new_path});
    return Value(true);
}

Value MinusOne(Vm&, Object*, Args&) { return Value(-1.0); }
Value Nothing(Vm&, Object*, Args&) { return Value(); }

}  // namespace

void InstallSelectionObject(Vm& vm) {
    SelectionObject* selection = vm.heap.Make<SelectionObject>(vm.object_proto);
    vm.global->Define("Selection", selection, kDontEnum);
    MakeBroadcaster(vm, selection);
    vm.AddMethod(selection, "getFocus", GetFocus);
    vm.AddMethod(selection, "setFocus", SetFocus);
    vm.AddMethod(selection, "getBeginIndex", MinusOne);
    vm.AddMethod(selection, "getEndIndex", MinusOne);
    vm.AddMethod(selection, "getCaretIndex", MinusOne);
    vm.AddMethod(selection, "setSelection", Nothing);
}

}  // namespace flash::avm1
