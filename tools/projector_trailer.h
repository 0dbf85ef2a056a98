// The stand-alone executable layout: the projector's bytes, the SWF bytes
// unchanged, then an eight-byte trailer: the marker 0xFA123456 and the SWF's
// size, both 32-bit little-endian.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

constexpr uint32_t kProjectorMarker = 0xFA123456u;
constexpr int kProjectorTrailerSize = 8;

// The eight trailer bytes for a movie of swf_size bytes (low 32 bits kept).
std::string ProjectorTrailer(uint64_t swf_size);

struct AppendedMovie {
    uint64_t offset = 0;
    uint32_t size = 0;
};

// Where the movie lies in a file of file_size bytes whose last eight bytes are
// trailer: nothing when the marker is missing or the size does not fit before
// the trailer.
std::optional<AppendedMovie> FindAppendedMovie(const unsigned char trailer[kProjectorTrailerSize],
                                               uint64_t file_size);

// The output name the converter proposes for a playlist path: the file-name
// part, blanks trimmed, less its last four characters, plus ".exe".
std::wstring ProjectorDefaultName(const std::wstring& path);
