#include "cli/commands.h"

#include <cstdio>

#include "playlist/playlist_file.h"

const char* const kPlaylistUsage =
    "  corvella-cli playlist FILE\n"
    "      print the paths that the playlist file FILE (.m3u, .pls, or a plain\n"
    "      list such as .lis or .kpl) adds to the playlist, one per line, as\n"
    "      the bytes stand in the file\n";

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
