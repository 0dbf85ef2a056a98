// Device fonts: the fonts of the system that text without embedded outlines
// is measured and drawn with. The generic names _sans, _serif and
// _typewriter (and the faces they stand for) are Arial, Times New Roman and
// Courier New; other names are asked of the system as they are.
#pragma once

#include "flash/movie.h"

#include <cstdint>
#include <string>
#include <vector>

namespace flash {

// The TrueType bytes of a face, empty when the system has none by that name.
using FontFileReader = std::vector<uint8_t> (*)(const std::string& face, bool bold, bool italic);

// Replaces where device fonts come from (the Windows build reads the
// system's fonts; the default reads fonts metric-compatible with the three
// faces from the Liberation family folder).
void SetFontFileReader(FontFileReader reader);

// The face a font name is drawn in: generic names mapped, others as given.
std::string DeviceFace(const std::string& name);

// The font for a name and style, loaded once; falls back to the face
// _serif stands for, and nullptr only when no font can be read at all.
const Font* DeviceFont(const std::string& name, bool bold, bool italic);

}  // namespace flash
