#include "skin/skin_ini.h"

#include <cstddef>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) begin++;
    while (end > begin && IsBlank(text[end - 1])) end--;
    return text.substr(begin, end - begin);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

SkinIniText::SkinIniText(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            // The name ends at the last "]"; a header without one is
            // skipped, and its keys stay with the section before.
            const size_t close = line.rfind(']');
            if (close != std::string::npos) sections_.push_back({Trim(line.substr(1, close - 1)), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos || sections_.empty()) continue;
        std::string value = Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            value = value.substr(1, value.size() - 2);
        sections_.back().entries.push_back({Trim(line.substr(0, equals)), value});
    }
}

std::vector<std::string> SkinIniText::Sections() const {
    std::vector<std::string> names;
    for (const Section& s : sections_) names.push_back(s.name);
    return names;
}

const SkinIniText::Entry* SkinIniText::Find(const std::string& section, const std::string& key) const {
    for (const Section& s : sections_) {
        if (!SameName(s.name, section)) continue;
        for (const Entry& e : s.entries)
            if (SameName(e.key, key)) return &e;
        return nullptr;  // only the first section of a name is looked at
    }
    return nullptr;
}

bool SkinIniText::HasKey(const std::string& section, const std::string& key) const {
    return Find(section, key) != nullptr;
}

std::string SkinIniText::ReadString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
    const Entry* e = Find(section, key);
    return e ? e->value : fallback;
}

int32_t SkinIniText::ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const {
    const Entry* e = Find(section, key);
    int32_t value;
    if (e && ParseIniInteger(e->value, value)) return value;
    return fallback;
}

bool ParseIniInteger(const std::string& raw, int32_t& value) {
    const std::string text = Trim(raw);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        i++;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size()) return false;

    uint64_t number = 0;
    for (; i < text.size(); i++) {
        const int digit = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) return false;
        number = number * (hex ? 16 : 10) + digit;
        if (number > 0xFFFFFFFFull) return false;
    }
    // A hexadecimal number fills all 32 bits ($FFFFFFFF is -1); a decimal
    // one must fit a signed 32-bit number.
    if (!hex && number > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return false;
    uint32_t bits = static_cast<uint32_t>(number);
    if (negative) bits = 0u - bits;
    value = static_cast<int32_t>(bits);
    return true;
}
