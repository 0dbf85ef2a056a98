// The decoder against a plain one that does each step the simple way: a
// 4096-byte ring, one bit at a time from the top of the next byte, the
// tree walked by son[] and updated by climbing parent[]. Random code
// reaches every corner the encoder avoids: matches into the ring's
// unwritten start, overlapping matches, long runs of equal counts.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "skin/lzh.h"
#include "skin/lzh_tree.h"

namespace {

using namespace lzh;

std::vector<uint8_t> PlainUnpack(const std::vector<uint8_t>& source) {
    const uint32_t size = source[0] | (source[1] << 8) | (source[2] << 16) | (uint32_t{source[3]} << 24);
    size_t bit_pos = 32;
    auto bit = [&]() {
        const size_t byte = bit_pos / 8;
        const int value = byte < source.size() ? (source[byte] >> (7 - bit_pos % 8)) & 1 : 0;
        bit_pos++;
        return value;
    };
    const PositionCodes& codes = GetPositionCodes();
    auto tree = std::make_unique<AdaptiveTree>();
    std::vector<uint8_t> ring(kRingSize, 0), out;
    std::fill(ring.begin(), ring.begin() + kRingStart, ' ');
    int r = kRingStart;
    while (out.size() < size) {
        int node = tree->son[kRoot];
        while (node < kNodes) node = tree->son[node + bit()];
        const int c = node - kNodes;
        tree->Update(c);
        if (c < 256) {
            out.push_back(static_cast<uint8_t>(c));
            ring[r] = static_cast<uint8_t>(c);
            r = (r + 1) % kRingSize;
            continue;
        }
        int b = 0;
        for (int i = 0; i < 8; i++) b = (b << 1) | bit();
        const int upper = codes.upper_of_byte[b];
        for (int i = codes.length_of_byte[b] - 2; i > 0; i--) b = (b << 1) | bit();
        int from = (r - ((upper << 6) | (b & 0x3F)) - 1 + kRingSize) % kRingSize;
        for (int k = c - 255 + kThreshold; k > 0; k--) {
            out.push_back(ring[from]);
            ring[r] = ring[from];
            r = (r + 1) % kRingSize;
            from = (from + 1) % kRingSize;
        }
    }
    return out;
}

void ExpectSameAsPlain(const std::vector<uint8_t>& packed, const std::string& what) {
    std::vector<uint8_t> out;
    TLZH().Unpack(packed, out);
    EXPECT_TRUE(out == PlainUnpack(packed)) << what;
}

// Code written symbol by symbol: a symbol's bits are its leaf's places
// among its siblings, root first; a match adds its position code.
class CodeWriter {
public:
    void Symbol(int c) {
        std::vector<int> path;
        for (int node = tree_->parent[c + kNodes]; node != kRoot; node = tree_->parent[node])
            path.push_back(node - tree_->son[tree_->parent[node]]);
        for (size_t i = path.size(); i-- > 0;) Bit(path[i]);
        tree_->Update(c);
    }
    void Match(int length, int position) {
        Symbol(255 - kThreshold + length);
        const PositionCodes& codes = GetPositionCodes();
        const int upper = position >> 6;
        for (int i = 0; i < codes.code_length[upper]; i++) Bit((codes.code_byte[upper] >> (7 - i)) & 1);
        for (int i = 5; i >= 0; i--) Bit((position >> i) & 1);
    }
    std::vector<uint8_t> Packed(uint32_t size) const {
        std::vector<uint8_t> packed = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8), 0, 0};
        packed.insert(packed.end(), bytes_.begin(), bytes_.end());
        return packed;
    }

private:
    void Bit(int bit) {
        if (count_ % 8 == 0) bytes_.push_back(0);
        bytes_.back() |= static_cast<uint8_t>(bit << (7 - count_ % 8));
        count_++;
    }
    std::unique_ptr<AdaptiveTree> tree_ = std::make_unique<AdaptiveTree>();
    std::vector<uint8_t> bytes_;
    int count_ = 0;
};

}  // namespace

// The ring starts as 4036 spaces then 60 unwritten (zero) places, and the
// first byte out goes to the first zero place: the farthest match reads
// those zeros, the next one the spaces.
TEST(LzhDecoder, MatchesReachIntoTheStartingRing) {
    CodeWriter code;
    code.Match(60, 4095);
    code.Match(60, 4095);
    code.Symbol('x');
    code.Match(3, 0);
    std::vector<uint8_t> expected(60, 0);
    expected.insert(expected.end(), 60, ' ');
    expected.insert(expected.end(), 4, 'x');
    std::vector<uint8_t> out;
    TLZH().Unpack(code.Packed(124), out);
    EXPECT_EQ(out, expected);
    ExpectSameAsPlain(code.Packed(124), "starting ring");
}

TEST(LzhDecoder, RandomCodeDecodesAsThePlainDecoder) {
    std::mt19937 rng(99);
    for (int i = 0; i < 60; i++) {
        const uint32_t size = std::uniform_int_distribution<uint32_t>(1, 40000)(rng);
        std::vector<uint8_t> packed = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                                       static_cast<uint8_t>(size >> 16), 0};
        // Few distinct bytes make the tree lopsided, all of them level.
        const int alphabet = i % 3 == 0 ? 2 : 256;
        const size_t code = std::uniform_int_distribution<size_t>(1, 30000)(rng);
        for (size_t k = 0; k < code; k++)
            packed.push_back(static_cast<uint8_t>(std::uniform_int_distribution<int>(0, alphabet - 1)(rng) * 0x55));
        ExpectSameAsPlain(packed, "random code " + std::to_string(i));
    }
}

TEST(LzhDecoder, PackedDataDecodesAsThePlainDecoder) {
    std::mt19937 rng(5);
    std::vector<uint8_t> data;
    for (int piece = 0; data.size() < 400000; piece++) {
        const size_t size = std::uniform_int_distribution<size_t>(1, 30000)(rng);
        for (size_t k = 0; k < size; k++) {
            switch (piece % 3) {
            case 0: data.push_back(static_cast<uint8_t>(rng())); break;
            case 1: data.push_back(static_cast<uint8_t>(k / 97)); break;
            default: data.push_back(static_cast<uint8_t>("abcab"[k % 5])); break;
            }
        }
    }
    ExpectSameAsPlain(LzhPack(data), "mixed pieces");
}
