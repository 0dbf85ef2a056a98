// zlib inflation from memory into memory, never past a stated output limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "swf/byte_reader.h"

namespace swf {

enum class InflateEnd {
    StreamEnd,    // the stream's end was reached
    InputEnded,   // the input ran out before the stream's end (a cut stream)
    LimitReached, // max_output bytes were produced; more may follow
    Corrupt,      // the data is not a valid zlib stream
};

// Appends the inflated bytes of input to output, at most max_output of them.
// The output grows with what actually inflates, so a stream that claims much
// and holds little never makes a large allocation.
InflateEnd Inflate(Bytes input, size_t max_output, std::vector<uint8_t>& output);

}  // namespace swf
