#include "cli/commands.h"

#include <cstdio>

const char* const kRenderUsage = "  corvella-cli render ...   (not built yet)\n";

int RunRenderCommand(const CliArgs&) {
    std::fputs("corvella-cli: render: not available in this build\n", stderr);
    return 2;
}
