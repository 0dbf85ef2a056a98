// NetConnection: connect(null) makes the local connection at once; a
// connection to a server stays pending (this player reaches no server),
// and close ends either, each change told to onStatus.
#include "flash/avm1/classes/class_helpers.h"

namespace flash::avm1 {

namespace {

enum State { kClosed = 0, kLocal = 1, kPending = 2 };

const char* kState = "__state";

State StateOf(Object* self) {
    Property* p = self->FindOwn(kState, true);
    return p && p->value.IsNumber() ? static_cast<State>(static_cast<int>(p->value.number)) : kClosed;
}

void SetState(Object* self, State state) { self->Define(kState, Value(static_cast<double>(state)), kDontEnum); }

void Status(Vm& vm, Object* self, const char* code) {
    Object* event = vm.MakeObject();
    vm.Set(event, "level", Value("status"));
    vm.Set(event, "code", Value(code));
    vm.CallMethod(Value(self), "onStatus", {Value(event)});
}

// Ends the connection there is, telling onStatus; a pending one also
// reports its failed attempt, with no event.
void CloseConnection(Vm& vm, Object* self) {
    State state = StateOf(self);
    if (state == kClosed) return;
    SetState(self, kClosed);
    Status(vm, self, "NetConnection.Connect.Closed");
    if (state == kPending) vm.CallMethod(Value(self), "onStatus", {});
}

Value Connect(Vm& vm, Object* self, Args& args) {
    if (!self) return Value(false);
    CloseConnection(vm, self);
    if (args.empty() || args[0].IsNullish()) {
        SetState(self, kLocal);
        Status(vm, self, "NetConnection.Connect.Success");
        return Value(true);
    }
    SetState(self, kPending);
    return Value(true);
}

Value Close(Vm& vm, Object* self, Args&) {
    if (self) CloseConnection(vm, self);
    return Value();
}

Value Construct(Vm&, Object* self, Args&) { return Value(self); }
Value Nothing(Vm&, Object*, Args&) { return Value(); }

}  // namespace

void InstallNetConnectionClass(Vm& vm) {
    Object* prototype = InstallClass(vm, vm.global, "NetConnection", Construct);
    vm.AddMethod(prototype, "connect", Connect);
    vm.AddMethod(prototype, "close", Close);
    vm.AddMethod(prototype, "call", Nothing);
    vm.AddMethod(prototype, "addHeader", Nothing);
}

}  // namespace flash::avm1
