// zlib inflation into memory, never past a stated output limit, from input
// held in memory or fed in pieces as it is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "swf/byte_reader.h"

struct z_stream_s;

namespace swf {

enum class InflateEnd {
    StreamEnd,    // the stream's end was reached
    InputEnded,   // the input ran out before the stream's end (a cut stream)
    LimitReached, // max_output bytes were produced; more may follow
    Corrupt,      // the data is not a valid zlib stream
};

// One zlib stream inflated from pieces of input, in order. The inflated
// bytes are appended to output, or only counted when output is null. Room
// reserved in output beforehand is filled in place; past it the output
// grows with what actually inflates, so a stream that claims much and holds
// little never makes a large allocation. How the input is cut into pieces
// never changes the result.
class Inflater {
public:
    Inflater(std::vector<uint8_t>* output, size_t max_output);
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // Inflates the next piece of input. Returns false once the stream has
    // ended (at its end, at the limit or at corrupt data): no more input is
    // wanted then.
    bool Feed(Bytes piece);
    // Cuts output back to the bytes inflated (it may hold more while the
    // stream is fed) and says how the stream ended: a stream still wanting
    // input ended with its input, or at the limit when max_output bytes were
    // produced.
    InflateEnd Finish();
    size_t Produced() const { return produced_; }

private:
    std::unique_ptr<z_stream_s> stream_;
    std::vector<uint8_t>* output_;
    size_t base_size_;  // the bytes output held before
    size_t max_output_;
    size_t produced_ = 0;
    bool ended_ = false;
    bool filled_ = false;  // the last call filled the output up to the limit
    InflateEnd end_ = InflateEnd::InputEnded;
};

// Appends the inflated bytes of input to output, at most max_output of them.
InflateEnd Inflate(Bytes input, size_t max_output, std::vector<uint8_t>& output);

// How input would end if inflated by Inflate, without keeping the bytes.
InflateEnd InflateCheck(Bytes input, size_t max_output);

}  // namespace swf
