// The display object properties scripts of version 8 and later see on a
// movie clip: opaqueBackground, scrollRect, cacheAsBitmap, transform and blendMode.
// They read and write the clip's placement, which the renderer draws.
#include "flash/avm1/classes/geom_helpers.h"
#include "flash/avm1/classes/transform_class.h"
#include "flash/avm1/vm.h"
#include "flash/player.h"

#include <array>
#include <cmath>

namespace flash {

namespace {

constexpr std::array<const char*, 14> kBlendNames = {"normal", "layer",      "multiply", "screen",  "lighten",
                                                     "darken", "difference", "add",      "subtract", "invert",
                                                     "alpha",  "erase",      "overlay",  "hardlight"};

bool Named(avm1::Vm& vm, const std::string& name, const char* wanted) {
    return vm.CaseSensitive() ? name == wanted : avm1::FoldCase(name) == avm1::FoldCase(wanted);
}

}  // namespace

bool Clip::GetDisplayProperty(avm1::Vm& vm, const std::string& name, avm1::Value* out) {
    if (movie->version < 8) return false;
    // The root has a transform too, and a new one is made at each read.
    if (Named(vm, name, "transform")) {
        *out = avm1::Value(avm1::MakeTransform(vm, this));
        return true;
    }
    if (!parent) return false;
    Instance& placed = Placement();
    if (Named(vm, name, "opaqueBackground")) {
        const Rgba& c = placed.background;
        *out = placed.has_background ? avm1::Value((c.r << 16) | (c.g << 8) | c.b) : avm1::Value::Null();
        return true;
    }
    if (Named(vm, name, "scrollRect")) {
        if (!placed.has_scroll_rect) {
            *out = avm1::Value();
            return true;
        }
        *out = avm1::Value(avm1::NewInstance(vm, "Rectangle",
                                             {avm1::Value(placed.scroll_x), avm1::Value(placed.scroll_y),
                                              avm1::Value(placed.scroll_width), avm1::Value(placed.scroll_height)}));
        return true;
    }
    if (Named(vm, name, "cacheAsBitmap")) {
        *out = avm1::Value(placed.cache_as_bitmap);
        return true;
    }
    if (Named(vm, name, "blendMode")) {
        size_t index = static_cast<size_t>(placed.blend_mode) - 1;
        *out = avm1::Value(kBlendNames[index < kBlendNames.size() ? index : 0]);
        return true;
    }
    return false;
}

bool Clip::SetDisplayProperty(avm1::Vm& vm, const std::string& name, const avm1::Value& value) {
    if (movie->version < 8) return false;
    // Another clip's transform copies its matrix and colour here.
    if (Named(vm, name, "transform")) {
        if (Clip* source = avm1::TransformedClip(value)) {
            Instance& placed = Placement();
            const Instance& from = source->Placement();
            placed.matrix = from.matrix;
            placed.color = from.color;
            placed.has_scale = false;
            placed.scripted = true;
        }
        return true;
    }
    if (!parent) return false;
    Instance& placed = Placement();
    if (Named(vm, name, "opaqueBackground")) {
        placed.has_background = !value.IsUndefined() && !value.IsNull();
        if (placed.has_background) {
            uint32_t rgb = static_cast<uint32_t>(vm.ToInt(value));
            placed.background = Rgba{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                     static_cast<uint8_t>(rgb), 255};
        }
        return true;
    }
    if (Named(vm, name, "scrollRect")) {
        placed.has_scroll_rect = false;
        if (value.IsObject()) {
            double x = avm1::NumberOf(vm, value.object, "x"), y = avm1::NumberOf(vm, value.object, "y");
            double w = avm1::NumberOf(vm, value.object, "width"), h = avm1::NumberOf(vm, value.object, "height");
            if (std::isfinite(x) && std::isfinite(y) && std::isfinite(w) && std::isfinite(h)) {
                placed.has_scroll_rect = true;
                placed.scroll_x = x, placed.scroll_y = y, placed.scroll_width = w, placed.scroll_height = h;
            }
        }
        return true;
    }
    if (Named(vm, name, "cacheAsBitmap")) {
        placed.cache_as_bitmap = vm.ToBoolean(value);
        return true;
    }
    if (Named(vm, name, "blendMode")) {
        if (value.IsString()) {
            std::string mode = vm.ToString(value);
            for (size_t i = 0; i < kBlendNames.size(); ++i)
                if (mode == kBlendNames[i]) placed.blend_mode = static_cast<BlendMode>(i + 1);
        } else {
            double n = vm.ToNumber(value);
            if (std::isfinite(n) && n >= 1 && n <= 14) placed.blend_mode = static_cast<BlendMode>(static_cast<int>(n));
        }
        return true;
    }
    return false;
}

}  // namespace flash
