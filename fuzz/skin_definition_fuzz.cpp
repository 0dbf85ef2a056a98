// The skin definition reader on arbitrary definition text, with an empty
// package behind it (no bitmaps).
#include <cstddef>
#include <cstdint>
#include <string>

#include "skin/skin_data.h"
#include "skin/skin_ini.h"
#include "skin/skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SkinIniText ini(std::string(reinterpret_cast<const char*>(data), size));
    TSkinReader package;
    TSkinData skin;
    skin.ReadDefinition(ini, package);
    return 0;
}
