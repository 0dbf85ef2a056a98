#include "cli/commands.h"

#include <cstdio>

const char* const kPlaylistUsage = "  corvella-cli playlist ...   (not built yet)\n";

int RunPlaylistCommand(const CliArgs&) {
    std::fputs("corvella-cli: playlist: not available in this build\n", stderr);
    return 2;
}
