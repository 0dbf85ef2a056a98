// The start-up movie carried in the executable's resources.
#pragma once

#include <cstdint>
#include <vector>

// The whole resource "SWFFILE"/"FLASH" (language Chinese, PRC) of the
// running executable. Throws std::runtime_error when it is missing.
std::vector<uint8_t> LoadStartupMovieResource();
