// Arrays: elements kept in a vector, seen by scripts as the properties
// "0", "1"... and "length".
#pragma once

#include "flash/avm1/object.h"

namespace flash::avm1 {

class ArrayObject : public Object {
public:
    explicit ArrayObject(Object* prototype) : Object(prototype) {}

    ArrayObject* AsArray() override { return this; }
    bool GetVirtual(Vm& vm, const std::string& name, Value* out) override;
    bool SetVirtual(Vm& vm, const std::string& name, const Value& value) override;
    bool DeleteVirtual(Vm& vm, const std::string& name) override;
    void VirtualKeys(std::vector<std::string>& keys) override;
    void TraceRefs(Tracer& tracer) override {
        for (const Value& v : elements) tracer.Mark(v);
    }

    // Holes are undefined. An element set to undefined is not a hole:
    // it is marked with its boolean field set (see SetElement), and for..in
    // lists it.
    std::vector<Value> elements;

    static Value Element(const Value& value) {
        Value element = value;
        if (element.IsUndefined()) element.boolean = true;
        return element;
    }
    static bool IsHole(const Value& element) { return element.IsUndefined() && !element.boolean; }
};

// The index a property name stands for, or -1 when it is not a whole
// number below 2^31 written the plain way.
int64_t ArrayIndex(const std::string& name);

}  // namespace flash::avm1
