// The state behind a Sound object: what the mixer needs to play it.
#pragma once

#include "flash/avm1/vm.h"

namespace flash::avm1 {

extern const char kSoundClass[];

class SoundObject : public Object {
public:
    explicit SoundObject(Object* prototype) : Object(prototype) { native_class = kSoundClass; }
    void TraceRefs(Tracer& tracer) override { tracer.Mark(target); }

    Object* target = nullptr;        // the clip the sound belongs to (nullptr: the whole movie)
    std::string linkage;             // attachSound's exported name
    bool attached = false;
    int volume = 100;
    // Left and right input to left and right output, in percent.
    int ll = 100, lr = 0, rl = 0, rr = 100;
};

// Player integers as the reference converts them: truncated, and the
// lowest int32 for NaN and numbers out of range.
int32_t SoundInteger(double value);

}  // namespace flash::avm1
