// Script objects: named properties in the order they were made, a
// prototype, and the hooks that built-in kinds (functions, arrays, movie
// clips, boxed primitives) override. Every object is made by the Heap and
// freed by its collector once nothing reachable refers to it.
#pragma once

#include "flash/avm1/value.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace flash {
struct Clip;
}

namespace flash::avm1 {

class Vm;
class Function;
class ArrayObject;
class Tracer;

// ASSetPropFlags bits.
enum PropertyFlag : uint8_t {
    kDontEnum = 1,
    kDontDelete = 2,
    kReadOnly = 4,
};

// ASSetPropFlags bits that hide a property from movies below a version.
enum VersionFlag : uint16_t {
    kVersion6 = 0x80,
    kVersion7 = 0x400,
    kVersion8 = 0x1000,
    kVersion9 = 0x2000,
    kVersion10 = 0x4000,
};

struct Property {
    Value value;
    Object* getter = nullptr;   // addProperty: read through this function
    Object* setter = nullptr;
    uint8_t flags = 0;
    // ASSetPropFlags version bits (VersionFlag): the property is hidden
    // from movies of lower versions.
    uint16_t version_flags = 0;

    bool IsVirtual() const { return getter != nullptr; }
    bool HiddenFrom(int version) const {
        return ((version_flags & kVersion6) && version < 6) || ((version_flags & kVersion7) && version < 7) ||
               ((version_flags & kVersion8) && version < 8) || ((version_flags & kVersion9) && version < 9) ||
               ((version_flags & kVersion10) && version < 10);
    }
};

// A watch() callback on one property name.
struct Watch {
    Object* callback = nullptr;
    Value user_data;
};

// Properties in insertion order, with an index by exact name and one by
// ASCII-lowercased name for the case-insensitive lookups of SWF 6 and
// earlier.
class PropertyMap {
public:
    struct Entry {
        std::string name;
        Property property;
    };

    Property* Find(const std::string& name, bool case_sensitive);
    // Adds a property at the end, or replaces the value of an existing one.
    Property& Set(const std::string& name, bool case_sensitive);
    bool Erase(const std::string& name, bool case_sensitive);
    template <class Predicate>
    void EraseIf(Predicate erase) {
        if (std::erase_if(entries_, erase)) Reindex();
    }
    const std::vector<Entry>& entries() const { return entries_; }
    std::vector<Entry>& entries() { return entries_; }
    size_t size() const { return entries_.size(); }

private:
    void Reindex();

    std::vector<Entry> entries_;
    std::unordered_map<std::string, uint32_t> exact_;
    std::unordered_map<std::string, uint32_t> folded_;
};

std::string FoldCase(const std::string& name);

class Object {
public:
    explicit Object(Object* prototype = nullptr) : proto(prototype) {}
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    Object* proto = nullptr;                 // __proto__
    PropertyMap properties;
    std::unique_ptr<std::map<std::string, Watch>> watches;
    // The value a Boolean, Number, String or Date object wraps (undefined
    // for other objects).
    Value primitive;
    // Set on objects made by a class's constructor (Error, Sound...): the
    // native class they belong to, for methods that check their this.
    const char* native_class = nullptr;
    void* native_data = nullptr;             // kept by the owning class only
    // A built-in constructor called on a plain object (super() in a class
    // that extends a built-in one) leaves the built-in object it made here;
    // the built-in's methods and accessors then work on that one.
    Object* native_part = nullptr;

    // This object when it is of the built-in kind, else its native part
    // when that one is; nullptr otherwise.
    Object* NativeOf(const char* kind) {
        if (native_class == kind) return this;
        if (native_part && native_part->native_class == kind) return native_part;
        return nullptr;
    }

    // Own property lookups, with no prototype walk and no hooks.
    Property* FindOwn(const std::string& name, bool case_sensitive) {
        return properties.Find(name, case_sensitive);
    }
    // Makes or replaces an own property with flags (for built-in set-up).
    void Define(const std::string& name, Value value, uint8_t flags = kDontEnum);

    // What typeof answers: "object", "function" or "movieclip".
    virtual const char* TypeOf() const { return "object"; }
    virtual Function* AsFunction() { return nullptr; }
    virtual ArrayObject* AsArray() { return nullptr; }
    virtual flash::Clip* AsClip() { return nullptr; }
    // A display object taken off the display list: code running on its
    // timeline stops.
    virtual bool IsRemoved() const { return false; }
    // Display objects (clips, text fields) stand for their target path
    // when converted to a string.
    virtual bool HasTargetPath() { return AsClip() != nullptr; }

    // Properties that are not stored (a clip's _x, an array's length and
    // elements, a text field's text): return true when the name is one.
    virtual bool GetVirtual(Vm&, const std::string&, Value*) { return false; }
    virtual bool SetVirtual(Vm&, const std::string&, const Value&) { return false; }
    virtual bool DeleteVirtual(Vm&, const std::string&) { return false; }
    // Such a property by its own name only (GetProperty), where members
    // of the same name (a clip's children) would hide it.
    virtual bool GetBuiltIn(Vm& vm, const std::string& name, Value* out) { return GetVirtual(vm, name, out); }
    // Whether a watcher of such a property sees its value as the old one;
    // false where they behave as accessors of a prototype (a text field's).
    virtual bool WatchSeesVirtual() const { return true; }
    // Names the object adds to for..in beyond its stored properties.
    virtual void VirtualKeys(std::vector<std::string>&) {}
    // Names of display children (a clip's named clips and fields), which
    // for..in visits after the stored properties.
    virtual void ChildKeys(std::vector<std::string>&) {}

    // Marks the objects this one refers to beyond properties and prototype.
    virtual void TraceRefs(Tracer&) {}

    bool marked = false;
};

class Tracer {
public:
    void Mark(Object* object) {
        if (object && !object->marked) {
            object->marked = true;
            pending_.push_back(object);
        }
    }
    void Mark(const Value& value) {
        if (value.type == Type::Object) Mark(value.object);
    }
    void Drain();

private:
    std::vector<Object*> pending_;
};

// Owns every script object; Collect frees those not reachable from roots.
class Heap {
public:
    Heap() = default;
    ~Heap();
    Heap(const Heap&) = delete;
    Heap& operator=(const Heap&) = delete;

    template <class T, class... A>
    T* Make(A&&... args) {
        T* object = new T(std::forward<A>(args)...);
        objects_.push_back(object);
        ++made_since_collect_;
        return object;
    }
    // Frees unreachable objects; mark_roots marks what is reachable.
    template <class F>
    void Collect(F mark_roots) {
        Tracer tracer;
        mark_roots(tracer);
        tracer.Drain();
        Sweep();
    }
    size_t Count() const { return objects_.size(); }
    size_t made_since_collect() const { return made_since_collect_; }

private:
    void Sweep();

    std::vector<Object*> objects_;
    size_t made_since_collect_ = 0;
};

}  // namespace flash::avm1
