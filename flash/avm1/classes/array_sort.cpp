#include "flash/avm1/classes/array_sort.h"

#include <cmath>

namespace flash::avm1 {

namespace {

// The player's quicksort: the first item of a range is its pivot; from
// the left the scan passes items that sort before it, from the right
// items that do not sort after it, stray pairs are swapped, and the pivot
// goes where the right scan stopped. The left part is sorted first. The
// ranges wait on a list of their own, so that a long array in order (the
// worst case) does not nest calls deeply.
void QuickSort(std::vector<size_t>& items, const std::function<int(size_t, size_t)>& compare) {
    std::vector<std::pair<size_t, size_t>> ranges;   // first and last index
    if (items.size() > 1) ranges.push_back({0, items.size() - 1});
    while (!ranges.empty()) {
        auto [low, high] = ranges.back();
        ranges.pop_back();
        size_t pivot = items[low];
        size_t i = low + 1, j = high;
        size_t swaps = 0;
        for (;;) {
            while (i < j && compare(pivot, items[i]) > 0) ++i;
            while (j > low && compare(pivot, items[j]) <= 0) --j;
            if (i >= j) break;
            std::swap(items[i], items[j]);
            // A compare function that contradicts itself could swap the same
            // pair forever; far past what a consistent one needs, each swap
            // also moves both scans on.
            if (++swaps > 8 * (high - low) + 64) {
                ++i;
                --j;
            }
        }
        std::swap(items[low], items[j]);
        if (j + 1 < high) ranges.push_back({j + 1, high});
        if (j > low + 1) ranges.push_back({low, j - 1});
    }
}

int Sign(double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

// The elements of an array, or of an object with length and indexed
// properties.
std::vector<Value> ReadElements(Vm& vm, Object* self) {
    if (ArrayObject* array = self->AsArray()) return array->Elements();
    return OwnElements(*self, vm.ToNumber(vm.Get(self, "length")));
}

void WriteElements(Vm& vm, Object* self, std::vector<Value> elements) {
    if (ArrayObject* array = self->AsArray()) {
        array->SetElements(elements);
        return;
    }
    for (size_t i = 0; i < elements.size(); ++i) vm.Set(self, std::to_string(i), elements[i]);
}

// Applies the order to the array, or answers the positions for
// RETURNINDEXEDARRAY; UNIQUESORT with equal keys answers 0.
Value Finish(Vm& vm, Object* self, std::vector<Value>& elements, std::vector<size_t>& order, int options,
             const std::function<int(size_t, size_t)>& compare) {
    if (options & kUniqueSort) {
        for (size_t i = 1; i < order.size(); ++i)
            if (compare(order[i - 1], order[i]) == 0) return Value(0);
    }
    if (options & kReturnIndexedArray) {
        ArrayObject* result = vm.MakeArray();
        for (size_t i : order) result->Push(Value(static_cast<double>(i)));
        return Value(result);
    }
    std::vector<Value> sorted;
    sorted.reserve(order.size());
    for (size_t i : order) sorted.push_back(elements[i]);
    WriteElements(vm, self, std::move(sorted));
    return Value(self);
}

}  // namespace

std::vector<size_t> SortPositions(size_t count, const std::function<int(size_t, size_t)>& compare) {
    std::vector<size_t> items(count);
    for (size_t i = 0; i < count; ++i) items[i] = i;
    QuickSort(items, compare);
    return items;
}

SortKey MakeSortKey(Vm& vm, const Value& value, int options) {
    SortKey key;
    if (options & kNumeric) {
        key.number = vm.ToNumber(value);
        if (value.IsNumber() || !std::isnan(key.number)) return key;
    }
    key.number = NAN;
    key.text = vm.ToString(value);
    if (options & kCaseInsensitive) key.text = FoldCase(key.text);
    return key;
}

int CompareKeys(const SortKey& a, const SortKey& b, int options) {
    int result;
    if ((options & kNumeric) && !std::isnan(a.number) && !std::isnan(b.number)) {
        result = Sign(a.number - b.number);
    } else if ((options & kNumeric) && std::isnan(a.number) != std::isnan(b.number)) {
        // Numbers before what is not a number.
        result = std::isnan(a.number) ? 1 : -1;
    } else {
        int c = a.text.compare(b.text);
        result = Sign(c);
    }
    return (options & kDescending) ? -result : result;
}

Value SortArray(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    std::vector<Value> elements = ReadElements(vm, self);
    Value compare_fn;
    int options = 0;
    if (!args.empty() && args[0].IsObject() && args[0].object->AsFunction()) {
        compare_fn = args[0];
        if (args.size() > 1) options = vm.ToInt(args[1]);
    } else if (!args.empty()) {
        options = vm.ToInt(args[0]);
    }
    std::function<int(size_t, size_t)> compare;
    std::vector<SortKey> keys;
    if (compare_fn.IsObject()) {
        compare = [&](size_t a, size_t b) {
            double r = vm.ToNumber(vm.Call(compare_fn, Value(), {elements[a], elements[b]}));
            int s = std::isnan(r) ? 0 : Sign(r);
            return (options & kDescending) ? -s : s;
        };
    } else {
        keys.reserve(elements.size());
        for (const Value& v : elements) keys.push_back(MakeSortKey(vm, v, options));
        compare = [&](size_t a, size_t b) { return CompareKeys(keys[a], keys[b], options); };
    }
    std::vector<size_t> order = SortPositions(elements.size(), compare);
    return Finish(vm, self, elements, order, options, compare);
}

Value SortArrayOn(Vm& vm, Object* self, Args& args) {
    if (!self || args.empty()) return Value();
    std::vector<Value> elements = ReadElements(vm, self);
    std::vector<std::string> fields;
    std::vector<int> field_options;
    if (args[0].IsObject() && args[0].object->AsArray()) {
        for (const Value& v : args[0].object->AsArray()->Elements()) fields.push_back(vm.ToString(v));
    } else {
        fields.push_back(vm.ToString(args[0]));
    }
    int options = 0;
    if (args.size() > 1 && args[1].IsObject() && args[1].object->AsArray()) {
        for (const Value& v : args[1].object->AsArray()->Elements()) field_options.push_back(vm.ToInt(v));
        // Per-field options apply only when one is given for every field.
        if (field_options.size() != fields.size()) field_options.clear();
    } else if (args.size() > 1) {
        options = vm.ToInt(args[1]);
    }
    if (field_options.empty()) field_options.assign(fields.size(), options);
    else options = field_options[0] & (kUniqueSort | kReturnIndexedArray);
    // keys[field][element]
    std::vector<std::vector<SortKey>> keys(fields.size());
    for (size_t f = 0; f < fields.size(); ++f)
        for (const Value& v : elements) {
            Value field = v.IsObject() ? vm.Get(v.object, fields[f]) : Value();
            keys[f].push_back(MakeSortKey(vm, field, field_options[f]));
        }
    auto compare = [&](size_t a, size_t b) {
        for (size_t f = 0; f < fields.size(); ++f) {
            int c = CompareKeys(keys[f][a], keys[f][b], field_options[f]);
            if (c) return c;
        }
        return 0;
    };
    std::vector<size_t> order = SortPositions(elements.size(), compare);
    int finish_options = options | (field_options[0] & (kUniqueSort | kReturnIndexedArray));
    return Finish(vm, self, elements, order, finish_options, compare);
}

}  // namespace flash::avm1
