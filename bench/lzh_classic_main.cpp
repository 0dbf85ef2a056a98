// The classic decoder as a program of its own, for timing a whole process
// beside "corvella-cli skin ls": reads the packed file, decodes it and
// writes the bytes out as they come.
//
// usage: lzh_classic PACKED OUT
#include <cstdio>
#include <vector>

#include "bench/lzh_classic.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: lzh_classic PACKED OUT\n", stderr);
        return 2;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (!in) return 1;
    std::vector<uint8_t> packed;
    uint8_t buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) packed.insert(packed.end(), buffer, buffer + got);
    std::fclose(in);

    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) return 1;
    ClassicLzhUnpack(packed, out);
    return std::fclose(out) == 0 ? 0 : 1;
}
