// Speed of packing and unpacking a skin-package-sized input of mixed
// bitmaps: gradients, flat areas and noise in pieces of 1 to 4 MB. Our
// decoder is timed beside the classic one (bench/lzh_classic.cpp) on the
// same bytes, and both outputs are checked against the input.
//
// usage: lzh_bench [RUNS] [PACKED]   (PACKED: decode this stream instead)
#include "bench/lzh_classic.h"
#include "skin/lzh.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
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

    std::vector<uint8_t> input, packed;
    if (argc > 2) {
        std::ifstream file(argv[2], std::ios::binary);
        packed.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        std::printf("packed %.1f MB from %s\n", packed.size() / (1024.0 * 1024.0), argv[2]);
    } else {
        std::mt19937 random(12345);
        const size_t kTotal = 20u * 1024 * 1024;
        for (int piece = 0; input.size() < kTotal; ++piece) {
            size_t size = (1 + piece % 4) * 1024u * 1024;
            if (input.size() + size > kTotal) size = kTotal - input.size();
            AppendPiece(input, size, piece % 4, random);
        }
        const double megabytes = input.size() / (1024.0 * 1024.0);
        Clock::time_point start = Clock::now();
        packed = LzhPack(input);
        double pack_seconds = SecondsSince(start);
        std::printf("input %.1f MB, packed %.1f MB (%.1f%%)\n", megabytes, packed.size() / (1024.0 * 1024.0),
                    100.0 * packed.size() / input.size());
        std::printf("pack: %.3f s, %.1f MB/s of input\n", pack_seconds, megabytes / pack_seconds);
    }

    TLZH decoder;
    std::vector<uint8_t> output;
    double best = 0, best_classic = 0;
    for (int run = 0; run < runs; ++run) {
        Clock::time_point start = Clock::now();
        std::vector<uint8_t> classic = ClassicLzhUnpack(packed);
        double seconds = SecondsSince(start);
        if (run == 0 || seconds < best_classic) best_classic = seconds;

        start = Clock::now();
        decoder.Unpack(packed, output);
        seconds = SecondsSince(start);
        if (run == 0 || seconds < best) best = seconds;
        if (output != classic) {
            std::fprintf(stderr, "lzh_bench: our output differs from the classic decoder's\n");
            return 1;
        }
    }
    const bool generated = argc <= 2;
    if (generated && (output.size() < input.size() || !std::equal(input.begin(), input.end(), output.begin()))) {
        std::fprintf(stderr, "lzh_bench: unpacked output differs from the input\n");
        return 1;
    }
    const double out_megabytes = output.size() / (1024.0 * 1024.0);
    std::printf("unpack, classic decoder: best of %d runs %.3f s, %.1f MB/s of output\n", runs, best_classic,
                out_megabytes / best_classic);
    std::printf("unpack, ours:            best of %d runs %.3f s, %.1f MB/s of output, %.2f x the classic\n",
                runs, best, out_megabytes / best, best_classic / best);
    return 0;
}
