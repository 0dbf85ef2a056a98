#include "flash/text_field.h"

#include "flash/avm1/vm.h"
#include "flash/player.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kGutter = kTextGutter;

enum class Prop {
    None, Text, HtmlText, Html, Length, Multiline, WordWrap, AutoSize, Border, BorderColor, Background,
    BackgroundColor, TextColor, Selectable, Type, MaxChars, EmbedFonts, Variable, Password, CondenseWhite,
    TextWidth, TextHeight, Scroll, MaxScroll, BottomScroll, HScroll, MaxHScroll, MouseWheelEnabled, X, Y,
    XScale, YScale, Rotation, Alpha, Visible, Width, Height, Name, Target, Parent, XMouse, YMouse, HighQuality,
    Quality, Url, FocusRect, SoundBufTime,
};

Prop PropertyOf(const std::string& name, bool case_sensitive) {
    static const std::pair<const char*, Prop> table[] = {
        {"text", Prop::Text}, {"htmlText", Prop::HtmlText}, {"html", Prop::Html}, {"length", Prop::Length},
        {"multiline", Prop::Multiline}, {"wordWrap", Prop::WordWrap}, {"autoSize", Prop::AutoSize},
        {"border", Prop::Border}, {"borderColor", Prop::BorderColor}, {"background", Prop::Background},
        {"backgroundColor", Prop::BackgroundColor}, {"textColor", Prop::TextColor},
        {"selectable", Prop::Selectable}, {"type", Prop::Type}, {"maxChars", Prop::MaxChars},
        {"embedFonts", Prop::EmbedFonts}, {"variable", Prop::Variable}, {"password", Prop::Password},
        {"condenseWhite", Prop::CondenseWhite}, {"textWidth", Prop::TextWidth}, {"textHeight", Prop::TextHeight},
        {"scroll", Prop::Scroll}, {"maxscroll", Prop::MaxScroll}, {"bottomScroll", Prop::BottomScroll},
        {"hscroll", Prop::HScroll}, {"maxhscroll", Prop::MaxHScroll}, {"mouseWheelEnabled", Prop::MouseWheelEnabled},
        {"_x", Prop::X}, {"_y", Prop::Y}, {"_xscale", Prop::XScale}, {"_yscale", Prop::YScale},
        {"_rotation", Prop::Rotation}, {"_alpha", Prop::Alpha}, {"_visible", Prop::Visible},
        {"_width", Prop::Width}, {"_height", Prop::Height}, {"_name", Prop::Name}, {"_target", Prop::Target},
        {"_parent", Prop::Parent}, {"_xmouse", Prop::XMouse}, {"_ymouse", Prop::YMouse},
        {"_highquality", Prop::HighQuality}, {"_quality", Prop::Quality}, {"_url", Prop::Url},
        {"_focusrect", Prop::FocusRect}, {"_soundbuftime", Prop::SoundBufTime},
    };
    std::string key = case_sensitive ? name : avm1::FoldCase(name);
    for (const auto& [n, p] : table)
        if (key == (case_sensitive ? std::string(n) : avm1::FoldCase(n))) return p;
    return Prop::None;
}

double ScaleX(const Matrix& m) { return std::sqrt(m.a * m.a + m.b * m.b); }
double ScaleY(const Matrix& m) { return std::sqrt(m.c * m.c + m.d * m.d); }
double RotationOf(const Matrix& m) { return std::atan2(m.b, m.a) * 180 / kPi; }

void SetScaleRotation(Matrix& m, double sx, double sy, double degrees) {
    double r = degrees * kPi / 180;
    m.a = sx * std::cos(r);
    m.b = sx * std::sin(r);
    m.c = -sy * std::sin(r);
    m.d = sy * std::cos(r);
}

std::u16string Normalized(const std::string& text) {
    std::u16string out = avm1::Utf16FromUtf8(text);
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] == u'\r' && i + 1 < out.size() && out[i + 1] == u'\n') out.erase(i + 1, 1);
        if (out[i] == u'\n') out[i] = u'\r';
    }
    return out;
}

// Splits a variable path into the clip path and the name.
void SplitVariable(const std::string& path, std::string* target, std::string* name) {
    size_t cut = path.find_last_of(":.");
    if (cut == std::string::npos) {
        target->clear();
        *name = path;
        return;
    }
    *target = path.substr(0, cut);
    *name = path.substr(cut + 1);
}

}  // namespace

TextField::TextField(Player* player_, Clip* parent_, int depth_) : player(player_), parent(parent_), depth(depth_) {}

void TextField::TraceRefs(avm1::Tracer& tracer) { tracer.Mark(parent); }

Instance& TextField::Placement() {
    if (parent && !removed) {
        auto found = parent->children.find(depth);
        if (found != parent->children.end() && found->second.text == this) return found->second;
    }
    static Instance detached;
    detached = Instance{};
    return detached;
}

void TextField::Define(avm1::Vm& vm, const EditText& d, const Movie& owner) {
    movie = &owner;
    font_id = d.font;
    xmin = d.xmin, ymin = d.ymin, xmax = d.xmax, ymax = d.ymax;
    border = d.border;
    background = d.border;
    html = d.html;
    multiline = d.multiline;
    word_wrap = d.word_wrap;
    password = d.password;
    input = !d.read_only;
    selectable = d.selectable;
    embed_fonts = d.outlines;
    max_chars = d.max_length;
    variable = d.variable;
    auto_size = d.auto_size ? AutoSize::Left : AutoSize::None;
    new_format = DefaultTextFormat();
    const Character* font = owner.Find(d.font);
    if (font && font->font) {
        // Names may carry the terminator that DefineFont counts in their length.
        std::string name = font->font->name.substr(0, font->font->name.find('\0'));
        if (!name.empty()) new_format.font = name;
        new_format.bold = font->font->bold;
        new_format.italic = font->font->italic;
    }
    new_format.size = d.height / 20.0;
    new_format.color = static_cast<double>(d.color.r << 16 | d.color.g << 8 | d.color.b);
    static const char* aligns[] = {"left", "right", "center", "justify"};
    new_format.align = aligns[std::clamp(d.align, 0, 3)];
    new_format.left_margin = d.left_margin / 20.0;
    new_format.right_margin = d.right_margin / 20.0;
    new_format.indent = d.indent / 20.0;
    new_format.leading = d.leading / 20.0;
    initial = d.initial;
    if (d.html) SetHtmlText(vm, d.initial);
    else SetPlainText(vm, d.initial);
    BindVariable(vm);
}

void TextField::BindVariable(avm1::Vm& vm) {
    last_pushed.clear();
    if (variable.empty()) return;
    std::string target, name;
    SplitVariable(variable, &target, &name);
    avm1::Object* clip = target.empty() || !vm.host ? parent : vm.host->ResolveTarget(parent, target);
    if (clip && vm.Get(clip, name).IsUndefined()) {
        if (initial.empty()) return;
        if (html) SetHtmlText(vm, initial);
        else SetPlainText(vm, initial);
        PushVariable(vm);
    } else {
        PullVariable(vm);
    }
}

std::string TextField::PlainText() const { return avm1::Utf8FromUtf16(text.chars); }

void TextField::SetPlainText(avm1::Vm&, const std::string& value) {
    std::u16string chars = Normalized(value);
    text.Clear();
    text.Append(chars, new_format);
    Fit();
}

void TextField::SetHtmlText(avm1::Vm& vm, const std::string& value) {
    text = ParseHtml(value, new_format, multiline, condense_white, vm.version());
    Fit();
}

void TextField::PullVariable(avm1::Vm& vm) {
    if (variable.empty() || !parent || removed) return;
    std::string target, name;
    SplitVariable(variable, &target, &name);
    avm1::Object* clip = target.empty() || !vm.host ? parent : vm.host->ResolveTarget(parent, target);
    if (!clip) return;
    avm1::Value value = vm.Get(clip, name);
    if (value.IsUndefined()) return;
    std::string shown = vm.ToString(value);
    if (shown == last_pushed) return;
    last_pushed = shown;
    if (html) SetHtmlText(vm, shown);
    else SetPlainText(vm, shown);
}

void TextField::PushVariable(avm1::Vm& vm) {
    if (variable.empty() || !parent) return;
    std::string target, name;
    SplitVariable(variable, &target, &name);
    avm1::Object* clip = target.empty() || !vm.host ? parent : vm.host->ResolveTarget(parent, target);
    if (!clip) return;
    vm.Set(clip, name, avm1::Value(PlainText()));
    // What the variable holds now (a read-only one keeps its value, and the
    // field its text until the variable changes).
    avm1::Value now = vm.Get(clip, name);
    last_pushed = now.IsUndefined() ? PlainText() : vm.ToString(now);
}

TextLayout TextField::Laid() const {
    LayoutParams params;
    params.movie = movie;
    params.embedded = embed_fonts;
    params.font_id = font_id;
    params.box_width = xmax - xmin;
    params.word_wrap = word_wrap;
    params.password = password;
    return LayOutText(text, new_format, params);
}

double TextField::TextWidth() const {
    if (text.chars.empty()) return 0;
    return Laid().width;
}

double TextField::TextHeight() const {
    if (text.chars.empty()) return 0;
    return Laid().height;
}

int TextField::LineCount() const { return static_cast<int>(Laid().lines.size()); }

void TextField::Fit() {
    if (auto_size == AutoSize::None) return;
    double height = std::round(TextHeight() + 2 * kGutter);
    ymax = ymin + height;
    if (word_wrap) return;
    double width = std::round(TextWidth() + 2 * kGutter);
    if (auto_size == AutoSize::Left) {
        xmax = xmin + width;
    } else if (auto_size == AutoSize::Right) {
        xmin = xmax - width;
    } else {
        double center = (xmin + xmax) / 2;
        xmin = std::round(center - width / 2);
        xmax = xmin + width;
    }
}

void TextField::Changed(avm1::Vm& vm) {
    avm1::Value handler = vm.Get(this, "onChanged");
    if (handler.IsObject() && handler.object->AsFunction()) vm.Call(handler, avm1::Value(this), {avm1::Value(this)});
}

bool TextField::GetVirtual(avm1::Vm& vm, const std::string& name, avm1::Value* out) {
    Prop prop = PropertyOf(name, vm.CaseSensitive());
    if (prop == Prop::None) return false;
    using avm1::Value;
    Instance& placed = Placement();
    const Matrix& m = placed.matrix;
    auto round20 = [](double twips) { return std::round(twips) / 20.0; };
    auto lines = [&] { return LineCount(); };
    switch (prop) {
    case Prop::Text:
        PullVariable(vm);
        *out = Value(PlainText());
        return true;
    case Prop::HtmlText:
        PullVariable(vm);
        *out = Value(html ? PrintHtml(text) : PlainText());
        return true;
    case Prop::Html: *out = Value(html); return true;
    case Prop::Length:
        PullVariable(vm);
        *out = Value(static_cast<double>(text.chars.size()));
        return true;
    case Prop::Multiline: *out = Value(multiline); return true;
    case Prop::WordWrap: *out = Value(word_wrap); return true;
    case Prop::AutoSize: {
        static const char* names[] = {"none", "left", "center", "right"};
        *out = Value(names[static_cast<int>(auto_size)]);
        return true;
    }
    case Prop::Border: *out = Value(border); return true;
    case Prop::BorderColor: *out = Value(static_cast<double>(border_color)); return true;
    case Prop::Background: *out = Value(background); return true;
    case Prop::BackgroundColor: *out = Value(static_cast<double>(background_color)); return true;
    case Prop::TextColor: *out = Value(new_format.color.value_or(0)); return true;
    case Prop::Selectable: *out = Value(selectable); return true;
    case Prop::Type: *out = Value(input ? "input" : "dynamic"); return true;
    case Prop::MaxChars: *out = max_chars > 0 ? Value(max_chars) : Value::Null(); return true;
    case Prop::EmbedFonts: *out = Value(embed_fonts); return true;
    case Prop::Variable: *out = variable.empty() ? Value::Null() : Value(variable); return true;
    case Prop::Password: *out = Value(password); return true;
    case Prop::CondenseWhite: *out = Value(condense_white); return true;
    case Prop::TextWidth: *out = Value(std::floor(TextWidth() / 20)); return true;
    case Prop::TextHeight: *out = Value(std::floor(TextHeight() / 20)); return true;
    case Prop::Scroll: *out = Value(scroll); return true;
    case Prop::MaxScroll:
    case Prop::BottomScroll: {
        // Lines that fit in the box, from the first line shown.
        std::vector<double> heights;
        int count = lines();
        double line_height = count > 0 ? TextHeight() / count : 1;
        int visible = std::max(1, static_cast<int>((ymax - ymin - 2 * kGutter) / std::max(line_height, 1.0)));
        if (prop == Prop::MaxScroll) *out = Value(std::max(1, count - visible + 1));
        else *out = Value(std::min(count, scroll + visible - 1));
        return true;
    }
    case Prop::HScroll: *out = Value(hscroll); return true;
    case Prop::MaxHScroll: *out = Value(0); return true;
    case Prop::MouseWheelEnabled: *out = Value(mouse_wheel_enabled); return true;
    case Prop::X: *out = Value(round20(m.tx + xmin)); return true;
    case Prop::Y: *out = Value(round20(m.ty + ymin)); return true;
    case Prop::XScale: *out = Value(ScaleX(m) * 100); return true;
    case Prop::YScale: *out = Value(ScaleY(m) * 100); return true;
    case Prop::Rotation: *out = Value(RotationOf(m)); return true;
    case Prop::Alpha: *out = Value(placed.color.am * 100.0 / 256.0); return true;
    case Prop::Visible: *out = Value(placed.visible); return true;
    case Prop::Width:
    case Prop::Height: {
        // Each corner lands on a whole twip before the box is measured.
        double xs[4], ys[4];
        const double cx[4] = {xmin, xmax, xmin, xmax}, cy[4] = {ymin, ymin, ymax, ymax};
        for (int k = 0; k < 4; ++k) xs[k] = std::round(m.X(cx[k], cy[k])), ys[k] = std::round(m.Y(cx[k], cy[k]));
        double w = *std::max_element(xs, xs + 4) - *std::min_element(xs, xs + 4);
        double h = *std::max_element(ys, ys + 4) - *std::min_element(ys, ys + 4);
        *out = Value(round20(prop == Prop::Width ? w : h));
        return true;
    }
    case Prop::Name: *out = Value(placed.name); return true;
    case Prop::Target: *out = Value(vm.host ? vm.host->SlashPath(this) : std::string()); return true;
    case Prop::Parent: *out = parent ? Value(static_cast<avm1::Object*>(parent)) : Value(); return true;
    case Prop::XMouse:
    case Prop::YMouse: {
        Matrix to_stage = parent ? Multiply(player->StageMatrix(*parent), m) : m;
        auto inverse = Inverse(to_stage);
        double x = player->mouse_x, y = player->mouse_y;
        if (inverse) x = inverse->X(player->mouse_x, player->mouse_y), y = inverse->Y(player->mouse_x, player->mouse_y);
        *out = Value(round20(prop == Prop::XMouse ? x : y));
        return true;
    }
    case Prop::HighQuality: *out = Value(1); return true;
    case Prop::Quality: *out = Value("HIGH"); return true;
    case Prop::Url: *out = Value(""); return true;
    case Prop::FocusRect: *out = Value::Null(); return true;
    case Prop::SoundBufTime: *out = Value(5); return true;
    case Prop::None: break;
    }
    return false;
}

bool TextField::SetVirtual(avm1::Vm& vm, const std::string& name, const avm1::Value& value) {
    Prop prop = PropertyOf(name, vm.CaseSensitive());
    if (prop == Prop::None) return false;
    Instance& placed = Placement();
    Matrix& m = placed.matrix;
    double n = vm.ToNumber(value);
    bool valid = std::isfinite(n);
    auto color = [&] { return static_cast<uint32_t>(avm1::ToInt32(n)) & 0xFFFFFF; };
    switch (prop) {
    case Prop::Text:
        SetPlainText(vm, vm.ToString(value));
        PushVariable(vm);
        break;
    case Prop::HtmlText:
        if (html) SetHtmlText(vm, vm.ToString(value));
        else SetPlainText(vm, vm.ToString(value));
        PushVariable(vm);
        break;
    case Prop::Html: html = vm.ToBoolean(value); break;
    case Prop::Multiline: multiline = vm.ToBoolean(value); break;
    case Prop::WordWrap: word_wrap = vm.ToBoolean(value); Fit(); break;
    case Prop::AutoSize: {
        AutoSize size = AutoSize::None;
        if (value.IsBoolean()) size = value.boolean ? AutoSize::Left : AutoSize::None;
        else {
            std::string s = avm1::FoldCase(vm.ToString(value));
            if (s == "left") size = AutoSize::Left;
            else if (s == "center") size = AutoSize::Center;
            else if (s == "right") size = AutoSize::Right;
        }
        auto_size = size;
        Fit();
        break;
    }
    case Prop::Border: border = vm.ToBoolean(value); break;
    case Prop::BorderColor: if (valid) border_color = color(); break;
    case Prop::Background: background = vm.ToBoolean(value); break;
    case Prop::BackgroundColor: if (valid) background_color = color(); break;
    case Prop::TextColor:
        if (valid) {
            new_format.color = color();
            for (TextFormat& f : text.formats) f.color = color();
        }
        break;
    case Prop::Selectable: selectable = vm.ToBoolean(value); break;
    case Prop::Type: {
        std::string s = avm1::FoldCase(vm.ToString(value));
        if (s == "input") input = true;
        else if (s == "dynamic") input = false;
        break;
    }
    case Prop::MaxChars: max_chars = valid ? std::max(0, static_cast<int>(n)) : 0; break;
    case Prop::EmbedFonts: embed_fonts = vm.ToBoolean(value); break;
    case Prop::Variable:
        variable = value.IsUndefined() || value.IsNull() ? std::string() : vm.ToString(value);
        BindVariable(vm);
        break;
    case Prop::Password: password = vm.ToBoolean(value); break;
    case Prop::CondenseWhite: condense_white = vm.ToBoolean(value); break;
    case Prop::Scroll:
        if (valid) {
            avm1::Value max;
            GetVirtual(vm, "maxscroll", &max);
            scroll = std::clamp(static_cast<int>(n), 1, static_cast<int>(max.number));
            avm1::Value handler = vm.Get(this, "onScroller");
            if (handler.IsObject() && handler.object->AsFunction()) vm.Call(handler, avm1::Value(this), {avm1::Value(this)});
        }
        break;
    case Prop::HScroll: if (valid) hscroll = std::max(0, static_cast<int>(n)); break;
    case Prop::MouseWheelEnabled: mouse_wheel_enabled = vm.ToBoolean(value); break;
    case Prop::X: if (valid) m.tx = std::round(n * 20) - xmin; break;
    case Prop::Y: if (valid) m.ty = std::round(n * 20) - ymin; break;
    case Prop::XScale: if (valid) SetScaleRotation(m, n / 100, ScaleY(m), RotationOf(m)); break;
    case Prop::YScale: if (valid) SetScaleRotation(m, ScaleX(m), n / 100, RotationOf(m)); break;
    case Prop::Rotation: if (valid) SetScaleRotation(m, ScaleX(m), ScaleY(m), std::remainder(n, 360)); break;
    case Prop::Alpha: if (valid) placed.color.am = static_cast<int>(n * 256 / 100); break;
    case Prop::Visible: placed.visible = vm.ToBoolean(value); break;
    // The box takes the size as given, whatever the field's scale.
    case Prop::Width:
        if (valid && n >= 0) xmax = xmin + std::round(n * 20);
        break;
    case Prop::Height:
        if (valid && n >= 0) ymax = ymin + std::round(n * 20);
        break;
    case Prop::Name: placed.name = vm.ToString(value); break;
    default: return true;   // read-only
    }
    placed.scripted = true;
    return true;
}

TextField* CreateTextField(avm1::Vm& vm, Clip& parent, const std::string& name, int depth, double x, double y,
                           double width, double height) {
    static const Character empty_field = [] {
        Character c;
        c.edit_text = std::make_shared<EditText>();
        return c;
    }();
    auto existing = parent.children.find(depth);
    if (existing != parent.children.end()) {
        if (existing->second.clip) existing->second.clip->removed = true;
        if (existing->second.text) existing->second.text->removed = true;
        parent.children.erase(existing);
    }
    TextField* field = vm.heap.Make<TextField>(parent.player, &parent, depth);
    field->proto = vm.Proto("TextField");
    field->movie = parent.movie;
    field->input = false;
    field->xmax = std::round(std::fabs(width) * 20);
    field->ymax = std::round(std::fabs(height) * 20);
    Instance& instance = parent.children[depth];
    instance.definition = &empty_field;
    instance.name = name;
    instance.text = field;
    // A negative size reaches left of (or above) the given corner.
    instance.matrix.tx = std::round((x + std::min(width, 0.0)) * 20);
    instance.matrix.ty = std::round((y + std::min(height, 0.0)) * 20);
    return field;
}

void SyncTextFields(avm1::Vm& vm, Clip& clip) {
    std::vector<TextField*> fields;
    std::vector<Clip*> clips;
    for (auto& [depth, instance] : clip.children) {
        if (instance.text && !instance.text->variable.empty()) fields.push_back(instance.text);
        if (instance.clip) clips.push_back(instance.clip);
    }
    for (TextField* field : fields) field->PullVariable(vm);
    for (Clip* child : clips) SyncTextFields(vm, *child);
}

}  // namespace flash
