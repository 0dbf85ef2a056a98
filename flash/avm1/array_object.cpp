#include "flash/avm1/array_object.h"

#include "flash/avm1/vm.h"

#include <algorithm>
#include <cmath>

namespace flash::avm1 {

namespace {

// The 32-bit index a name given to an array stands for when it moves the
// length: an optional minus and digits, wrapped modulo 2^32.
bool WrappedIndex(const std::string& name, int32_t* out) {
    size_t start = !name.empty() && name[0] == '-' ? 1 : 0;
    if (start == name.size()) return false;
    uint32_t value = 0;
    for (size_t i = start; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
        value = value * 10u + static_cast<uint32_t>(name[i] - '0');
    }
    if (start) value = 0u - value;
    *out = static_cast<int32_t>(value);
    return true;
}

std::string IndexName(size_t i) { return std::to_string(i); }

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
    if (name != "length") return false;
    // A property added over the length (addProperty) wins.
    if (Property* own = FindOwn(name, true); own && own->IsVirtual()) return false;
    *out = static_cast<double>(length);
    return true;
}

bool ArrayObject::SetVirtual(Vm& vm, const std::string& name, const Value& value) {
    if (Property* own = FindOwn(name, true); own && own->IsVirtual()) return false;
    if (name == "length") {
        SetLength(ToInt32(vm.ToNumber(value)));
        return true;
    }
    int32_t index;
    if (WrappedIndex(name, &index) && index >= length)
        SetLength(static_cast<int32_t>(static_cast<uint32_t>(index) + 1u));
    return false;   // the element itself is stored as a property
}

std::vector<Value> OwnElements(Object& object, double length) {
    double count = std::isnan(length) ? 0 : std::clamp(length, 0.0, static_cast<double>(ArrayObject::kMaxElements));
    std::vector<Value> values(static_cast<size_t>(count));
    for (const PropertyMap::Entry& entry : object.properties.entries()) {
        int64_t index = ArrayIndex(entry.name);
        if (index >= 0 && static_cast<size_t>(index) < values.size())
            values[static_cast<size_t>(index)] = entry.property.value;
    }
    return values;
}

std::vector<Value> ArrayObject::Elements() { return OwnElements(*this, length); }

void ArrayObject::SetElements(const std::vector<Value>& values) {
    properties.EraseIf([](const PropertyMap::Entry& entry) { return ArrayIndex(entry.name) >= 0; });
    for (size_t i = 0; i < values.size(); ++i) properties.Set(IndexName(i), true).value = values[i];
    length = static_cast<int32_t>(std::min<size_t>(values.size(), INT32_MAX));
}

void ArrayObject::Push(const Value& value) {
    if (length >= 0) {
        Property& property = properties.Set(IndexName(static_cast<size_t>(length)), true);
        property = Property{};
        property.value = value;
    }
    length = static_cast<int32_t>(static_cast<uint32_t>(length) + 1u);
}

void ArrayObject::SetLength(int32_t new_length) {
    if (new_length < length) {
        int64_t low = std::max(new_length, 0);
        int64_t high = length;
        properties.EraseIf([&](const PropertyMap::Entry& entry) {
            int64_t index = ArrayIndex(entry.name);
            return index >= low && index < high;
        });
    }
    length = new_length;
}

}  // namespace flash::avm1
