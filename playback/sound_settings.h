// Volume, channel, picture quality and zoom: the values the settings
// commands send. Nothing here is stored between runs.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The volume bar: the picture VolImg with the dark overlay VolLbl over the
// part that is not selected.
inline constexpr int kVolumeImageWidth = 77;    // design width of VolImg
inline constexpr int kVolumeOverlayWidth = 38;  // design width of VolLbl: 50 %
inline constexpr int kStartVolumeLevel = 100;   // level sent at start

// (image width − overlay width) × 100 ÷ image width, truncated toward zero;
// 0 for an image without width.
int VolumePercent(int image_width, int overlay_width);

// percent × 255 ÷ 100 as the hidden edit box holds it: decimal text of up
// to 15 significant digits.
std::string VolumeLevelText(int percent);

// The level the edit box's text gives: the number rounded half to even,
// 0 for a negative number (the box shows "0" instead) or no number, and at
// most 255, the loudest wave-out level.
int VolumeLevelFromText(std::string_view text);

// The text of percent read back.
int VolumeLevelFromPercent(int percent);

inline int VolumeLevelFromBar(int image_width, int overlay_width) {
    return VolumeLevelFromPercent(VolumePercent(image_width, overlay_width));
}

// The wave-out volume of device 0: the level × 256 in both 16-bit channels.
// The level is first limited to 0..255, so it never spills into the other
// channel. Level 255 gives 0xFF00FF00.
uint32_t WaveOutVolume(int level);

// "音+": +10 unless the level is above 245. "音-": −10 unless it is 10 or less.
int VolumeUp(int level);
int VolumeDown(int level);

// Where the overlay goes after a left click on the bar.
struct OverlayPlace {
    int left = 0;
    int width = 0;
};

// A click at x in the picture.
OverlayPlace OverlayAfterImageClick(int x, int image_left, int image_width, int panel_left);
// A click at x in the overlay itself.
OverlayPlace OverlayAfterOverlayClick(int x, int overlay_left, int image_left, int image_width,
                                      int panel_left);

// MCI command strings of the channel choice, sent to every open device.
inline constexpr char kChannelAllOff[] = "set all audio all off";
inline constexpr char kChannelLeftOn[] = "set all audio left on";
inline constexpr char kChannelRightOn[] = "set all audio right on";
inline constexpr char kChannelAllOn[] = "set all audio all on";

// Flash picture quality.
inline constexpr int kQualityHigh = 1;
inline constexpr int kQualityMedium = 2;
inline constexpr int kQualityLow = 0;

// Flash Zoom factors: in, out, whole movie.
inline constexpr int kZoomIn = 50;
inline constexpr int kZoomOut = 200;
inline constexpr int kZoomWhole = 0;
