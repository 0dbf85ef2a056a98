#include "flash/avm1/vm.h"

#include <cmath>

namespace flash::avm1 {

namespace {

// Prototype chains longer than this are treated as ending there (a script
// can make a loop of __proto__ links).
constexpr int kMaxChain = 256;

}  // namespace

Vm::Vm(int version) : version_(version) {
    object_proto = heap.Make<Object>(nullptr);
    function_proto = heap.Make<Object>(object_proto);
    array_proto = heap.Make<Object>(object_proto);
    // _global has no prototype: it has no valueOf or toString of its own.
    global = heap.Make<Object>(nullptr);
    InstallGlobals(*this);
}

Vm::~Vm() = default;

Object* Vm::Proto(const std::string& class_name) const {
    auto found = protos.find(class_name);
    return found == protos.end() ? object_proto : found->second;
}

Object* Vm::MakeObject() { return heap.Make<Object>(object_proto); }

ArrayObject* Vm::MakeArray(std::vector<Value> elements) {
    ArrayObject* array = heap.Make<ArrayObject>(array_proto);
    array->SetElements(elements);
    return array;
}

Function* Vm::MakeNative(const std::string& name, NativeFn fn, NativeFn construct) {
    Function* function = heap.Make<Function>(function_proto);
    function->name = name;
    function->native = fn;
    function->construct = construct;
    return function;
}

Function* Vm::MakeClass(const std::string& name, NativeFn fn, NativeFn construct, Object* prototype) {
    Function* constructor = MakeNative(name, fn, construct);
    if (!prototype) prototype = MakeObject();
    constructor->Define("prototype", prototype, kDontEnum | kDontDelete);
    prototype->Define("constructor", constructor, kDontEnum);
    return constructor;
}

Function* Vm::AddMethod(Object* target, const std::string& name, NativeFn fn) {
    Function* method = MakeNative(name, fn);
    target->Define(name, method, kDontEnum);
    return method;
}

// ---- conversions ----

Value Vm::ToPrimitive(const Value& value, bool prefer_string) {
    if (value.type != Type::Object) return value;
    Object* object = value.object;
    // A display object has no primitive value: it reads as its target
    // path where a string is wanted and as NaN where a number is.
    if (object->HasTargetPath()) return value;
    // Where a string is wanted toString answers, elsewhere valueOf; what it
    // answers is taken as it is. An object that has no such method (one
    // without Object.prototype) reads as "[type Object]" or undefined.
    Value method = Get(object, prefer_string ? "toString" : "valueOf");
    if (method.IsObject() && method.object->AsFunction()) return Call(method, value, {});
    if (prefer_string) return Value(object->AsFunction() ? "[type Function]" : "[type Object]");
    return Value();
}

double Vm::ToNumber(const Value& value) {
    switch (value.type) {
    case Type::Undefined:
        return version_ >= 7 ? NAN : 0;
    case Type::Null:
        return version_ >= 7 ? NAN : 0;
    case Type::Boolean:
        return value.boolean ? 1 : 0;
    case Type::Number:
        return value.number;
    case Type::String:
        return StringToNumber(value.string, version_ <= 4, version_ >= 6);
    case Type::Object: {
        Value primitive = ToPrimitive(value, false);
        if (primitive.type == Type::Object) return NAN;
        if (primitive.IsUndefined()) return NAN;
        return ToNumber(primitive);
    }
    }
    return NAN;
}

std::string Vm::ToString(const Value& value) {
    switch (value.type) {
    case Type::Undefined:
        return version_ >= 7 ? "undefined" : "";
    case Type::Null:
        return "null";
    case Type::Boolean:
        if (version_ <= 4) return value.boolean ? "1" : "0";
        return value.boolean ? "true" : "false";
    case Type::Number:
        return NumberToString(value.number);
    case Type::String:
        return value.string;
    case Type::Object: {
        if (value.object->HasTargetPath()) return host ? host->DottedPath(value.object) : "";
        // toString must answer a string; anything else reads as the
        // object's type.
        Value text = ToPrimitive(value, true);
        if (text.IsString()) return text.string;
        if (text.IsObject() && text.object->HasTargetPath()) return ToString(text);
        return value.object->AsFunction() ? "[type Function]" : "[type Object]";
    }
    }
    return "";
}

bool Vm::ToBoolean(const Value& value) {
    switch (value.type) {
    case Type::Undefined:
    case Type::Null:
        return false;
    case Type::Boolean:
        return value.boolean;
    case Type::Number:
        return value.number != 0 && !std::isnan(value.number);
    case Type::String:
        // SWF 7 on: a non-empty string is true; before, its number decides.
        if (version_ >= 7) return !value.string.empty();
        {
            double n = StringToNumber(value.string, version_ <= 4, version_ >= 6);
            return n != 0 && !std::isnan(n);
        }
    case Type::Object:
        return true;
    }
    return false;
}

Object* Vm::ToObject(const Value& value) {
    switch (value.type) {
    case Type::Object:
        return value.object;
    case Type::Boolean:
    case Type::Number:
    case Type::String: {
        const char* name = value.type == Type::Boolean ? "Boolean" : value.type == Type::Number ? "Number" : "String";
        Object* boxed = heap.Make<Object>(Proto(name));
        boxed->primitive = value;
        boxed->native_class = name;
        return boxed;
    }
    default:
        return nullptr;
    }
}

std::string Vm::TypeOf(const Value& value) {
    switch (value.type) {
    case Type::Undefined: return "undefined";
    case Type::Null: return "null";
    case Type::Boolean: return "boolean";
    case Type::Number: return "number";
    case Type::String: return "string";
    case Type::Object: return value.object->TypeOf();
    }
    return "undefined";
}

// ---- members ----

Property* Vm::Lookup(Object* object, const std::string& name, Object** holder) {
    bool cs = CaseSensitive();
    int guard = 0;
    for (Object* o = object; o && guard < kMaxChain; o = o->proto, ++guard) {
        if (Property* property = o->FindOwn(name, cs)) {
            if (property->HiddenFrom(version_)) continue;
            if (holder) *holder = o;
            return property;
        }
    }
    return nullptr;
}

Value Vm::Get(Object* object, const std::string& name) {
    if (!object) return Value();
    if (name == "__proto__" || (!CaseSensitive() && FoldCase(name) == "__proto__")) {
        if (!object->FindOwn("__proto__", true)) return object->proto ? Value(object->proto) : Value();
    }
    Value virtual_value;
    if (object->GetVirtual(*this, name, &virtual_value)) return virtual_value;
    Object* holder = nullptr;
    Property* property = Lookup(object, name, &holder);
    if (!property) {
        // Virtual properties of prototypes (a clip's _x seen through an
        // object whose __proto__ is a clip).
        int guard = 0;
        for (Object* o = object->proto; o && guard < kMaxChain; o = o->proto, ++guard)
            if (o->GetVirtual(*this, name, &virtual_value)) return virtual_value;
        // A missing member asks the object's __resolve, when it has one.
        // The nearest __resolve that is a function answers; one that is a
        // plain object answers nothing; other values are passed over.
        if (name != "__resolve") {
            guard = 0;
            for (Object* o = object; o && guard < kMaxChain; o = o->proto, ++guard) {
                Property* resolve = o->FindOwn("__resolve", CaseSensitive());
                if (!resolve || resolve->IsVirtual() || !resolve->value.IsObject()) continue;
                Object* handler = resolve->value.object;
                if (handler->AsFunction()) {
                    if (call_depth >= kMaxCallDepth) return Value();
                    return Call(resolve->value, Value(object), {Value(name)});
                }
                if (!handler->HasTargetPath()) return Value();
            }
        }
        return Value();
    }
    if (property->IsVirtual()) {
        if (call_depth >= kMaxCallDepth) return Value();
        return CallAccessor(property->getter, object, {});
    }
    return property->value;
}

void Vm::Set(Object* object, const std::string& name, const Value& value) {
    if (!object) return;
    bool cs = CaseSensitive();
    Value stored = value;
    if (object->watches) {
        auto found = object->watches->find(cs ? name : FoldCase(name));
        if (found == object->watches->end() && !cs) {
            for (auto it = object->watches->begin(); it != object->watches->end(); ++it)
                if (FoldCase(it->first) == FoldCase(name)) found = it;
        }
        if (found != object->watches->end() && call_depth < kMaxCallDepth) {
            // The watcher sees the stored old value (a getter is not asked)
            // and answers the value to store. When it throws, the property
            // is left undefined and the throw goes on.
            Watch watch = found->second;
            Value old;
            if (!object->WatchSeesVirtual() || !object->GetVirtual(*this, name, &old))
                if (Property* property = Lookup(object, name)) old = property->value;
            try {
                stored = Call(Value(watch.callback), Value(object), {Value(name), old, value, watch.user_data});
            } catch (ScriptThrow&) {
                if (!object->SetVirtual(*this, name, Value())) {
                    Property& property = object->properties.Set(name, cs);
                    if (!property.IsVirtual() && !(property.flags & kReadOnly)) property.value = Value();
                }
                throw;
            }
        }
    }
    if (name == "__proto__" || (!cs && FoldCase(name) == "__proto__")) {
        object->proto = stored.IsObject() ? stored.object : nullptr;
        Property& property = object->properties.Set("__proto__", true);
        property.value = stored;
        property.flags |= kDontEnum;
        return;
    }
    if (object->SetVirtual(*this, name, stored)) return;
    if (Property* own = object->FindOwn(name, cs)) {
        if (own->IsVirtual()) {
            if (own->setter) CallAccessor(own->setter, object, {stored});
            return;
        }
        if (own->flags & kReadOnly) return;
        own->value = stored;
        return;
    }
    // An inherited getter/setter pair takes the assignment.
    Object* holder = nullptr;
    Property* inherited = Lookup(object, name, &holder);
    if (inherited && inherited->IsVirtual()) {
        if (inherited->setter) CallAccessor(inherited->setter, object, {stored});
        return;
    }
    Property& property = object->properties.Set(name, cs);
    property.value = stored;
}

bool Vm::Delete(Object* object, const std::string& name) {
    if (!object) return false;
    if (object->DeleteVirtual(*this, name)) return true;
    Property* property = object->FindOwn(name, CaseSensitive());
    if (!property || (property->flags & kDontDelete)) return false;
    if (name == "__proto__") object->proto = nullptr;
    return object->properties.Erase(name, CaseSensitive());
}

bool Vm::Has(Object* object, const std::string& name) {
    Value ignored;
    if (object && object->GetVirtual(*this, name, &ignored)) return true;
    return Lookup(object, name) != nullptr;
}

Value Vm::GetMember(const Value& target, const std::string& name) {
    if (target.IsNullish()) return Value();
    if (target.IsString() && name == "length") {
        return static_cast<double>(version_ >= 6 ? Utf16FromUtf8(target.string).size() : target.string.size());
    }
    if (target.IsObject()) return Get(target.object, name);
    Object* boxed = ToObject(target);
    return Get(boxed, name);
}

void Vm::SetMember(const Value& target, const std::string& name, const Value& value) {
    if (target.IsObject()) Set(target.object, name, value);
}

std::vector<std::string> Vm::EnumerableKeys(Object* object) {
    std::vector<std::string> keys;
    std::vector<std::string> seen;
    int guard = 0;
    // The player lists each object's names in the order they were made,
    // the object's own first and then its prototypes', and for..in visits
    // that list from its end.
    for (Object* o = object; o && guard < kMaxChain; o = o->proto, ++guard) {
        // Named children come before the properties in that list.
        std::vector<std::string> child_keys;
        o->ChildKeys(child_keys);
        keys.insert(keys.end(), child_keys.begin(), child_keys.end());
        o->VirtualKeys(keys);
        for (const auto& entry : o->properties.entries())
            if (!(entry.property.flags & kDontEnum)) keys.push_back(entry.name);
    }
    // Each name once, the first (nearest) occurrence kept.
    std::vector<std::string> unique;
    for (const std::string& key : keys) {
        bool duplicate = false;
        for (const std::string& u : unique)
            if (CaseSensitive() ? u == key : FoldCase(u) == FoldCase(key)) {
                duplicate = true;
                break;
            }
        if (!duplicate) unique.push_back(key);
    }
    // A name hidden (not enumerable) on a nearer object hides it further up.
    std::vector<std::string> result;
    for (auto it = unique.rbegin(); it != unique.rend(); ++it) {
        Property* nearest = Lookup(object, *it);
        if (nearest && (nearest->flags & kDontEnum)) continue;
        result.push_back(*it);
    }
    return result;
}

// ---- calls ----

Value Vm::CallAccessor(Object* function, Object* object, Args args) {
    // Getters and setters nest only so deep; past that they are not called.
    if (accessor_depth >= kMaxAccessorDepth || call_depth >= kMaxCallDepth) return Value();
    ++accessor_depth;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{accessor_depth};
    return Call(Value(function), Value(object), std::move(args));
}

Value Vm::Call(const Value& function, const Value& self, Args args) {
    return CallWithHome(function, self, std::move(args), nullptr);
}

Value Vm::CallWithHome(const Value& function, const Value& self, Args args, Object* home) {
    bool keep_leftovers = leftovers_to_caller;
    leftovers_to_caller = false;
    if (!function.IsObject()) return Value();
    Function* f = function.object->AsFunction();
    if (!f) return Value();
    if (call_depth >= kMaxCallDepth) throw ScriptAbort{"recursion"};
    ++call_depth;
    struct Leave {
        int& depth;
        ~Leave() { --depth; }
    } leave{call_depth};
    if (f->native) {
        Object* this_object = self.IsObject() ? self.object : (self.IsNullish() ? nullptr : ToObject(self));
        Value result = f->native(*this, this_object, args);
        // A class constructor run on a plain object gives it the built-in
        // object it made, once.
        if (f->construct && this_object && !this_object->native_class && !this_object->native_part &&
            !this_object->HasTargetPath() && result.IsObject() && result.object != this_object &&
            result.object->native_class)
            this_object->native_part = result.object;
        return result;
    }
    if (!f->code.data) return Value();
    return CallScript(f, self, args, home, keep_leftovers);
}

Value Vm::CallMethod(const Value& target, const std::string& name, Args args) {
    Value method = GetMember(target, name);
    return Call(method, target, std::move(args));
}

Value Vm::Construct(const Value& constructor, Args args) {
    if (!constructor.IsObject()) return Value();
    Function* f = constructor.object->AsFunction();
    if (!f) return Value();
    if (f->construct) {
        leftovers_to_caller = false;
        if (call_depth >= kMaxCallDepth) throw ScriptAbort{"recursion"};
        ++call_depth;
        struct Leave {
            int& depth;
            ~Leave() { --depth; }
        } leave{call_depth};
        return f->construct(*this, nullptr, args);
    }
    Value prototype = Get(f, "prototype");
    Object* object = heap.Make<Object>(prototype.IsObject() ? prototype.object : object_proto);
    object->Define("__constructor__", Value(f), kDontEnum);
    object->Define("constructor", Value(f), kDontEnum);
    Value result = Call(constructor, Value(object), std::move(args));
    // A native constructor's object answer replaces the new object.
    if (f->native && result.IsObject()) return result;
    return Value(object);
}

bool Vm::InstanceOf(Object* object, Object* constructor) {
    if (!object || !constructor) return false;
    Value prototype = Get(constructor, "prototype");
    if (!prototype.IsObject()) return false;
    int guard = 0;
    for (Object* o = object->proto; o && guard < kMaxChain; o = o->proto, ++guard)
        if (o == prototype.object) return true;
    // Interfaces a class implements.
    guard = 0;
    for (Object* o = object->proto; o && guard < kMaxChain; o = o->proto, ++guard) {
        Property* list = o->FindOwn("__interfaces__", true);
        if (!list || !list->value.IsObject()) continue;
        ArrayObject* interfaces = list->value.object->AsArray();
        if (!interfaces) continue;
        for (const Value& i : interfaces->Elements())
            if (i.IsObject() && i.object == constructor) return true;
    }
    return false;
}

void Vm::Trace(const std::string& line) {
    if (on_trace) on_trace(line);
}

void Vm::Collect(const std::function<void(Tracer&)>& more_roots) {
    heap.Collect([&](Tracer& tracer) {
        tracer.Mark(global);
        tracer.Mark(object_proto);
        tracer.Mark(function_proto);
        tracer.Mark(array_proto);
        for (auto& [name, object] : protos) tracer.Mark(object);
        for (auto& [name, object] : registered_classes) tracer.Mark(object);
        for (Object* object : extra_roots) tracer.Mark(object);
        for (const Value& value : stack) tracer.Mark(value);
        for (const Timer& timer : timers) {
            tracer.Mark(timer.function);
            for (const Value& value : timer.args) tracer.Mark(value);
        }
        if (more_roots) more_roots(tracer);
    });
}

}  // namespace flash::avm1
