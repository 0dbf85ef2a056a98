#include "swf/byte_reader.h"

namespace swf {

void ByteReader::Need(uint64_t count) const {
    if (count > Remaining()) throw SwfDataError("the data ends too early");
}

uint8_t ByteReader::U8() {
    Need(1);
    return data_[pos_++];
}

uint16_t ByteReader::U16() {
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
    Need(count);
    pos_ += static_cast<size_t>(count);
}

Bytes ByteReader::Take(uint64_t count) {
    Need(count);
    Bytes part = data_.subspan(pos_, static_cast<size_t>(count));
    pos_ += static_cast<size_t>(count);
    return part;
}

Bytes Clamp(Bytes data, uint64_t pos, uint64_t count) {
    if (pos >= data.size()) return {};
    uint64_t available = data.size() - pos;
    if (count > available) count = available;
    return data.subspan(static_cast<size_t>(pos), static_cast<size_t>(count));
}

}  // namespace swf
