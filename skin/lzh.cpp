#include "skin/lzh.h"

#include <memory>
#include <new>

#include "skin/lzh_tree.h"

using namespace lzh;

namespace {

// Bits most significant first from a 16-bit buffer, refilled a byte at a
// time while it holds fewer than 9 bits; past the end come zero bytes.
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    int Bit() {
        Fill();
        const int bit = (buffer_ >> 15) & 1;
        buffer_ = (buffer_ << 1) & 0xFFFF;
        length_--;
        return bit;
    }
    int Byte() {
        Fill();
        const int byte = (buffer_ >> 8) & 0xFF;
        buffer_ = (buffer_ << 8) & 0xFFFF;
        length_ -= 8;
        return byte;
    }

private:
    void Fill() {
        while (length_ <= 8) {
            const unsigned next = pos_ < size_ ? data_[pos_++] : 0;
            buffer_ |= next << (8 - length_);
            length_ += 8;
        }
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    unsigned buffer_ = 0;
    int length_ = 0;
};

struct DecoderTables {
    AdaptiveTree tree;
    uint8_t ring[kRingSize + kMaxMatch - 1];
};

int DecodeSymbol(AdaptiveTree& tree, BitReader& bits) {
    int node = tree.son[kRoot];
    while (node < kNodes) node = tree.son[node + bits.Bit()];
    const int c = node - kNodes;
    tree.Update(c);
    return c;
}

int DecodePosition(BitReader& bits) {
    const PositionCodes& codes = GetPositionCodes();
    int b = bits.Byte();
    const int upper = codes.upper_of_byte[b];
    for (int extra = codes.length_of_byte[b] - 2; extra > 0; extra--) b = (b << 1) + bits.Bit();
    return (upper << 6) | (b & 0x3F);
}

}  // namespace

// What a stream can claim. Every symbol takes at least one bit and every
// position code at least nine, so one bit of honest code yields at most
// 60 / 10 = 6 bytes: 48 bytes a byte, plus the 59 bytes a final match may
// run over. A source cut short still decodes, from zero bits, so 64 KiB
// more are allowed for such a tail. Nothing beyond kMaxUnpackedSize is
// decoded. The check comes before anything is allocated.
bool UnpackedSizeIsPlausible(uint32_t unpacked_size, size_t source_size) {
    if (unpacked_size > kMaxUnpackedSize) return false;
    const uint64_t code_size = source_size >= 4 ? source_size - 4 : 0;
    return unpacked_size <= code_size * 48 + 64 * 1024;
}

void TLZH::Unpack(const std::vector<uint8_t>& source, std::vector<uint8_t>& target) {
    target.clear();
    if (source.size() < 4) throw ElzhException("LZH : the packed data is too short");
    const uint32_t unpacked_size =
        source[0] | (source[1] << 8) | (source[2] << 16) | (static_cast<uint32_t>(source[3]) << 24);
    if (!UnpackedSizeIsPlausible(unpacked_size, source.size()))
        throw ElzhException("LZH : the unpacked size is larger than the packed data can hold");

    std::unique_ptr<DecoderTables> tables;
    try {
        tables = std::make_unique<DecoderTables>();
        target.reserve(static_cast<size_t>(unpacked_size) + kMaxMatch);
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    AdaptiveTree& tree = tables->tree;
    uint8_t* ring = tables->ring;
    for (int i = 0; i < kRingStart; i++) ring[i] = ' ';
    int r = kRingStart;

    BitReader bits(source.data() + 4, source.size() - 4);
    while (target.size() < unpacked_size) {
        const int c = DecodeSymbol(tree, bits);
        if (c < 256) {
            target.push_back(static_cast<uint8_t>(c));
            ring[r] = static_cast<uint8_t>(c);
            r = (r + 1) & (kRingSize - 1);
            continue;
        }
        int from = (r - DecodePosition(bits) - 1) & (kRingSize - 1);
        for (int k = c - 255 + kThreshold; k > 0; k--) {
            const uint8_t byte = ring[from];
            target.push_back(byte);
            ring[r] = byte;
            r = (r + 1) & (kRingSize - 1);
            from = (from + 1) & (kRingSize - 1);
        }
    }
}
