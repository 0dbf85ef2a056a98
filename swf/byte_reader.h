// Bounds-checked little-endian reading over bytes held in memory. Every read
// that would pass the end throws SwfDataError, so no reader of the extractor
// can ever look outside the movie's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace swf {

using Bytes = std::span<const uint8_t>;

// Raised for data that is truncated or malformed; the message says what.
class SwfDataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ByteReader {
public:
    explicit ByteReader(Bytes data, size_t pos = 0) : data_(data), pos_(pos) {}

    size_t Pos() const { return pos_; }
    size_t Size() const { return data_.size(); }
    size_t Remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    void Skip(uint64_t count);
    Bytes Take(uint64_t count);

private:
    void Need(uint64_t count) const;

    Bytes data_;
    size_t pos_;
};

// The bytes of data from offset pos on, at most count of them: a part that
// runs past the end is cut at the end, and a start past the end gives none.
Bytes Clamp(Bytes data, uint64_t pos, uint64_t count);

}  // namespace swf
