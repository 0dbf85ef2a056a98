// An INI document held in memory: section lines in square brackets, one
// "key=value" line per key. Text is kept as the bytes of the file (the
// system's ANSI code page); names compare without regard to ASCII case.
// Reading and writing follow the platform's private-profile functions:
// blanks around names and values are ignored, a value in matching quotes
// loses them, a write replaces the key's line or adds it at the end of its
// section, and a missing section is added at the end of the document.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniDocument {
public:
    // Lines end with CR LF, a lone LF or a lone CR.
    static IniDocument Parse(std::string_view bytes);

    // The document as file bytes, every line ended by CR LF.
    std::string Serialize() const;

    // The key's value, or nothing when the section or the key is missing.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view default_value) const;
    // "0x" or "0X" followed by hexadecimal digits, or a decimal integer;
    // anything else (an empty value too) gives the default.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;

    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);

    const std::vector<std::string>& Lines() const { return lines_; }

private:
    struct KeyLine {
        size_t line;
        std::string name;
        std::string value;
    };

    // Index of the first line of the named section's header, or npos.
    size_t FindSection(std::string_view section) const;
    // Index one past the section's last line (the next header or the end).
    size_t SectionEnd(size_t header) const;
    std::optional<KeyLine> FindKey(size_t header, std::string_view key) const;

    std::vector<std::string> lines_;
};

// The integer rule of the INI reader, also used by the number fields of the
// settings dialog: "0x"/"0X" + hexadecimal digits (more than two characters
// in all, at most 32 bits, taken as a signed 32-bit value), or an optional
// sign and decimal digits within the signed 32-bit range.
std::optional<int32_t> ParseIniInteger(std::string_view text);
