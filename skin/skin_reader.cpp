#include "skin/skin_reader.h"

#include "skin/lzh.h"

const char* const kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";
const char* const kTooManySkinEntriesMessage =
    "This skin file lists more than 1001 files and cannot be used.";
const char* const kDamagedSkinMessage = "This skin file is damaged and cannot be used.";

namespace {

int32_t ReadInt32(const std::vector<uint8_t>& data, size_t pos) {
    return static_cast<int32_t>(data[pos] | (data[pos + 1] << 8) | (data[pos + 2] << 16) |
                                (static_cast<uint32_t>(data[pos + 3]) << 24));
}

bool Refuse(std::string* message, const char* text) {
    if (message) *message = text;
    return false;
}

}  // namespace

std::string FoldSkinName(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

std::vector<std::string> SplitSkinNames(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size() && text[pos] != '\0') {
        const size_t start = pos;
        while (pos < text.size() && text[pos] != '\0' && text[pos] != '\r' && text[pos] != '\n') pos++;
        lines.push_back(text.substr(start, pos - start));
        if (pos < text.size() && text[pos] == '\r') pos++;
        if (pos < text.size() && text[pos] == '\n') pos++;
    }
    return lines;
}

void TSkinReader::Reset() {
    header_ = {};
    names_.clear();
    offsets_.clear();
    image_.clear();
    for (int32_t& size : sizes_) size = 0;
}

bool TSkinReader::ReadPackage(const std::vector<uint8_t>& package, std::string* message) {
    Reset();
    std::vector<uint8_t> image;
    try {
        TLZH().Unpack(package, image);
    } catch (const ElzhException&) {
        return Refuse(message, kDamagedSkinMessage);
    }
    if (image.size() < 16) return Refuse(message, kDamagedSkinMessage);

    SkinPackageHeader header;
    header.version = ReadInt32(image, 0);
    header.names_length = ReadInt32(image, 4);
    header.reserved1 = ReadInt32(image, 8);
    header.reserved2 = ReadInt32(image, 12);
    if (header.version != kSkinPackageVersion) return Refuse(message, kOlderSkinMessage);

    // Everything the directory names must lie inside the image: the name
    // list, the size table, and every file in the data area.
    if (header.names_length < 0 || static_cast<size_t>(header.names_length) > image.size() - 16)
        return Refuse(message, kDamagedSkinMessage);
    const size_t names_end = 16 + static_cast<size_t>(header.names_length);
    std::vector<std::string> names =
        SplitSkinNames(std::string(image.begin() + 16, image.begin() + names_end));
    if (names.size() > static_cast<size_t>(kMaxSkinEntries)) return Refuse(message, kTooManySkinEntriesMessage);
    if (names.size() * 4 > image.size() - names_end) return Refuse(message, kDamagedSkinMessage);

    const size_t data_start = names_end + names.size() * 4;
    const size_t data_size = image.size() - data_start;
    std::vector<size_t> offsets;
    size_t offset = 0;
    for (size_t i = 0; i < names.size(); i++) {
        const int32_t size = ReadInt32(image, names_end + 4 * i);
        if (size < 0 || static_cast<size_t>(size) > data_size - offset) return Refuse(message, kDamagedSkinMessage);
        sizes_[i] = size;
        offsets.push_back(data_start + offset);
        offset += static_cast<size_t>(size);
    }

    header_ = header;
    for (std::string& name : names) names_.push_back(FoldSkinName(name));
    offsets_ = std::move(offsets);
    image_ = std::move(image);
    return true;
}

void TSkinReader::CopyEntry(size_t index, std::vector<uint8_t>& out) const {
    const auto begin = image_.begin() + offsets_[index];
    out.assign(begin, begin + sizes_[index]);
}

void TSkinReader::ExtractFile(const std::string& name, std::vector<uint8_t>& out) const {
    out.clear();
    const std::string folded = FoldSkinName(name);
    for (size_t i = 0; i < names_.size(); i++) {
        if (names_[i] == folded) {
            CopyEntry(i, out);
            return;
        }
    }
}

std::string TSkinReader::ExtractFirstMatching(const std::string& fragment, std::vector<uint8_t>& out) const {
    out.clear();
    for (size_t i = 0; i < names_.size(); i++) {
        if (names_[i].find(fragment) != std::string::npos) {
            CopyEntry(i, out);
            return names_[i];
        }
    }
    return "";
}
