// Arrays: a length kept as a 32-bit integer, apart from the elements,
// which are ordinary properties named "0", "1"... Setting an element at or
// past the length moves the length (wrapping as a 32-bit integer); setting
// the length lower deletes the elements past it.
#pragma once

#include "flash/avm1/object.h"

namespace flash::avm1 {

class ArrayObject : public Object {
public:
    explicit ArrayObject(Object* prototype) : Object(prototype) {}

    ArrayObject* AsArray() override { return this; }
    bool GetVirtual(Vm& vm, const std::string& name, Value* out) override;
    bool SetVirtual(Vm& vm, const std::string& name, const Value& value) override;

    int32_t length = 0;

    // Elements 0..length-1 (missing ones undefined), at most kMaxElements;
    // an element under addProperty gives the value stored before.
    std::vector<Value> Elements();
    // Replaces every element; the length becomes the count.
    void SetElements(const std::vector<Value>& values);
    void Push(const Value& value);
    // A lower length deletes the elements from it up to the old length.
    void SetLength(int32_t new_length);

    static constexpr int32_t kMaxElements = 1 << 24;
};

// The own elements 0..length-1 of any object, read as arrays read theirs:
// stored values only, nothing from prototypes or getters.
std::vector<Value> OwnElements(Object& object, double length);

// The index a property name stands for, or -1 when it is not a whole
// number below 2^31 written the plain way.
int64_t ArrayIndex(const std::string& name);

}  // namespace flash::avm1
