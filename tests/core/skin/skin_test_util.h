// Helpers of the skin tests: packages and bitmaps made on the spot.
#pragma once

#include <string>
#include <vector>

#include "skin/bitmap.h"
#include "skin/lzh.h"
#include "skin/skin_package_writer.h"

namespace skintest {

inline std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// A BMP file of w x h pixels of one colour.
inline std::vector<uint8_t> SolidBmp(int w, int h, uint32_t colour = 0x123456) {
    SkinBitmap b;
    b.Resize(w, h, colour);
    return EncodeBmp24(b);
}

inline std::vector<uint8_t> Package(const std::vector<SkinPackageEntry>& entries) { return BuildSkinPackage(entries); }

// A package of one definition text and bitmaps given as name and size.
struct BitmapSpec {
    std::string name;
    int width;
    int height;
};
inline std::vector<uint8_t> SkinPackage(const std::string& ini, const std::vector<BitmapSpec>& bitmaps = {}) {
    std::vector<SkinPackageEntry> entries = {{"skin.ini", Bytes(ini)}};
    for (const BitmapSpec& b : bitmaps) entries.push_back({b.name, SolidBmp(b.width, b.height)});
    return Package(entries);
}

}  // namespace skintest
