#include "cli/commands.h"

#include <cstdio>

const char* const kSkinUsage = "  corvella-cli skin ...   (not built yet)\n";

int RunSkinCommand(const CliArgs&) {
    std::fputs("corvella-cli: skin: not available in this build\n", stderr);
    return 2;
}
