#include "app/ini_file.h"

#include <limits>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

// The section name of a header line, or nothing when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    size_t close = line.find(']');
    if (close != std::string_view::npos) line = line.substr(0, close);
    return TrimBlanks(line);
}

bool IsComment(std::string_view line) {
    line = TrimBlanks(line);
    return !line.empty() && line.front() == ';';
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int32_t> ParseIniInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        uint64_t value = 0;
        for (char c : text.substr(2)) {
            int digit = HexDigit(c);
            if (digit < 0) return std::nullopt;
            value = value * 16 + uint64_t(digit);
            if (value > 0xFFFFFFFFu) return std::nullopt;
        }
        return int32_t(uint32_t(value));
    }
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    const int64_t limit = negative ? -int64_t(std::numeric_limits<int32_t>::min())
                                   : int64_t(std::numeric_limits<int32_t>::max());
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit) return std::nullopt;
    }
    return int32_t(negative ? -value : value);
}

IniDocument IniDocument::Parse(std::string_view bytes) {
    IniDocument doc;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        if (end == bytes.size()) {
            doc.lines_.emplace_back(bytes.substr(start));
            break;
        }
        doc.lines_.emplace_back(bytes.substr(start, end - start));
        start = end + 1;
        if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
    }
    return doc;
}

std::string IniDocument::Serialize() const {
    std::string out;
    for (const std::string& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

size_t IniDocument::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::optional<std::string_view> name = SectionName(lines_[i]);
        if (name && SameName(*name, TrimBlanks(section))) return i;
    }
    return std::string::npos;
}

size_t IniDocument::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && !SectionName(lines_[i])) ++i;
    return i;
}

std::optional<IniDocument::KeyLine> IniDocument::FindKey(size_t header, std::string_view key) const {
    key = TrimBlanks(key);
    size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        std::string_view line = lines_[i];
        if (IsComment(line)) continue;
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view name = TrimBlanks(line.substr(0, equals));
        if (!SameName(name, key)) continue;
        std::string_view value = Unquote(TrimBlanks(line.substr(equals + 1)));
        return KeyLine{i, std::string(name), std::string(value)};
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Find(std::string_view section, std::string_view key) const {
    size_t header = FindSection(section);
    if (header == std::string::npos) return std::nullopt;
    std::optional<KeyLine> found = FindKey(header, key);
    if (!found) return std::nullopt;
    return found->value;
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view default_value) const {
    std::optional<std::string> value = Find(section, key);
    return value ? *value : std::string(default_value);
}

int32_t IniDocument::ReadInteger(std::string_view section, std::string_view key,
                                 int32_t default_value) const {
    std::optional<std::string> value = Find(section, key);
    if (!value) return default_value;
    return ParseIniInteger(*value).value_or(default_value);
}

void IniDocument::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    size_t header = FindSection(section);
    if (header == std::string::npos) {
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(std::string(key) + "=" + std::string(value));
        return;
    }
    if (std::optional<KeyLine> found = FindKey(header, key)) {
        lines_[found->line] = found->name + "=" + std::string(value);
        return;
    }
    // A new key goes after the section's last line that is not blank, so
    // that blank lines before the next section stay where they are.
    size_t insert_at = SectionEnd(header);
    while (insert_at > header + 1 && TrimBlanks(lines_[insert_at - 1]).empty()) --insert_at;
    lines_.insert(lines_.begin() + std::ptrdiff_t(insert_at), std::string(key) + "=" + std::string(value));
}

void IniDocument::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}
