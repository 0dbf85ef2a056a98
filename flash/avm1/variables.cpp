#include "flash/avm1/variables.h"

#include "flash/avm1/super_object.h"

namespace flash::avm1 {

namespace {

bool SameName(Vm& vm, const std::string& a, const char* b) {
    return vm.CaseSensitive() ? a == b : FoldCase(a) == b;
}

// Names that mean a fixed object whatever the scope holds.
bool SpecialName(Vm& vm, Context& context, const std::string& name, Value* out) {
    if (SameName(vm, name, "this")) {
        *out = context.self;
        return true;
    }
    if (SameName(vm, name, "_global") && vm.version() >= 6) {
        *out = Value(vm.global);
        return true;
    }
    if (SameName(vm, name, "_root")) {
        *out = vm.host ? Value(vm.host->RootClip()) : Value();
        return true;
    }
    if (name.size() > 6 && FoldCase(name.substr(0, 6)) == "_level") {
        Object* level = vm.host ? vm.host->ResolveTarget(nullptr, name) : nullptr;
        *out = level ? Value(level) : Value();
        return true;
    }
    return false;
}

Value PlainLookup(Vm& vm, Context& context, const std::string& name) {
    Value special;
    if (SpecialName(vm, context, name, &special)) return special;
    for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it)
        if (*it && vm.Has(*it, name)) return vm.Get(*it, name);
    if (vm.Has(vm.global, name)) return vm.Get(vm.global, name);
    return Value();
}

// The object a dotted path up to its last part names ("a.b" of "a.b.c").
Value DottedObject(Vm& vm, Context& context, const std::string& path) {
    size_t start = 0;
    Value current;
    bool first = true;
    while (start <= path.size()) {
        size_t end = path.find('.', start);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(start, end - start);
        if (first) {
            current = PlainLookup(vm, context, part);
            first = false;
        } else {
            current = vm.GetMember(current, part);
        }
        if (current.IsNullish()) return Value();
        start = end + 1;
    }
    return current;
}

// The object a path names: a clip by its target path, or else the
// variables and members it names part by part.
Object* ResolvePath(Vm& vm, Context& context, const std::string& path) {
    if (vm.host)
        if (Object* clip = vm.host->ResolveTarget(context.target, path)) return clip;
    std::string dotted = path;
    for (char& c : dotted)
        if (c == '/') c = '.';
    size_t start = 0;
    while (start < dotted.size() && dotted[start] == '.') ++start;
    Value value = DottedObject(vm, context, dotted.substr(start));
    return value.IsObject() ? value.object : nullptr;
}

// Splits "path:var" or "path/var" (slash paths) into the object and the name.
bool SplitPath(Vm& vm, Context& context, const std::string& name, Object** clip, std::string* variable) {
    size_t colon = name.find_last_of(':');
    size_t split = colon != std::string::npos ? colon : name.find_last_of('/');
    if (split == std::string::npos) return false;
    std::string path = name.substr(0, split);
    *variable = name.substr(split + 1);
    if (path.empty()) {
        *clip = colon != std::string::npos ? context.target : (vm.host ? vm.host->RootClip() : nullptr);
    } else {
        *clip = ResolvePath(vm, context, path);
    }
    return true;
}

bool HasPathSyntax(const std::string& name) { return name.find_first_of(":/.") != std::string::npos; }

}  // namespace

Value GetVariable(Vm& vm, Context& context, const std::string& name) {
    if (!HasPathSyntax(name)) return PlainLookup(vm, context, name);
    if (name.find(':') == std::string::npos && name.find('/') != std::string::npos) {
        // A slash path names a clip.
        Object* clip = vm.host ? vm.host->ResolveTarget(context.target, name) : nullptr;
        if (clip) return Value(clip);
        Object* holder = nullptr;
        std::string variable;
        if (SplitPath(vm, context, name, &holder, &variable) && holder) return vm.Get(holder, variable);
        return Value();
    }
    if (name.find(':') != std::string::npos) {
        Object* clip = nullptr;
        std::string variable;
        SplitPath(vm, context, name, &clip, &variable);
        return clip ? vm.Get(clip, variable) : Value();
    }
    // A plain name lookup wins over a dotted path ("a.b" may be a variable).
    for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it)
        if (*it && (*it)->FindOwn(name, vm.CaseSensitive())) return vm.Get(*it, name);
    return DottedObject(vm, context, name);
}

void SetVariable(Vm& vm, Context& context, const std::string& name, const Value& value) {
    if (HasPathSyntax(name)) {
        Object* clip = nullptr;
        std::string variable;
        if (name.find_first_of(":/") != std::string::npos) {
            if (SplitPath(vm, context, name, &clip, &variable) && clip) vm.Set(clip, variable, value);
            return;
        }
        size_t dot = name.find_last_of('.');
        Value holder = DottedObject(vm, context, name.substr(0, dot));
        if (holder.IsObject()) vm.Set(holder.object, name.substr(dot + 1), value);
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
    if (!assign && holder->FindOwn(name, vm.CaseSensitive())) return;
    if (context.activation) {
        Property& property = holder->properties.Set(name, vm.CaseSensitive());
        property.value = value;
        return;
    }
    vm.Set(holder, name, value);
}

bool DeleteVariable(Vm& vm, Context& context, const std::string& name) {
    if (HasPathSyntax(name)) {
        Object* holder = nullptr;
        std::string variable;
        if (name.find_first_of(":/") != std::string::npos) {
            if (!SplitPath(vm, context, name, &holder, &variable) || !holder) return false;
            return vm.Delete(holder, variable);
        }
        size_t dot = name.find_last_of('.');
        Value object = DottedObject(vm, context, name.substr(0, dot));
        return object.IsObject() && vm.Delete(object.object, name.substr(dot + 1));
    }
    for (auto it = context.scope.rbegin(); it != context.scope.rend(); ++it)
        if (*it && (*it)->FindOwn(name, vm.CaseSensitive())) return vm.Delete(*it, name);
    if (vm.global->FindOwn(name, vm.CaseSensitive())) return vm.Delete(vm.global, name);
    return false;
}

Object* ResolveClipValue(Vm& vm, Context& context, const Value& value) {
    if (value.IsObject()) return value.object->AsClip() ? value.object : nullptr;
    std::string path = vm.ToString(value);
    if (path.empty()) return context.target;
    return vm.host ? vm.host->ResolveTarget(context.target, path) : nullptr;
}

Value GetMemberValue(Vm& vm, const Value& object, const Value& name) {
    return vm.GetMember(object, vm.ToString(name));
}

Value CallMethodValue(Vm& vm, Context& context, const Value& object, const Value& name, Args args) {
    (void)context;
    std::string method = name.IsUndefined() ? std::string() : vm.ToString(name);
    if (object.IsObject()) {
        if (auto* super_object = dynamic_cast<SuperObject*>(object.object)) {
            Object* home = super_object->home;
            if (!home) return Value();
            if (method.empty()) {
                Value constructor = vm.Get(home, "__constructor__");
                return vm.CallWithHome(constructor, super_object->self, std::move(args), home->proto);
            }
            Object* holder = nullptr;
            if (!home->proto || !vm.Lookup(home->proto, method, &holder)) return Value();
            return vm.CallWithHome(vm.Get(home->proto, method), super_object->self, std::move(args), holder);
        }
    }
    if (method.empty()) return vm.Call(object, Value(), std::move(args));
    Object* target = vm.ToObject(object);
    if (!target) return Value();
    Value function = vm.Get(target, method);
    Object* holder = nullptr;
    vm.Lookup(target, method, &holder);
    return vm.CallWithHome(function, Value(target), std::move(args), holder);
}

Value ConstructValue(Vm& vm, const Value& constructor, Args args) {
    return vm.Construct(constructor, std::move(args));
}

}  // namespace flash::avm1
