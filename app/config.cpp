#include "app/config.h"

#include <fstream>
#include <system_error>

namespace {

// A configuration file larger than this is not one the program wrote; it is
// neither read nor rewritten.
constexpr std::uintmax_t kMaxConfigBytes = 16u * 1024 * 1024;

}  // namespace

bool ConfigFile::Load(IniDocument* doc) const {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) {
        *doc = IniDocument();
        return !ec;
    }
    std::uintmax_t size = std::filesystem::file_size(path_, ec);
    if (ec || size > kMaxConfigBytes) return false;
    std::ifstream in(path_, std::ios::binary);
    if (!in) return false;
    std::string bytes(size_t(size), '\0');
    in.read(bytes.data(), std::streamsize(bytes.size()));
    bytes.resize(size_t(in.gcount()));
    *doc = IniDocument::Parse(bytes);
    return true;
}

std::string ConfigFile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view default_value) const {
    IniDocument doc;
    if (!Load(&doc)) return std::string(default_value);
    return doc.ReadString(section, key, default_value);
}

int32_t ConfigFile::ReadInteger(std::string_view section, std::string_view key,
                                int32_t default_value) const {
    IniDocument doc;
    if (!Load(&doc)) return default_value;
    return doc.ReadInteger(section, key, default_value);
}

bool ConfigFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    IniDocument doc;
    if (!Load(&doc)) return false;
    doc.WriteString(section, key, value);
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    const std::string bytes = doc.Serialize();
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    return !out.fail();
}

bool ConfigFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

PlaybackSettings ReadPlaybackSettings(const ConfigFile& config) {
    PlaybackSettings settings;
    settings.near_end_frames = config.ReadInteger(kConfigSection, kNearEndFramesKey, kNearEndFramesDefault);
    settings.skip_play = config.ReadInteger(kConfigSection, kAutoSkipKey, kAutoSkipDefault) == 1;
    settings.step_frames = config.ReadInteger(kConfigSection, kStepFramesKey, kStepFramesDefault);
    return settings;
}

std::string ReadSkinFile(const ConfigFile& config) {
    return config.ReadString(kConfigSection, kSkinFileKey, "");
}

bool WriteSkinFile(ConfigFile& config, std::string_view file_name) {
    return config.WriteString(kConfigSection, kSkinFileKey, file_name);
}

bool WriteAutoSkip(ConfigFile& config, bool skip_play) {
    return config.WriteInteger(kConfigSection, kAutoSkipKey, skip_play ? 1 : 0);
}

bool WriteDialogSettings(ConfigFile& config, const PlaybackSettings& settings) {
    bool ok = config.WriteInteger(kConfigSection, kNearEndFramesKey, settings.near_end_frames);
    ok = WriteAutoSkip(config, settings.skip_play) && ok;
    ok = config.WriteInteger(kConfigSection, kStepFramesKey, settings.step_frames) && ok;
    return ok;
}

int32_t SpinEditValue(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return ParseIniInteger(text).value_or(0);
}
