#include "flash/avm1/variables.h"

#include "flash/avm1/level_names.h"
#include "flash/avm1/super_object.h"

namespace flash::avm1 {

namespace {

const char* const kPrimitiveWarning =
    "Parameters of primitive types are no longer coerced into the required type - Object.";

bool SameName(Vm& vm, const std::string& a, const char* b) {
    return vm.CaseSensitive() ? a == b : FoldCase(a) == b;
}

// Names that mean a fixed object whatever the scope holds.
bool SpecialName(Vm& vm, Context& context, const std::string& name, Value* out) {
    if (SameName(vm, name, "this")) {
        // A function that keeps this in a register, or has none, reads
        // `this` as its timeline.
        Function* f = context.callee;
        bool no_local = context.activation && f && f->function2 && (f->flags & (kPreloadThis | kSuppressThis));
        *out = no_local ? (context.target ? Value(context.target) : Value()) : context.self;
        return true;
    }
    if (SameName(vm, name, "_global") && vm.version() >= 6) {
        *out = Value(vm.global);
        return true;
    }
    if (SameName(vm, name, "_root")) {
        *out = vm.host ? Value(vm.host->RootOf(context.base_clip)) : Value();
        return true;
    }
    if (LevelValue(vm, name, out)) return true;
    return false;
}

Value PlainLookup(Vm& vm, Context& context, const std::string& name) {
    // `this` is fixed; _root, _global and _levelN give way to variables a
    // script made with those names.
    Value special;
    if (SpecialName(vm, context, name, &special)) {
        if (SameName(vm, name, "this")) return special;
        for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it)
            if (*it && (*it)->FindOwn(name, vm.CaseSensitive())) return vm.Get(*it, name);
        return special;
    }
    for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it) {
        Object* holder = *it;
        // A clip taken off the display list stands for the clip now at its
        // path, or the root when there is none.
        if (holder && holder->IsRemoved() && vm.host) {
            holder = vm.host->Relocate(holder);
            if (!holder) holder = vm.host->RootClip();
        }
        if (holder && vm.Has(holder, name)) return vm.Get(holder, name);
    }
    if (vm.Has(vm.global, name)) return vm.Get(vm.global, name);
    return Value();
}

// Follows a path ("a.b", "../a", "/a/b", "_root.a") from start, part by
// part through members; false when a part is not an object.
bool FollowPath(Vm& vm, Object* start, const std::string& path, Object** out, bool* met_primitive = nullptr) {
    Object* object = start;
    size_t pos = 0;
    if (!path.empty() && path[0] == '/') {
        object = vm.host ? vm.host->RootClip() : nullptr;
        pos = 1;
    }
    // After a slash, a dot is part of a name, no longer a separator.
    bool slashed = false;
    while (object && pos < path.size()) {
        size_t end = path.find_first_of(slashed ? "/:" : "./:", pos);
        if (end != std::string::npos && path[end] == '/') slashed = true;
        if (end == std::string::npos) end = path.size();
        // ".." is a part of its own, not two separators.
        if (path.compare(pos, 2, "..") == 0) end = pos + 2;
        std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) return false;   // "a//b"
        Value next;
        if (part == "..") {
            next = vm.Get(object, "_parent");
        } else if (FoldCase(part) == "_root") {
            next = vm.host ? Value(vm.host->RootOf(start)) : Value();
        } else if (FoldCase(part) == "_global" && vm.version() >= 6) {
            next = Value(vm.global);
        } else if (part.size() > 6 && FoldCase(part.substr(0, 6)) == "_level") {
            Object* level = vm.host ? vm.host->ResolveTarget(nullptr, part) : nullptr;
            next = level ? Value(level) : Value();
        } else if (FoldCase(part) == "this") {
            continue;
        } else {
            next = vm.Get(object, part);
        }
        if (!next.IsObject()) {
            if (met_primitive && !next.IsNullish()) *met_primitive = true;
            return false;
        }
        object = next.object;
    }
    *out = object;
    return object != nullptr;
}

// Splits a variable path at its last colon or dot ("a.b:c", "a/b.c",
// "a.b.c"), or at its last slash when it has neither ("a/b/c").
bool SplitVariable(const std::string& name, std::string* path, std::string* variable) {
    size_t split = name.find_last_of(":.");
    if (split == std::string::npos) split = name.find_last_of('/');
    if (split == std::string::npos) return false;
    // ".." at the end is a path, not a variable named "".
    *path = name.substr(0, split);
    *variable = name.substr(split + 1);
    if (path->empty() && name[0] == '/') *path = "/";
    return true;
}

// The first object on the scope chain (innermost first, then _global) from
// which path leads to an object; with want_variable, one that has the
// variable.
Object* FindPathHolder(Vm& vm, Context& context, const std::string& path, const std::string& variable,
                       bool want_variable, bool* met_primitive = nullptr) {
    auto try_from = [&](Object* start) -> Object* {
        Object* holder = nullptr;
        if (!start || !FollowPath(vm, start, path, &holder, met_primitive)) return nullptr;
        if (want_variable && !vm.Has(holder, variable)) return nullptr;
        return holder;
    };
    if (!path.empty() && path[0] == '/') return try_from(context.target);
    for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it)
        if (Object* holder = try_from(*it)) return holder;
    if (Object* holder = try_from(vm.global)) return holder;
    return nullptr;
}

bool HasPathSyntax(const std::string& name) { return name.find_first_of(":/.") != std::string::npos; }

}  // namespace

Value GetVariable(Vm& vm, Context& context, const std::string& name) {
    if (!HasPathSyntax(name)) return PlainLookup(vm, context, name);
    // A name that is a variable as it stands ("a.b" made by a setter).
    for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it)
        if (*it && (*it)->FindOwn(name, vm.CaseSensitive())) return vm.Get(*it, name);
    // A slash path without a variable names a clip.
    if (name.find(':') == std::string::npos && name.find('/') != std::string::npos && vm.host)
        if (Object* clip = vm.host->ResolveTarget(context.target, name)) return Value(clip);
    std::string path, variable;
    if (!SplitVariable(name, &path, &variable)) return Value();
    // "a." asks for a variable with no name, which no object has.
    if (variable.empty() && name.back() == '.' && !path.empty() && path.back() != '.') return Value();
    if (variable.empty()) {
        Object* holder = FindPathHolder(vm, context, path, variable, false);
        return holder ? Value(holder) : Value();
    }
    Object* holder = FindPathHolder(vm, context, path, variable, true);
    return holder ? vm.Get(holder, variable) : Value();
}

void SetVariable(Vm& vm, Context& context, const std::string& name, const Value& value) {
    if (HasPathSyntax(name)) {
        std::string path, variable;
        if (!SplitVariable(name, &path, &variable) || variable.empty()) return;
        if (Object* holder = FindPathHolder(vm, context, path, variable, false)) vm.Set(holder, variable, value);
        return;
    }
    for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it) {
        if (*it && vm.Has(*it, name)) {
            vm.Set(*it, name, value);
            return;
        }
    }
    Object* timeline = !context.scope.empty() && context.scope.front() ? context.scope.front() : context.target;
    vm.Set(timeline ? timeline : vm.global, name, value);
}

void DefineLocal(Vm& vm, Context& context, const std::string& name, const Value& value, bool assign) {
    Object* holder = context.activation;
    if (!holder) holder = !context.scope.empty() && context.scope.front() ? context.scope.front() : context.target;
    if (!holder) return;
    if (!assign && vm.Has(holder, name)) return;
    if (context.activation) {
        Property& property = holder->properties.Set(name, vm.CaseSensitive());
        property.value = value;
        return;
    }
    vm.Set(holder, name, value);
}

bool DeleteVariable(Vm& vm, Context& context, const std::string& name) {
    if (HasPathSyntax(name)) {
        std::string path, variable;
        if (!SplitVariable(name, &path, &variable) || variable.empty()) return false;
        // A path through a string, number or boolean is not followed, and
        // the player says so.
        bool met_primitive = false;
        Object* holder = FindPathHolder(vm, context, path, variable, true, &met_primitive);
        if (!holder && met_primitive) vm.Warn(kPrimitiveWarning);
        return holder && vm.Delete(holder, variable);
    }
    for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it)
        if (*it && (*it)->FindOwn(name, vm.CaseSensitive())) return vm.Delete(*it, name);
    if (vm.global->FindOwn(name, vm.CaseSensitive())) return vm.Delete(vm.global, name);
    return false;
}

Object* VariableHolder(Vm& vm, Context& context, const std::string& name) {
    Value special;
    if (HasPathSyntax(name)) {
        // The object the path leads to, when it holds the variable.
        std::string path, variable;
        if (!SplitVariable(name, &path, &variable) || variable.empty()) return nullptr;
        return FindPathHolder(vm, context, path, variable, true);
    }
    if (SpecialName(vm, context, name, &special)) return nullptr;
    for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it)
        if (*it && vm.Has(*it, name)) return *it;
    return nullptr;
}

Object* ResolveClipValue(Vm& vm, Context& context, const Value& value) {
    // Other objects name a clip by their text.
    if (value.IsObject() && value.object->AsClip()) return value.object;
    std::string path = vm.ToString(value);
    if (path.empty()) return context.target;
    return vm.host ? vm.host->ResolveTarget(context.target, path) : nullptr;
}

Value LiveValue(Vm& vm, const Value& value) {
    if (!value.IsObject() || !value.object->IsRemoved() || !vm.host) return value;
    Object* live = vm.host->Relocate(value.object);
    return live ? Value(live) : Value();
}

Value GetMemberValue(Vm& vm, const Value& object, const Value& name) {
    return vm.GetMember(LiveValue(vm, object), vm.ToString(name));
}

Value CallMethodValue(Vm& vm, Context& context, const Value& object_value, const Value& name, Args args) {
    (void)context;
    Value object = LiveValue(vm, object_value);
    std::string method = name.IsUndefined() ? std::string() : vm.ToString(name);
    if (object.IsObject()) {
        if (auto* super_object = dynamic_cast<SuperObject*>(object.object)) {
            Object* home = super_object->home;
            if (!home) return Value();
            if (method.empty()) {
                // super() calls the __constructor__ the home prototype
                // has or inherits; __resolve is not asked.
                Object* holder = nullptr;
                Property* property = vm.Lookup(home, "__constructor__", &holder);
                if (!property) return Value();
                Value constructor = property->IsVirtual() ? vm.Call(Value(property->getter), Value(home), {})
                                                          : property->value;
                vm.leftovers_to_caller = true;
                return vm.CallWithHome(constructor, super_object->self, std::move(args), home->proto);
            }
            Object* holder = nullptr;
            if (!home->proto || !vm.Lookup(home->proto, method, &holder)) return Value();
            Value function = vm.Get(home->proto, method);
            vm.leftovers_to_caller = true;
            return vm.CallWithHome(function, super_object->self, std::move(args), holder);
        }
    }
    if (method.empty()) {
        vm.leftovers_to_caller = true;
        return vm.Call(object, Value(), std::move(args));
    }
    Object* target = vm.ToObject(object);
    if (!target) return Value();
    Value function = vm.Get(target, method);
    // super starts above the prototype the method was found on; a method
    // of the object itself counts as found on its prototype.
    Object* holder = nullptr;
    vm.Lookup(target, method, &holder);
    if (holder == target) holder = target->proto;
    vm.leftovers_to_caller = true;
    return vm.CallWithHome(function, Value(target), std::move(args), holder);
}

Value ConstructValue(Vm& vm, const Value& constructor, Args args) {
    return vm.Construct(constructor, std::move(args));
}

}  // namespace flash::avm1
