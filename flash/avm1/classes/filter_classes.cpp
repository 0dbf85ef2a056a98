// flash.filters: the bitmap filter classes as objects holding their
// settings. Each class is a table of fields with defaults and limits;
// values are converted and clamped when set, as the player does.
#include "flash/avm1/classes/geom_helpers.h"

#include "flash/avm1/array_object.h"

#include <algorithm>

namespace flash::avm1 {

namespace {

const char kFilterClass[] = "BitmapFilter";

enum class Field { Number, Integer, Color, Boolean, Text, Numbers, Colors, Point, Any };

struct FieldSpec {
    const char* name;
    Field kind;
    double initial = 0;
    double low = -INFINITY, high = INFINITY;
    const char* text = nullptr;                // Text: the default; "a|b|c" the accepted values after it
};

struct FilterSpec {
    const char* name;
    std::vector<FieldSpec> fields;
};

constexpr double kInf = INFINITY;

const std::vector<FilterSpec>& Specs() {
    static const FieldSpec blur_x{"blurX", Field::Number, 4, 0, 255}, blur_y{"blurY", Field::Number, 4, 0, 255};
    static const FieldSpec quality{"quality", Field::Integer, 1, 0, 15};
    static const FieldSpec strength{"strength", Field::Number, 1, 0, 255};
    static const FieldSpec distance{"distance", Field::Number, 4, -kInf, kInf};
    static const FieldSpec angle{"angle", Field::Number, 45, -kInf, kInf};
    static const FieldSpec knockout{"knockout", Field::Boolean, 0};
    static const FieldSpec inner{"inner", Field::Boolean, 0};
    static const FieldSpec type{"type", Field::Text, 0, 0, 0, "inner|inner|outer|full"};
    static const std::vector<FilterSpec> specs = {
        {"BlurFilter", {blur_x, blur_y, quality}},
        {"DropShadowFilter",
         {distance, angle, {"color", Field::Color, 0}, {"alpha", Field::Number, 1, 0, 1}, blur_x, blur_y, strength,
          quality, inner, knockout, {"hideObject", Field::Boolean, 0}}},
        {"GlowFilter",
         {{"color", Field::Color, 0xFF0000}, {"alpha", Field::Number, 1, 0, 1}, {"blurX", Field::Number, 6, 0, 255},
          {"blurY", Field::Number, 6, 0, 255}, {"strength", Field::Number, 2, 0, 255}, quality, inner, knockout}},
        {"BevelFilter",
         {distance, angle, {"highlightColor", Field::Color, 0xFFFFFF}, {"highlightAlpha", Field::Number, 1, 0, 1},
          {"shadowColor", Field::Color, 0}, {"shadowAlpha", Field::Number, 1, 0, 1}, blur_x, blur_y, strength,
          quality, type, knockout}},
        {"GradientGlowFilter",
         {distance, angle, {"colors", Field::Colors}, {"alphas", Field::Numbers, 0, 0, 1},
          {"ratios", Field::Numbers, 0, 0, 255}, blur_x, blur_y, strength, quality, type, knockout}},
        {"GradientBevelFilter",
         {distance, angle, {"colors", Field::Colors}, {"alphas", Field::Numbers, 0, 0, 1},
          {"ratios", Field::Numbers, 0, 0, 255}, blur_x, blur_y, strength, quality, type, knockout}},
        {"ColorMatrixFilter", {{"matrix", Field::Numbers, 20, -kInf, kInf}}},
        {"ConvolutionFilter",
         {{"matrixX", Field::Integer, 0, 0, 15}, {"matrixY", Field::Integer, 0, 0, 15},
          {"matrix", Field::Numbers, 0, -kInf, kInf}, {"divisor", Field::Number, 1, -kInf, kInf},
          {"bias", Field::Number, 0, -kInf, kInf}, {"preserveAlpha", Field::Boolean, 1},
          {"clamp", Field::Boolean, 1}, {"color", Field::Color, 0}, {"alpha", Field::Number, 0, 0, 1}}},
        {"DisplacementMapFilter",
         {{"mapBitmap", Field::Any}, {"mapPoint", Field::Point}, {"componentX", Field::Integer, 0, 0, 15},
          {"componentY", Field::Integer, 0, 0, 15}, {"scaleX", Field::Number, 0, -65535, 65535},
          {"scaleY", Field::Number, 0, -65535, 65535}, {"mode", Field::Text, 0, 0, 0, "wrap|wrap|clamp|ignore|color"},
          {"color", Field::Color, 0}, {"alpha", Field::Number, 0, 0, 1}}},
    };
    return specs;
}

class FilterObject : public Object {
public:
    FilterObject(Object* prototype, const FilterSpec* spec) : Object(prototype), spec(spec) {
        native_class = kFilterClass;
    }
    void TraceRefs(Tracer& tracer) override {
        for (const Value& v : values) tracer.Mark(v);
    }
    const FilterSpec* spec;
    std::vector<Value> values;
};

FilterObject* CastTo(Object* self) {
    return self ? static_cast<FilterObject*>(self->NativeOf(kFilterClass)) : nullptr;
}

double Clamp(double n, const FieldSpec& field) {
    if (std::isnan(n)) return field.low > -kInf ? field.low : n;
    return std::min(std::max(n, field.low), field.high);
}

std::vector<std::string> Choices(const char* text) {
    std::vector<std::string> out;
    std::string all = text;
    for (size_t start = 0; start <= all.size();) {
        size_t end = all.find('|', start);
        if (end == std::string::npos) end = all.size();
        out.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return out;   // the default first, then the accepted values
}

Value NumberList(Vm& vm, const Value& value, const FieldSpec& field, bool colors) {
    std::vector<Value> out;
    ArrayObject* array = value.IsObject() ? value.object->AsArray() : nullptr;
    if (array) {
        for (const Value& element : array->Elements()) {
            double n = vm.ToNumber(element);
            out.push_back(colors ? Value(static_cast<double>(static_cast<uint32_t>(ToInt32(n)) & 0xFFFFFF))
                                 : Value(Clamp(n, field)));
        }
    }
    return Value(static_cast<Object*>(vm.MakeArray(std::move(out))));
}

Value Initial(Vm& vm, const FieldSpec& field) {
    switch (field.kind) {
    case Field::Boolean: return Value(field.initial != 0);
    case Field::Text: return Value(Choices(field.text)[0]);
    case Field::Point: return Value(NewPoint(vm, 0, 0));
    case Field::Any: return Value();
    case Field::Colors: return Value(static_cast<Object*>(vm.MakeArray()));
    case Field::Numbers: {
        // The colour matrix starts as the identity.
        std::vector<Value> identity;
        if (field.initial == 20)
            for (int i = 0; i < 20; ++i) identity.push_back(Value(i % 6 == 0 ? 1 : 0));
        return Value(static_cast<Object*>(vm.MakeArray(std::move(identity))));
    }
    default: return Value(field.initial);
    }
}

Value Convert(Vm& vm, const FieldSpec& field, const Value& value, const Value& current) {
    switch (field.kind) {
    case Field::Number: return Value(Clamp(vm.ToNumber(value), field));
    case Field::Integer: return Value(Clamp(static_cast<double>(vm.ToInt(value)), field));
    case Field::Color: return Value(static_cast<double>(static_cast<uint32_t>(vm.ToInt(value)) & 0xFFFFFF));
    case Field::Boolean: return Value(vm.ToBoolean(value));
    case Field::Text: {
        std::vector<std::string> choices = Choices(field.text);
        std::string text = vm.ToString(value);
        for (size_t i = 1; i < choices.size(); ++i)
            if (choices[i] == text) return Value(text);
        return current;
    }
    case Field::Numbers: return NumberList(vm, value, field, false);
    case Field::Colors: return NumberList(vm, value, field, true);
    case Field::Point:
        if (!value.IsObject()) return current;
        return Value(NewPoint(vm, vm.ToNumber(vm.Get(value.object, "x")), vm.ToNumber(vm.Get(value.object, "y"))));
    case Field::Any: return value;
    }
    return value;
}

// Arrays and points are handed out as copies.
Value Copy(Vm& vm, const Value& value) {
    if (!value.IsObject()) return value;
    if (ArrayObject* array = value.object->AsArray()) return Value(static_cast<Object*>(vm.MakeArray(array->Elements())));
    if (value.object->native_class) return value;
    Value clone = vm.CallMethod(value, "clone", {});
    return clone.IsObject() ? clone : value;
}

template <int kIndex>
Value GetField(Vm& vm, Object* self, Args&) {
    FilterObject* filter = CastTo(self);
    if (!filter || kIndex >= static_cast<int>(filter->values.size())) return Value();
    return Copy(vm, filter->values[kIndex]);
}

template <int kIndex>
Value SetField(Vm& vm, Object* self, Args& args) {
    FilterObject* filter = CastTo(self);
    if (!filter || kIndex >= static_cast<int>(filter->values.size())) return Value();
    filter->values[kIndex] = Convert(vm, filter->spec->fields[kIndex], Arg(args, 0), filter->values[kIndex]);
    return Value();
}

template <int... I>
void AddFields(Vm& vm, Object* prototype, const FilterSpec& spec, std::integer_sequence<int, I...>) {
    auto add = [&](int index, NativeFn getter, NativeFn setter) {
        if (index < static_cast<int>(spec.fields.size()))
            AddAccessor(vm, prototype, spec.fields[index].name, getter, setter, kDontEnum);
    };
    (add(I, GetField<I>, SetField<I>), ...);
}


FilterObject* MakeFilter(Vm& vm, const FilterSpec& spec) {
    auto* filter = vm.heap.Make<FilterObject>(vm.Proto(spec.name), &spec);
    for (const FieldSpec& field : spec.fields) filter->values.push_back(Initial(vm, field));
    return filter;
}

Value ConstructFilter(Vm& vm, const FilterSpec& spec, Args& args) {
    FilterObject* filter = MakeFilter(vm, spec);
    for (size_t i = 0; i < spec.fields.size() && i < args.size(); ++i)
        filter->values[i] = Convert(vm, spec.fields[i], args[i], filter->values[i]);
    return Value(static_cast<Object*>(filter));
}

template <int kSpec>
Value Construct(Vm& vm, Object*, Args& args) {
    return ConstructFilter(vm, Specs()[kSpec], args);
}

Value Clone(Vm& vm, Object* self, Args&) {
    FilterObject* filter = CastTo(self);
    if (!filter) return Value();
    FilterObject* copy = MakeFilter(vm, *filter->spec);
    for (size_t i = 0; i < filter->values.size(); ++i) copy->values[i] = Copy(vm, filter->values[i]);
    return Value(static_cast<Object*>(copy));
}

Value ConstructBase(Vm&, Object* self, Args&) { return Value(self); }

const NativeFn kConstructors[] = {Construct<0>, Construct<1>, Construct<2>, Construct<3>, Construct<4>,
                                  Construct<5>, Construct<6>, Construct<7>, Construct<8>};

}  // namespace

void InstallFilterClasses(Vm& vm) {
    Object* package = FlashPackage(vm, "filters");
    Object* base = InstallClass(vm, package, "BitmapFilter", ConstructBase);
    vm.AddMethod(base, "clone", Clone);
    for (size_t i = 0; i < Specs().size(); ++i) {
        const FilterSpec& spec = Specs()[i];
        Object* prototype = InstallClass(vm, package, spec.name, kConstructors[i], kConstructors[i]);
        prototype->proto = base;
        AddFields(vm, prototype, spec, std::make_integer_sequence<int, 12>{});
        vm.AddMethod(prototype, "clone", Clone);
    }
}

}  // namespace flash::avm1
