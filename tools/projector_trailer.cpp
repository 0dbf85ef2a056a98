#include "tools/projector_trailer.h"

#include "tools/path_text.h"

std::string ProjectorTrailer(uint64_t swf_size) {
    std::string bytes(kProjectorTrailerSize, '\0');
    uint32_t values[2] = {kProjectorMarker, static_cast<uint32_t>(swf_size)};
    for (int v = 0; v < 2; ++v)
        for (int i = 0; i < 4; ++i) bytes[v * 4 + i] = static_cast<char>((values[v] >> (8 * i)) & 0xFF);
    return bytes;
}

std::optional<AppendedMovie> FindAppendedMovie(const unsigned char trailer[kProjectorTrailerSize],
                                               uint64_t file_size) {
    auto read32 = [&](int at) {
        return uint32_t(trailer[at]) | uint32_t(trailer[at + 1]) << 8 | uint32_t(trailer[at + 2]) << 16 |
               uint32_t(trailer[at + 3]) << 24;
    };
    if (file_size < kProjectorTrailerSize || read32(0) != kProjectorMarker) return std::nullopt;
    uint32_t size = read32(4);
    uint64_t room = file_size - kProjectorTrailerSize;
    if (size == 0 || size > room) return std::nullopt;
    return AppendedMovie{room - size, size};
}

std::wstring ProjectorDefaultName(const std::wstring& path) {
    std::wstring name = TrimBlanks(FileNamePart(path));
    name = name.size() > 4 ? name.substr(0, name.size() - 4) : std::wstring();
    return name + L".exe";
}
