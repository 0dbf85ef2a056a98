// "config.ini" beside the executable: section "mydata" with the skin file
// and the three playback settings. Every read looks at the file as it is now
// and every write goes to the file at once; a missing file or key gives the
// key's default, and the first write creates the file and the section.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "app/ini_file.h"

inline constexpr char kConfigFileName[] = "config.ini";
inline constexpr char kConfigSection[] = "mydata";
inline constexpr char kSkinFileKey[] = "skinfile";
inline constexpr char kAutoSkipKey[] = "AutoSkip";
inline constexpr char kNearEndFramesKey[] = "mySkipzs";
inline constexpr char kStepFramesKey[] = "overCurrentFileZS";

inline constexpr int32_t kAutoSkipDefault = 8;  // any value but 1 means off
inline constexpr int32_t kNearEndFramesDefault = 8;
inline constexpr int32_t kStepFramesDefault = 8;

// The INI file on disk, opened per access. Text is in the file's bytes.
class ConfigFile {
public:
    explicit ConfigFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& Path() const { return path_; }

    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view default_value) const;
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;

    // False when the file could not be written (the caller goes on all the
    // same) or when an existing file could not be read, in which case it is
    // left untouched rather than replaced by a document of one key.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, int32_t value);

private:
    bool Load(IniDocument* doc) const;

    std::filesystem::path path_;
};

// The playback settings as the running program holds them.
struct PlaybackSettings {
    bool skip_play = false;       // SkipPlay
    int32_t near_end_frames = 0;  // NearEndFrames
    int32_t step_frames = 0;      // StepFrames
};

// Read when the main window is shown: "mySkipzs", "AutoSkip" (only 1 is on),
// "overCurrentFileZS", each 8 when missing or not a number.
PlaybackSettings ReadPlaybackSettings(const ConfigFile& config);

std::string ReadSkinFile(const ConfigFile& config);
bool WriteSkinFile(ConfigFile& config, std::string_view file_name);

// "AutoSkip" := 1 or 0.
bool WriteAutoSkip(ConfigFile& config, bool skip_play);

// The settings dialog's apply: "mySkipzs", "AutoSkip", "overCurrentFileZS"
// in this order.
bool WriteDialogSettings(ConfigFile& config, const PlaybackSettings& settings);

// The value of a number field of the settings dialog: no bounds, and text
// that is not an integer counts as 0.
int32_t SpinEditValue(std::string_view text);
