// Building skin packages (the layout is in skin_reader.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SkinPackageEntry {
    std::string name;
    std::vector<uint8_t> data;
};

// The unpacked image of a package holding `entries` in their order. Names
// are written as given, each followed by CR LF.
std::vector<uint8_t> BuildSkinImage(const std::vector<SkinPackageEntry>& entries, int32_t version = 20000);

// The image packed with our LZHUF coder: the bytes of a ".fac" file.
std::vector<uint8_t> BuildSkinPackage(const std::vector<SkinPackageEntry>& entries);

// The entries of a package folder, in package order: the definition (the
// first ".ini" file by name, compared without case) first, then every
// ".bmp" file sorted by name in lower case. Other files are left out.
// Returns false with `error` set when the folder cannot be read or holds
// no ".ini" file.
bool CollectSkinFolder(const std::string& folder, std::vector<SkinPackageEntry>& entries, std::string& error);
