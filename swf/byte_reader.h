// Bounds-checked little-endian reading over bytes held in memory: integers,
// fixed-point numbers, zero-terminated strings and the bit fields that
// RECT, MATRIX, CXFORM, shape and text records pack. Every read that would
// pass the end throws SwfDataError, so no reader of the format can ever look
// outside the movie's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace swf {

using Bytes = std::span<const uint8_t>;

// Raised for data that is truncated or malformed; the message says what.
// The one error of the format layer: the extractor and the engine both
// catch it.
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
    // All the bytes read over, and those from the read position on.
    Bytes Data() const { return data_; }
    Bytes Rest() const { return pos_ < data_.size() ? data_.subspan(pos_) : Bytes(); }

    // Byte reads start at a byte boundary: the bits left of a byte that bit
    // fields were read from are dropped.
    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int16_t S16() { return static_cast<int16_t>(U16()); }
    void Skip(uint64_t count);
    Bytes Take(uint64_t count);
    // A zero-terminated string; the terminator is consumed.
    std::string String();

    // Bit fields, most significant bit first, continuing in the byte the
    // last bit field ended in until Align or a byte read.
    void Align() { bit_count_ = 0; }
    uint32_t UB(int bits);
    int32_t SB(int bits);
    // A signed 16.16 fixed-point bit field, as a double.
    double FB(int bits) { return SB(bits) / 65536.0; }

private:
    void Need(uint64_t count) const;

    Bytes data_;
    size_t pos_;
    uint8_t bit_buffer_ = 0;
    int bit_count_ = 0;
};

// The bytes of data from offset pos on, at most count of them: a part that
// runs past the end is cut at the end, and a start past the end gives none.
Bytes Clamp(Bytes data, uint64_t pos, uint64_t count);

}  // namespace swf
