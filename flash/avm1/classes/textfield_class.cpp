// TextField: formats read and applied over ranges of a field's text, text
// replaced by scripts, removing a field; and MovieClip.createTextField.
#include "flash/avm1/classes/class_helpers.h"
#include "flash/player.h"
#include "flash/text_field.h"

#include <algorithm>
#include <cmath>

namespace flash::avm1 {

namespace {

TextField* FieldOf(Object* self) { return dynamic_cast<TextField*>(self); }

Value Optional(const std::optional<std::string>& v) { return v ? Value(*v) : Value::Null(); }
Value Optional(const std::optional<double>& v) { return v ? Value(*v) : Value::Null(); }
Value Optional(const std::optional<bool>& v) { return v ? Value(*v) : Value::Null(); }

}  // namespace

Object* MakeTextFormatObject(Vm& vm, const TextFormat& f) {
    // A real TextFormat: its settings are accessors that keep their values
    // in the object.
    Object* proto = vm.Proto("TextFormat");
    Value made = proto ? vm.Construct(vm.Get(proto, "constructor"), {}) : Value();
    Object* object = made.IsObject() ? made.object : vm.MakeObject();
    vm.Set(object, "font", Optional(f.font));
    vm.Set(object, "size", Optional(f.size));
    vm.Set(object, "color", Optional(f.color));
    vm.Set(object, "url", Optional(f.url));
    vm.Set(object, "target", Optional(f.target));
    vm.Set(object, "bold", Optional(f.bold));
    vm.Set(object, "italic", Optional(f.italic));
    vm.Set(object, "underline", Optional(f.underline));
    vm.Set(object, "align", Optional(f.align));
    vm.Set(object, "leftMargin", Optional(f.left_margin));
    vm.Set(object, "rightMargin", Optional(f.right_margin));
    vm.Set(object, "indent", Optional(f.indent));
    vm.Set(object, "leading", Optional(f.leading));
    vm.Set(object, "blockIndent", Optional(f.block_indent));
    vm.Set(object, "tabStops", Value(vm.MakeArray()));   // a field has no tab stops set
    vm.Set(object, "bullet", Optional(f.bullet));
    vm.Set(object, "kerning", Optional(f.kerning));
    vm.Set(object, "letterSpacing", Optional(f.letter_spacing));
    return object;
}

TextFormat TextFormatOfObject(Vm& vm, Object* object) {
    TextFormat f;
    auto get = [&](const char* name, auto& member, auto convert) {
        Value v = vm.Get(object, name);
        if (!v.IsNullish()) member = convert(v);
    };
    auto text = [&](const Value& v) { return vm.ToString(v); };
    auto number = [&](const Value& v) { return vm.ToNumber(v); };
    auto flag = [&](const Value& v) { return vm.ToBoolean(v); };
    get("font", f.font, text);
    get("size", f.size, number);
    get("color", f.color, [&](const Value& v) { return static_cast<double>(static_cast<uint32_t>(ToInt32(vm.ToNumber(v))) & 0xFFFFFF); });
    get("url", f.url, text);
    get("target", f.target, text);
    get("bold", f.bold, flag);
    get("italic", f.italic, flag);
    get("underline", f.underline, flag);
    get("align", f.align, text);
    get("leftMargin", f.left_margin, number);
    get("rightMargin", f.right_margin, number);
    get("indent", f.indent, number);
    get("leading", f.leading, number);
    get("blockIndent", f.block_indent, number);
    get("bullet", f.bullet, flag);
    get("kerning", f.kerning, flag);
    get("letterSpacing", f.letter_spacing, number);
    if (f.align && *f.align != "left" && *f.align != "right" && *f.align != "center" && *f.align != "justify")
        f.align.reset();
    return f;
}

namespace {

// The range [begin, end) the index arguments name, clamped to the text.
void Range(Vm& vm, const TextField& field, const Args& args, size_t count, size_t* begin, size_t* end) {
    size_t length = field.text.chars.size();
    *begin = 0, *end = length;
    if (count >= 1) {
        double b = vm.ToNumber(args[0]);
        *begin = std::isfinite(b) && b > 0 ? std::min(length, static_cast<size_t>(b)) : 0;
        *end = std::min(length, *begin + 1);
    }
    if (count >= 2) {
        double e = vm.ToNumber(args[1]);
        *end = std::isfinite(e) && e > 0 ? std::min(length, static_cast<size_t>(e)) : 0;
    }
}

Value GetTextFormat(Vm& vm, Object* self, Args& args) {
    TextField* field = FieldOf(self);
    if (!field) return Value();
    field->PullVariable(vm);
    size_t begin, end;
    Range(vm, *field, args, std::min<size_t>(args.size(), 2), &begin, &end);
    if (begin >= end) return Value(MakeTextFormatObject(vm, begin < field->text.formats.size() ? field->text.formats[begin] : field->new_format));
    TextFormat common = field->text.formats[begin];
    for (size_t i = begin + 1; i < end; ++i) common.Intersect(field->text.formats[i]);
    return Value(MakeTextFormatObject(vm, common));
}

Value SetTextFormat(Vm& vm, Object* self, Args& args) {
    TextField* field = FieldOf(self);
    if (!field || args.empty()) return Value();
    const Value& format = args.back();
    if (!format.IsObject()) return Value();
    TextFormat patch = TextFormatOfObject(vm, format.object);
    size_t begin, end;
    Range(vm, *field, args, args.size() - 1, &begin, &end);
    for (size_t i = begin; i < end; ++i) field->text.formats[i].Apply(patch);
    field->Fit();
    return Value();
}

Value GetNewTextFormat(Vm& vm, Object* self, Args&) {
    TextField* field = FieldOf(self);
    return field ? Value(MakeTextFormatObject(vm, field->new_format)) : Value();
}

Value SetNewTextFormat(Vm& vm, Object* self, Args& args) {
    TextField* field = FieldOf(self);
    if (!field || args.empty() || !args[0].IsObject()) return Value();
    field->new_format.Apply(TextFormatOfObject(vm, args[0].object));
    return Value();
}

Value ReplaceText(Vm& vm, Object* self, Args& args) {
    TextField* field = FieldOf(self);
    if (!field || args.size() < 3) return Value();
    double b = vm.ToNumber(args[0]), e = vm.ToNumber(args[1]);
    if (!std::isfinite(b) || !std::isfinite(e) || b < 0 || e < b) return Value();
    std::u16string text = Utf16FromUtf8(vm.ToString(args[2]));
    for (char16_t& c : text)
        if (c == u'\n') c = u'\r';
    size_t begin = static_cast<size_t>(b);
    const TextFormat& format = begin < field->text.formats.size() ? field->text.formats[begin] : field->new_format;
    field->text.Replace(begin, static_cast<size_t>(e), text, TextFormat(format));
    field->Fit();
    field->PushVariable(vm);
    return Value();
}

Value ReplaceSel(Vm& vm, Object* self, Args& args) {
    TextField* field = FieldOf(self);
    if (!field || args.empty()) return Value();
    // The text replaces the selection, or without one goes at the end; the
    // selection becomes the caret after it.
    std::u16string text = Utf16FromUtf8(vm.ToString(args[0]));
    size_t length = field->text.chars.size();
    size_t begin = field->selection_begin >= 0 ? std::min(length, static_cast<size_t>(field->selection_begin)) : length;
    size_t end = field->selection_end >= 0 ? std::min(length, static_cast<size_t>(field->selection_end)) : length;
    field->text.Replace(begin, std::max(begin, end), text, field->new_format);
    if (field->selection_begin >= 0)
        field->selection_begin = field->selection_end = field->caret = static_cast<int>(begin + text.size());
    field->Fit();
    field->PushVariable(vm);
    return Value();
}

Value RemoveTextField(Vm&, Object* self, Args&) {
    TextField* field = FieldOf(self);
    if (!field || field->removed || !field->parent || field->depth < kDepthOffset) return Value();
    auto found = field->parent->children.find(field->depth);
    if (found != field->parent->children.end() && found->second.text == field) field->parent->children.erase(found);
    field->removed = true;
    return Value();
}

Value GetDepth(Vm&, Object* self, Args&) {
    TextField* field = FieldOf(self);
    return field ? Value(field->depth - kDepthOffset) : Value();
}

Value GetFontList(Vm& vm, Object*, Args&) {
    return Value(vm.MakeArray({Value("_sans"), Value("_serif"), Value("_typewriter")}));
}

Value CreateTextField(Vm& vm, Object* self, Args& args) {
    Clip* parent = self ? self->AsClip() : nullptr;
    if (!parent || args.size() < 6) return Value();
    double numbers[5];
    for (int i = 0; i < 5; ++i) {
        numbers[i] = vm.ToNumber(args[static_cast<size_t>(i) + 1]);
        // Past these, depths and pixel sizes mean nothing to a field.
        numbers[i] = std::isfinite(numbers[i]) ? std::clamp(numbers[i], -1073741824.0, 1073741824.0) : 0;
    }
    TextField* field = flash::CreateTextField(vm, *parent, vm.ToString(args[0]),
                                              static_cast<int>(numbers[0]) + kDepthOffset, numbers[1], numbers[2],
                                              numbers[3], numbers[4]);
    if (vm.version() < 8) return Value();
    return Value(static_cast<Object*>(field));
}

Value Nothing(Vm&, Object*, Args&) { return Value(); }

}  // namespace

void InstallTextFieldClass(Vm& vm) {
    Object* proto = InstallClass(vm, vm.global, "TextField", Nothing);
    vm.AddMethod(proto, "getTextFormat", GetTextFormat);
    vm.AddMethod(proto, "setTextFormat", SetTextFormat);
    vm.AddMethod(proto, "getNewTextFormat", GetNewTextFormat);
    vm.AddMethod(proto, "setNewTextFormat", SetNewTextFormat);
    vm.AddMethod(proto, "replaceText", ReplaceText);
    vm.AddMethod(proto, "replaceSel", ReplaceSel);
    vm.AddMethod(proto, "removeTextField", RemoveTextField);
    vm.AddMethod(proto, "getDepth", GetDepth);
    Value constructor = vm.global->FindOwn("TextField", true)->value;
    if (constructor.IsObject()) vm.AddMethod(constructor.object, "getFontList", GetFontList);
    if (Object* clip = vm.Proto("MovieClip")) vm.AddMethod(clip, "createTextField", CreateTextField);
}

}  // namespace flash::avm1
