// Our LZHUF coder: greedy LZSS matching over hash chains, then the same
// adaptive Huffman tree as the decoder.
#include <algorithm>

#include "skin/lzh.h"
#include "skin/lzh_tree.h"

using namespace lzh;

namespace {

class BitWriter {
public:
    explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

    void Put(unsigned value, int count) {  // the low `count` bits, highest first
        while (count-- > 0) {
            buffer_ = (buffer_ << 1) | ((value >> count) & 1);
            if (++length_ == 8) {
                out_.push_back(static_cast<uint8_t>(buffer_));
                buffer_ = 0;
                length_ = 0;
            }
        }
    }
    void Flush() {  // the last byte is padded with zero bits
        if (length_) Put(0, 8 - length_);
    }

private:
    std::vector<uint8_t>& out_;
    unsigned buffer_ = 0;
    int length_ = 0;
};

void EncodeSymbol(AdaptiveTree& tree, BitWriter& out, int c) {
    // Walk from the leaf to the root; the bit of a node is its place among
    // its parent's two children. The bits go out root first.
    uint8_t path[kNodes];
    int depth = 0;
    for (int node = tree.parent[c + kNodes]; node != kRoot; node = tree.parent[node])
        path[depth++] = static_cast<uint8_t>(node - tree.son[tree.parent[node]]);
    while (depth > 0) out.Put(path[--depth], 1);
    tree.Update(c);
}

void EncodePosition(BitWriter& out, int position) {
    const PositionCodes& codes = GetPositionCodes();
    const int upper = position >> 6;
    const int length = codes.code_length[upper];
    out.Put(codes.code_byte[upper] >> (8 - length), length);
    out.Put(position & 0x3F, 6);
}

// Match finding over the text the decoder sees: the 4036 spaces the ring
// starts with, then the input. Matches reach back at most the ring size and
// never into the ring's unset tail.
class MatchFinder {
public:
    explicit MatchFinder(const uint8_t* data, size_t size) {
        text_.assign(kRingStart, ' ');
        text_.insert(text_.end(), data, data + size);
        head_.assign(kHashSize, -1);
        previous_.assign(kRingSize, -1);
    }
    size_t Size() const { return text_.size(); }

    void Insert(int64_t pos) {
        if (pos + 3 > static_cast<int64_t>(text_.size())) return;
        const unsigned h = Hash(pos);
        previous_[pos & (kRingSize - 1)] = head_[h];
        head_[h] = pos;
    }

    // Longest match for the text at `pos`: its length (0 when below 3) and
    // its distance back (1 to 4096).
    int Find(int64_t pos, int& distance) const {
        const int64_t limit = std::min<int64_t>(kMaxMatch, static_cast<int64_t>(text_.size()) - pos);
        if (limit <= kThreshold) return 0;
        int best = 0;
        int chain = kMaxChain;
        for (int64_t cand = head_[Hash(pos)]; cand >= 0 && pos - cand <= kRingSize && chain-- > 0;
             cand = previous_[cand & (kRingSize - 1)]) {
            int length = 0;
            while (length < limit && text_[cand + length] == text_[pos + length]) length++;
            if (length > best) {
                best = length;
                distance = static_cast<int>(pos - cand);
                if (best == limit) break;
            }
            if (previous_[cand & (kRingSize - 1)] >= cand) break;
        }
        return best > kThreshold ? best : 0;
    }

private:
    static constexpr unsigned kHashSize = 1 << 14;
    static constexpr int kMaxChain = 256;

    unsigned Hash(int64_t pos) const {
        return ((text_[pos] << 8) ^ (text_[pos + 1] << 4) ^ text_[pos + 2]) & (kHashSize - 1);
    }

    std::vector<uint8_t> text_;
    std::vector<int64_t> head_;
    std::vector<int64_t> previous_;
};

}  // namespace

std::vector<uint8_t> LzhPack(const uint8_t* data, size_t size) {
    if (size > kMaxUnpackedSize) throw ElzhException("LZH : the data is too large to pack");
    std::vector<uint8_t> out;
    for (int i = 0; i < 4; i++) out.push_back(static_cast<uint8_t>(size >> (8 * i)));

    AdaptiveTree tree;
    BitWriter bits(out);
    MatchFinder finder(data, size);
    for (int64_t pos = 0; pos < kRingStart; pos++) finder.Insert(pos);

    int64_t pos = kRingStart;
    const int64_t end = static_cast<int64_t>(finder.Size());
    while (pos < end) {
        int distance = 0;
        const int length = finder.Find(pos, distance);
        if (length == 0) {
            EncodeSymbol(tree, bits, data[pos - kRingStart]);
            finder.Insert(pos++);
            continue;
        }
        EncodeSymbol(tree, bits, 255 - kThreshold + length);
        EncodePosition(bits, distance - 1);
        for (int k = 0; k < length; k++) finder.Insert(pos++);
    }
    bits.Flush();
    return out;
}
