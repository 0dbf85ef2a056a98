// MovieClip: timeline control, clips made and removed by scripts, depths,
// bounds and coordinates, dragging.
#include "flash/avm1/classes/bitmap_pixels.h"
#include "flash/avm1/classes/classes.h"
#include "flash/player.h"
#include "flash/text_field.h"

#include <algorithm>
#include <cmath>

namespace flash::avm1 {

namespace {

Clip* ClipOf(Object* self) { return self ? self->AsClip() : nullptr; }

// The display-list depth of a script depth (a number, not NaN), kept
// inside the range of depths.
int ListDepth(double depth) {
    return static_cast<int>(std::clamp(std::trunc(depth), -1073741824.0, kHighestScriptDepth + 1.0)) + kDepthOffset;
}

// Whether scripts may place a clip at the depth.
bool ScriptDepth(double depth) {
    double whole = std::trunc(depth);
    return whole >= -kDepthOffset && whole <= kHighestScriptDepth;
}

Value Play(Vm& vm, Object* self, Args&) {
    if (vm.host && ClipOf(self)) vm.host->SetPlaying(self, true);
    return Value();
}

Value Stop(Vm& vm, Object* self, Args&) {
    if (vm.host && ClipOf(self)) vm.host->SetPlaying(self, false);
    return Value();
}

// A frame by number, by label, or as "path:frame" on another clip; objects
// are read through their toString.
void GotoValue(Vm& vm, Object* self, const Value& frame, bool play) {
    if (!vm.host || !ClipOf(self)) return;
    Value value = frame.IsObject() ? Value(vm.ToString(frame)) : frame;
    if (value.IsString()) {
        std::string text = value.string;
        Object* clip = self;
        size_t colon = text.find_last_of(':');
        if (colon != std::string::npos) {
            clip = vm.host->ResolveTarget(self, text.substr(0, colon));
            text = text.substr(colon + 1);
            if (!clip) return;
        }
        double n = StringToNumber(text, false);
        if (std::isnan(n)) {
            vm.host->GotoLabel(clip, text, play);
            return;
        }
        int32_t index = FrameIndex(n);
        if (index >= 0) vm.host->GotoFrame(clip, index, play);
        return;
    }
    int32_t index = FrameIndex(vm.ToNumber(value));
    if (index >= 0) vm.host->GotoFrame(self, index, play);
}

Value GotoAndPlay(Vm& vm, Object* self, Args& args) {
    if (!args.empty()) GotoValue(vm, self, args[0], true);
    return Value();
}

Value GotoAndStop(Vm& vm, Object* self, Args& args) {
    if (!args.empty()) GotoValue(vm, self, args[0], false);
    return Value();
}

Value NextFrame(Vm& vm, Object* self, Args&) {
    if (vm.host && ClipOf(self)) vm.host->GotoFrame(self, vm.host->CurrentFrame(self) + 1, false);
    return Value();
}

Value PrevFrame(Vm& vm, Object* self, Args&) {
    if (vm.host && ClipOf(self)) vm.host->GotoFrame(self, vm.host->CurrentFrame(self) - 1, false);
    return Value();
}

// The init object argument at index, or nullptr.
Object* InitObject(const Args& args, size_t index) {
    return args.size() > index && args[index].IsObject() ? args[index].object : nullptr;
}

Value AttachMovie(Vm& vm, Object* self, Args& args) {
    Clip* parent = ClipOf(self);
    if (!parent || args.size() < 3) return Value();
    std::string symbol = vm.ToString(args[0]);
    std::string name = vm.ToString(args[1]);
    double depth = vm.ToNumber(args[2]);
    if (std::isnan(depth) || !ScriptDepth(depth)) return Value();
    const Movie* movie = parent->movie;
    uint16_t id = 0;
    for (const auto& [exported, character] : movie->exports)
        if (FoldCase(exported) == FoldCase(symbol)) id = character;
    if (!id) return Value();
    Clip* clip = parent->player->AttachClip(*parent, id, name, ListDepth(depth), InitObject(args, 3));
    return clip ? Value(static_cast<Object*>(clip)) : Value();
}

Value CreateEmptyMovieClip(Vm& vm, Object* self, Args& args) {
    Clip* parent = ClipOf(self);
    if (!parent || args.size() < 2) return Value();
    double depth = vm.ToNumber(args[1]);
    if (std::isnan(depth) || !ScriptDepth(depth)) return Value();
    Clip* clip = parent->player->CreateEmptyClip(*parent, vm.ToString(args[0]), ListDepth(depth));
    return clip ? Value(static_cast<Object*>(clip)) : Value();
}

Value DuplicateMovieClip(Vm& vm, Object* self, Args& args) {
    Clip* source = ClipOf(self);
    if (!source || args.size() < 2) return Value();
    double depth = vm.ToNumber(args[1]);
    if (std::isnan(depth) || !ScriptDepth(depth)) return Value();
    Clip* clip = source->player->DuplicateClip(*source, vm.ToString(args[0]), ListDepth(depth), InitObject(args, 2));
    return clip ? Value(static_cast<Object*>(clip)) : Value();
}

Value RemoveMovieClip(Vm& vm, Object* self, Args&) {
    // Applied to a text field, it removes the field.
    if (vm.host && self && (ClipOf(self) || dynamic_cast<TextField*>(self))) vm.host->RemoveClip(self);
    return Value();
}

Value GetDepth(Vm&, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    if (!clip) return Value();
    return Value(clip->depth - kDepthOffset);
}

Value GetNextHighestDepth(Vm&, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    if (!clip) return Value();
    int next = 0;
    if (!clip->children.empty()) next = std::max(0, clip->children.rbegin()->first - kDepthOffset + 1);
    return Value(next);
}

Value GetInstanceAtDepth(Vm& vm, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    if (!clip || args.empty()) return Value();
    double depth = vm.ToNumber(args[0]);
    if (std::isnan(depth)) return Value();
    auto found = clip->children.find(ListDepth(depth));
    if (found == clip->children.end() || !found->second.clip) return Value();
    return Value(static_cast<Object*>(found->second.clip));
}

Value SwapDepths(Vm& vm, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    if (!clip || !clip->parent || args.empty()) return Value();
    int depth;
    // A string names the clip to swap with, when there is one.
    Object* named = args[0].IsString() && vm.host ? vm.host->ResolveTarget(clip, args[0].string) : nullptr;
    if (named && named->AsClip()) {
        Clip* other = named->AsClip();
        if (other->parent != clip->parent) return Value();
        depth = other->depth;
    } else if (args[0].IsObject() && args[0].object->AsClip()) {
        Clip* other = args[0].object->AsClip();
        if (other->parent != clip->parent) return Value();
        depth = other->depth;
    } else if (auto* field = args[0].IsObject() ? dynamic_cast<TextField*>(args[0].object) : nullptr) {
        if (field->removed || field->parent != clip->parent) return Value();
        depth = field->depth;
    } else {
        // A number taken as a 32-bit integer, at a script depth;
        // undefined and depths outside are refused.
        if (args[0].IsUndefined()) return Value();
        int32_t n = vm.ToInt(args[0]);
        if (!ScriptDepth(n)) return Value();
        depth = n + kDepthOffset;
    }
    clip->player->SwapDepths(*clip, depth);
    return Value();
}

Value GetBytes(Vm&, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    if (!clip) return Value();
    return Value(static_cast<double>(clip->player->MovieBytes(*clip)));
}

Value LoadMovie(Vm& vm, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    if (clip && !args.empty()) clip->player->LoadInto(clip, -1, vm.ToString(args[0]), false);
    return Value();
}

Value UnloadMovie(Vm&, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    if (clip) clip->player->LoadInto(clip, -1, "", false);
    return Value();
}

Value LoadVariables(Vm& vm, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    if (clip && !args.empty()) clip->player->LoadInto(clip, -1, vm.ToString(args[0]), true);
    return Value();
}

// The clip whose space bounds are given in: a clip, or a target path
// resolved from this clip; nothing when the path names no clip.
Clip* BoundsTarget(Vm& vm, Clip* clip, const Value& arg) {
    if (arg.IsObject() && arg.object->AsClip()) return arg.object->AsClip();
    std::string path = vm.ToString(arg);
    if (path.empty() || !vm.host) return nullptr;
    Object* found = vm.host->ResolveTarget(clip, path);
    return found ? found->AsClip() : nullptr;
}

// Whether bounds are asked for as version 8 would: by code of version 8,
// or by code in a movie loaded under one of version 8 or later.
bool AskedAsVersion8(Vm& vm) {
    if (vm.version() >= 8) return true;
    Object* base = vm.running ? vm.running->base_clip : nullptr;
    Clip* code_clip = base ? base->AsClip() : nullptr;
    for (Clip* above = code_clip ? code_clip->parent : nullptr; above; above = above->parent)
        if (above->movie && above->movie->version >= 8) return true;
    return false;
}

Value GetBounds(Vm& vm, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    if (!clip) return Value();
    Clip* target = clip;
    if (!args.empty()) {
        target = BoundsTarget(vm, clip, args[0]);
        if (!target) return Value();
    }
    if (AskedAsVersion8(vm)) clip->player->single_precision_bounds = true;
    Object* result = vm.MakeObject();
    double x0, y0, x1, y1;
    if (!clip->player->ClipBounds(*clip, &x0, &y0, &x1, &y1)) {
        // Empty bounds are the largest twips value, 0x7FFFFFF.
        double empty = 134217727;
        if (target != clip && clip->player->single_precision_bounds) empty = static_cast<float>(empty);
        for (const char* name : {"xMin", "xMax", "yMin", "yMax"}) vm.Set(result, name, Value(empty / 20));
        return Value(result);
    }
    Matrix m;
    if (target != clip) {
        Matrix to_stage = clip->player->StageMatrix(*clip);
        auto from_stage = Inverse(clip->player->StageMatrix(*target));
        if (from_stage) m = Multiply(*from_stage, to_stage);
    }
    Box box = TransformBox(m, {x0, y0, x1, y1});
    auto round = [](double twips) { return std::round(twips) / 20.0; };
    vm.Set(result, "xMin", Value(round(box.xmin)));
    vm.Set(result, "xMax", Value(round(box.xmax)));
    vm.Set(result, "yMin", Value(round(box.ymin)));
    vm.Set(result, "yMax", Value(round(box.ymax)));
    return Value(result);
}

// Point conversions: the object's x and y are changed in place.
Value ConvertPoint(Vm& vm, Object* self, Args& args, bool to_global) {
    Clip* clip = ClipOf(self);
    if (!clip || args.empty() || !args[0].IsObject()) return Value();
    Object* point = args[0].object;
    double x = vm.ToNumber(vm.Get(point, "x")) * 20, y = vm.ToNumber(vm.Get(point, "y")) * 20;
    Matrix m = clip->player->StageMatrix(*clip);
    if (!to_global) {
        auto inverse = Inverse(m);
        if (!inverse) return Value();
        m = *inverse;
    }
    vm.Set(point, "x", Value(m.X(x, y) / 20));
    vm.Set(point, "y", Value(m.Y(x, y) / 20));
    return Value();
}

Value LocalToGlobal(Vm& vm, Object* self, Args& args) { return ConvertPoint(vm, self, args, true); }
Value GlobalToLocal(Vm& vm, Object* self, Args& args) { return ConvertPoint(vm, self, args, false); }

bool StageBounds(Clip* clip, double* x0, double* y0, double* x1, double* y1) {
    double a, b, c, d;
    if (!clip->player->ClipBounds(*clip, &a, &b, &c, &d)) return false;
    Box box = TransformBox(clip->player->WorldMatrix(*clip), {a, b, c, d});
    *x0 = box.xmin, *y0 = box.ymin, *x1 = box.xmax, *y1 = box.ymax;
    return true;
}

Value HitTest(Vm& vm, Object* self, Args& args) {
    Clip* clip = ClipOf(self);
    if (!clip || args.empty()) return Value(false);
    double x0, y0, x1, y1;
    if (!StageBounds(clip, &x0, &y0, &x1, &y1)) return Value(false);
    if (args.size() >= 2) {
        double x = vm.ToNumber(args[0]) * 20, y = vm.ToNumber(args[1]) * 20;
        if (args.size() >= 3 && vm.ToBoolean(args[2])) return Value(clip->player->HitsPoint(*clip, x, y, true));
        // The point is in the root's coordinates, the box on the stage.
        if (Clip* root = clip->player->RootClip()->AsClip()) {
            Matrix m = clip->player->WorldMatrix(*root);
            double sx = m.X(x, y), sy = m.Y(x, y);
            x = sx, y = sy;
        }
        return Value(x >= x0 && x <= x1 && y >= y0 && y <= y1);
    }
    Object* other = args[0].IsObject() ? args[0].object : nullptr;
    if (args[0].IsString() && args[0].string.empty()) return Value(false);
    if (args[0].IsString() && vm.host) other = vm.host->ResolveTarget(clip, args[0].string);
    Clip* target = other ? other->AsClip() : nullptr;
    if (!target) return Value(false);
    double u0, v0, u1, v1;
    if (!StageBounds(target, &u0, &v0, &u1, &v1)) return Value(false);
    return Value(x0 <= u1 && u0 <= x1 && y0 <= v1 && v0 <= y1);
}

Value StartDrag(Vm& vm, Object* self, Args& args) {
    if (!vm.host || !ClipOf(self)) return Value();
    bool lock = !args.empty() && vm.ToBoolean(args[0]);
    bool constrain = args.size() >= 5;
    double v[4] = {0, 0, 0, 0};
    for (int i = 0; constrain && i < 4; ++i) v[i] = vm.ToNumber(args[static_cast<size_t>(i) + 1]);
    vm.host->StartDrag(self, lock, constrain, v[0], v[1], v[2], v[3]);
    return Value();
}

Value StopDrag(Vm& vm, Object*, Args&) {
    if (vm.host) vm.host->StopDrag();
    return Value();
}

Value GetSwfVersion(Vm&, Object* self, Args&) {
    Clip* clip = ClipOf(self);
    return clip && clip->movie ? Value(clip->movie->version) : Value(-1);
}

Value GetUrl(Vm& vm, Object* self, Args& args) {
    if (!vm.host || args.empty()) return Value();
    std::string target = args.size() > 1 ? vm.ToString(args[1]) : "";
    vm.host->GetUrl(self, vm.ToString(args[0]), target, 0, false, false);
    return Value();
}

Value Nothing(Vm&, Object*, Args&) { return Value(); }

// attachBitmap(bitmapData, depth, pixelSnapping, smoothing)
Value AttachBitmap(Vm& vm, Object* self, Args& args) {
    Clip* parent = ClipOf(self);
    if (!parent || args.size() < 2 || !args[0].IsObject() || !BitmapDataPixels(args[0].object)) return Value();
    double depth = vm.ToNumber(args[1]);
    if (std::isnan(depth)) return Value();
    bool smoothing = args.size() > 3 && vm.ToBoolean(args[3]);
    parent->player->AttachBitmap(*parent, args[0].object, ListDepth(depth), smoothing);
    return Value();
}

}  // namespace

void InstallMovieClipClass(Vm& vm) {
    Object* proto = vm.MakeObject();
    Function* constructor = vm.MakeClass("MovieClip", Nothing, nullptr, proto);
    struct Method {
        const char* name;
        NativeFn fn;
    };
    const Method methods[] = {
        {"play", Play},
        {"stop", Stop},
        {"gotoAndPlay", GotoAndPlay},
        {"gotoAndStop", GotoAndStop},
        {"nextFrame", NextFrame},
        {"prevFrame", PrevFrame},
        {"attachMovie", AttachMovie},
        {"createEmptyMovieClip", CreateEmptyMovieClip},
        {"attachBitmap", AttachBitmap},
        {"duplicateMovieClip", DuplicateMovieClip},
        {"removeMovieClip", RemoveMovieClip},
        {"getDepth", GetDepth},
        {"getNextHighestDepth", GetNextHighestDepth},
        {"getInstanceAtDepth", GetInstanceAtDepth},
        {"swapDepths", SwapDepths},
        {"getBytesLoaded", GetBytes},
        {"getBytesTotal", GetBytes},
        {"getBounds", GetBounds},
        {"getRect", GetBounds},
        {"localToGlobal", LocalToGlobal},
        {"globalToLocal", GlobalToLocal},
        {"hitTest", HitTest},
        {"startDrag", StartDrag},
        {"stopDrag", StopDrag},
        {"getSWFVersion", GetSwfVersion},
        {"getURL", GetUrl},
        {"loadMovie", LoadMovie},
        {"unloadMovie", UnloadMovie},
        {"loadVariables", LoadVariables},
    };
    for (const Method& m : methods) vm.AddMethod(proto, m.name, m.fn);
    // Methods newer than SWF 5 are hidden from the code of older movies.
    const std::pair<const char*, uint16_t> newer[] = {
        {"getDepth", kVersion6},           {"createEmptyMovieClip", kVersion6}, {"getInstanceAtDepth", kVersion7},
        {"getNextHighestDepth", kVersion7},  {"attachBitmap", kVersion8},
        {"getRect", kVersion8},
    };
    for (const auto& [name, flag] : newer) proto->FindOwn(name, true)->version_flags = flag;
    vm.global->Define("MovieClip", Value(constructor));
    vm.protos["MovieClip"] = proto;
}

}  // namespace flash::avm1
