// corvella-cli trace: plays a movie's first frames without a window and
// prints what its scripts traced.
#include "cli/commands.h"

#include "flash/movie_loader.h"
#include "flash/player.h"
#include "flash/sound_engine.h"
#include "flash/sound_mixer.h"
#include "flash/sound_track.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

const char* const kTraceUsage =
    "  corvella-cli trace FILE.swf --frames N [--clock YYYY-MM-DDTHH:MM:SS+HH:MM]\n"
    "                            plays the first N frames (1: the first frame only), one\n"
    "                            tick a frame, and prints each line the scripts traced\n"
    "                            (UTF-8, one a line; the player's warnings too); --clock\n"
    "                            fixes the local time and offset the movie starts at;\n"
    "                            sounds play unheard, one frame time a tick;\n"
    "                            a movie that calls fscommand(\"quit\") ends the run\n";

namespace {

bool ParseFrames(const std::string& text, int* value) {
    char* end = nullptr;
    long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n < 1 || n > 1000000) return false;
    *value = static_cast<int>(n);
    return true;
}

// Days since 1970-01-01 of a civil date.
long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// "2001-02-03T04:05:06+05:45": seconds since 1970 UTC and the offset.
bool ParseClock(const std::string& text, double* epoch, int* offset_minutes) {
    int y, mo, d, h, mi, s, oh, om;
    char sign;
    if (std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d%c%d:%d", &y, &mo, &d, &h, &mi, &s, &sign, &oh, &om) != 9)
        return false;
    if (sign != '+' && sign != '-') return false;
    int offset = (oh * 60 + om) * (sign == '-' ? -1 : 1);
    double local = DaysFromCivil(y, mo, d) * 86400.0 + h * 3600.0 + mi * 60.0 + s;
    *epoch = local - offset * 60.0;
    *offset_minutes = offset;
    return true;
}

}  // namespace

int RunTraceCommand(const CliArgs& args) {
    std::string input;
    int frames = 0;
    bool clock_set = false, clock_ok = true;
    double epoch = 0;
    int offset = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        bool has_value = i + 1 < args.size();
        if (arg == "--frames" && has_value) {
            if (!ParseFrames(args[++i], &frames)) frames = -1;
        } else if (arg == "--clock" && has_value) {
            clock_set = true;
            clock_ok = ParseClock(args[++i], &epoch, &offset);
        } else if (input.empty() && !arg.empty() && arg[0] != '-') {
            input = arg;
        } else {
            input.clear();
            break;
        }
    }
    if (input.empty() || frames <= 0 || !clock_ok) {
        std::fputs("usage:\n", stderr);
        std::fputs(kTraceUsage, stderr);
        return 2;
    }
    if (!clock_set) {
        std::time_t now = std::time(nullptr);
        std::tm local = *std::localtime(&now);
        std::tm utc = *std::gmtime(&now);
        local.tm_isdst = utc.tm_isdst = 0;
        epoch = static_cast<double>(now);
        offset = static_cast<int>(std::difftime(std::mktime(&local), std::mktime(&utc)) / 60);
    }

    // The movie's sounds play on a mixer that mixes one frame time a tick
    // and is heard by no one: scripts see their sounds advance and end.
    flash::Player player;
    flash::SoundMixer mixer;
    flash::SoundEngine sound(player, mixer);
    player.SetTraceSink([](const std::string& line) {
        // A carriage return in traced text ends a line of the log.
        for (char c : line) std::fputc(c == '\r' ? '\n' : c, stdout);
        std::fputc('\n', stdout);
    });
    player.SetClock(epoch, offset);
    player.SetBaseFolder(std::filesystem::path(input).parent_path());
    try {
        player.Load(std::make_shared<flash::Movie>(flash::LoadMovieFile(input)));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "trace: %s: %s\n", input.c_str(), error.what());
        return 1;
    }
    std::vector<int16_t> heard;
    size_t mixed = 0;
    // A movie that asks to quit ends the run, as a stand-alone player closes.
    for (int i = 1; i < frames && !player.QuitRequested(); ++i) {
        size_t until = flash::FrameEndSample(i - 1, player.FrameRate());
        heard.resize((until - std::min(until, mixed)) * 2);
        if (until > mixed) mixer.Mix(heard.data(), until - mixed);
        mixed = std::max(mixed, until);
        player.Advance();
    }
    std::fflush(stdout);
    return 0;
}
