// SharedObject: getLocal hands out one object per name whose data is
// read from, and flushed to, a file in the shared object folder.
#include "flash/avm1/classes/class_helpers.h"
#include "flash/avm1/classes/shared_object_store.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace flash::avm1 {

namespace {

std::string FileOf(Vm& vm, const std::string& local_path, const std::string& name) {
    std::string folder = local_path;
    while (!folder.empty() && folder.front() == '/') folder.erase(0, 1);
    std::string file = SharedObjectFolder(vm) + "/shared";
    if (!folder.empty() && ValidSharedObjectName(folder)) file += "/" + folder;
    return file + "/" + name + ".sol";
}

Object* Data(Vm& vm, Object* self) {
    Value data = vm.Get(self, "data");
    return data.IsObject() ? data.object : nullptr;
}

std::string FileProperty(Object* self) {
    Property* file = self ? self->FindOwn("__file", true) : nullptr;
    return file && file->value.IsString() ? file->value.string : "";
}

Value Flush(Vm& vm, Object* self, Args&) {
    std::string file = FileProperty(self);
    Object* data = self ? Data(vm, self) : nullptr;
    if (file.empty() || !data) return Value(false);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(file).parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << SerializeData(vm, data);
    return Value(static_cast<bool>(out));
}

Value Clear(Vm& vm, Object* self, Args&) {
    if (!self) return Value();
    self->Define("data", vm.MakeObject(), kDontEnum | kDontDelete);
    std::string file = FileProperty(self);
    std::error_code error;
    if (!file.empty()) std::filesystem::remove(file, error);
    return Value();
}

Value GetSize(Vm& vm, Object* self, Args&) {
    Object* data = self ? Data(vm, self) : nullptr;
    if (!data || vm.EnumerableKeys(data).empty()) return Value(0);
    return Value(static_cast<double>(SerializeData(vm, data).size()));
}

Value Nothing(Vm&, Object*, Args&) { return Value(); }

Value GetLocal(Vm& vm, Object* self, Args& args) {
    std::string name = vm.ToString(Arg(args, 0));
    if (!ValidSharedObjectName(name) || !self) return Value::Null();
    std::string local_path = args.size() > 1 && !args[1].IsNullish() ? vm.ToString(args[1]) : "";
    std::string file = FileOf(vm, local_path, name);
    // One object per file while the movie runs.
    Value cache = vm.Get(self, "__cache");
    if (!cache.IsObject()) {
        cache = Value(vm.MakeObject());
        self->Define("__cache", cache, kDontEnum);
    }
    if (Property* known = cache.object->FindOwn(file, true)) return known->value;

    Object* shared = vm.heap.Make<Object>(vm.Proto("SharedObject"));
    Object* data = vm.MakeObject();
    shared->Define("data", data, kDontEnum | kDontDelete);
    shared->Define("__file", Value(file), kDontEnum);
    std::ifstream in(file, std::ios::binary);
    if (in) {
        std::ostringstream text;
        text << in.rdbuf();
        DeserializeData(vm, text.str(), data);
    }
    cache.object->Define(file, Value(shared), kDontEnum);
    return Value(shared);
}

Value Construct(Vm&, Object* self, Args&) { return Value(self); }

}  // namespace

void InstallSharedObjectClass(Vm& vm) {
    Object* prototype = InstallClass(vm, vm.global, "SharedObject", Construct);
    vm.AddMethod(prototype, "flush", Flush);
    vm.AddMethod(prototype, "clear", Clear);
    vm.AddMethod(prototype, "getSize", GetSize);
    vm.AddMethod(prototype, "close", Nothing);
    vm.AddMethod(prototype, "connect", Nothing);
    vm.AddMethod(prototype, "send", Nothing);
    vm.AddMethod(prototype, "setFps", Nothing);
    Object* constructor = vm.Get(prototype, "constructor").object;
    vm.AddMethod(constructor, "getLocal", GetLocal);
    vm.AddMethod(constructor, "getRemote", Nothing);
    vm.AddMethod(constructor, "deleteAll", Nothing);
    vm.AddMethod(constructor, "getDiskUsage", Nothing);
}

}  // namespace flash::avm1
