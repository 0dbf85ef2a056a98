#include "flash/avm1/array_object.h"

#include "flash/avm1/vm.h"

#include <cmath>

namespace flash::avm1 {

namespace {

// Longest array a script may make; longer lengths are cut to this.
constexpr size_t kMaxLength = 1u << 24;

}  // namespace

int64_t ArrayIndex(const std::string& name) {
    if (name.empty() || name.size() > 10) return -1;
    if (name.size() > 1 && name[0] == '0') return -1;
    int64_t value = 0;
    for (char c : name) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value < (int64_t{1} << 31) ? value : -1;
}

bool ArrayObject::GetVirtual(Vm&, const std::string& name, Value* out) {
    // A property added over an element or the length (addProperty) wins.
    if (Property* own = FindOwn(name, true); own && own->IsVirtual()) return false;
    if (name == "length") {
        *out = static_cast<double>(elements.size());
        return true;
    }
    int64_t index = ArrayIndex(name);
    if (index < 0 || index >= static_cast<int64_t>(elements.size())) return false;
    *out = elements[static_cast<size_t>(index)];
    return true;
}

bool ArrayObject::SetVirtual(Vm& vm, const std::string& name, const Value& value) {
    if (Property* own = FindOwn(name, true); own && own->IsVirtual()) return false;
    if (name == "length") {
        double n = vm.ToNumber(value);
        if (!std::isfinite(n) || n < 0) n = 0;
        elements.resize(std::min(static_cast<size_t>(n), kMaxLength));
        return true;
    }
    int64_t index = ArrayIndex(name);
    if (index < 0) return false;
    if (static_cast<size_t>(index) >= kMaxLength) return false;
    if (static_cast<size_t>(index) >= elements.size()) elements.resize(static_cast<size_t>(index) + 1);
    elements[static_cast<size_t>(index)] = Element(value);
    return true;
}

bool ArrayObject::DeleteVirtual(Vm&, const std::string& name) {
    int64_t index = ArrayIndex(name);
    if (index < 0 || index >= static_cast<int64_t>(elements.size())) return false;
    elements[static_cast<size_t>(index)] = Value();
    return true;
}

void ArrayObject::VirtualKeys(std::vector<std::string>& keys) {
    for (size_t i = 0; i < elements.size(); ++i)
        if (!IsHole(elements[i])) keys.push_back(std::to_string(i));
}

}  // namespace flash::avm1
