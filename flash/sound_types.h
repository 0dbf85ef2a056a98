// The sounds of a movie as the engine keeps them: event sounds (DefineSound),
// the sound info that starts them (StartSound, button sounds), and a
// timeline's stream sound (SoundStreamHead and its SoundStreamBlock tags).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "swf/sound_records.h"

namespace flash {

// Samples per second of a sound's rate code; the "5.5 kHz" rate is exactly
// an eighth of 44.1 kHz.
inline double SoundRate(const swf::SoundFlags& flags) { return 44100.0 / (1 << (3 - (flags.rate_code & 3))); }

// DefineSound: the coded data as stored (for MP3 without the leading
// 16-bit seek count, which is kept apart).
struct Sound {
    swf::SoundFlags flags;
    uint32_t sample_count = 0;   // samples per channel, as the tag says
    int mp3_seek = 0;            // MP3 samples to skip at the start
    std::vector<uint8_t> data;
};

// A point of a sound envelope: at position (in 44.1 kHz samples from the
// start of the sound) the levels of the left and right channel, 32768 full.
struct SoundEnvelopePoint {
    uint32_t position = 0;
    uint16_t left = 32768, right = 32768;
};

// SOUNDINFO: how a sound is started.
struct SoundInfo {
    bool stop = false;            // stop the sound instead of starting it
    bool no_multiple = false;     // do not start it again while it plays
    bool has_in = false, has_out = false;
    uint32_t in = 0, out = 0;     // in and out points, in 44.1 kHz samples
    int loops = 1;
    std::vector<SoundEnvelopePoint> envelope;
};

// StartSound (by id) or StartSound2 (by class name) in a frame.
struct SoundStart {
    uint16_t sound = 0;
    std::string class_name;
    SoundInfo info;
};

// One SoundStreamBlock: the frame it lies in and its coded data (for MP3
// the frames after the sample count and seek count).
struct StreamBlock {
    int frame = 0;
    uint32_t sample_count = 0;    // MP3: samples the block's frames give
    std::vector<uint8_t> data;
};

struct StreamSound {
    swf::SoundFlags flags;
    int samples_per_block = 0;
    int latency_seek = 0;         // MP3: samples of decoder delay
    std::vector<StreamBlock> blocks;   // in frame order
};

// DefineButtonSound: the sounds of the four state changes (over up to idle,
// idle to over up, over up to over down, over down to over up); sound 0 none.
struct ButtonSounds {
    SoundStart changes[4];
};

}  // namespace flash
