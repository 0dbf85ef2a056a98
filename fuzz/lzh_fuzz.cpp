// The LZHUF decoder on arbitrary streams, and the coder's round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/lzh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> source(data, data + size);
    std::vector<uint8_t> target;
    TLZH decoder;
    try {
        decoder.Unpack(source, target);
    } catch (const ElzhException&) {
    }
    // Whatever we pack must come back byte for byte.
    std::vector<uint8_t> packed = LzhPack(data, size);
    std::vector<uint8_t> unpacked;
    decoder.Unpack(packed, unpacked);
    if (unpacked.size() < size || !std::equal(data, data + size, unpacked.begin())) std::abort();
    return 0;
}
