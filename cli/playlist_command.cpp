#include "cli/commands.h"

#include <cstdio>

#include "playlist/playlist_file.h"

const char* const kPlaylistUsage =
    "  corvella-cli playlist FILE\n"
    "                            prints the paths that the playlist file (.m3u, .pls, or\n"
    "                            a plain list such as .lis and .kpl) adds, one per line,\n"
    "                            as the bytes stand in the file; relative paths of .m3u\n"
    "                            and .pls files are taken from the list's folder\n";

int RunPlaylistCommand(const CliArgs& args) {
    if (args.size() != 1) {
        std::fputs("usage:\n", stderr);
        std::fputs(kPlaylistUsage, stderr);
        return 2;
    }
    const std::string& file = args[0];
    LoadedPlaylist playlist;
    if (!LoadPlaylistFile(std::filesystem::path(file), file, &playlist)) {
        std::fprintf(stderr, "corvella-cli: playlist: cannot read '%s'\n", file.c_str());
        return 1;
    }
    for (const std::string& path : playlist.paths) {
        std::fwrite(path.data(), 1, path.size(), stdout);
        std::fputc('\n', stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
