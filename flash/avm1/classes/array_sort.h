// Array sorting: the option bits of sort and sortOn, and the player's
// quicksort of positions, which asks for its comparisons in the player's
// order and tolerates compare functions that contradict themselves (a
// script's random compare) and script throws.
#pragma once

#include "flash/avm1/vm.h"

#include <functional>

namespace flash::avm1 {

enum SortOption : int {
    kCaseInsensitive = 1,
    kDescending = 2,
    kUniqueSort = 4,
    kReturnIndexedArray = 8,
    kNumeric = 16,
};

// Sorts positions 0..count-1 by compare (negative: a first); equal items
// may change places.
std::vector<size_t> SortPositions(size_t count, const std::function<int(size_t, size_t)>& compare);

// How one key is compared by the built-in order the options choose:
// as strings (optionally ignoring case) or as numbers.
struct SortKey {
    std::string text;
    double number = 0;
};
SortKey MakeSortKey(Vm& vm, const Value& value, int options);
int CompareKeys(const SortKey& a, const SortKey& b, int options);

// Array.prototype.sort and sortOn.
Value SortArray(Vm& vm, Object* self, Args& args);
Value SortArrayOn(Vm& vm, Object* self, Args& args);

}  // namespace flash::avm1
