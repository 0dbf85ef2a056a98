#include "skin/lzh.h"

#include <cstring>
#include <memory>
#include <new>

#include "skin/lzh_tree.h"

using namespace lzh;

namespace {

// Bits most significant first from a 64-bit buffer that is filled a byte
// at a time once it runs dry; past the end of the code come zero bytes.
class BitReader {
public:
    BitReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    int Bit() {
        if (count_ == 0) Fill();
        const int bit = static_cast<int>(buffer_ >> 63);
        buffer_ <<= 1;
        count_--;
        return bit;
    }
    int Byte() {
        if (count_ < 8) Fill();
        const int byte = static_cast<int>(buffer_ >> 56);
        buffer_ <<= 8;
        count_ -= 8;
        return byte;
    }

private:
    void Fill() {
        while (count_ <= 56) {
            const uint64_t next = pos_ < size_ ? data_[pos_++] : 0;
            buffer_ |= next << (56 - count_);
            count_ += 8;
        }
    }

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    uint64_t buffer_ = 0;
    int count_ = 0;
};

// Walks from the root to a leaf, a bit a step, and counts the leaf's
// symbol along the path it took.
int DecodeSymbol(AdaptiveTree& tree, BitReader& bits) {
    int path[kNodes];
    int depth = 0;
    int node = kRoot;
    while (tree.son[node] < kNodes) {
        path[depth++] = node;
        node = tree.son[node] + bits.Bit();
    }
    path[depth++] = node;
    const int c = tree.son[node] - kNodes;
    tree.Update(c, path, depth);
    return c;
}

int DecodePosition(BitReader& bits) {
    const PositionCodes& codes = GetPositionCodes();
    int b = bits.Byte();
    const int upper = codes.upper_of_byte[b];
    for (int extra = codes.length_of_byte[b] - 2; extra > 0; extra--) b = (b << 1) + bits.Bit();
    return (upper << 6) | (b & 0x3F);
}

// A match copies from the output itself: the ring always holds the last
// 4096 bytes out. Within the first 4096 bytes a match may reach back
// before the output into the ring's starting bytes: ring places 4036 to
// 4095 (zero until written) come just before the 4036 spaces.
uint8_t StartByte(ptrdiff_t before_output) {
    return before_output < -(kRingSize - kMaxMatch) ? 0 : ' ';
}

// Copies `length` bytes from `distance` back in the output `out` to its
// byte n. A match may overlap what it writes; eight bytes at a time are
// safe when the distance is eight or more, and may write up to seven bytes
// past the match (the output has room for them, and later bytes overwrite
// them).
constexpr int kCopySlack = 7;

void CopyMatch(uint8_t* out, size_t n, size_t distance, int length) {
    uint8_t* to = out + n;
    if (distance > n) {
        for (int k = 0; k < length; k++) {
            const ptrdiff_t from = static_cast<ptrdiff_t>(n + k) - static_cast<ptrdiff_t>(distance);
            to[k] = from >= 0 ? out[from] : StartByte(from);
        }
        return;
    }
    const uint8_t* from = to - distance;
    if (distance < 8) {
        for (int k = 0; k < length; k++) to[k] = from[k];
        return;
    }
    for (int k = 0; k < length; k += 8) std::memcpy(to + k, from + k, 8);
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

    std::unique_ptr<AdaptiveTree> tree;
    try {
        tree = std::make_unique<AdaptiveTree>();
        target.resize(static_cast<size_t>(unpacked_size) + kMaxMatch + kCopySlack);
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    uint8_t* const out = target.data();

    BitReader bits(source.data() + 4, source.size() - 4);
    size_t n = 0;
    while (n < unpacked_size) {
        const int c = DecodeSymbol(*tree, bits);
        if (c < 256) {
            out[n++] = static_cast<uint8_t>(c);
            continue;
        }
        const size_t distance = DecodePosition(bits) + 1;
        const int length = c - 255 + kThreshold;
        CopyMatch(out, n, distance, length);
        n += length;
    }
    target.resize(n);
}
