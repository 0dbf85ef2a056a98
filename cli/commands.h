// Sub-commands of corvella-cli. Each takes the arguments after its name and
// returns the process exit status.
#pragma once

#include <string>
#include <vector>

using CliArgs = std::vector<std::string>;

int RunSwfCommand(const CliArgs& args);       // swf info|list|export
int RunSkinCommand(const CliArgs& args);      // skin pack|ls|extract
int RunPlaylistCommand(const CliArgs& args);  // playlist FILE
int RunRenderCommand(const CliArgs& args);    // render FILE.swf --frames N --out OUT.png
int RunTraceCommand(const CliArgs& args);     // trace FILE.swf --frames N
int RunSoundtrackCommand(const CliArgs& args);  // soundtrack FILE.swf --frames N --out OUT.wav

// Usage text of each sub-command, printed by --help.
extern const char* const kSwfUsage;
extern const char* const kSkinUsage;
extern const char* const kPlaylistUsage;
extern const char* const kRenderUsage;
extern const char* const kTraceUsage;
extern const char* const kSoundtrackUsage;
