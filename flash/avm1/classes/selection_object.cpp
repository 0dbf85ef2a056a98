// Selection: which object has the keyboard focus, with listeners that hear
// onSetFocus. Text selection indexes are -1 while nothing is edited.
#include "flash/avm1/classes/class_helpers.h"

#include "flash/avm1/display_host.h"
#include "flash/player.h"
#include "flash/text_field.h"

#include <algorithm>
#include <cmath>

namespace flash::avm1 {

namespace {

class SelectionObject : public Object {
public:
    explicit SelectionObject(Object* prototype) : Object(prototype) {}
    void TraceRefs(Tracer& tracer) override { tracer.Mark(focus); }
    Object* focus = nullptr;
};

TextField* FocusedField(SelectionObject* selection) {
    return selection ? dynamic_cast<TextField*>(selection->focus) : nullptr;
}

// Buttons and text fields take the focus; clips when focusEnabled or when they handle button events.
bool Focusable(Vm& vm, Object* target) {
    Clip* clip = target->AsClip();
    if (!clip || clip->button) return true;   // fields and buttons always
    if (vm.ToBoolean(vm.Get(target, "focusEnabled"))) return true;
    for (const char* handler : {"onPress", "onRelease", "onReleaseOutside", "onRollOver", "onRollOut",
                                "onDragOver", "onDragOut"}) {
        Value v = vm.Get(target, handler);
        if (v.IsObject() && v.object->AsFunction()) return true;
    }
    return false;
}

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
    if (target && !Focusable(vm, target)) return Value(false);
    Object* old = selection->focus;
    if (old == target) return Value(true);
    selection->focus = target;
    if (TextField* field = FocusedField(selection)) field->selection_begin = field->selection_end = field->caret = -1;
    Value old_path = old ? Value(old) : Value::Null();
    Value new_path = target ? Value(target) : Value::Null();
    vm.Broadcast("Selection", "onSetFocus", {old_path, new_path});
    return Value(true);
}

template <int TextField::*kIndex>
Value Index(Vm&, Object* self, Args&) {
    TextField* field = FocusedField(AsSelection(self));
    return Value(field ? field->*kIndex : -1);
}

// setSelection(from, to) in the focused field: clamped to its text, ordered,
// the caret where `to` lands; `to` left out means the text's end.
Value SetSelection(Vm& vm, Object* self, Args& args) {
    TextField* field = FocusedField(AsSelection(self));
    if (!field || args.empty()) return Value();
    double length = static_cast<double>(field->text.chars.size());
    auto clamp = [&](const Value& v) {
        double n = vm.ToNumber(v);
        return std::isfinite(n) ? std::clamp(std::trunc(n), 0.0, length) : 0.0;
    };
    double from = clamp(args[0]), to = args.size() > 1 ? clamp(args[1]) : length;
    field->selection_begin = static_cast<int>(std::min(from, to));
    field->selection_end = static_cast<int>(std::max(from, to));
    field->caret = static_cast<int>(to);
    return Value();
}

}  // namespace

void InstallSelectionObject(Vm& vm) {
    SelectionObject* selection = vm.heap.Make<SelectionObject>(vm.object_proto);
    vm.global->Define("Selection", selection, kDontEnum);
    MakeBroadcaster(vm, selection);
    vm.AddMethod(selection, "getFocus", GetFocus);
    vm.AddMethod(selection, "setFocus", SetFocus);
    vm.AddMethod(selection, "getBeginIndex", Index<&TextField::selection_begin>);
    vm.AddMethod(selection, "getEndIndex", Index<&TextField::selection_end>);
    vm.AddMethod(selection, "getCaretIndex", Index<&TextField::caret>);
    vm.AddMethod(selection, "setSelection", SetSelection);
}

}  // namespace flash::avm1
