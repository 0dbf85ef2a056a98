// Decoder of the SWF ADPCM sound format into 16-bit PCM.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "swf/byte_reader.h"

namespace swf {

// Decodes one ADPCM sound data block (a 2-bit code size, then packets of 4096
// samples per channel: a 16-bit first sample and a 6-bit step index for each
// channel, then 4095 codes of 2 to 5 bits per channel, interleaved) and
// appends the samples, channels interleaved, to pcm. Stops at the end of the
// data or after max_frames samples per channel.
void DecodeAdpcm(Bytes data, int channels, size_t max_frames, std::vector<int16_t>& pcm);

}  // namespace swf
