#include "skin/skin_package_writer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/lzh.h"
#include "skin/skin_reader.h"

namespace {

void PutInt32(std::vector<uint8_t>& out, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; i++) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::vector<uint8_t> BuildSkinImage(const std::vector<SkinPackageEntry>& entries, int32_t version) {
    std::string names;
    for (const SkinPackageEntry& e : entries) names += e.name + "\r\n";
    std::vector<uint8_t> image;
    PutInt32(image, version);
    PutInt32(image, static_cast<int32_t>(names.size()));
    PutInt32(image, 0);
    PutInt32(image, 0);
    image.insert(image.end(), names.begin(), names.end());
    for (const SkinPackageEntry& e : entries) PutInt32(image, static_cast<int32_t>(e.data.size()));
    for (const SkinPackageEntry& e : entries) image.insert(image.end(), e.data.begin(), e.data.end());
    return image;
}

std::vector<uint8_t> BuildSkinPackage(const std::vector<SkinPackageEntry>& entries) {
    return LzhPack(BuildSkinImage(entries));
}

bool CollectSkinFolder(const std::string& folder, std::vector<SkinPackageEntry>& entries, std::string& error) {
    namespace fs = std::filesystem;
    entries.clear();
    std::vector<std::pair<std::string, fs::path>> inis, bitmaps;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(folder), ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string name = it->path().filename().string();
        const std::string folded = FoldSkinName(name);
        if (EndsWith(folded, ".ini"))
            inis.emplace_back(folded, it->path());
        else if (EndsWith(folded, ".bmp"))
            bitmaps.emplace_back(folded, it->path());
    }
    if (ec) {
        error = "cannot read the folder " + folder + ": " + ec.message();
        return false;
    }
    if (inis.empty()) {
        error = "the folder " + folder + " holds no .ini file";
        return false;
    }
    std::sort(inis.begin(), inis.end());
    std::sort(bitmaps.begin(), bitmaps.end());
    bitmaps.insert(bitmaps.begin(), inis.front());
    if (bitmaps.size() > static_cast<size_t>(kMaxSkinEntries)) {
        error = "the folder " + folder + " holds more than 1001 files to pack";
        return false;
    }
    for (const auto& [folded, path] : bitmaps) {
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            error = "cannot read " + path.string();
            return false;
        }
        entries.push_back({path.filename().string(), std::move(data)});
    }
    return true;
}
