#include "skin/lzh_tree.h"

namespace lzh {

namespace {

// How many upper position values share each code length (3 to 8 bits);
// codes are handed out in increasing order.
struct CodeGroup {
    int values;
    int length;
};
constexpr CodeGroup kGroups[] = {{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}};

PositionCodes MakePositionCodes() {
    PositionCodes codes{};
    int upper = 0, first_byte = 0;
    for (const CodeGroup& group : kGroups) {
        for (int v = 0; v < group.values; v++, upper++) {
            const int span = 1 << (8 - group.length);
            codes.code_byte[upper] = static_cast<uint8_t>(first_byte);
            codes.code_length[upper] = static_cast<uint8_t>(group.length);
            for (int b = first_byte; b < first_byte + span; b++) {
                codes.upper_of_byte[b] = static_cast<uint8_t>(upper);
                codes.length_of_byte[b] = static_cast<uint8_t>(group.length);
            }
            first_byte += span;
        }
    }
    return codes;
}

}  // namespace

const PositionCodes& GetPositionCodes() {
    static const PositionCodes codes = MakePositionCodes();
    return codes;
}

AdaptiveTree::AdaptiveTree() {
    for (int i = 0; i < kSymbols; i++) {
        frequency[i] = 1;
        son[i] = i + kNodes;
        parent[i + kNodes] = i;
    }
    for (int i = 0, j = kSymbols; j <= kRoot; i += 2, j++) {
        frequency[j] = frequency[i] + frequency[i + 1];
        son[j] = i;
        parent[i] = parent[i + 1] = j;
    }
    for (int i = kNodes; i < kNodes + kStride; i++) frequency[i] = 0xFFFF;  // no node climbs past them
    parent[kRoot] = 0;
}

// Halves every leaf (rounding up) and builds the inner nodes again, each
// inserted after the last node whose frequency does not exceed its own.
void AdaptiveTree::Rebuild() {
    int leaves = 0;
    for (int i = 0; i < kNodes; i++) {
        if (son[i] >= kNodes) {
            frequency[leaves] = (frequency[i] + 1) / 2;
            son[leaves] = son[i];
            leaves++;
        }
    }
    for (int i = 0, j = kSymbols; j < kNodes; i += 2, j++) {
        const unsigned f = frequency[i] + frequency[i + 1];
        int k = j - 1;
        while (f < frequency[k]) k--;
        k++;
        for (int m = j; m > k; m--) {
            frequency[m] = frequency[m - 1];
            son[m] = son[m - 1];
        }
        frequency[k] = f;
        son[k] = i;
    }
    for (int i = 0; i < kNodes; i++) {
        const int k = son[i];
        if (k >= kNodes)
            parent[k] = i;
        else
            parent[k] = parent[k + 1] = i;
    }
}

// Counts one more at `node`. When that makes it larger than the next node,
// it trades places with the last of the following nodes that are still
// lower, children and all; returns where the count now is.
inline int AdaptiveTree::Increment(int node) {
    const unsigned f = ++frequency[node];
    if (f <= frequency[node + 1]) return node;
    // The nodes are in order of frequency, so the run can be crossed in
    // strides while the node a stride on is still lower, and what is left
    // of it is the count of lower nodes in the next stride.
    int last = node + 1;
    while (f > frequency[last + kStride]) last += kStride;
    int rest = 0;
    for (int k = 1; k < kStride; k++) rest += f > frequency[last + k];
    last += rest;
    frequency[node] = frequency[last];
    frequency[last] = f;

    const int moved = son[node];
    parent[moved] = last;
    if (moved < kNodes) parent[moved + 1] = last;
    const int other = son[last];
    son[last] = moved;
    parent[other] = node;
    if (other < kNodes) parent[other + 1] = node;
    son[node] = other;
    return last;
}

// Increments `node` and each of its ancestors up to the root.
inline void AdaptiveTree::Climb(int node) {
    do {
        node = parent[Increment(node)];
    } while (node != 0);
}

void AdaptiveTree::Update(int c) {
    if (frequency[kRoot] == kMaxFrequency) Rebuild();
    Climb(parent[c + kNodes]);
}

void AdaptiveTree::Update(int c, const int* path, int depth) {
    if (frequency[kRoot] == kMaxFrequency) return Update(c);
    for (int i = depth - 1; i >= 0; i--) {
        const int node = Increment(path[i]);
        if (node != path[i]) {
            if (i > 0) Climb(parent[node]);
            return;
        }
    }
}

}  // namespace lzh
