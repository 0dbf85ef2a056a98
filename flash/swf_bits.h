// Bounds-checked reading of SWF data: little-endian integers, strings and the
// bit fields of records such as RECT, MATRIX and shape records. Every read
// past the end throws SwfFormatError, so a truncated tag can never be read
// beyond its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace flash {

class SwfFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SwfBits {
public:
    SwfBits(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    size_t Position() const { return pos_; }
    size_t Size() const { return size_; }
    size_t Remaining() const { return size_ - pos_; }
    const uint8_t* Here() const { return data_ + pos_; }

    void Align() { bit_count_ = 0; }
    void Skip(size_t count);

    uint8_t U8();
    uint16_t U16();
    uint32_t U32();
    int16_t S16() { return static_cast<int16_t>(U16()); }
    // Zero-terminated string; the terminator is consumed.
    std::string String();

    uint32_t UB(int bits);
    int32_t SB(int bits);
    // Signed 16.16 fixed-point field of the given width, as a double.
    double FB(int bits) { return SB(bits) / 65536.0; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    uint8_t bit_buffer_ = 0;
    int bit_count_ = 0;
};

}  // namespace flash
