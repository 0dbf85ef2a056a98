#include "playback/sound_settings.h"

#include <cstdio>
#include <cstdlib>

#include "playback/transport.h"

int VolumePercent(int image_width, int overlay_width) {
    if (image_width == 0) return 0;
    return int((int64_t(image_width) - overlay_width) * 100 / image_width);
}

std::string VolumeLevelText(int percent) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", double(percent) * 255.0 / 100.0);
    return text;
}

int VolumeLevelFromText(std::string_view text) {
    double value = std::strtod(std::string(text).c_str(), nullptr);
    if (!(value > 0)) return 0;
    if (value > 255) return 255;
    return int(RoundHalfEven(value));
}

int VolumeLevelFromPercent(int percent) { return VolumeLevelFromText(VolumeLevelText(percent)); }

uint32_t WaveOutVolume(int level) {
    if (level < 0) level = 0;
    if (level > 255) level = 255;
    return (uint32_t(level) << 24) | (uint32_t(level) << 8);
}

int VolumeUp(int level) { return level > 245 ? level : level + 10; }

int VolumeDown(int level) { return level <= 10 ? level : level - 10; }

OverlayPlace OverlayAfterImageClick(int x, int image_left, int image_width, int panel_left) {
    OverlayPlace place;
    place.width = image_width - x;
    place.left = x + image_left + panel_left + 2;
    return place;
}

OverlayPlace OverlayAfterOverlayClick(int x, int overlay_left, int image_left, int image_width,
                                      int panel_left) {
    OverlayPlace place;
    place.left = overlay_left + x;
    place.width = image_width + image_left + panel_left - place.left + 2;
    return place;
}
