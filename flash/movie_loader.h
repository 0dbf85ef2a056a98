// Loads a whole SWF movie ("FWS" or "CWS") from memory or a file into the
// engine's Movie. A file that is not a readable movie is refused with
// SwfFormatError; tags the engine does not draw are skipped.
#pragma once

#include "flash/movie.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace flash {

// The largest movie body the engine will hold, compressed or not.
constexpr size_t kMaxMovieBytes = 128u * 1024u * 1024u;

// folder is where ImportAssets finds the movies it names (relative paths
// only); with none, imports are skipped. import_depth counts nested imports.
Movie LoadMovie(const uint8_t* data, size_t size, const std::filesystem::path& folder = {}, int import_depth = 0);
Movie LoadMovie(const std::vector<uint8_t>& file);
Movie LoadMovieFile(const std::filesystem::path& path, int import_depth = 0);

// The body of the movie after the 8-byte file header, inflated for "CWS";
// the length comes from the header and is checked against the input and
// kMaxMovieBytes. A file shorter than its header claims keeps what it has.
std::vector<uint8_t> MovieBody(const uint8_t* data, size_t size);

}  // namespace flash
