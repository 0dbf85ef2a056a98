// Color: reads and sets the colour transform of the clip it targets.
#include "flash/avm1/classes/class_helpers.h"
#include "flash/player.h"

#include <cmath>

namespace flash::avm1 {

namespace {

// The clip the Color object was made for (a clip or a target path).
Clip* TargetOf(Vm& vm, Object* self) {
    if (!self) return nullptr;
    Property* target = self->FindOwn("target", true);
    if (!target) return nullptr;
    // Anything but a clip is read as a target path each time it is used.
    const Value v = target->value;
    if (v.IsObject() && v.object->AsClip()) return v.object->AsClip();
    if (v.IsNullish() || !vm.host) return nullptr;
    Object* found = vm.host->ResolveTarget(vm.host->RootClip(), vm.ToString(v));
    return found ? found->AsClip() : nullptr;
}

Value Construct(Vm& vm, Object* self, Args& args) {
    if (self) self->Define("target", Arg(args, 0), kDontEnum | kDontDelete | kReadOnly);
    (void)vm;
    return Value();
}

Value SetRgb(Vm& vm, Object* self, Args& args) {
    Clip* clip = TargetOf(vm, self);
    if (!clip || args.empty()) return Value();
    uint32_t rgb = static_cast<uint32_t>(ToInt32(vm.ToNumber(args[0])));
    Instance& placed = clip->Placement();
    ColorTransform& c = placed.color;
    c.rm = c.gm = c.bm = 0;
    c.ra = (rgb >> 16) & 0xFF, c.ga = (rgb >> 8) & 0xFF, c.ba = rgb & 0xFF;
    placed.scripted = true;
    return Value();
}

Value GetRgb(Vm& vm, Object* self, Args&) {
    Clip* clip = TargetOf(vm, self);
    if (!clip) return Value();
    const ColorTransform& c = clip->Placement().color;
    return Value(static_cast<double>(((c.ra & 0xFF) << 16) | ((c.ga & 0xFF) << 8) | (c.ba & 0xFF)));
}

Value GetTransform(Vm& vm, Object* self, Args&) {
    Clip* clip = TargetOf(vm, self);
    if (!clip) return Value();
    const ColorTransform& c = clip->Placement().color;
    Object* out = vm.MakeObject();
    vm.Set(out, "ra", Value(c.rm * 100.0 / 256));
    vm.Set(out, "rb", Value(c.ra));
    vm.Set(out, "ga", Value(c.gm * 100.0 / 256));
    vm.Set(out, "gb", Value(c.ga));
    vm.Set(out, "ba", Value(c.bm * 100.0 / 256));
    vm.Set(out, "bb", Value(c.ba));
    vm.Set(out, "aa", Value(c.am * 100.0 / 256));
    vm.Set(out, "ab", Value(c.aa));
    return Value(out);
}

Value SetTransform(Vm& vm, Object* self, Args& args) {
    Clip* clip = TargetOf(vm, self);
    if (!clip || args.empty() || !args[0].IsObject()) return Value();
    Object* in = args[0].object;
    Instance& placed = clip->Placement();
    ColorTransform& c = placed.color;
    // Only the object's own properties count: values its prototypes
    // offer are passed over.
    auto take = [&](const char* name, int& member, bool percent) {
        if (!in->FindOwn(name, vm.CaseSensitive())) return;
        Value v = vm.Get(in, name);
        if (v.IsUndefined()) return;
        double n = vm.ToNumber(v);
        if (!std::isfinite(n)) n = 0;
        // Kept as 16-bit numbers, multipliers in 8.8 fixed point.
        member = static_cast<int16_t>(percent ? ToInt32(n * 256 / 100) : ToInt32(n));
    };
    take("ra", c.rm, true);
    take("rb", c.ra, false);
    take("ga", c.gm, true);
    take("gb", c.ga, false);
    take("ba", c.bm, true);
    take("bb", c.ba, false);
    take("aa", c.am, true);
    take("ab", c.aa, false);
    placed.scripted = true;
    return Value();
}

}  // namespace

void InstallColorClass(Vm& vm) {
    Object* proto = InstallClass(vm, vm.global, "Color", Construct);
    vm.AddMethod(proto, "setRGB", SetRgb);
    vm.AddMethod(proto, "getRGB", GetRgb);
    vm.AddMethod(proto, "setTransform", SetTransform);
    vm.AddMethod(proto, "getTransform", GetTransform);
}

}  // namespace flash::avm1
