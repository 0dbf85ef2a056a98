// Sound: volume, pan and the channel transform of a clip's sounds, the
// name attachSound chose; start and stop go to the player's mixer through
// Vm::on_sound.
#include "flash/avm1/classes/sound_class.h"

#include "flash/avm1/classes/class_helpers.h"

#include <cmath>
#include <cstdlib>

namespace flash::avm1 {

const char kSoundClass[] = "Sound";

int32_t SoundInteger(double value) {
    if (std::isnan(value) || value >= 2147483648.0 || value < -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

namespace {

SoundObject* CastTo(Object* self) {
    return self && self->native_class == kSoundClass ? static_cast<SoundObject*>(self) : nullptr;
}

Value Construct(Vm& vm, Object*, Args& args) {
    auto* sound = vm.heap.Make<SoundObject>(vm.Proto("Sound"));
    Value target = Arg(args, 0);
    if (target.IsObject() && target.object->AsClip()) sound->target = target.object;
    return Value(static_cast<Object*>(sound));
}

void Notify(Vm& vm, SoundObject* sound, const char* action) {
    if (vm.on_sound) vm.on_sound(sound, action);
}

Value GetVolume(Vm&, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    return sound ? Value(sound->volume) : Value();
}

Value SetVolume(Vm& vm, Object* self, Args& args) {
    if (SoundObject* sound = CastTo(self)) {
        sound->volume = SoundInteger(vm.ToNumber(Arg(args, 0)));
        Notify(vm, sound, "volume");
    }
    return Value();
}

// The pan reads back from the left channel, or from the right one while
// the left is at full level.
int32_t PanOf(const SoundObject& sound) {
    if (sound.ll == 100) return static_cast<int32_t>(std::llabs(sound.rr) - 100);
    return static_cast<int32_t>(100 - std::llabs(sound.ll));
}

Value GetPan(Vm&, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    return sound ? Value(PanOf(*sound)) : Value();
}

Value SetPan(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    if (!sound) return Value();
    int64_t pan = SoundInteger(vm.ToNumber(Arg(args, 0)));
    sound->ll = pan >= 0 ? static_cast<int32_t>(100 - pan) : 100;
    sound->rr = pan >= 0 ? 100 : static_cast<int32_t>(100 + pan);
    sound->lr = sound->rl = 0;
    Notify(vm, sound, "volume");
    return Value();
}

Value GetTransform(Vm& vm, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    if (!sound) return Value();
    Object* out = vm.MakeObject();
    vm.Set(out, "ll", Value(sound->ll));
    vm.Set(out, "lr", Value(sound->lr));
    vm.Set(out, "rr", Value(sound->rr));
    vm.Set(out, "rl", Value(sound->rl));
    return Value(out);
}

Value SetTransform(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    Value transform = Arg(args, 0);
    if (!sound || !transform.IsObject()) return Value();
    struct Field {
        const char* name;
        int* slot;
    } fields[] = {{"ll", &sound->ll}, {"lr", &sound->lr}, {"rl", &sound->rl}, {"rr", &sound->rr}};
    for (const Field& field : fields)
        if (vm.Has(transform.object, field.name))
            *field.slot = ToInt32(vm.ToNumber(vm.Get(transform.object, field.name)));
    Notify(vm, sound, "volume");
    return Value();
}

Value AttachSound(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    if (!sound || args.empty()) return Value();
    sound->linkage = vm.ToString(args[0]);
    sound->attached = true;
    Notify(vm, sound, "attach");
    return Value();
}

Value Start(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    if (!sound) return Value();
    vm.Set(self, "__start_offset", Value(vm.ToNumber(Arg(args, 0))));
    vm.Set(self, "__start_loops", Value(vm.ToNumber(Arg(args, 1))));
    Notify(vm, sound, "start");
    return Value();
}

Value Stop(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    if (!sound) return Value();
    if (!args.empty()) sound->linkage = vm.ToString(args[0]);
    Notify(vm, sound, "stop");
    return Value();
}

// Without a mixer nothing is playing: the position is 0 once a sound is
// attached, and there is no duration to report.
Value GetPosition(Vm&, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    return sound && sound->attached ? Value(0) : Value();
}

Value GetDuration(Vm&, Object*, Args&) { return Value(); }

Value Nothing(Vm&, Object*, Args&) { return Value(); }

Value GetBytes(Vm&, Object* self, Args&) { return CastTo(self) ? Value(0) : Value(); }

void AddAccessor(Vm& vm, Object* prototype, const char* name, NativeFn getter) {
    Property& property = prototype->properties.Set(name, true);
    property.getter = vm.MakeNative(name, getter);
    property.setter = nullptr;
    property.flags = kDontEnum;
}

}  // namespace

void InstallSoundClass(Vm& vm) {
    Object* prototype = InstallClass(vm, vm.global, "Sound", Construct, Construct);
    vm.AddMethod(prototype, "getVolume", GetVolume);
    vm.AddMethod(prototype, "setVolume", SetVolume);
    vm.AddMethod(prototype, "getPan", GetPan);
    vm.AddMethod(prototype, "setPan", SetPan);
    vm.AddMethod(prototype, "getTransform", GetTransform);
    vm.AddMethod(prototype, "setTransform", SetTransform);
    vm.AddMethod(prototype, "attachSound", AttachSound);
    vm.AddMethod(prototype, "start", Start);
    vm.AddMethod(prototype, "stop", Stop);
    vm.AddMethod(prototype, "getPosition", GetPosition);
    vm.AddMethod(prototype, "getDuration", GetDuration);
    vm.AddMethod(prototype, "getBytesLoaded", GetBytes);
    vm.AddMethod(prototype, "getBytesTotal", GetBytes);
    vm.AddMethod(prototype, "loadSound", Nothing);
    vm.AddMethod(prototype, "setPosition", Nothing);
    AddAccessor(vm, prototype, "position", GetPosition);
    AddAccessor(vm, prototype, "duration", GetDuration);
}

}  // namespace flash::avm1
