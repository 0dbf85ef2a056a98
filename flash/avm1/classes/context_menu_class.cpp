// ContextMenu and ContextMenuItem: the menu a movie describes for its right
// click, kept as plain objects.
#include "flash/avm1/classes/class_helpers.h"

#include "flash/avm1/array_object.h"

namespace flash::avm1 {

namespace {

constexpr const char* kBuiltIns[] = {"save", "zoom", "quality", "play", "loop", "rewind", "forward_back", "print"};

Object* MakeBuiltIns(Vm& vm, Object* from) {
    Object* items = vm.MakeObject();
    for (const char* name : kBuiltIns)
        items->Define(name, from ? Value(vm.ToBoolean(vm.Get(from, name))) : Value(true), 0);
    return items;
}

Value MenuConstruct(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    self->Define("onSelect", Arg(args, 0), 0);
    self->Define("customItems", vm.MakeArray(), 0);
    self->Define("builtInItems", MakeBuiltIns(vm, nullptr), 0);
    return Value();
}

Value HideBuiltInItems(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    Value items = vm.Get(self, "builtInItems");
    if (!items.IsObject()) return Value();
    for (const char* name : kBuiltIns) vm.Set(items.object, name, Value(false));
    return Value();
}

Value MenuCopy(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    Object* copy = vm.heap.Make<Object>(vm.Proto("ContextMenu"));
    copy->Define("onSelect", vm.Get(self, "onSelect"), 0);
    Value items = vm.Get(self, "customItems");
    std::vector<Value> elements;
    if (items.IsObject() && items.object->AsArray()) {
        for (const Value& item : items.object->AsArray()->Elements())
            elements.push_back(item.IsObject() ? vm.CallMethod(item, "copy", {}) : item);
    }
    copy->Define("customItems", vm.MakeArray(std::move(elements)), 0);
    Value built_ins = vm.Get(self, "builtInItems");
    copy->Define("builtInItems", MakeBuiltIns(vm, built_ins.IsObject() ? built_ins.object : nullptr), 0);
    return Value(copy);
}

// new ContextMenuItem(caption, onSelect, separatorBefore, enabled, visible)
void SetItem(Vm& vm, Object* item, Args& args) {
    item->Define("caption", Arg(args, 0), 0);
    item->Define("onSelect", Arg(args, 1), 0);
    item->Define("separatorBefore", args.size() > 2 ? Value(vm.ToBoolean(args[2])) : Value(false), 0);
    item->Define("enabled", args.size() > 3 ? Value(vm.ToBoolean(args[3])) : Value(true), 0);
    item->Define("visible", args.size() > 4 ? Value(vm.ToBoolean(args[4])) : Value(true), 0);
}

Value ItemConstruct(Vm& vm, Object* self, Args& args) {
    if (self) SetItem(vm, self, args);
    return Value();
}

Value ItemCopy(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    Object* copy = vm.heap.Make<Object>(vm.Proto("ContextMenuItem"));
    Args fields = {vm.Get(self, "caption"), vm.Get(self, "onSelect"), vm.Get(self, "separatorBefore"),
                   vm.Get(self, "enabled"), vm.Get(self, "visible")};
    SetItem(vm, copy, fields);
    return Value(copy);
}

}  // namespace

void InstallContextMenuClasses(Vm& vm) {
    Object* menu = InstallClass(vm, vm.global, "ContextMenu", MenuConstruct);
    vm.AddMethod(menu, "hideBuiltInItems", HideBuiltInItems);
    vm.AddMethod(menu, "copy", MenuCopy);
    Object* item = InstallClass(vm, vm.global, "ContextMenuItem", ItemConstruct);
    vm.AddMethod(item, "copy", ItemCopy);
}

}  // namespace flash::avm1
