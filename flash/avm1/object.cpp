#include "flash/avm1/object.h"

namespace flash::avm1 {

std::string FoldCase(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

Property* PropertyMap::Find(const std::string& name, bool case_sensitive) {
    auto exact = exact_.find(name);
    if (exact != exact_.end()) return &entries_[exact->second].property;
    if (case_sensitive) return nullptr;
    auto folded = folded_.find(FoldCase(name));
    return folded == folded_.end() ? nullptr : &entries_[folded->second].property;
}

Property& PropertyMap::Set(const std::string& name, bool case_sensitive) {
    if (Property* found = Find(name, case_sensitive)) return *found;
    uint32_t index = static_cast<uint32_t>(entries_.size());
    entries_.push_back({name, Property{}});
    exact_.emplace(name, index);
    folded_.emplace(FoldCase(name), index);
    return entries_.back().property;
}

bool PropertyMap::Erase(const std::string& name, bool case_sensitive) {
    auto exact = exact_.find(name);
    uint32_t index;
    if (exact != exact_.end()) {
        index = exact->second;
    } else {
        if (case_sensitive) return false;
        auto folded = folded_.find(FoldCase(name));
        if (folded == folded_.end()) return false;
        index = folded->second;
    }
    entries_.erase(entries_.begin() + index);
    Reindex();
    return true;
}

void PropertyMap::Reindex() {
    exact_.clear();
    folded_.clear();
    for (uint32_t i = 0; i < entries_.size(); ++i) {
        exact_.emplace(entries_[i].name, i);
        folded_.emplace(FoldCase(entries_[i].name), i);
    }
}

void Object::Define(const std::string& name, Value value, uint8_t flags) {
    Property& property = properties.Set(name, true);
    property.value = std::move(value);
    property.getter = property.setter = nullptr;
    property.flags = flags;
}

void Tracer::Drain() {
    while (!pending_.empty()) {
        Object* object = pending_.back();
        pending_.pop_back();
        Mark(object->proto);
        Mark(object->primitive);
        Mark(object->native_part);
        for (const auto& entry : object->properties.entries()) {
            Mark(entry.property.value);
            Mark(entry.property.getter);
            Mark(entry.property.setter);
        }
        if (object->watches)
            for (const auto& [name, watch] : *object->watches) {
                Mark(watch.callback);
                Mark(watch.user_data);
            }
        object->TraceRefs(*this);
    }
}

Heap::~Heap() {
    for (Object* object : objects_) delete object;
}

void Heap::Sweep() {
    size_t kept = 0;
    for (Object* object : objects_) {
        if (object->marked) {
            object->marked = false;
            objects_[kept++] = object;
        } else {
            delete object;
        }
    }
    objects_.resize(kept);
    made_since_collect_ = 0;
}

}  // namespace flash::avm1
