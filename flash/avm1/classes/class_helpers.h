// Small helpers shared by the installers of built-in classes.
#pragma once

#include "flash/avm1/classes/classes.h"

namespace flash::avm1 {

inline Value Arg(const Args& args, size_t index) {
    return index < args.size() ? args[index] : Value();
}

// Makes a class on the global object (or on a package object) with its
// prototype registered under name.
inline Object* InstallClass(Vm& vm, Object* owner, const std::string& name, NativeFn fn,
                            NativeFn construct = nullptr, const std::string& proto_name = "") {
    Object* prototype = vm.MakeObject();
    Function* constructor = vm.MakeClass(name, fn, construct, prototype);
    owner->Define(name, constructor, kDontEnum);
    vm.protos[proto_name.empty() ? name : proto_name] = prototype;
    return prototype;
}

// A plain object on the global object, for the static classes (Key, Mouse...).
inline Object* InstallStatic(Vm& vm, const std::string& name) {
    Object* object = vm.MakeObject();
    vm.global->Define(name, object, kDontEnum);
    return object;
}

// Gives an object the listener methods of a broadcaster: a _listeners
// array with addListener, removeListener and broadcastMessage.
void MakeBroadcaster(Vm& vm, Object* object);

}  // namespace flash::avm1

namespace flash::avm1 {

// The bytes of a local file named by a script's address (relative to
// vm.load_folder); false when it cannot be read or the address is remote.
bool ReadLocalFile(const Vm& vm, const std::string& url, std::string& data);

// Calls function with args when the timers next run, as loads deliver.
void ScheduleCall(Vm& vm, Function* function, Args args);

// Reads a local file (relative to vm.load_folder, the movie's folder) for XML.load and
// LoadVars.load; the text reaches target.onData on the next tick, or
// undefined when the file cannot be read.
void ScheduleLoad(Vm& vm, Object* target, const std::string& url);

// The load(url) and sendAndLoad(url, target) methods of XML and LoadVars:
// the object (or target) is marked not loaded and its load scheduled.
Value LoadMethod(Vm& vm, Object* self, Args& args);

// getBytesLoaded and getBytesTotal of XML and LoadVars: the _bytesLoaded
// and _bytesTotal a load keeps on the object (0 and undefined while it
// runs, the data's size once read).
Value BytesLoadedMethod(Vm& vm, Object* self, Args& args);
Value BytesTotalMethod(Vm& vm, Object* self, Args& args);
Value SendAndLoadMethod(Vm& vm, Object* self, Args& args);

}  // namespace flash::avm1
