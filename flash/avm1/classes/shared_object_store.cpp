#include "flash/avm1/classes/shared_object_store.h"

#include "flash/avm1/array_object.h"

#include <cstdlib>
#include <filesystem>
#include <set>

namespace flash::avm1 {

namespace {

constexpr int kMaxDepth = 64;

void Escape(const std::string& text, std::string& out) {
    out += std::to_string(text.size());
    out += ':';
    out += text;
}

void Write(Vm& vm, const Value& value, std::string& out, std::set<Object*>& seen, int depth) {
    switch (value.type) {
    case Type::Undefined: out += 'u'; return;
    case Type::Null: out += 'z'; return;
    case Type::Boolean: out += value.boolean ? 't' : 'f'; return;
    case Type::Number: out += 'n' + NumberToString(value.number) + ';'; return;
    case Type::String:
        out += 's';
        Escape(value.string, out);
        return;
    case Type::Object: break;
    }
    Object* object = value.object;
    // Functions, cycles and too deep nests are not saved.
    if (object->AsFunction() || seen.count(object) || depth > kMaxDepth) {
        out += 'u';
        return;
    }
    seen.insert(object);
    std::vector<std::string> keys = vm.EnumerableKeys(object);
    out += object->AsArray() ? 'a' : 'o';
    out += std::to_string(keys.size()) + ';';
    for (auto it = keys.rbegin(); it != keys.rend(); ++it) {
        Escape(*it, out);
        Write(vm, vm.Get(object, *it), out, seen, depth + 1);
    }
    seen.erase(object);
}

struct Reader {
    const std::string& text;
    size_t pos = 0;

    bool Number(size_t* n, char end) {
        size_t stop = text.find(end, pos);
        if (stop == std::string::npos || stop == pos) return false;
        *n = std::strtoull(text.substr(pos, stop - pos).c_str(), nullptr, 10);
        pos = stop + 1;
        return true;
    }
    bool String(std::string* s) {
        size_t length = 0;
        if (!Number(&length, ':') || pos + length > text.size()) return false;
        *s = text.substr(pos, length);
        pos += length;
        return true;
    }
    bool Read(Vm& vm, Value* value, int depth) {
        if (pos >= text.size() || depth > kMaxDepth) return false;
        char tag = text[pos++];
        switch (tag) {
        case 'u': *value = Value(); return true;
        case 'z': *value = Value::Null(); return true;
        case 't': *value = Value(true); return true;
        case 'f': *value = Value(false); return true;
        case 'n': {
            size_t stop = text.find(';', pos);
            if (stop == std::string::npos) return false;
            *value = Value(StringToNumber(text.substr(pos, stop - pos), false));
            pos = stop + 1;
            return true;
        }
        case 's': {
            std::string s;
            if (!String(&s)) return false;
            *value = Value(s);
            return true;
        }
        case 'a':
        case 'o': {
            Object* object = tag == 'a' ? vm.MakeArray() : vm.MakeObject();
            if (!Fill(vm, object, depth)) return false;
            *value = Value(object);
            return true;
        }
        }
        return false;
    }
    bool Fill(Vm& vm, Object* object, int depth) {
        size_t count = 0;
        if (!Number(&count, ';')) return false;
        for (size_t i = 0; i < count; ++i) {
            std::string name;
            Value member;
            if (!String(&name) || !Read(vm, &member, depth + 1)) return false;
            vm.Set(object, name, member);
        }
        return true;
    }
};

}  // namespace

std::string SerializeData(Vm& vm, Object* data) {
    std::string out = "CVSO1\n";
    std::set<Object*> seen;
    Write(vm, Value(data), out, seen, 0);
    return out;
}

bool DeserializeData(Vm& vm, const std::string& text, Object* data) {
    if (text.compare(0, 6, "CVSO1\n") != 0) return false;
    Reader reader{text, 7};
    if (text.size() < 7 || (text[6] != 'o' && text[6] != 'a')) return false;
    return reader.Fill(vm, data, 0);
}

bool ValidSharedObjectName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.back() == '/' || name.find("//") != std::string::npos)
        return false;
    static const std::string kForbidden = "~%&\\;:\"',<>?# \t\r\n";
    for (char c : name)
        if (kForbidden.find(c) != std::string::npos || static_cast<unsigned char>(c) < 0x20) return false;
    for (size_t start = 0; start <= name.size();) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        std::string part = name.substr(start, end - start);
        if (part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

std::string SharedObjectFolder(const Vm& vm) {
    if (!vm.shared_object_folder.empty()) return vm.shared_object_folder;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return std::string(xdg) + "/corvella";
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share/corvella";
    std::error_code error;
    return (std::filesystem::temp_directory_path(error) / "corvella").string();
}

}  // namespace flash::avm1
