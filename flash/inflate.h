// zlib inflation of data held in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace flash {

// Inflates a zlib stream into at most wanted bytes. The output grows only
// as the stream really produces bytes, so a length claimed by a damaged or
// hostile file costs nothing; a stream damaged part way gives what came
// before the damage, one damaged from the start gives nothing.
std::vector<uint8_t> Inflate(const uint8_t* data, size_t size, size_t wanted);

}  // namespace flash
