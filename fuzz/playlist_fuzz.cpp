// The playlist readers on arbitrary bytes; the first byte picks the kind.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "playlist/playlist_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const char* const kNames[] = {"C:\\lists\\a.m3u", "C:\\lists\\a.pls", "C:\\lists\\a.lis",
                                         "C:\\lists\\a.kpl", "relative.M3U", "x"};
    std::string_view name = kNames[data[0] % 6];
    std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    LoadedPlaylist list = ReadPlaylistBytes(bytes, name);
    (void)list;
    return 0;
}
