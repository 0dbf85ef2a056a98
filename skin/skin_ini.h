// The skin definition text, read from memory with the rules of the
// platform's profile functions: section and key names compare without
// regard to case, the first section of a name and the first key of a name
// in it win, names and values are trimmed, one pair of quotes around a
// value is taken off, and lines starting with ";" are comments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class SkinIniText {
public:
    SkinIniText() = default;
    explicit SkinIniText(const std::string& text);

    // The section names in the order of the text (duplicates included).
    std::vector<std::string> Sections() const;
    bool HasKey(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // Decimal, or hexadecimal after "$", "0x" or "0X", with an optional sign;
    // anything else (and a number that does not fit 32 bits) gives fallback.
    int32_t ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const;

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    const Entry* Find(const std::string& section, const std::string& key) const;

    std::vector<Section> sections_;
};

// The integer rule of ReadInteger on a bare text.
bool ParseIniInteger(const std::string& text, int32_t& value);
