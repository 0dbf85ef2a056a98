// AsBroadcaster: initialize(object) gives an object a _listeners array and
// the methods addListener, removeListener and broadcastMessage.
#include "flash/avm1/classes/classes.h"

namespace flash::avm1 {

namespace {

ArrayObject* Listeners(Vm& vm, Object* self) {
    if (!self) return nullptr;
    Value list = vm.Get(self, "_listeners");
    return list.IsObject() ? list.object->AsArray() : nullptr;
}

// Listeners match by loose equality of kind: undefined and null are one.
bool SameListener(const Value& a, const Value& b) {
    if (a.IsNullish() && b.IsNullish()) return true;
    if (a.type != b.type) return false;
    if (a.IsObject()) return a.object == b.object;
    if (a.IsString()) return a.string == b.string;
    if (a.IsNumber()) return a.number == b.number;
    if (a.IsBoolean()) return a.boolean == b.boolean;
    return true;
}

Value RemoveListener(Vm& vm, Object* self, Args& args) {
    ArrayObject* list = Listeners(vm, self);
    if (!list) return Value(false);
    Value listener = args.empty() ? Value() : args[0];
    std::vector<Value> elements = list->Elements();
    for (size_t i = 0; i < elements.size(); ++i) {
        if (SameListener(elements[i], listener)) {
            elements.erase(elements.begin() + static_cast<ptrdiff_t>(i));
            list->SetElements(elements);
            return Value(true);
        }
    }
    return Value(false);
}

Value AddListener(Vm& vm, Object* self, Args& args) {
    ArrayObject* list = Listeners(vm, self);
    if (!list) return Value(true);
    RemoveListener(vm, self, args);
    list->Push(args.empty() ? Value() : args[0]);
    return Value(true);
}

Value BroadcastMessage(Vm& vm, Object* self, Args& args) {
    ArrayObject* list = Listeners(vm, self);
    if (!list || args.empty()) return Value();
    std::string event = vm.ToString(args[0]);
    Args rest(args.begin() + 1, args.end());
    // Listeners added or removed by a handler take effect next time.
    std::vector<Value> listeners = list->Elements();
    for (const Value& listener : listeners) {
        // An empty event name calls each listener itself, as a function.
        if (event.empty()) {
            vm.Call(listener, Value(), rest);
            continue;
        }
        Value method = vm.GetMember(listener, event);
        if (method.IsObject() && method.object->AsFunction()) vm.Call(method, listener, rest);
    }
    return listeners.empty() ? Value() : Value(true);
}

Value Nothing(Vm&, Object*, Args&) { return Value(); }

Value Initialize(Vm& vm, Object* self, Args& args) {
    if (args.empty() || !args[0].IsObject() || !self) return Value();
    Object* target = args[0].object;
    for (const char* name : {"broadcastMessage", "addListener", "removeListener"}) {
        vm.Set(target, name, vm.Get(self, name));
        if (Property* p = target->FindOwn(name, true)) p->flags |= kDontEnum;
    }
    vm.Set(target, "_listeners", Value(vm.MakeArray()));
    if (Property* p = target->FindOwn("_listeners", true)) p->flags |= kDontEnum;
    return Value();
}

}  // namespace

void InstallAsBroadcaster(Vm& vm) {
    Function* broadcaster = vm.MakeClass("AsBroadcaster", Nothing, nullptr, nullptr);
    vm.AddMethod(broadcaster, "broadcastMessage", BroadcastMessage);
    vm.AddMethod(broadcaster, "addListener", AddListener);
    vm.AddMethod(broadcaster, "removeListener", RemoveListener);
    vm.AddMethod(broadcaster, "initialize", Initialize);
    vm.global->Define("AsBroadcaster", Value(broadcaster));
}

}  // namespace flash::avm1
