// What `super` names inside a method: member lookups start one prototype
// above the one the running method was found on, and calls through it
// keep the caller's this.
#pragma once

#include "flash/avm1/vm.h"

namespace flash::avm1 {

class SuperObject : public Object {
public:
    SuperObject(Value self_, Object* home_) : Object(nullptr), self(std::move(self_)), home(home_) {}

    bool GetVirtual(Vm& vm, const std::string& name, Value* out) override {
        *out = home && home->proto ? vm.Get(home->proto, name) : Value();
        return true;
    }
    void TraceRefs(Tracer& tracer) override {
        tracer.Mark(self);
        tracer.Mark(home);
    }

    Value self;
    Object* home;      // the prototype the running method was found on
};

// A display object as home (a clip made a prototype) gives a super that
// finds nothing. The super object's own prototype is where its lookups
// start, so that prototype walks through it go on from there.
inline Object* MakeSuper(Vm& vm, const Value& self, Object* home) {
    if (home && home->HasTargetPath()) home = nullptr;
    SuperObject* super_object = vm.heap.Make<SuperObject>(self, home);
    super_object->proto = home ? home->proto : nullptr;
    return super_object;
}

}  // namespace flash::avm1
