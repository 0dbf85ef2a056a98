// Sound: volume, pan and the channel transform of a clip's sounds, the
// name attachSound chose, the MP3 file loadSound brought; start and stop go
// to the player's mixer through Vm::on_sound, which also answers where the
// sound is and how long it lasts.
#include "flash/avm1/classes/sound_class.h"

#include "flash/avm1/classes/class_helpers.h"

#include <cmath>
#include <cstdlib>
#include <unordered_map>

namespace flash::avm1 {

const char kSoundClass[] = "Sound";

namespace {

// The live channels by owner. A channel keeps its owner alive, so an
// owner's address names one channel until that channel is freed. Never
// destroyed: a heap freed late at exit still finds it.
std::unordered_map<const Object*, SoundChannel*>& Channels() {
    static auto* channels = new std::unordered_map<const Object*, SoundChannel*>;
    return *channels;
}

}  // namespace

SoundChannel::SoundChannel(Object* channel_owner) : owner(channel_owner) { Channels()[owner] = this; }

SoundChannel::~SoundChannel() {
    auto found = Channels().find(owner);
    if (found != Channels().end() && found->second == this) Channels().erase(found);
}

SoundChannel* SoundChannel::Find(const Vm& vm, const Object* clip) {
    auto found = Channels().find(clip ? clip : vm.global);
    return found != Channels().end() ? found->second : nullptr;
}

SoundChannel* SoundChannel::Of(Vm& vm, Object* clip) {
    SoundChannel* channel = Find(vm, clip);
    return channel ? channel : vm.heap.Make<SoundChannel>(clip ? clip : vm.global);
}

int32_t SoundInteger(double value) {
    if (std::isnan(value) || value >= 2147483648.0 || value < -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

namespace {

SoundObject* CastTo(Object* self) {
    return self ? static_cast<SoundObject*>(self->NativeOf(kSoundClass)) : nullptr;
}

Value Construct(Vm& vm, Object*, Args& args) {
    Value target = Arg(args, 0);
    Object* clip = target.IsObject() && target.object->AsClip() ? target.object : nullptr;
    auto* sound = vm.heap.Make<SoundObject>(vm.Proto("Sound"), SoundChannel::Of(vm, clip));
    sound->target = clip;
    return Value(static_cast<Object*>(sound));
}

double Notify(Vm& vm, SoundObject* sound, const char* request) {
    return vm.on_sound ? vm.on_sound(sound, request) : -1;
}

Value GetVolume(Vm&, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    return sound ? Value(sound->channel->volume) : Value();
}

Value SetVolume(Vm& vm, Object* self, Args& args) {
    if (SoundObject* sound = CastTo(self)) {
        sound->channel->volume = args.empty() ? 0 : SoundInteger(vm.ToNumber(args[0]));
        Notify(vm, sound, "volume");
    }
    return Value();
}

// The pan reads back from the left channel, or from the right one while
// the left is at full level.
int32_t PanOf(const SoundObject& sound) {
    if (sound.channel->ll == 100) return static_cast<int32_t>(std::llabs(sound.channel->rr) - 100);
    return static_cast<int32_t>(100 - std::llabs(sound.channel->ll));
}

Value GetPan(Vm&, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    return sound ? Value(PanOf(*sound)) : Value();
}

Value SetPan(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    if (!sound) return Value();
    int64_t pan = args.empty() ? 0 : SoundInteger(vm.ToNumber(args[0]));
    sound->channel->ll = pan >= 0 ? static_cast<int32_t>(100 - pan) : 100;
    sound->channel->rr = pan >= 0 ? 100 : static_cast<int32_t>(100 + pan);
    sound->channel->lr = sound->channel->rl = 0;
    Notify(vm, sound, "volume");
    return Value();
}

Value GetTransform(Vm& vm, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    if (!sound) return Value();
    Object* out = vm.MakeObject();
    vm.Set(out, "ll", Value(sound->channel->ll));
    vm.Set(out, "lr", Value(sound->channel->lr));
    vm.Set(out, "rr", Value(sound->channel->rr));
    vm.Set(out, "rl", Value(sound->channel->rl));
    return Value(out);
}

Value SetTransform(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    Value transform = Arg(args, 0);
    if (!sound || !transform.IsObject()) return Value();
    struct Field {
        const char* name;
        int* slot;
    } fields[] = {{"ll", &sound->channel->ll},
                  {"lr", &sound->channel->lr},
                  {"rl", &sound->channel->rl},
                  {"rr", &sound->channel->rr}};
    // Only the object's own fields count, not those of its prototypes.
    for (const Field& field : fields)
        if (transform.object->FindOwn(field.name, vm.CaseSensitive()))
            *field.slot = ToInt32(vm.ToNumber(vm.Get(transform.object, field.name)));
    Notify(vm, sound, "volume");
    return Value();
}

// The player's mixer finds the exported sound; without one any name is
// taken.
Value AttachSound(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    if (!sound || args.empty()) return Value();
    sound->linkage = vm.ToString(args[0]);
    bool found = !vm.on_sound || Notify(vm, sound, "attach") > 0;
    if (found) sound->attached = true;
    return Value();
}

Value Start(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    if (!sound) return Value();
    sound->start_offset = vm.ToNumber(Arg(args, 0));
    sound->start_loops = vm.ToNumber(Arg(args, 1));
    Notify(vm, sound, "start");
    return Value();
}

// stop(name) stops the sound exported under name; stop() every sound.
Value Stop(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    if (!sound) return Value();
    sound->stop_name = args.empty() ? "" : vm.ToString(args[0]);
    Notify(vm, sound, args.empty() ? "stop" : "stop name");
    return Value();
}

// Position and duration, in milliseconds, came with SWF 6. The position is
// 0 before the sound plays and stays where the sound ended; without a
// mixer nothing plays, and there is no duration to report.
Value GetPosition(Vm& vm, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    if (!sound || !sound->attached || vm.version() < 6) return Value();
    return Value(vm.on_sound ? Notify(vm, sound, "position") : 0.0);
}

Value GetDuration(Vm& vm, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    if (!sound || !sound->attached || vm.version() < 6 || !vm.on_sound) return Value();
    double duration = Notify(vm, sound, "duration");
    return duration >= 0 ? Value(duration) : Value();
}

Value Nothing(Vm&, Object*, Args&) { return Value(); }

// Bytes of the file loadSound brought; undefined until it arrives.
Value GetBytes(Vm&, Object* self, Args&) {
    SoundObject* sound = CastTo(self);
    return sound && sound->bytes_loaded >= 0 ? Value(sound->bytes_loaded) : Value();
}

// What a loadSound delivers on the next tick: the mixer decodes the file;
// a streaming sound starts at once; then onLoad(success).
Value DeliverSound(Vm& vm, Object*, Args& args) {
    Value target = Arg(args, 0);
    SoundObject* sound = target.IsObject() ? CastTo(target.object) : nullptr;
    if (!sound) return Value();
    double size = static_cast<double>(sound->load_data.size());
    bool ok = vm.ToBoolean(Arg(args, 1)) && size > 0 && Notify(vm, sound, "load") > 0;
    sound->load_data.clear();
    if (ok) {
        sound->attached = true;
        sound->bytes_loaded = size;
        if (sound->load_streaming) {
            sound->start_offset = 0;
            sound->start_loops = 1;
            Notify(vm, sound, "start");
        }
    }
    vm.CallMethod(target, "onLoad", {Value(ok)});
    return Value();
}

Value LoadSound(Vm& vm, Object* self, Args& args) {
    SoundObject* sound = CastTo(self);
    if (!sound || args.empty()) return Value();
    sound->bytes_loaded = -1;
    sound->load_data.clear();
    bool read = ReadLocalFile(vm, vm.ToString(args[0]), sound->load_data);
    sound->load_streaming = vm.ToBoolean(Arg(args, 1));
    ScheduleCall(vm, vm.MakeNative("", DeliverSound), {Value(self), Value(read)});
    return Value();
}

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
    vm.AddMethod(prototype, "loadSound", LoadSound);
    vm.AddMethod(prototype, "setPosition", Nothing);
    AddAccessor(vm, prototype, "position", GetPosition);
    AddAccessor(vm, prototype, "duration", GetDuration);
}

}  // namespace flash::avm1
