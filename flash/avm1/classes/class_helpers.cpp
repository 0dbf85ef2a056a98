#include "flash/avm1/classes/class_helpers.h"

#include "flash/avm1/array_object.h"

namespace flash::avm1 {

namespace {

ArrayObject* Listeners(Vm& vm, Object* self) {
    if (!self) return nullptr;
    Value list = vm.Get(self, "_listeners");
    return list.IsObject() ? list.object->AsArray() : nullptr;
}

Value AddListener(Vm& vm, Object* self, Args& args) {
    ArrayObject* list = Listeners(vm, self);
    if (!list || args.empty()) return Value(true);
    for (const Value& v : list->Elements())
        if (v.IsObject() && args[0].IsObject() && v.object == args[0].object) return Value(true);
    list->Push(args[0]);
    return Value(true);
}

Value RemoveListener(Vm& vm, Object* self, Args& args) {
    ArrayObject* list = Listeners(vm, self);
    if (!list || args.empty() || !args[0].IsObject()) return Value(false);
    std::vector<Value> elements = list->Elements();
    for (auto it = elements.begin(); it != elements.end(); ++it) {
        if (it->IsObject() && it->object == args[0].object) {
            elements.erase(it);
            list->SetElements(elements);
            return Value(true);
        }
    }
    return Value(false);
}

Value BroadcastMessage(Vm& vm, Object* self, Args& args) {
    ArrayObject* list = Listeners(vm, self);
    if (!list || args.empty()) return Value();
    std::string event = vm.ToString(args[0]);
    Args rest(args.begin() + 1, args.end());
    std::vector<Value> listeners = list->Elements();   // listeners may remove themselves
    for (const Value& listener : listeners) {
        if (!listener.IsObject()) continue;
        Value method = vm.Get(listener.object, event);
        if (method.IsObject() && method.object->AsFunction()) vm.Call(method, listener, rest);
    }
    return Value(!listeners.empty());
}

}  // namespace

void MakeBroadcaster(Vm& vm, Object* object) {
    vm.AddMethod(object, "addListener", AddListener);
    vm.AddMethod(object, "removeListener", RemoveListener);
    vm.AddMethod(object, "broadcastMessage", BroadcastMessage);
    object->Define("_listeners", vm.MakeArray(), kDontEnum);
}

}  // namespace flash::avm1

#include <fstream>
#include <sstream>

namespace flash::avm1 {

namespace {

Value DeliverLoad(Vm& vm, Object*, Args& args) {
    Value target = Arg(args, 0);
    if (!target.IsObject()) return Value();
    Value data = Arg(args, 1);
    if (data.IsString()) {
        Value size(static_cast<double>(data.string.size()));
        target.object->Define("_bytesLoaded", size, kDontEnum);
        target.object->Define("_bytesTotal", size, kDontEnum);
        // The text leaves out a UTF-8 byte order mark; the sizes count it.
        if (data.string.compare(0, 3, "\xEF\xBB\xBF") == 0) data = Value(data.string.substr(3));
    }
    vm.CallMethod(target, "onData", {data});
    return Value();
}

// A file address as a path: relative ones start from the movie's folder.
std::string LocalPath(const Vm& vm, const std::string& url) {
    std::string path = url;
    if (path.compare(0, 7, "file://") == 0) {
        path = path.substr(7);
        // file:///C:/x names a drive path, file:///x an absolute one.
        if (path.size() > 2 && path[0] == '/' && path[2] == ':') path = path.substr(1);
    }
    size_t query = path.find('?');
    if (query != std::string::npos) path.resize(query);
    bool absolute = !path.empty() && (path[0] == '/' || path[0] == '\\' || (path.size() > 1 && path[1] == ':'));
    if (!absolute && !vm.load_folder.empty()) {
        char last = vm.load_folder.back();
        path = vm.load_folder + (last == '/' || last == '\\' ? "" : "/") + path;
    }
    return path;
}

}  // namespace

bool ReadLocalFile(const Vm& vm, const std::string& url, std::string& data) {
    std::ifstream file(LocalPath(vm, url), std::ios::binary);
    if (!file || url.find("://") != std::string::npos) return false;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    data = bytes.str();
    return true;
}

void ScheduleCall(Vm& vm, Function* function, Args args) {
    Vm::Timer timer;
    timer.function = Value(static_cast<Object*>(function));
    timer.args = std::move(args);
    timer.once = true;
    timer.next_ms = vm.clock_ms;
    static int next_internal_id = -1;
    timer.id = next_internal_id--;   // never an id a script holds
    vm.timers.push_back(std::move(timer));
}

void ScheduleLoad(Vm& vm, Object* target, const std::string& url) {
    Value text;
    std::string data;
    // An empty file loads nothing, as a missing one.
    if (ReadLocalFile(vm, url, data) && !data.empty()) text = Value(data);
    ScheduleCall(vm, vm.MakeNative("", DeliverLoad), {Value(target), text});
}

namespace {

void StartLoad(Vm& vm, Object* target, const std::string& url) {
    vm.Set(target, "loaded", Value(false));
    target->Define("_bytesLoaded", Value(0.0), kDontEnum);
    target->Define("_bytesTotal", Value(), kDontEnum);
    ScheduleLoad(vm, target, url);
}

}  // namespace

Value BytesLoadedMethod(Vm& vm, Object* self, Args&) { return self ? vm.Get(self, "_bytesLoaded") : Value(); }
Value BytesTotalMethod(Vm& vm, Object* self, Args&) { return self ? vm.Get(self, "_bytesTotal") : Value(); }

Value LoadMethod(Vm& vm, Object* self, Args& args) {
    if (!self || args.empty()) return Value(false);
    StartLoad(vm, self, vm.ToString(args[0]));
    return Value(true);
}

Value SendAndLoadMethod(Vm& vm, Object*, Args& args) {
    if (args.size() < 2 || !args[1].IsObject()) return Value(false);
    StartLoad(vm, args[1].object, vm.ToString(args[0]));
    return Value(true);
}

}  // namespace flash::avm1
