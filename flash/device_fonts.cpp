#include "flash/device_fonts.h"

#include "flash/truetype.h"

#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <tuple>

namespace flash {

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// The Liberation file that stands in for a face: sans for Arial and faces
// like it, mono for Courier, serif for Times.
std::vector<uint8_t> ReadLiberation(const std::string& face, bool bold, bool italic) {
    std::string name = Lower(face);
    const char* family = nullptr;
    if (name.find("courier") != std::string::npos || name.find("mono") != std::string::npos) family = "Mono";
    else if (name.find("times") != std::string::npos || name == "serif" || name == "georgia") family = "Serif";
    else if (name == "arial" || name == "helvetica" || name == "verdana" || name == "tahoma" || name == "sans")
        family = "Sans";
    if (!family) return {};
    std::string style = bold && italic ? "BoldItalic" : bold ? "Bold" : italic ? "Italic" : "Regular";
    std::ifstream in(std::string("/usr/share/fonts/truetype/liberation/Liberation") + family + "-" + style + ".ttf",
                     std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

FontFileReader reader = ReadLiberation;

std::map<std::tuple<std::string, bool, bool>, std::shared_ptr<Font>>& Cache() {
    static std::map<std::tuple<std::string, bool, bool>, std::shared_ptr<Font>> cache;
    return cache;
}

const Font* Load(const std::string& face, bool bold, bool italic) {
    auto key = std::make_tuple(Lower(face), bold, italic);
    auto found = Cache().find(key);
    if (found != Cache().end()) return found->second.get();
    std::vector<uint8_t> bytes = reader(face, bold, italic);
    std::shared_ptr<Font> font = bytes.empty() ? nullptr : ReadTrueType(bytes);
    if (font) font->name = face, font->bold = bold, font->italic = italic;
    Cache()[key] = font;
    return font.get();
}

}  // namespace

void SetFontFileReader(FontFileReader given) {
    reader = given ? given : ReadLiberation;
    Cache().clear();
}

std::string DeviceFace(const std::string& name) {
    std::string lower = Lower(name);
    if (lower == "_sans") return "Arial";
    if (lower == "_serif") return "Times New Roman";
    if (lower == "_typewriter") return "Courier New";
    return name;
}

const Font* DeviceFont(const std::string& name, bool bold, bool italic) {
    std::string face = DeviceFace(name);
    if (const Font* font = Load(face, bold, italic)) return font;
    if (const Font* font = Load("Times New Roman", bold, italic)) return font;
    return Load("Times New Roman", false, false);
}

}  // namespace flash
