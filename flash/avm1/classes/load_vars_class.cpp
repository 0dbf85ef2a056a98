// LoadVars: name=value pairs of a URL-encoded text as properties, and the
// same pairs printed back; load reads local files.
#include "flash/avm1/classes/class_helpers.h"

namespace flash::avm1 {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string UrlDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() + 0 && HexDigit(text[i + 1]) >= 0 &&
                   HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string UrlEncode(const std::string& text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

Value Decode(Vm& vm, Object* self, Args& args) {
    if (!self || args.empty()) return Value(false);
    std::string text = vm.ToString(args[0]);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('&', start);
        if (end == std::string::npos) end = text.size();
        std::string pair = text.substr(start, end - start);
        size_t equals = pair.find('=');
        if (equals != std::string::npos && equals > 0)
            vm.Set(self, UrlDecode(pair.substr(0, equals)), Value(UrlDecode(pair.substr(equals + 1))));
        start = end + 1;
    }
    return Value();
}

Value ToStringMethod(Vm& vm, Object* self, Args&) {
    if (!self) return Value("");
    std::string out;
    for (const std::string& name : vm.EnumerableKeys(self)) {
        if (!out.empty()) out += '&';
        out += UrlEncode(name) + "=" + UrlEncode(vm.ToString(vm.Get(self, name)));
    }
    return Value(out);
}

Value OnData(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    Value text = Arg(args, 0);
    if (text.IsUndefined()) {
        vm.CallMethod(Value(self), "onLoad", {Value(false)});
        return Value();
    }
    // Through decode as scripts see it, which they may replace.
    vm.CallMethod(Value(self), "decode", {text});
    vm.Set(self, "loaded", Value(true));
    vm.CallMethod(Value(self), "onLoad", {Value(true)});
    return Value();
}

Value Construct(Vm&, Object*, Args&) { return Value(); }
Value Nothing(Vm&, Object*, Args&) { return Value(); }

Value False(Vm&, Object*, Args&) { return Value(false); }

}  // namespace

void InstallLoadVarsClass(Vm& vm) {
    Object* proto = InstallClass(vm, vm.global, "LoadVars", Construct);
    vm.AddMethod(proto, "decode", Decode);
    vm.AddMethod(proto, "toString", ToStringMethod);
    vm.AddMethod(proto, "load", LoadMethod);
    vm.AddMethod(proto, "sendAndLoad", SendAndLoadMethod);
    vm.AddMethod(proto, "send", False);
    vm.AddMethod(proto, "onData", OnData);
    vm.AddMethod(proto, "onLoad", Nothing);
    vm.AddMethod(proto, "addRequestHeader", Nothing);
    vm.AddMethod(proto, "getBytesLoaded", BytesLoadedMethod);
    vm.AddMethod(proto, "getBytesTotal", BytesTotalMethod);
    proto->Define("contentType", Value("application/x-www-form-urlencoded"), kDontEnum);
}

}  // namespace flash::avm1
