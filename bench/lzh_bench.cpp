// Speed of packing and unpacking a skin-package-sized input of mixed
// bitmaps: gradients, flat areas and noise in pieces of 1 to 4 MB.
//
// usage: lzh_bench [RUNS]
#include "skin/lzh.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A bitmap-like piece: a 54-byte header, then rows of 24-bit pixels.
void AppendPiece(std::vector<uint8_t>& out, size_t size, int kind, std::mt19937& random) {
    size_t start = out.size();
    out.push_back('B');
    out.push_back('M');
    out.resize(start + 54, 0);
    const size_t width = 640;
    for (size_t i = out.size() - start; i < size; ++i) {
        size_t pixel = i / 3, x = pixel % width, y = pixel / width;
        uint8_t value = 0;
        switch (kind) {
        case 0: value = static_cast<uint8_t>(x / 3 + (i % 3) * 40); break;            // gradient
        case 1: value = static_cast<uint8_t>((y / 64) % 2 ? 0xC0 : 0x20); break;       // flat bands
        case 2: value = static_cast<uint8_t>(random()); break;                         // noise
        default: value = static_cast<uint8_t>((x + y) / 4 + (random() % 8)); break;    // noisy gradient
        }
        out.push_back(value);
    }
}

}  // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 5;
    if (runs < 1) runs = 1;

    std::mt19937 random(12345);
    std::vector<uint8_t> input;
    const size_t kTotal = 20u * 1024 * 1024;
    for (int piece = 0; input.size() < kTotal; ++piece) {
        size_t size = (1 + piece % 4) * 1024u * 1024;
        if (input.size() + size > kTotal) size = kTotal - input.size();
        AppendPiece(input, size, piece % 4, random);
    }
    const double megabytes = input.size() / (1024.0 * 1024.0);

    Clock::time_point start = Clock::now();
    std::vector<uint8_t> packed = LzhPack(input);
    double pack_seconds = SecondsSince(start);
    std::printf("input %.1f MB, packed %.1f MB (%.1f%%)\n", megabytes, packed.size() / (1024.0 * 1024.0),
                100.0 * packed.size() / input.size());
    std::printf("pack: %.3f s, %.1f MB/s of input\n", pack_seconds, megabytes / pack_seconds);

    TLZH decoder;
    std::vector<uint8_t> output;
    double best = 0;
    for (int run = 0; run < runs; ++run) {
        start = Clock::now();
        decoder.Unpack(packed, output);
        double seconds = SecondsSince(start);
        if (run == 0 || seconds < best) best = seconds;
    }
    if (output.size() < input.size() || !std::equal(input.begin(), input.end(), output.begin())) {
        std::fprintf(stderr, "lzh_bench: unpacked output differs from the input\n");
        return 1;
    }
    std::printf("unpack: best of %d runs %.3f s, %.1f MB/s of output\n", runs, best,
                output.size() / (1024.0 * 1024.0) / best);
    return 0;
}
