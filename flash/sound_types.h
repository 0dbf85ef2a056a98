// The sounds of a movie as the engine keeps them: event sounds (DefineSound),
// the sound info that starts them (StartSound, button sounds), and a
// timeline's stream sound (SoundStreamHead and its SoundStreamBlock tags).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace flash {

// Sound formats of the SWF flag byte.
enum SoundCodec {
    kSoundPcmNative = 0,     // uncompressed, written in the byte order of the maker (little-endian)
    kSoundAdpcm = 1,
    kSoundMp3 = 2,
    kSoundPcmLittle = 3,
    kSoundNelly16k = 4,
    kSoundNelly8k = 5,
    kSoundNelly = 6,
    kSoundALaw = 7,          // G.711 A-law
    kSoundMuLaw = 8,         // G.711 µ-law
    kSoundSpeex = 11,
};

struct SoundFormat {
    int codec = kSoundPcmLittle;
    int rate_code = 3;       // 0 5.5 kHz, 1 11 kHz, 2 22 kHz, 3 44 kHz
    bool sixteen_bit = true;
    bool stereo = false;

    // Samples per second; the "5.5 kHz" rate is exactly an eighth of 44.1 kHz.
    double Rate() const { return 44100.0 / (1 << (3 - (rate_code & 3))); }
    int Channels() const { return stereo ? 2 : 1; }
};

// The flag byte of DefineSound and the stream heads.
SoundFormat ParseSoundFormat(uint8_t flags);

// DefineSound: the coded data as stored (for MP3 without the leading
// 16-bit seek count, which is kept apart).
struct Sound {
    SoundFormat format;
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
    SoundFormat format;
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
