// Decoding of MPEG audio (the MP3 sounds of SWF movies) into 16-bit PCM.
// Natively libmpg123 does the work; the Windows build installs the
// platform's audio codec with SetMp3Decoder. Without a decoder, MP3 sounds
// are silent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace flash {

struct Mp3Pcm {
    int rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;   // channels interleaved
};

// Decodes a run of MPEG audio frames; false when nothing could be decoded.
using Mp3Decoder = bool (*)(const uint8_t* data, size_t size, Mp3Pcm& pcm);

void SetMp3Decoder(Mp3Decoder decoder);
bool DecodeMp3(const uint8_t* data, size_t size, Mp3Pcm& pcm);

}  // namespace flash
