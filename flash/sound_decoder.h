// Turns the coded sounds of a movie into 16-bit PCM at their own rate:
// uncompressed 8 and 16 bit, ADPCM, G.711 A-law and µ-law and MP3.
// Nellymoser and Speex give silence of the right length.
#pragma once

#include "flash/sound_types.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace flash {

struct Pcm {
    double rate = 44100;
    int channels = 1;
    std::vector<int16_t> samples;   // channels interleaved

    size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

int16_t ALawSample(uint8_t code);
int16_t MuLawSample(uint8_t code);

// Appends the samples of one piece of coded data of a non-MP3 format to
// pcm (in its format's channel count); at most max_frames per channel.
void DecodePiece(const swf::SoundFlags& flags, const uint8_t* data, size_t size, size_t max_frames,
                 std::vector<int16_t>& pcm);

// A DefineSound, whole. MP3 gives the decoder's rate and channels.
Pcm DecodeSound(const Sound& sound);

// A stream, all its blocks one after the other; block_starts receives the
// frame of the PCM (sample per channel) at which each block begins.
Pcm DecodeStream(const StreamSound& stream, std::vector<size_t>& block_starts);

}  // namespace flash
