#include "skin/skin_data.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/skin_ini.h"
#include "skin/skin_reader.h"

const char* const kNoSkinDefinitionMessage = "This skin file holds no skin definition (.ini) and cannot be used.";

TSkinControls TSkinControls::All() {
    TSkinControls all;
    for (int m = xcMainMenu; m <= xcFastReport; m++) all.Include(static_cast<TSkinControlType>(m));
    return all;
}

TSkinControls TSkinData::DefaultSkinControls() {
    TSkinControls controls = TSkinControls::All();
    controls.Exclude(xcFastReport);
    return controls;
}

TSkinData::TSkinData() {
    static const char* const names[4] = {"Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 4; i++) Borders[i].Name = names[i];
    Title.Name = "Title";
    Buttons.Name = "Buttons";
}

TSkinData::~TSkinData() = default;

bool TSkinData::SetActive(bool on) {
    if (on && empty_) return false;
    active_ = on;
    if (OnActiveChanged) OnActiveChanged(*this, on);
    return true;
}

std::string TSkinData::SkinStore() const { return Designing && !package_.empty() ? "(Good)" : "(none)"; }

void TSkinData::Refuse(const std::string& message) {
    last_message_ = message;
    if (OnMessage) OnMessage(message);
}

void TSkinData::SetSkinFile(const std::string& path) {
    empty_ = true;
    skin_file_ = path;
    if (Designing) {
        if (!path.empty()) package_.clear();
        return;
    }
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file(path);
    if (path.empty() || !fs::is_regular_file(file, ec)) return;
    const uintmax_t size = fs::file_size(file, ec);
    if (ec || size > kMaxSkinPackageFile) {
        Refuse(kDamagedSkinMessage);
        return;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return;
    package_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const bool loaded = LoadPackage();
    if (OnPackageApplied) OnPackageApplied(*this, loaded);
}

bool TSkinData::ReadSkinStream(const std::vector<uint8_t>& property) {
    package_.clear();
    if (property.size() < 4) return false;
    const int32_t n = static_cast<int32_t>(property[0] | (property[1] << 8) | (property[2] << 16) |
                                           (static_cast<uint32_t>(property[3]) << 24));
    if (n <= 0) return true;
    if (static_cast<size_t>(n) > property.size() - 4) return false;
    package_.assign(property.begin() + 4, property.begin() + 4 + n);
    if (!Designing) LoadPackage();
    return true;
}

std::vector<uint8_t> TSkinData::WriteSkinStream() const {
    const uint32_t n = static_cast<uint32_t>(package_.size());
    std::vector<uint8_t> property(4 + package_.size());
    for (int i = 0; i < 4; i++) property[i] = static_cast<uint8_t>(n >> (8 * i));
    std::copy(package_.begin(), package_.end(), property.begin() + 4);
    return property;
}

// The definition is read straight from the package in memory; no file is
// written for it.
bool TSkinData::LoadPackage() {
    empty_ = true;
    if (Designing) return false;
    last_message_.clear();

    TSkinReader reader;
    std::string message;
    if (!reader.ReadPackage(package_, &message)) {
        Refuse(message);
        return false;
    }
    std::vector<uint8_t> definition;
    if (reader.ExtractFirstMatching(".ini", definition).empty()) {
        Refuse(kNoSkinDefinitionMessage);
        return false;
    }
    ReadDefinition(SkinIniText(std::string(definition.begin(), definition.end())), reader);
    return true;
}
