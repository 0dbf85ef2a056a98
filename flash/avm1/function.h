// Functions: built-in ones run C++ code; script ones run byte code of a
// DefineFunction or DefineFunction2 action with the scope chain they were
// defined in.
#pragma once

#include "flash/avm1/object.h"

#include <memory>

namespace flash::avm1 {

// Arguments come in order; self is the object the function was called on
// (nullptr when there is none).
using NativeFn = Value (*)(Vm& vm, Object* self, Args& args);

// A span of action bytes kept alive by the movie that holds it.
struct Code {
    std::shared_ptr<const void> owner;
    const uint8_t* data = nullptr;
    size_t size = 0;
    int version = 0;                 // the SWF version of the movie it came from
};

// DefineFunction2 flags.
enum FunctionFlag : uint16_t {
    kPreloadThis = 0x01,
    kSuppressThis = 0x02,
    kPreloadArguments = 0x04,
    kSuppressArguments = 0x08,
    kPreloadSuper = 0x10,
    kSuppressSuper = 0x20,
    kPreloadRoot = 0x40,
    kPreloadParent = 0x80,
    kPreloadGlobal = 0x100,
};

struct Parameter {
    std::string name;
    uint8_t reg = 0;                 // DefineFunction2: the register it lands in, 0 none
};

class Function : public Object {
public:
    explicit Function(Object* prototype) : Object(prototype) {}

    const char* TypeOf() const override { return "function"; }
    Function* AsFunction() override { return this; }
    void TraceRefs(Tracer& tracer) override {
        for (Object* o : scope) tracer.Mark(o);
        tracer.Mark(base_clip);
        tracer.Mark(home);
    }

    std::string name;
    // Built-in: the C++ code, and what `new` runs when it differs (nullptr:
    // `new` makes an object with this function's prototype and calls native).
    NativeFn native = nullptr;
    NativeFn construct = nullptr;

    // Script function.
    Code code;
    std::vector<Parameter> params;
    bool function2 = false;
    uint16_t flags = 0;
    uint8_t register_count = 0;
    std::vector<Object*> scope;      // the scope chain it was defined in, outermost first
    std::vector<std::string> constants;   // the constant pool in force where it was defined
    Object* base_clip = nullptr;     // the timeline it was defined on
    Object* home = nullptr;          // the prototype a method was found on (for super)
};

}  // namespace flash::avm1
