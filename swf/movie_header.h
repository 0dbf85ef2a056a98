// The header of a movie as a player reads it: the 8-byte file header
// ("FWS" or "CWS", version, FileLength), the body behind it (inflated for
// "CWS"), and the stage, frame rate and frame count that start the body.
#pragma once

#include <cstdint>
#include <vector>

#include "swf/byte_reader.h"
#include "swf/records.h"

namespace swf {

struct FileHeader {
    bool compressed = false;
    uint8_t version = 0;
    uint32_t file_length = 0;
};

// The 8 header bytes of file. Throws SwfDataError for a file shorter than
// them, a wrong signature and a FileLength below 8.
FileHeader ReadFileHeader(Bytes file);

// The body of the movie after the 8-byte file header, inflated for "CWS":
// at most FileLength - 8 and kMaxMovieBytes bytes. A file shorter than its
// header claims keeps what it has, and a compressed body damaged part way
// keeps what inflated before the damage; one that inflates to nothing
// throws SwfDataError.
std::vector<uint8_t> MovieBody(Bytes file);

struct FrameHeader {
    Rect stage;
    uint16_t frame_rate = 0;   // 8.8 fixed point, frames per second
    uint16_t frame_count = 0;
};

// Reads the frame header from the start of body, leaving in at the first tag.
FrameHeader ReadFrameHeader(ByteReader& in);

}  // namespace swf
