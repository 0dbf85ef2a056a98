#include "flash/swf_bits.h"

namespace flash {

void SwfBits::Skip(size_t count) {
    Align();
    if (count > Remaining()) throw SwfFormatError("SWF data ends inside a record");
    pos_ += count;
}

uint8_t SwfBits::U8() {
    Align();
    if (pos_ >= size_) throw SwfFormatError("SWF data ends inside a record");
    return data_[pos_++];
}

uint16_t SwfBits::U16() {
    uint16_t low = U8();
    return static_cast<uint16_t>(low | (U8() << 8));
}

uint32_t SwfBits::U32() {
    uint32_t low = U16();
    return low | (static_cast<uint32_t>(U16()) << 16);
}

std::string SwfBits::String() {
    Align();
    std::string text;
    for (;;) {
        char c = static_cast<char>(U8());
        if (c == '\0') return text;
        text.push_back(c);
    }
}

uint32_t SwfBits::UB(int bits) {
    if (bits < 0 || bits > 32) throw SwfFormatError("bad bit field width");
    uint32_t value = 0;
    for (int i = 0; i < bits; ++i) {
        if (bit_count_ == 0) {
            if (pos_ >= size_) throw SwfFormatError("SWF data ends inside a record");
            bit_buffer_ = data_[pos_++];
            bit_count_ = 8;
        }
        --bit_count_;
        value = (value << 1) | ((bit_buffer_ >> bit_count_) & 1u);
    }
    return value;
}

int32_t SwfBits::SB(int bits) {
    uint32_t value = UB(bits);
    if (bits > 0 && bits < 32 && (value & (1u << (bits - 1)))) value |= ~0u << bits;
    return static_cast<int32_t>(value);
}

}  // namespace flash
