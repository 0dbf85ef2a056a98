// The state behind a Sound object: what the mixer needs to play it, and
// what the player's sound side keeps of the sound it plays.
#pragma once

#include "flash/avm1/vm.h"

#include <cstdint>
#include <memory>
#include <string>

namespace flash {
struct Pcm;
}

namespace flash::avm1 {

extern const char kSoundClass[];

// The volume and channel transform that every Sound object of one clip, or
// of the whole movie, shares: setVolume on one is what getVolume on the
// others reads.
class SoundChannel : public Object {
public:
    explicit SoundChannel(Object* owner);
    ~SoundChannel() override;
    void TraceRefs(Tracer& tracer) override { tracer.Mark(owner); }

    // The channel of a clip; nullptr for the whole movie's. Made when first
    // asked for, kept while a Sound object refers to it.
    static SoundChannel* Of(Vm& vm, Object* clip);
    // The channel if it exists, without making one.
    static SoundChannel* Find(const Vm& vm, const Object* clip);

    Object* owner;                   // the clip, or the global object for the whole movie
    int volume = 100;
    // Left and right input to left and right output, in percent.
    int ll = 100, lr = 0, rl = 0, rr = 100;
};

class SoundObject : public Object {
public:
    SoundObject(Object* prototype, SoundChannel* sound_channel) : Object(prototype), channel(sound_channel) {
        native_class = kSoundClass;
    }
    void TraceRefs(Tracer& tracer) override {
        tracer.Mark(target);
        tracer.Mark(channel);
    }

    Object* target = nullptr;        // the clip the sound belongs to (nullptr: the whole movie)
    SoundChannel* channel;           // never nullptr
    std::string linkage;             // attachSound's exported name
    bool attached = false;           // a sound is attached (or loaded)
    // The arguments of the last start(): seconds into the sound, and loops.
    double start_offset = 0;
    double start_loops = 1;
    // The name of the last stop(name).
    std::string stop_name;

    // Kept by the player's sound side: the DefineSound attached (0 none),
    // the sound loadSound brought (start plays it in preference), the
    // voice started last, and the position in milliseconds it stopped at.
    uint16_t sound = 0;
    std::shared_ptr<const Pcm> loaded;
    uint64_t voice = 0;
    double position_ms = 0;

    // loadSound: the file's bytes until they are delivered, and its size
    // once they are (-1 before).
    std::string load_data;
    bool load_streaming = false;
    double bytes_loaded = -1;
};

// Player integers as the reference converts them: truncated, and the
// lowest int32 for NaN and numbers out of range.
int32_t SoundInteger(double value);

}  // namespace flash::avm1
