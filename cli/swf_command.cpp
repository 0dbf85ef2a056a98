#include "cli/commands.h"

#include <cstdio>

const char* const kSwfUsage = "  corvella-cli swf ...   (not built yet)\n";

int RunSwfCommand(const CliArgs&) {
    std::fputs("corvella-cli: swf: not available in this build\n", stderr);
    return 2;
}
