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
    frequency[kNodes] = 0xFFFF;  // sentinel: no node climbs past it
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

void AdaptiveTree::Update(int c) {
    if (frequency[kRoot] == kMaxFrequency) Rebuild();
    int node = parent[c + kNodes];
    do {
        const unsigned f = ++frequency[node];
        if (f > frequency[node + 1]) {
            // Swap with the last of the following nodes that are still lower.
            int last = node + 1;
            while (f > frequency[last + 1]) last++;
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
            node = last;
        }
        node = parent[node];
    } while (node != 0);
}

}  // namespace lzh
