// String: the constructor (a conversion when called, a boxed string with
// new), String.fromCharCode and the methods of String.prototype. From
// SWF 6 on positions count UTF-16 units; before, bytes.
#include "flash/avm1/classes/classes.h"
#include "flash/avm1/classes/case_mapping.h"
#include "flash/avm1/classes/string_rules.h"

#include <cmath>

namespace flash::avm1 {

namespace {

Value Arg(const Args& args, size_t i) { return i < args.size() ? args[i] : Value(); }

// The text of this: a boxed string's own, anything else converted.
std::string ThisText(Vm& vm, Object* self) {
    if (!self) return vm.ToString(Value());
    if (self->primitive.IsString()) return self->primitive.string;
    return vm.ToString(Value(self));
}

std::u16string Units(Vm& vm, const std::string& text) {
    if (vm.version() >= 6) return Utf16FromUtf8(text);
    return std::u16string(text.begin(), text.end());
}

std::string FromUnits(Vm& vm, const std::u16string& units) {
    if (vm.version() >= 6) return Utf8FromUtf16(units);
    std::string out;
    out.reserve(units.size());
    for (char16_t c : units) out.push_back(static_cast<char>(c));
    return out;
}

// An integer argument, made a 32-bit integer (NaN and undefined read as 0).
double IntArg(Vm& vm, const Value& v) { return ToInt32(vm.ToNumber(v)); }

Object* MakeBoxed(Vm& vm, const std::string& text) {
    Object* boxed = vm.heap.Make<Object>(vm.Proto("String"));
    boxed->primitive = Value(text);
    boxed->native_class = "String";
    boxed->Define("length", Value(static_cast<double>(Units(vm, text).size())), kDontEnum | kDontDelete);
    return boxed;
}

Value CallString(Vm& vm, Object*, Args& args) {
    if (args.empty()) return Value("");
    return Value(vm.ToString(args[0]));
}

Value ConstructString(Vm& vm, Object*, Args& args) {
    return Value(MakeBoxed(vm, args.empty() ? std::string() : vm.ToString(args[0])));
}

Value ToStringMethod(Vm& vm, Object* self, Args&) {
    if (self && self->primitive.IsString()) return self->primitive;
    return Value(ThisText(vm, self));
}

Value CharAt(Vm& vm, Object* self, Args& args) {
    std::u16string s = Units(vm, ThisText(vm, self));
    double i = IntArg(vm, Arg(args, 0));
    if (i < 0 || i >= static_cast<double>(s.size())) return Value("");
    return Value(FromUnits(vm, s.substr(static_cast<size_t>(i), 1)));
}

Value CharCodeAt(Vm& vm, Object* self, Args& args) {
    std::u16string s = Units(vm, ThisText(vm, self));
    double i = IntArg(vm, Arg(args, 0));
    if (i < 0 || i >= static_cast<double>(s.size())) return Value(NAN);
    return Value(static_cast<double>(s[static_cast<size_t>(i)]));
}

Value IndexOf(Vm& vm, Object* self, Args& args) {
    std::u16string s = Units(vm, ThisText(vm, self));
    if (args.empty()) return Value();
    std::u16string what = Units(vm, vm.ToString(args[0]));
    double start = args.size() > 1 ? IntArg(vm, args[1]) : 0;
    if (start < 0) start = 0;
    if (start > static_cast<double>(s.size())) return Value(-1);
    size_t found = s.find(what, static_cast<size_t>(start));
    return Value(found == std::u16string::npos ? -1.0 : static_cast<double>(found));
}

Value LastIndexOf(Vm& vm, Object* self, Args& args) {
    std::u16string s = Units(vm, ThisText(vm, self));
    if (args.empty()) return Value();
    std::u16string what = Units(vm, vm.ToString(args[0]));
    size_t from = std::u16string::npos;
    if (args.size() > 1 && !args[1].IsUndefined()) {
        double start = IntArg(vm, args[1]);
        if (start < 0) return Value(-1);
        from = static_cast<size_t>(std::min(start, 1e9));
    }
    size_t found = s.rfind(what, from);
    return Value(found == std::u16string::npos ? -1.0 : static_cast<double>(found));
}

Value Substr(Vm& vm, Object* self, Args& args) {
    if (args.empty()) return Value();
    std::u16string s = Units(vm, ThisText(vm, self));
    double start = IntArg(vm, Arg(args, 0));
    bool has_length = args.size() > 1 && !args[1].IsUndefined();
    double length = has_length ? IntArg(vm, args[1]) : 0;
    SubRange range = SubstrRange(static_cast<double>(s.size()), start, has_length, length);
    return Value(FromUnits(vm, s.substr(range.begin, range.count)));
}

Value Substring(Vm& vm, Object* self, Args& args) {
    if (args.empty()) return Value();
    std::u16string s = Units(vm, ThisText(vm, self));
    double start = IntArg(vm, Arg(args, 0));
    bool has_end = args.size() > 1 && !args[1].IsUndefined();
    double end = has_end ? IntArg(vm, args[1]) : 0;
    SubRange range = SubstringRange(static_cast<double>(s.size()), start, has_end, end);
    return Value(FromUnits(vm, s.substr(range.begin, range.count)));
}

Value Slice(Vm& vm, Object* self, Args& args) {
    if (args.empty()) return Value();
    std::u16string s = Units(vm, ThisText(vm, self));
    double start = IntArg(vm, args[0]);
    bool has_end = args.size() > 1 && !args[1].IsUndefined();
    double end = has_end ? IntArg(vm, args[1]) : 0;
    SubRange range = SliceRange(static_cast<double>(s.size()), start, has_end, end);
    return Value(FromUnits(vm, s.substr(range.begin, range.count)));
}

Value Split(Vm& vm, Object* self, Args& args) {
    std::string text = ThisText(vm, self);
    ArrayObject* result = vm.MakeArray();
    if (args.empty() || args[0].IsUndefined()) {
        result->Push(Value(text));
        return Value(result);
    }
    size_t limit = SIZE_MAX;
    if (args.size() > 1 && !args[1].IsUndefined()) {
        int32_t n = ToInt32(vm.ToNumber(args[1]));
        limit = n <= 0 ? 0 : static_cast<size_t>(n);
    }
    if (limit == 0) return Value(result);
    std::u16string s = Units(vm, text);
    std::u16string separator = Units(vm, vm.ToString(args[0]));
    if (separator.empty()) {
        // Each character on its own (SWF 5 keeps the whole string).
        if (vm.version() <= 5) {
            result->Push(Value(text));
            return Value(result);
        }
        for (size_t i = 0; i < s.size() && static_cast<size_t>(result->length) < limit; ++i)
            result->Push(Value(FromUnits(vm, s.substr(i, 1))));
        return Value(result);
    }
    if (s.empty()) {
        result->Push(Value(""));
        return Value(result);
    }
    size_t start = 0;
    while (static_cast<size_t>(result->length) < limit) {
        size_t found = s.find(separator, start);
        if (found == std::u16string::npos) {
            result->Push(Value(FromUnits(vm, s.substr(start))));
            break;
        }
        result->Push(Value(FromUnits(vm, s.substr(start, found - start))));
        start = found + separator.size();
    }
    return Value(result);
}

Value ChangeCase(Vm& vm, Object* self, bool upper) {
    std::u16string s = Units(vm, ThisText(vm, self));
    for (char16_t& c : s) {
        if (vm.version() <= 5 && c >= 0x80) continue;
        c = upper ? ToUpperUnit(c) : ToLowerUnit(c);
    }
    return Value(FromUnits(vm, s));
}

Value ToUpperCase(Vm& vm, Object* self, Args&) { return ChangeCase(vm, self, true); }
Value ToLowerCase(Vm& vm, Object* self, Args&) { return ChangeCase(vm, self, false); }

Value Concat(Vm& vm, Object* self, Args& args) {
    std::string text = ThisText(vm, self);
    for (const Value& v : args) text += vm.ToString(v);
    return Value(text);
}

Value FromCharCode(Vm& vm, Object*, Args& args) {
    std::u16string units;
    for (const Value& v : args) {
        uint16_t code = static_cast<uint16_t>(ToUint32(vm.ToNumber(v)));
        if (code == 0) break;
        units.push_back(static_cast<char16_t>(code));
    }
    return Value(FromUnits(vm, units));
}

}  // namespace

SubRange SubstrRange(double size, double start, bool has_length, double length) {
    if (start < 0) start = std::max(0.0, start + size);
    if (start >= size) return {};
    if (!has_length) return {static_cast<size_t>(start), static_cast<size_t>(size - start)};
    if (length < 0) {
        // A negative length counts back from the end; a range reaching the
        // end that way is empty.
        length += size;
        if (length <= 0 || start + length >= size) return {};
    }
    length = std::min(length, size - start);
    if (length <= 0) return {};
    return {static_cast<size_t>(start), static_cast<size_t>(length)};
}

SubRange SubstringRange(double size, double start, bool has_end, double end) {
    if (!has_end) end = size;
    start = std::clamp(start, 0.0, size);
    end = std::clamp(end, 0.0, size);
    if (end < start) std::swap(start, end);
    return {static_cast<size_t>(start), static_cast<size_t>(end - start)};
}

SubRange SliceRange(double size, double start, bool has_end, double end) {
    if (!has_end) end = size;
    if (start < 0) start += size;
    if (end < 0) end += size;
    start = std::clamp(start, 0.0, size);
    end = std::clamp(end, 0.0, size);
    if (end <= start) return {};
    return {static_cast<size_t>(start), static_cast<size_t>(end - start)};
}

void InstallStringClass(Vm& vm) {
    Object* proto = vm.MakeObject();
    Function* constructor = vm.MakeClass("String", CallString, ConstructString, proto);
    vm.AddMethod(proto, "toString", ToStringMethod);
    vm.AddMethod(proto, "valueOf", ToStringMethod);
    vm.AddMethod(proto, "charAt", CharAt);
    vm.AddMethod(proto, "charCodeAt", CharCodeAt);
    vm.AddMethod(proto, "concat", Concat);
    vm.AddMethod(proto, "indexOf", IndexOf);
    vm.AddMethod(proto, "lastIndexOf", LastIndexOf);
    vm.AddMethod(proto, "slice", Slice);
    vm.AddMethod(proto, "substring", Substring);
    vm.AddMethod(proto, "split", Split);
    vm.AddMethod(proto, "substr", Substr);
    vm.AddMethod(proto, "toUpperCase", ToUpperCase);
    vm.AddMethod(proto, "toLowerCase", ToLowerCase);
    vm.AddMethod(constructor, "fromCharCode", FromCharCode);
    vm.global->Define("String", Value(constructor));
    vm.protos["String"] = proto;
}

}  // namespace flash::avm1
