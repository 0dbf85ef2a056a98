// The parts shared by the LZHUF coder and decoder: the sizes of the ring
// and of the match lengths, the position code tables, and the adaptive
// Huffman tree whose shape both sides change in step after every symbol.
#pragma once

#include <cstdint>

namespace lzh {

constexpr int kRingSize = 4096;             // sliding dictionary
constexpr int kMaxMatch = 60;               // longest match
constexpr int kThreshold = 2;               // matches are longer than this
constexpr int kRingStart = kRingSize - kMaxMatch;  // first write position: 4036
constexpr int kSymbols = 256 - kThreshold + kMaxMatch;  // 314: bytes and lengths
constexpr int kNodes = kSymbols * 2 - 1;    // 627
constexpr int kRoot = kNodes - 1;           // 626
constexpr unsigned kMaxFrequency = 0x8000;  // root frequency that halves the tree

// Codes of the upper 6 bits of a match position: the code of value u is
// the top PositionCodeLength(u) bits of PositionCodeByte(u). Any byte b read
// from the stream starts the code of PositionFromByte(b).
struct PositionCodes {
    uint8_t code_byte[64];
    uint8_t code_length[64];
    uint8_t upper_of_byte[256];
    uint8_t length_of_byte[256];
};
const PositionCodes& GetPositionCodes();

// The adaptive Huffman tree of LZHUF. Node i's children are son[i] and
// son[i] + 1; a son of kNodes or more is the leaf of symbol son - kNodes.
// parent[] is indexed by node, and by kNodes + symbol for leaves.
class AdaptiveTree {
public:
    AdaptiveTree();
    // Counts one more occurrence of symbol c and keeps the tree in order.
    void Update(int c);
    // The same, given the nodes from the root down to c's leaf, which spare
    // the climb its parent look-ups until a node moves.
    void Update(int c, const int* path, int depth);

    static constexpr int kStride = 8;    // see Increment
    unsigned frequency[kNodes + kStride];  // sentinels after the nodes
    int parent[kNodes + kSymbols];
    int son[kNodes];

private:
    void Rebuild();
    int Increment(int node);
    void Climb(int node);
};

}  // namespace lzh
