// The tag codes and the tag header: a 16-bit word of a 10-bit code and a
// 6-bit length, the length 63 meaning that a 32-bit length follows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "swf/byte_reader.h"

namespace swf {

namespace tag_codes {

enum TagCode {
    kEnd = 0,
    kShowFrame = 1,
    kDefineShape = 2,
    kPlaceObject = 4,
    kRemoveObject = 5,
    kDefineBits = 6,
    kDefineButton = 7,
    kJpegTables = 8,
    kSetBackgroundColor = 9,
    kDefineFont = 10,
    kDefineText = 11,
    kDoAction = 12,
    kDefineSound = 14,
    kStartSound = 15,
    kDefineButtonSound = 17,
    kSoundStreamHead = 18,
    kSoundStreamBlock = 19,
    kDefineBitsLossless = 20,
    kDefineBitsJpeg2 = 21,
    kDefineShape2 = 22,
    kPlaceObject2 = 26,
    kRemoveObject2 = 28,
    kDefineShape3 = 32,
    kDefineText2 = 33,
    kDefineButton2 = 34,
    kDefineBitsJpeg3 = 35,
    kDefineBitsLossless2 = 36,
    kDefineEditText = 37,
    kDefineSprite = 39,
    kFrameLabel = 43,
    kSoundStreamHead2 = 45,
    kDefineMorphShape = 46,
    kDefineFont2 = 48,
    kExportAssets = 56,
    kDoInitAction = 59,
    kDefineVideoStream = 60,
    kVideoFrame = 61,
    kPlaceObject3 = 70,
    kDefineFont3 = 75,
    kSymbolClass = 76,
    kDefineShape4 = 83,
    kDefineMorphShape2 = 84,
    kStartSound2 = 89,
    kDefineBitsJpeg4 = 90,
};

}  // namespace tag_codes

using namespace tag_codes;

struct TagHeader {
    uint16_t code = 0;        // the 10-bit code
    size_t header_pos = 0;    // first byte of the header
    size_t body_pos = 0;      // first body byte, just behind the header
    uint32_t length = 0;      // as the header states it; may run past the end
};

// The header of the tag at pos in data, or nothing when data ends inside
// it (fewer than 2 bytes, or a long form without its 4 length bytes).
std::optional<TagHeader> ReadTagHeader(Bytes data, size_t pos);

// The body of a tag: its stated length clamped to the data.
inline Bytes TagBody(Bytes data, const TagHeader& tag) { return Clamp(data, tag.body_pos, tag.length); }

// The position behind the tag's stated body, which may lie past the end of
// the data (64 bits, so a length near 4 GB cannot wrap around).
inline uint64_t NextTagPos(const TagHeader& tag) { return uint64_t(tag.body_pos) + tag.length; }

}  // namespace swf
