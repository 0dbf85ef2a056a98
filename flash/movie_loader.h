// Loads a whole SWF movie ("FWS" or "CWS") from memory or a file into the
// engine's Movie, reading through the format layer (swf/). A file that is
// not a readable movie is refused with swf::SwfDataError; tags the engine
// does not draw are skipped.
#pragma once

#include "flash/movie.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace flash {

// folder is where ImportAssets finds the movies it names (relative paths
// only); with none, imports are skipped. import_depth counts nested imports.
Movie LoadMovie(const uint8_t* data, size_t size, const std::filesystem::path& folder = {}, int import_depth = 0);
Movie LoadMovie(const std::vector<uint8_t>& file);
Movie LoadMovieFile(const std::filesystem::path& path, int import_depth = 0);
// The file:// address of a local file, as movies see it in _url.
std::string FileUrl(const std::filesystem::path& path);

}  // namespace flash
