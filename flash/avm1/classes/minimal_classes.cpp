// Classes the player offers but does not carry out (devices, network
// connections, video): constructors and methods exist and answer plainly.
#include "flash/avm1/classes/class_helpers.h"

namespace flash::avm1 {

namespace {

Value Nothing(Vm&, Object*, Args&) { return Value(); }
Value False(Vm&, Object*, Args&) { return Value(false); }
Value Localhost(Vm&, Object*, Args&) { return Value("localhost"); }
Value Construct(Vm&, Object* self, Args&) { return Value(self); }

struct MinimalClass {
    const char* name;
    std::vector<const char*> methods;
};

const MinimalClass kClasses[] = {
    {"Camera", {"setMode", "setMotionLevel", "setQuality", "setCursor", "setKeyFrameInterval", "setLoopback"}},
    {"Microphone", {"setGain", "setRate", "setSilenceLevel", "setUseEchoSuppression"}},
    {"NetStream", {"close", "pause", "play", "seek", "setBufferTime", "attachAudio", "attachVideo", "publish",
                   "receiveAudio", "receiveVideo", "send"}},
    {"LocalConnection", {"close", "connect", "send"}},
    {"XMLSocket", {"connect", "close", "send"}},
    {"Video", {"attachVideo", "clear"}},
};

// Camera.get() and Microphone.get(): one shared object of the class.
Value GetDevice(Vm& vm, Object* self, Args&) {
    if (!self) return Value::Null();
    Value shared = vm.Get(self, "__device");
    if (shared.IsObject()) return shared;
    Value prototype = vm.Get(self, "prototype");
    Object* device = vm.heap.Make<Object>(prototype.IsObject() ? prototype.object : vm.object_proto);
    self->Define("__device", device, kDontEnum);
    return Value(device);
}

// XMLSocket.prototype.onData: the received text as an XML document for onXML.
Value SocketData(Vm& vm, Object* self, Args& args) {
    if (!self) return Value();
    Value document = vm.Construct(vm.Get(vm.global, "XML"), {Arg(args, 0)});
    vm.CallMethod(Value(self), "onXML", {document});
    return Value();
}

}  // namespace

void InstallMinimalClasses(Vm& vm) {
    for (const MinimalClass& spec : kClasses) {
        Object* prototype = InstallClass(vm, vm.global, spec.name, Construct);
        for (const char* method : spec.methods) vm.AddMethod(prototype, method, Nothing);
    }
    Object* local = vm.Proto("LocalConnection");
    vm.AddMethod(local, "domain", Localhost);
    vm.AddMethod(local, "connect", False);
    vm.AddMethod(local, "send", False);
    for (const char* device : {"Camera", "Microphone"}) {
        Object* constructor = vm.Get(vm.global, device).object;
        vm.AddMethod(constructor, "get", GetDevice);
        constructor->Define("names", vm.MakeArray(), kDontEnum);
    }
    vm.AddMethod(vm.Proto("XMLSocket"), "connect", False);
    vm.AddMethod(vm.Proto("XMLSocket"), "onData", SocketData);
}

}  // namespace flash::avm1
