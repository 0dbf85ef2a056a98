// Object: the constructor, Object.prototype's methods, and the global
// ASSetPropFlags.
#include "flash/avm1/classes/classes.h"
#include "flash/player.h"

namespace flash::avm1 {

namespace {

// new Object(v): v itself when it is an object, v boxed when it is a
// primitive, a fresh object for undefined and null.
Value Construct(Vm& vm, Object*, Args& args) {
    if (!args.empty() && !args[0].IsNullish()) return Value(vm.ToObject(args[0]));
    return Value(vm.MakeObject());
}

// Object(v) called as a function is the same, except that with nothing to
// box it answers an object without a prototype.
Value CallAsFunction(Vm& vm, Object*, Args& args) {
    if (!args.empty() && !args[0].IsNullish()) return Value(vm.ToObject(args[0]));
    return Value(vm.heap.Make<Object>(nullptr));
}

Value ToStringMethod(Vm&, Object* self, Args&) {
    if (self && self->AsFunction()) return Value("[type Function]");
    return Value("[object Object]");
}

Value ValueOf(Vm&, Object* self, Args&) {
    if (self && !self->primitive.IsUndefined()) return self->primitive;
    return Value(self);
}

Value HasOwnProperty(Vm& vm, Object* self, Args& args) {
    if (!self || args.empty()) return Value(false);
    std::string name = vm.ToString(args[0]);
    if (self->FindOwn(name, vm.CaseSensitive())) return Value(true);
    // Display children are reached by name but are not own properties.
    std::vector<std::string> children;
    self->ChildKeys(children);
    for (const std::string& child : children)
        if (vm.CaseSensitive() ? child == name : FoldCase(child) == FoldCase(name)) return Value(false);
    Value ignored;
    return Value(self->GetVirtual(vm, name, &ignored));
}

Value AddProperty(Vm& vm, Object* self, Args& args) {
    if (!self || args.size() < 3) return Value(false);
    std::string name = vm.ToString(args[0]);
    if (name.empty() || !args[1].IsObject() || !args[1].object->AsFunction()) return Value(false);
    Object* setter = args.size() > 2 && args[2].IsObject() && args[2].object->AsFunction() ? args[2].object : nullptr;
    if (args.size() > 2 && !setter && !args[2].IsNull()) return Value(false);
    // A value stored under the name stays (watchers see it as the old value).
    Property& property = self->properties.Set(name, vm.CaseSensitive());
    property.getter = args[1].object;
    property.setter = setter;
    return Value(true);
}

Value WatchMethod(Vm& vm, Object* self, Args& args) {
    if (!self || args.size() < 2 || !args[1].IsObject() || !args[1].object->AsFunction()) return Value(false);
    if (!self->watches) self->watches = std::make_unique<std::map<std::string, avm1::Watch>>();
    std::string name = vm.ToString(args[0]);
    (*self->watches)[vm.CaseSensitive() ? name : FoldCase(name)] = {args[1].object,
                                                                       args.size() > 2 ? args[2] : Value()};
    return Value(true);
}

Value Unwatch(Vm& vm, Object* self, Args& args) {
    if (!self || args.empty() || !self->watches) return Value(false);
    std::string name = vm.ToString(args[0]);
    return Value(self->watches->erase(vm.CaseSensitive() ? name : FoldCase(name)) > 0);
}

Value IsPrototypeOf(Vm&, Object* self, Args& args) {
    if (!self || args.empty() || !args[0].IsObject()) return Value(false);
    int guard = 0;
    for (Object* o = args[0].object->proto; o && guard < 256; o = o->proto, ++guard)
        if (o == self) return Value(true);
    return Value(false);
}

Value PropertyIsEnumerable(Vm& vm, Object* self, Args& args) {
    if (!self || args.empty()) return Value(false);
    Property* property = self->FindOwn(vm.ToString(args[0]), vm.CaseSensitive());
    return Value(property && !(property->flags & kDontEnum));
}

Value RegisterClass(Vm& vm, Object*, Args& args) {
    if (args.size() < 2) return Value(false);
    // A function registers, null or undefined unregisters; other values
    // are refused.
    // The registration holds for movies of the registering code's realm.
    Object* caller = vm.running ? vm.running->base_clip : nullptr;
    Clip* clip = caller ? caller->AsClip() : nullptr;
    int version = clip && clip->movie ? clip->movie->version : vm.version();
    std::pair<int, std::string> key{Vm::Realm(version), vm.ToString(args[0])};
    if (args[1].IsObject() && args[1].object->AsFunction()) vm.registered_classes[key] = args[1].object;
    else if (args[1].IsNullish()) vm.registered_classes.erase(key);
    else return Value(false);
    return Value(true);
}

// ASSetPropFlags(object, names, set, clear): names is an array, a
// comma-separated string, or null for every property.
Value SetPropFlags(Vm& vm, Object*, Args& args) {
    if (args.size() < 3 || !args[0].IsObject()) return Value();
    Object* object = args[0].object;
    uint32_t set = static_cast<uint32_t>(vm.ToInt(args[2]));
    uint32_t clear = args.size() > 3 ? static_cast<uint32_t>(vm.ToInt(args[3])) : 0;
    std::vector<std::string> names;
    bool all = args[1].IsNull();
    if (args[1].IsObject() && args[1].object->AsArray()) {
        for (const Value& v : args[1].object->AsArray()->Elements()) names.push_back(vm.ToString(v));
    } else if (!all) {
        std::string list = vm.ToString(args[1]);
        size_t start = 0;
        while (start <= list.size()) {
            size_t comma = list.find(',', start);
            if (comma == std::string::npos) comma = list.size();
            names.push_back(list.substr(start, comma - start));
            start = comma + 1;
        }
    }
    auto apply = [&](Property& property) {
        uint32_t flags = property.flags | property.version_flags;
        flags = (flags & ~clear) | set;
        property.flags = static_cast<uint8_t>(flags & 7);
        property.version_flags = static_cast<uint16_t>(flags & ~7u);
    };
    if (all) {
        for (auto& entry : object->properties.entries()) apply(entry.property);
    } else {
        for (const std::string& name : names) {
            // The prototype link becomes a property of its own when its
            // flags are set.
            if (name == "__proto__" && !object->FindOwn(name, true) && object->proto) {
                Property& link = object->properties.Set("__proto__", true);
                link.value = Value(object->proto);
                link.flags = kDontEnum | kDontDelete;
            }
            if (Property* property = object->FindOwn(name, vm.CaseSensitive())) apply(*property);
        }
    }
    return Value();
}

}  // namespace

void InstallObjectClass(Vm& vm) {
    Object* proto = vm.object_proto;
    Function* constructor = vm.MakeClass("Object", CallAsFunction, Construct, proto);
    vm.AddMethod(proto, "toString", ToStringMethod);
    vm.AddMethod(proto, "toLocaleString", ToStringMethod);
    vm.AddMethod(proto, "valueOf", ValueOf);
    vm.AddMethod(proto, "hasOwnProperty", HasOwnProperty);
    vm.AddMethod(proto, "addProperty", AddProperty);
    vm.AddMethod(proto, "watch", WatchMethod);
    vm.AddMethod(proto, "unwatch", Unwatch);
    vm.AddMethod(proto, "isPrototypeOf", IsPrototypeOf);
    vm.AddMethod(proto, "isPropertyEnumerable", PropertyIsEnumerable);
    vm.AddMethod(constructor, "registerClass", RegisterClass);
    vm.global->Define("Object", Value(constructor));
    vm.AddMethod(vm.global, "ASSetPropFlags", SetPropFlags);
    vm.protos["Object"] = proto;
}

}  // namespace flash::avm1
