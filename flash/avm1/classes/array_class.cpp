// Array: the constructor, the methods of Array.prototype and the sort
// option constants on Array.
#include "flash/avm1/classes/array_sort.h"
#include "flash/avm1/classes/classes.h"

#include <cmath>

namespace flash::avm1 {

namespace {

// The elements a method works on, copied from an array or read
// from an object with length and indexed properties, written back by
// Commit.
class Elements {
public:
    Elements(Vm& vm, Object* self) : vm_(vm), self_(self) {
        list_ = &copy_;
        if (!self) return;
        if (ArrayObject* array = self->AsArray()) {
            copy_ = array->Elements();
            return;
        }
        copy_ = OwnElements(*self, vm.ToNumber(vm.Get(self, "length")));
    }
    std::vector<Value>& operator*() { return *list_; }
    std::vector<Value>* operator->() { return list_; }
    void Commit() {
        if (!self_) return;
        if (ArrayObject* array = self_->AsArray()) {
            array->SetElements(copy_);
            return;
        }
        for (size_t i = 0; i < copy_.size(); ++i) vm_.Set(self_, std::to_string(i), copy_[i]);
        vm_.Set(self_, "length", Value(static_cast<double>(copy_.size())));
    }

private:
    Vm& vm_;
    Object* self_;
    std::vector<Value> copy_;
    std::vector<Value>* list_;
};

// A position argument: negative counts from the end; clamped to 0..size.
size_t Position(Vm& vm, const Value& v, size_t size) {
    double n = vm.ToNumber(v);
    if (std::isnan(n)) n = 0;
    n = std::trunc(n);
    if (n < 0) n += static_cast<double>(size);
    return static_cast<size_t>(std::clamp(n, 0.0, static_cast<double>(size)));
}

Value Construct(Vm& vm, Object*, Args& args) {
    // One number is the length (kept even when negative); anything else
    // lists the elements.
    if (args.size() == 1 && args[0].IsNumber()) {
        ArrayObject* array = vm.MakeArray();
        array->SetLength(ToInt32(args[0].number));
        return Value(array);
    }
    return Value(vm.MakeArray(args));
}

Value Push(Vm& vm, Object* self, Args& args) {
    if (ArrayObject* array = self ? self->AsArray() : nullptr) {
        for (const Value& v : args) array->Push(v);
        return Value(static_cast<double>(array->length));
    }
    Elements list(vm, self);
    for (const Value& v : args) list->push_back(v);
    list.Commit();
    return Value(static_cast<double>(list->size()));
}

Value Pop(Vm& vm, Object* self, Args&) {
    Elements list(vm, self);
    if (list->empty()) return Value();
    Value last = list->back();
    list->pop_back();
    if (self && !self->AsArray()) vm.Delete(self, std::to_string(list->size()));
    list.Commit();
    return last;
}

Value Shift(Vm& vm, Object* self, Args&) {
    Elements list(vm, self);
    if (list->empty()) return Value();
    Value first = list->front();
    list->erase(list->begin());
    if (self && !self->AsArray()) vm.Delete(self, std::to_string(list->size()));
    list.Commit();
    return first;
}

Value Unshift(Vm& vm, Object* self, Args& args) {
    Elements list(vm, self);
    list->insert(list->begin(), args.begin(), args.end());
    list.Commit();
    return Value(static_cast<double>(list->size()));
}

Value Slice(Vm& vm, Object* self, Args& args) {
    Elements list(vm, self);
    size_t size = list->size();
    size_t begin = args.empty() ? 0 : Position(vm, args[0], size);
    size_t end = args.size() > 1 && !args[1].IsUndefined() ? Position(vm, args[1], size) : size;
    ArrayObject* result = vm.MakeArray();
    if (begin < end) result->SetElements(std::vector<Value>(list->begin() + begin, list->begin() + end));
    return Value(result);
}

Value Splice(Vm& vm, Object* self, Args& args) {
    // An undefined start or count does nothing (nor does a negative count).
    if (args.empty() || args[0].IsUndefined() || (args.size() > 1 && args[1].IsUndefined())) return Value();
    Elements list(vm, self);
    size_t size = list->size();
    size_t begin = Position(vm, args[0], size);
    size_t count = size - begin;
    if (args.size() > 1) {
        double n = std::trunc(vm.ToNumber(args[1]));
        if (n < 0) return Value();   // a negative count does nothing
        if (std::isnan(n)) n = 0;
        count = static_cast<size_t>(std::min(n, static_cast<double>(size - begin)));
    }
    ArrayObject* removed = vm.MakeArray();
    removed->SetElements(std::vector<Value>(list->begin() + begin, list->begin() + begin + count));
    list->erase(list->begin() + begin, list->begin() + begin + count);
    if (args.size() > 2) list->insert(list->begin() + begin, args.begin() + 2, args.end());
    if (self && !self->AsArray())
        for (size_t i = list->size(); i < size; ++i) vm.Delete(self, std::to_string(i));
    list.Commit();
    return Value(removed);
}

Value Concat(Vm& vm, Object* self, Args& args) {
    Elements list(vm, self);
    std::vector<Value> values = *list;
    for (const Value& v : args) {
        ArrayObject* other = v.IsObject() ? v.object->AsArray() : nullptr;
        if (!other) {
            values.push_back(v);
            continue;
        }
        std::vector<Value> more = other->Elements();
        values.insert(values.end(), more.begin(), more.end());
    }
    return Value(vm.MakeArray(std::move(values)));
}

std::string JoinElements(Vm& vm, Object* self, const std::string& separator) {
    Elements list(vm, self);
    std::vector<Value> values = *list;   // a toString may change the array
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i) text += separator;
        text += vm.ToString(values[i]);
    }
    return text;
}

Value Join(Vm& vm, Object* self, Args& args) {
    std::string separator = args.empty() || args[0].IsUndefined() ? "," : vm.ToString(args[0]);
    return Value(JoinElements(vm, self, separator));
}

Value ToStringMethod(Vm& vm, Object* self, Args&) {
    // An array inside itself would print forever.
    if (vm.call_depth > 64) return Value("");
    return Value(JoinElements(vm, self, ","));
}

Value Reverse(Vm& vm, Object* self, Args&) {
    Elements list(vm, self);
    std::reverse(list->begin(), list->end());
    list.Commit();
    return Value(self);
}

}  // namespace

void InstallArrayClass(Vm& vm) {
    Object* proto = vm.array_proto;
    Function* constructor = vm.MakeClass("Array", Construct, Construct, proto);
    vm.AddMethod(proto, "push", Push);
    vm.AddMethod(proto, "pop", Pop);
    vm.AddMethod(proto, "shift", Shift);
    vm.AddMethod(proto, "unshift", Unshift);
    vm.AddMethod(proto, "slice", Slice);
    vm.AddMethod(proto, "splice", Splice);
    vm.AddMethod(proto, "concat", Concat);
    vm.AddMethod(proto, "join", Join);
    vm.AddMethod(proto, "toString", ToStringMethod);
    vm.AddMethod(proto, "reverse", Reverse);
    vm.AddMethod(proto, "sort", SortArray);
    vm.AddMethod(proto, "sortOn", SortArrayOn);
    constexpr uint8_t kConstant = kDontEnum | kDontDelete | kReadOnly;
    constructor->Define("CASEINSENSITIVE", Value(kCaseInsensitive), kConstant);
    constructor->Define("DESCENDING", Value(kDescending), kConstant);
    constructor->Define("UNIQUESORT", Value(kUniqueSort), kConstant);
    constructor->Define("RETURNINDEXEDARRAY", Value(kReturnIndexedArray), kConstant);
    constructor->Define("NUMERIC", Value(kNumeric), kConstant);
    vm.global->Define("Array", Value(constructor));
    vm.protos["Array"] = proto;
}

}  // namespace flash::avm1
