// TextFormat: the character and paragraph settings of text fields. Every
// setting is an accessor on the prototype that converts what scripts
// assign (null and undefined clear a setting to null).
#include "flash/avm1/classes/class_helpers.h"

#include "flash/avm1/array_object.h"

#include <cmath>
#include <utility>

namespace flash::avm1 {

namespace {

const char kTextFormatClass[] = "TextFormat";

enum class Kind { String, Integer, Margin, Color, Boolean, Align, Number, TabStops, Display };

struct Setting {
    const char* name;
    Kind kind;
};

// In the constructor's argument order first, then the rest.
const Setting kSettings[] = {
    {"font", Kind::String},       {"size", Kind::Integer},     {"color", Kind::Color},
    {"bold", Kind::Boolean},      {"italic", Kind::Boolean},   {"underline", Kind::Boolean},
    {"url", Kind::String},        {"target", Kind::String},    {"align", Kind::Align},
    {"leftMargin", Kind::Margin}, {"rightMargin", Kind::Margin}, {"indent", Kind::Integer},
    {"leading", Kind::Integer},   {"blockIndent", Kind::Integer}, {"tabStops", Kind::TabStops},
    {"bullet", Kind::Boolean},    {"display", Kind::Display},  {"kerning", Kind::Boolean},
    {"letterSpacing", Kind::Number},
};
constexpr int kSettingCount = sizeof(kSettings) / sizeof(kSettings[0]);
constexpr int kConstructorArgs = 13;

class TextFormatObject : public Object {
public:
    explicit TextFormatObject(Object* prototype) : Object(prototype) {
        native_class = kTextFormatClass;
        for (Value& v : values) v = Value::Null();
    }
    void TraceRefs(Tracer& tracer) override {
        for (const Value& v : values) tracer.Mark(v);
    }
    Value values[kSettingCount];
};

TextFormatObject* CastTo(Object* self) {
    return self ? static_cast<TextFormatObject*>(self->NativeOf(kTextFormatClass)) : nullptr;
}

// Rounds half to even; NaN and numbers beyond int32 give the lowest int32.
double RoundInteger(double n) {
    if (std::isnan(n) || n >= 2147483648.0 || n < -2147483648.0) return INT32_MIN;
    double rounded = std::nearbyint(n);
    if (rounded >= 2147483648.0) return INT32_MIN;
    return rounded;
}

// Tab stops come from anything with a length and numbered elements.
Value TabStops(Vm& vm, const Value& value) {
    std::vector<Value> stops;
    if (value.IsObject()) {
        int count = vm.ToInt(vm.Get(value.object, "length"));
        for (int i = 0; i < count && i < 4096; ++i)
            stops.push_back(Value(RoundInteger(vm.ToNumber(vm.Get(value.object, std::to_string(i))))));
    } else {
        stops.push_back(Value(RoundInteger(vm.ToNumber(value))));
    }
    return Value(static_cast<Object*>(vm.MakeArray(std::move(stops))));
}

// The stored form of a value assigned to a setting; sets *keep when the
// assignment is ignored.
Value Convert(Vm& vm, Kind kind, const Value& value, const Value& current, bool* keep) {
    *keep = false;
    if (value.IsUndefined() || value.IsNull()) return kind == Kind::Display ? current : Value::Null();
    switch (kind) {
    case Kind::String: return Value(vm.ToString(value));
    case Kind::Integer: return Value(RoundInteger(vm.ToNumber(value)));
    case Kind::Margin: {
        double n = vm.ToNumber(value);
        return Value(RoundInteger(n > 0 ? n : 0));
    }
    case Kind::Color: return Value(static_cast<double>(static_cast<uint32_t>(ToInt32(vm.ToNumber(value)))));
    case Kind::Boolean: return Value(vm.ToBoolean(value));
    case Kind::Number: return Value(vm.ToNumber(value));
    case Kind::TabStops: return TabStops(vm, value);
    case Kind::Align: {
        std::string align = FoldCase(vm.ToString(value));
        if (align == "left" || align == "center" || align == "right" || align == "justify") return Value(align);
        *keep = true;
        return current;
    }
    case Kind::Display: {
        std::string display = vm.ToString(value);
        if (display == "none" || display == "inline") return Value(display);
        return Value("block");
    }
    }
    return Value::Null();
}

template <int kIndex>
Value GetSetting(Vm&, Object* self, Args&) {
    TextFormatObject* format = CastTo(self);
    return format ? format->values[kIndex] : Value();
}

template <int kIndex>
Value SetSetting(Vm& vm, Object* self, Args& args) {
    TextFormatObject* format = CastTo(self);
    if (!format) return Value();
    bool keep = false;
    Value converted = Convert(vm, kSettings[kIndex].kind, Arg(args, 0), format->values[kIndex], &keep);
    if (!keep) format->values[kIndex] = converted;
    return Value();
}

template <int... I>
void AddSettings(Vm& vm, Object* prototype, std::integer_sequence<int, I...>) {
    auto add = [&](const char* name, NativeFn getter, NativeFn setter) {
        Property& property = prototype->properties.Set(name, true);
        property.getter = vm.MakeNative(name, getter);
        property.setter = vm.MakeNative(name, setter);
        property.flags = 0;
    };
    (add(kSettings[I].name, GetSetting<I>, SetSetting<I>), ...);
}

// A rough measure: characters at about half the font size wide, lines at
// the size plus leading high.
Value GetTextExtent(Vm& vm, Object* self, Args& args) {
    TextFormatObject* format = CastTo(self);
    if (!format) return Value();
    double size = format->values[1].IsNumber() ? format->values[1].number : 12;
    std::string text = vm.ToString(Arg(args, 0));
    double width = 0, line = 0;
    int lines = 1;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            ++lines;
            line = 0;
            continue;
        }
        line += size * 0.55;
        if (line > width) width = line;
    }
    width = std::round(width);
    double ascent = std::round(size * 0.9), descent = std::round(size * 0.25);
    double height = (ascent + descent) * lines;
    Object* out = vm.MakeObject();
    vm.Set(out, "ascent", Value(ascent));
    vm.Set(out, "descent", Value(descent));
    vm.Set(out, "width", Value(width));
    vm.Set(out, "height", Value(height));
    vm.Set(out, "textFieldWidth", Value(width + 4));
    vm.Set(out, "textFieldHeight", Value(height + 4));
    return Value(out);
}

Value Construct(Vm& vm, Object*, Args& args) {
    auto* format = vm.heap.Make<TextFormatObject>(vm.Proto("TextFormat"));
    format->values[16] = Value("block");
    for (int i = 0; i < kConstructorArgs && i < static_cast<int>(args.size()); ++i) {
        bool keep = false;
        Value converted = Convert(vm, kSettings[i].kind, args[i], format->values[i], &keep);
        if (!keep) format->values[i] = converted;
    }
    format->Define("getTextExtent", vm.MakeNative("getTextExtent", GetTextExtent), kDontEnum);
    return Value(static_cast<Object*>(format));
}

}  // namespace

void InstallTextFormatClass(Vm& vm) {
    Object* prototype = InstallClass(vm, vm.global, "TextFormat", Construct, Construct);
    AddSettings(vm, prototype, std::make_integer_sequence<int, kSettingCount>{});
}

}  // namespace flash::avm1
