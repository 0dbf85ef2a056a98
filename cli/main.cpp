// corvella-cli: the portable core's functions for people and scripts.
#include "cli/commands.h"

#include <cstdio>
#include <cstring>

namespace {

void PrintUsage(std::FILE* out) {
    std::fputs("usage: corvella-cli COMMAND ARGS...\n\ncommands:\n", out);
    std::fputs(kSwfUsage, out);
    std::fputs(kSkinUsage, out);
    std::fputs(kPlaylistUsage, out);
    std::fputs(kRenderUsage, out);
    std::fputs(kTraceUsage, out);
    std::fputs(kSoundtrackUsage, out);
    std::fputs("\nExit status: 0 success, 1 the input could not be read or written, 2 wrong arguments.\n", out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    const char* command = argv[1];
    if (!std::strcmp(command, "--help") || !std::strcmp(command, "-h") || !std::strcmp(command, "help")) {
        PrintUsage(stdout);
        return 0;
    }
    CliArgs args(argv + 2, argv + argc);
    if (!std::strcmp(command, "swf")) return RunSwfCommand(args);
    if (!std::strcmp(command, "skin")) return RunSkinCommand(args);
    if (!std::strcmp(command, "playlist")) return RunPlaylistCommand(args);
    if (!std::strcmp(command, "render")) return RunRenderCommand(args);
    if (!std::strcmp(command, "trace")) return RunTraceCommand(args);
    if (!std::strcmp(command, "soundtrack")) return RunSoundtrackCommand(args);
    std::fprintf(stderr, "corvella-cli: unknown command '%s'\n", command);
    PrintUsage(stderr);
    return 2;
}
