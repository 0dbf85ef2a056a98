#include "swf/byte_reader.h"

namespace swf {

void ByteReader::Need(uint64_t count) const {
    if (count > Remaining()) throw SwfDataError("the data ends too early");
}

uint8_t ByteReader::U8() {
    Align();
    Need(1);
    return data_[pos_++];
}

uint16_t ByteReader::U16() {
    Align();
    Need(2);
    uint16_t value = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return value;
}

uint32_t ByteReader::U32() {
    uint32_t low = U16();
    return low | (static_cast<uint32_t>(U16()) << 16);
}

void ByteReader::Skip(uint64_t count) {
    Align();
    Need(count);
    pos_ += static_cast<size_t>(count);
}

Bytes ByteReader::Take(uint64_t count) {
    Align();
    Need(count);
    Bytes part = data_.subspan(pos_, static_cast<size_t>(count));
    pos_ += static_cast<size_t>(count);
    return part;
}

std::string ByteReader::String() {
    std::string text;
    for (;;) {
        char c = static_cast<char>(U8());
        if (c == '\0') return text;
        text.push_back(c);
    }
}

uint32_t ByteReader::UB(int bits) {
    if (bits < 0 || bits > 32) throw SwfDataError("a bit field is wider than 32 bits");
    uint32_t value = 0;
    for (int i = 0; i < bits; ++i) {
        if (bit_count_ == 0) {
            Need(1);
            bit_buffer_ = data_[pos_++];
            bit_count_ = 8;
        }
        --bit_count_;
        value = (value << 1) | ((bit_buffer_ >> bit_count_) & 1u);
    }
    return value;
}

int32_t ByteReader::SB(int bits) {
    uint32_t value = UB(bits);
    if (bits > 0 && bits < 32 && (value & (1u << (bits - 1)))) value |= ~0u << bits;
    return static_cast<int32_t>(value);
}

Bytes Clamp(Bytes data, uint64_t pos, uint64_t count) {
    if (pos >= data.size()) return {};
    uint64_t available = data.size() - pos;
    if (count > available) count = available;
    return data.subspan(static_cast<size_t>(pos), static_cast<size_t>(count));
}

}  // namespace swf
