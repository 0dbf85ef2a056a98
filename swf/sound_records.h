// The sound records: the flag byte of a sound's format, DefineSound, the
// head of a streamed sound (SoundStreamHead, SoundStreamHead2) and the data
// of its SoundStreamBlock tags.
#pragma once

#include <cstdint>

#include "swf/byte_reader.h"

namespace swf {

// The sound formats of the flag byte.
enum SoundCodec {
    kSoundPcmNative = 0,  // uncompressed, in the byte order of the maker (little-endian)
    kSoundAdpcm = 1,
    kSoundMp3 = 2,
    kSoundPcmLittle = 3,
    kSoundNelly16k = 4,
    kSoundNelly8k = 5,
    kSoundNelly = 6,
    kSoundALaw = 7,  // G.711 A-law
    kSoundMuLaw = 8,  // G.711 µ-law
    kSoundSpeex = 11,
};

// The flag byte of a sound: format (top 4 bits), rate, sample size, type.
struct SoundFlags {
    int format = 0;     // a SoundCodec
    int rate_code = 0;  // 0 5512 Hz, 1 11025 Hz, 2 22050 Hz, 3 44100 Hz
    bool sixteen_bit = false;
    bool stereo = false;

    int Channels() const { return stereo ? 2 : 1; }
};

SoundFlags ParseSoundFlags(uint8_t flags);
int SampleRate(int rate_code);

// DefineSound: sound id, flag byte, sample count, sound data.
struct EventSound {
    uint16_t id = 0;
    SoundFlags flags;
    uint32_t sample_count = 0;  // per channel
    Bytes data;                 // the sound data to the end of the tag
};

// Throws SwfDataError for a body that ends before its sound data.
EventSound ReadDefineSound(Bytes body);

// The samples of MP3 sound data of DefineSound, behind its 2-byte seek
// value. Throws SwfDataError for data shorter than that.
Bytes Mp3SoundSamples(Bytes data);

// SoundStreamHead and SoundStreamHead2: the playback and the stream flags,
// then the samples per block and, for MP3, a seek value; those last two are
// 0 when the tag ends before them.
struct StreamHead {
    SoundFlags playback;
    SoundFlags stream;
    uint16_t samples_per_block = 0;
    int16_t latency_seek = 0;
};

// Throws SwfDataError for a body of fewer than 2 bytes.
StreamHead ReadSoundStreamHead(Bytes body);

// The sample data of a SoundStreamBlock of a stream in the given format: MP3
// blocks begin with a 4-byte sample count and seek value that are left out;
// blocks of other formats are sample data whole.
Bytes StreamBlockSamples(Bytes block, const SoundFlags& stream);

}  // namespace swf
