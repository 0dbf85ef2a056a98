// MovieClipLoader: loads a movie into a clip or level and tells its
// listeners (onLoadStart, onLoadProgress, onLoadComplete, onLoadInit,
// onLoadError) through its own broadcastMessage.
#include "flash/avm1/classes/class_helpers.h"
#include "flash/player.h"

#include <cmath>
#include <cstdlib>

namespace flash::avm1 {

namespace {

// The clip or level a loadClip target names: a clip, a path, or a level
// number; level is set (and nullptr returned) for levels with no clip yet.
Clip* TargetOf(Vm& vm, const Value& target, int* level) {
    *level = -1;
    if (target.IsObject()) return target.object->AsClip();
    if (target.IsNumber()) {
        if (!std::isfinite(target.number)) return nullptr;
        *level = static_cast<int>(target.number);
        Object* found = vm.host ? vm.host->ResolveTarget(nullptr, "_level" + std::to_string(*level)) : nullptr;
        return found ? found->AsClip() : nullptr;
    }
    std::string path = vm.ToString(target);
    std::string lower = FoldCase(path);
    if (lower.rfind("_level", 0) == 0 && lower.size() > 6 && lower.find('.') == std::string::npos) {
        *level = std::atoi(lower.c_str() + 6);
        if (vm.host)
            if (Object* found = vm.host->ResolveTarget(nullptr, path)) return found->AsClip();
        return nullptr;
    }
    Object* found = vm.host ? vm.host->ResolveTarget(nullptr, path) : nullptr;
    return found ? found->AsClip() : nullptr;
}

Player* PlayerOf(Vm& vm) {
    Object* root = vm.host ? vm.host->RootClip() : nullptr;
    Clip* clip = root ? root->AsClip() : nullptr;
    return clip ? clip->player : nullptr;
}

Value Construct(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    MakeBroadcaster(vm, self);
    vm.CallMethod(Value(self), "addListener", {Value(self)});
    return Value();
}

Value LoadClip(Vm& vm, Object* self, Args& args) {
    Player* player = PlayerOf(vm);
    if (!player || args.size() < 2) return Value(false);
    int level = -1;
    Clip* target = TargetOf(vm, args[1], &level);
    if (!target && level < 0) return Value(false);
    player->LoadInto(target, level, vm.ToString(args[0]), false, self);
    return Value(true);
}

Value UnloadClip(Vm& vm, Object*, Args& args) {
    Player* player = PlayerOf(vm);
    if (!player || args.empty()) return Value(false);
    int level = -1;
    Clip* target = TargetOf(vm, args[0], &level);
    if (!target && level < 0) return Value(false);
    player->LoadInto(target, level, "", false);
    return Value(true);
}

Value GetProgress(Vm& vm, Object*, Args& args) {
    Player* player = PlayerOf(vm);
    if (!player || args.empty()) return Value();
    if ((args[0].IsObject() && !args[0].object->AsClip()) || args[0].IsNullish()) return Value();
    int level = -1;
    Clip* target = TargetOf(vm, args[0], &level);
    Object* result = vm.MakeObject();
    if (target) {
        // A movie's own root counts the file as it came (compressed or not).
        double bytes = target->character == 0 && target->movie ? target->movie->stored_bytes
                                                                : player->MovieBytes(*target);
        vm.Set(result, "bytesLoaded", Value(bytes));
        vm.Set(result, "bytesTotal", Value(bytes));
    } else {
        vm.Set(result, "bytesLoaded", Value());
        vm.Set(result, "bytesTotal", Value());
    }
    return Value(result);
}

}  // namespace

void InstallMovieClipLoaderClass(Vm& vm) {
    Object* prototype = InstallClass(vm, vm.global, "MovieClipLoader", Construct);
    vm.AddMethod(prototype, "loadClip", LoadClip);
    vm.AddMethod(prototype, "unloadClip", UnloadClip);
    vm.AddMethod(prototype, "getProgress", GetProgress);
}

}  // namespace flash::avm1
