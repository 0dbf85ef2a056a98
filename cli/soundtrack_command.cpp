// corvella-cli soundtrack: writes what a movie sounds like over its first
// frames into a WAV file.
#include "cli/commands.h"

#include "flash/movie_loader.h"
#include "flash/soundtrack_row.h"
#include "swf/swf_extractor.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

const char* const kSoundtrackUsage =
    "  corvella-cli soundtrack FILE.swf --frames N --out OUT.wav\n"
    "                            mixes every sound of the movie (stream, event and\n"
    "                            button sounds, as the player plays them) over its\n"
    "                            first N frames into a 16-bit stereo 44,100 Hz WAV file\n"
    "                            of N / frame rate seconds\n";

int RunSoundtrackCommand(const CliArgs& args) {
    std::string input, output;
    long frames = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool has_value = i + 1 < args.size();
        if (arg == "--frames" && has_value) {
            char* end = nullptr;
            frames = std::strtol(args[++i].c_str(), &end, 10);
            if (*end != '\0' || frames < 1 || frames > 1000000) frames = 0;
        } else if (arg == "--out" && has_value) {
            output = args[++i];
        } else if (input.empty() && !arg.empty() && arg[0] != '-') {
            input = arg;
        } else {
            input.clear();
            break;
        }
    }
    if (input.empty() || output.empty() || frames == 0) {
        std::fputs("usage:\n", stderr);
        std::fputs(kSoundtrackUsage, stderr);
        return 2;
    }
    std::shared_ptr<const flash::Movie> movie;
    try {
        movie = std::make_shared<flash::Movie>(flash::LoadMovieFile(input));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "corvella-cli: %s: %s\n", input.c_str(), error.what());
        return 1;
    }
    try {
        flash::WriteSoundtrackFile(movie, static_cast<int>(frames), output);
    } catch (const swf::SwfFileError&) {
        std::fprintf(stderr, "corvella-cli: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
