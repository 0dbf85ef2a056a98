#include "flash/avm1/level_names.h"

#include "flash/avm1/display_host.h"

namespace flash::avm1 {

bool LevelNumber(const std::string& name, bool case_sensitive, int32_t* level) {
    if (name.size() < 6) return false;
    std::string prefix = name.substr(0, 6);
    if (!case_sensitive) prefix = FoldCase(prefix);
    if (prefix != "_level" && prefix != "_flash") return false;
    size_t pos = 6;
    bool negative = false;
    if (pos < name.size() && (name[pos] == '-' || name[pos] == '+')) negative = name[pos++] == '-';
    uint32_t number = 0;
    for (; pos < name.size() && name[pos] >= '0' && name[pos] <= '9'; ++pos)
        number = number * 10 + static_cast<uint32_t>(name[pos] - '0');
    if (negative) number = 0u - number;
    *level = static_cast<int32_t>(number);
    return true;
}

bool LevelValue(Vm& vm, const std::string& name, Value* out) {
    int32_t level = 0;
    if (!LevelNumber(name, vm.CaseSensitive(), &level)) return false;
    Object* clip = nullptr;
    if (vm.host && level >= 0) clip = vm.host->ResolveTarget(nullptr, "_level" + std::to_string(level));
    *out = clip ? Value(clip) : Value();
    return true;
}

}  // namespace flash::avm1
