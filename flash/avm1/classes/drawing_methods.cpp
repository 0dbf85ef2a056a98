// The drawing methods of MovieClip (lineStyle, beginFill, moveTo, lineTo,
// curveTo...) and setMask.
#include "flash/avm1/classes/bitmap_pixels.h"
#include "flash/avm1/classes/class_helpers.h"
#include "flash/drawing.h"
#include "flash/player.h"
#include "flash/text_field.h"

#include <cmath>

namespace flash::avm1 {

namespace {

Drawing* DrawingOf(Object* self) {
    Clip* clip = self ? self->AsClip() : nullptr;
    if (!clip) return nullptr;
    if (!clip->drawing) clip->drawing = std::make_shared<Drawing>();
    return clip->drawing.get();
}

Rgba ColorOf(Vm& vm, const Value& rgb, const Value& alpha) {
    uint32_t c = static_cast<uint32_t>(ToInt32(vm.ToNumber(rgb)));
    double a = alpha.IsUndefined() ? 100 : vm.ToNumber(alpha);
    if (!std::isfinite(a)) a = 0;
    a = std::clamp(a, 0.0, 100.0);
    return Rgba{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c),
                static_cast<uint8_t>(a * 255 / 100)};
}

// Twips of a coordinate argument; nullopt when it is not a number.
std::optional<int32_t> Twips(Vm& vm, const Value& v) {
    double n = vm.ToNumber(v);
    if (!std::isfinite(n)) return std::nullopt;
    return static_cast<int32_t>(std::lround(std::clamp(n * 20, -2e9, 2e9)));
}

Value Clear(Vm&, Object* self, Args&) {
    if (Drawing* d = DrawingOf(self)) d->Clear();
    return Value();
}

Value BeginFill(Vm& vm, Object* self, Args& args) {
    Drawing* d = DrawingOf(self);
    if (!d) return Value();
    if (args.empty() || args[0].IsUndefined()) {
        d->BeginFill(std::nullopt);
        return Value();
    }
    FillStyle fill;
    fill.color = ColorOf(vm, args[0], Arg(args, 1));
    d->BeginFill(fill);
    return Value();
}

// Gradient stops and matrix of beginGradientFill and lineGradientStyle;
// false when the arguments do not make one.
bool ReadGradient(Vm& vm, const Args& args, FillStyle* fill) {
    if (args.size() < 5 || !args[1].IsObject() || !args[2].IsObject() || !args[3].IsObject() || !args[4].IsObject())
        return false;
    std::string type = vm.ToString(args[0]);
    if (type == "linear") fill->kind = FillKind::LinearGradient;
    else if (type == "radial") fill->kind = FillKind::RadialGradient;
    else return false;
    Object* colors = args[1].object;
    Object* alphas = args[2].object;
    Object* ratios = args[3].object;
    int count = static_cast<int>(vm.ToNumber(vm.Get(colors, "length")));
    if (count <= 0 || count > 15) return false;
    for (int i = 0; i < count; ++i) {
        std::string key = std::to_string(i);
        GradientStop stop;
        stop.color = ColorOf(vm, vm.Get(colors, key), vm.Get(alphas, key));
        double ratio = vm.ToNumber(vm.Get(ratios, key));
        stop.ratio = static_cast<uint8_t>(std::isfinite(ratio) ? std::clamp(ratio, 0.0, 255.0) : 0);
        fill->stops.push_back(stop);
    }
    Object* m = args[4].object;
    auto number = [&](const char* name) {
        double n = vm.ToNumber(vm.Get(m, name));
        return std::isfinite(n) ? n : 0.0;
    };
    if (vm.ToString(vm.Get(m, "matrixType")) == "box") {
        fill->matrix = GradientBox(number("x"), number("y"), number("w"), number("h"), number("r"));
    } else if (vm.Get(m, "tx").IsNumber()) {
        // A flash.geom.Matrix.
        fill->matrix.a = number("a"), fill->matrix.b = number("b");
        fill->matrix.c = number("c"), fill->matrix.d = number("d");
        fill->matrix.tx = number("tx") * 20, fill->matrix.ty = number("ty") * 20;
    } else {
        // a b / d e / g h, the gradient square being 1638.4 pixels wide.
        fill->matrix.a = number("a"), fill->matrix.b = number("b");
        fill->matrix.c = number("d"), fill->matrix.d = number("e");
        fill->matrix.tx = number("g") * 20, fill->matrix.ty = number("h") * 20;
    }
    std::string spread = args.size() > 5 ? vm.ToString(args[5]) : "pad";
    fill->spread = spread == "reflect" ? 1 : spread == "repeat" ? 2 : 0;
    fill->linear_rgb = args.size() > 6 && vm.ToString(args[6]) == "linearRGB";
    if (args.size() > 7) {
        double focal = vm.ToNumber(args[7]);
        if (std::isfinite(focal) && focal != 0 && fill->kind == FillKind::RadialGradient) {
            fill->kind = FillKind::FocalGradient;
            // Kept in 8.8 fixed point, the way a shape record holds it.
            fill->focal = std::trunc(std::clamp(focal, -1.0, 1.0) * 256) / 256;
        }
    }
    return true;
}

Value BeginGradientFill(Vm& vm, Object* self, Args& args) {
    Drawing* d = DrawingOf(self);
    if (!d) return Value();
    FillStyle fill;
    if (ReadGradient(vm, args, &fill)) d->BeginFill(fill);
    else d->BeginFill(std::nullopt);
    return Value();
}

Value BeginBitmapFill(Vm& vm, Object* self, Args& args) {
    Drawing* d = DrawingOf(self);
    if (!d) return Value();
    if (args.empty() || !args[0].IsObject() || !BitmapDataPixels(args[0].object)) {
        d->BeginFill(std::nullopt);
        return Value();
    }
    FillStyle fill;
    fill.kind = FillKind::Bitmap;
    fill.bitmap_data = args[0].object;
    // The matrix maps bitmap pixels to the clip's pixels.
    Matrix pixels;
    if (args.size() > 1 && args[1].IsObject()) {
        Object* m = args[1].object;
        auto number = [&](const char* name, double fallback) {
            Value v = vm.Get(m, name);
            double n = v.IsUndefined() ? fallback : vm.ToNumber(v);
            return std::isfinite(n) ? n : fallback;
        };
        pixels.a = number("a", 1), pixels.b = number("b", 0), pixels.c = number("c", 0);
        pixels.d = number("d", 1), pixels.tx = number("tx", 0), pixels.ty = number("ty", 0);
    }
    fill.matrix = Matrix{pixels.a * 20, pixels.b * 20, pixels.c * 20, pixels.d * 20, pixels.tx * 20, pixels.ty * 20};
    fill.bitmap_repeats = args.size() > 2 ? vm.ToBoolean(args[2]) : true;
    fill.bitmap_smooth = args.size() > 3 && vm.ToBoolean(args[3]);
    d->BeginFill(fill);
    return Value();
}

Value LineStyle(Vm& vm, Object* self, Args& args) {
    Drawing* d = DrawingOf(self);
    if (!d) return Value();
    double thickness = args.empty() ? NAN : vm.ToNumber(args[0]);
    if (!std::isfinite(thickness)) {
        d->SetLine(std::nullopt);
        return Value();
    }
    flash::LineStyle line;
    line.width = static_cast<int>(std::lround(std::clamp(thickness, 0.0, 255.0) * 20));
    line.color = ColorOf(vm, Arg(args, 1), Arg(args, 2));
    // pixelHinting, noScale, capsStyle, jointStyle, miterLimit.
    if (args.size() > 4) {
        std::string scale = vm.ToString(args[4]);
        line.scale_x = scale != "none" && scale != "horizontal";
        line.scale_y = scale != "none" && scale != "vertical";
    }
    if (args.size() > 5) {
        std::string caps = vm.ToString(args[5]);
        line.start_cap = line.end_cap = caps == "none" ? LineCap::None : caps == "square" ? LineCap::Square : LineCap::Round;
    }
    if (args.size() > 6) {
        std::string joint = vm.ToString(args[6]);
        line.join = joint == "miter" ? LineJoin::Miter : joint == "bevel" ? LineJoin::Bevel : LineJoin::Round;
    }
    if (args.size() > 7) {
        double limit = vm.ToNumber(args[7]);
        line.miter_limit = std::isfinite(limit) ? std::clamp(limit, 1.0, 255.0) : 3;
    }
    d->SetLine(line);
    return Value();
}

Value LineGradientStyle(Vm& vm, Object* self, Args& args) {
    // The line in use is painted with the gradient from here on.
    Drawing* d = DrawingOf(self);
    if (!d) return Value();
    FillStyle fill;
    if (!ReadGradient(vm, args, &fill) || fill.stops.empty()) return Value();
    d->SetLineFill(fill);
    return Value();
}

Value MoveTo(Vm& vm, Object* self, Args& args) {
    Drawing* d = DrawingOf(self);
    if (!d || args.size() < 2) return Value();
    auto x = Twips(vm, args[0]), y = Twips(vm, args[1]);
    if (x && y) d->MoveTo(*x, *y);
    return Value();
}

Value LineTo(Vm& vm, Object* self, Args& args) {
    Drawing* d = DrawingOf(self);
    if (!d || args.size() < 2) return Value();
    auto x = Twips(vm, args[0]), y = Twips(vm, args[1]);
    if (x && y) d->LineTo(*x, *y);
    return Value();
}

Value CurveTo(Vm& vm, Object* self, Args& args) {
    Drawing* d = DrawingOf(self);
    if (!d || args.size() < 4) return Value();
    auto cx = Twips(vm, args[0]), cy = Twips(vm, args[1]), x = Twips(vm, args[2]), y = Twips(vm, args[3]);
    if (cx && cy && x && y) d->CurveTo(*cx, *cy, *x, *y);
    return Value();
}

Value EndFill(Vm&, Object* self, Args&) {
    if (Drawing* d = DrawingOf(self)) d->EndFill();
    return Value();
}

Value SetMask(Vm& vm, Object* self, Args& args) {
    Clip* clip = self ? self->AsClip() : nullptr;
    if (!clip || args.empty()) return Value();
    const Value& given = args[0];
    Clip* mask = nullptr;
    TextField* text = nullptr;
    if (given.IsObject()) {
        mask = given.object->AsClip();
        text = dynamic_cast<TextField*>(given.object);
        // Any other object leaves the mask as it was.
        if (!mask && !text) return Value(true);
    } else if (!given.IsNullish()) {
        // A target path, as seen from the clip's parent; a path that leads
        // nowhere leaves the mask as it was.
        Object* found = clip->parent ? clip->player->ResolveTarget(clip->parent, vm.ToString(given)) : nullptr;
        mask = found ? found->AsClip() : nullptr;
        if (!mask) return Value(true);
    }
    if (clip->mask) clip->mask->masking = false;
    if (clip->text_mask) clip->text_mask->masking = false;
    clip->mask = mask;
    clip->text_mask = text;
    if (mask) mask->masking = true;
    if (text) text->masking = true;
    return Value(true);
}

}  // namespace

void InstallDrawingMethods(Vm& vm) {
    Object* proto = vm.Proto("MovieClip");
    if (!proto) return;
    vm.AddMethod(proto, "clear", Clear);
    vm.AddMethod(proto, "beginFill", BeginFill);
    vm.AddMethod(proto, "beginGradientFill", BeginGradientFill);
    vm.AddMethod(proto, "beginBitmapFill", BeginBitmapFill);
    vm.AddMethod(proto, "lineStyle", LineStyle);
    vm.AddMethod(proto, "lineGradientStyle", LineGradientStyle);
    vm.AddMethod(proto, "moveTo", MoveTo);
    vm.AddMethod(proto, "lineTo", LineTo);
    vm.AddMethod(proto, "curveTo", CurveTo);
    vm.AddMethod(proto, "endFill", EndFill);
    vm.AddMethod(proto, "setMask", SetMask);
}

}  // namespace flash::avm1
