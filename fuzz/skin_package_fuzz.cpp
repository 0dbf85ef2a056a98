// Skin packages on arbitrary bytes: the package reader, every entry, the
// bitmaps, and the whole load into the skin model.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "skin/bitmap.h"
#include "skin/skin_data.h"
#include "skin/skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> package(data, data + size);
    TSkinReader reader;
    std::string message;
    if (reader.ReadPackage(package, &message)) {
        for (const std::string& name : reader.Names()) {
            std::vector<uint8_t> bytes;
            try {
                reader.ExtractFile(name, bytes);
            } catch (const std::exception&) {
                continue;
            }
            SkinBitmap bitmap;
            LoadBmp(bytes, bitmap);
        }
    }
    TSkinData skin;
    skin.SetPackage(package);
    skin.LoadPackage();
    return 0;
}
