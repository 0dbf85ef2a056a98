// Small media files for the tests: a Flash movie of a moving block and a WAV
// file of a square tone.
#pragma once

#include "flash/swf_writer.h"
#include "swf/sound_rules.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace media_test {

inline std::wstring WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.wstring();
}

// A red 50 x 25 block at (50, 25) on a blue 200 x 100 stage, moved each
// frame; with stop_frame >= 0 the movie stops itself on that frame.
inline std::vector<uint8_t> SquareMovie(int frames, double rate, int stop_frame = -1) {
    flash::SwfWriter movie(6, 200, 100, rate);
    movie.SetBackgroundColor({0, 0, 255, 255});
    flash::ShapeBuilder square;
    square.Rectangle(1000, 500, 1000, 500, square.AddSolidFill({255, 0, 0, 255}));
    movie.DefineShape(1, square);
    for (int f = 0; f < frames; ++f) {
        flash::PlaceArgs place;
        place.depth = 1;
        place.character = f == 0 ? 1 : 0;
        place.move = f > 0;
        place.matrix = flash::Matrix{};
        movie.PlaceObject(place);
        if (f == stop_frame) movie.DoAction({flash::Action{flash::ActionKind::Stop, 0, ""}});
        movie.ShowFrame();
    }
    return movie.Finish();
}

// 8 kHz mono 8-bit PCM of the given length.
inline std::vector<uint8_t> Tone(int milliseconds) {
    const uint32_t rate = 8000, samples = rate * static_cast<uint32_t>(milliseconds) / 1000;
    std::vector<uint8_t> bytes = swf::WavHeader(rate, 1, 8, samples);
    for (uint32_t i = 0; i < samples; ++i) bytes.push_back(static_cast<uint8_t>((i / 8) % 2 ? 148 : 108));
    return bytes;
}

}  // namespace media_test
