#include "cli/commands.h"

#include <cstdio>
#include <string>

#include "playlist/playlist_file.h"

const char* const kPlaylistUsage =
    "  corvella-cli playlist FILE\n"
    "                            prints the paths that the playlist file (.m3u, .pls, or\n"
    "                            a plain list such as .lis and .kpl) adds, one per line,\n"
    "                            as the bytes stand in the file; relative paths of .m3u\n"
    "                            and .pls files are taken from the list's folder\n";

namespace {

// The file's bytes, read through the C library so that the name is taken in
// the system's own narrow encoding.
bool ReadFileBytes(const std::string& name, std::string* bytes) {
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (!file) return false;
    char buffer[65536];
    bool ok = true;
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (bytes->size() + got > kMaxPlaylistFileBytes) {
            ok = false;
            break;
        }
        bytes->append(buffer, got);
    }
    if (std::ferror(file)) ok = false;
    std::fclose(file);
    return ok;
}

}  // namespace

int RunPlaylistCommand(const CliArgs& args) {
    if (args.size() != 1) {
        std::fputs("usage:\n", stderr);
        std::fputs(kPlaylistUsage, stderr);
        return 2;
    }
    const std::string& name = args[0];
    std::string bytes;
    if (!ReadFileBytes(name, &bytes)) {
        std::fprintf(stderr, "corvella-cli: playlist: cannot read '%s'\n", name.c_str());
        return 1;
    }
    for (const std::string& path : ReadPlaylistBytes(bytes, name).paths) {
        std::fwrite(path.data(), 1, path.size(), stdout);
        std::fputc('\n', stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
