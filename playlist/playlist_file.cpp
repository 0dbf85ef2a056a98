#include "playlist/playlist_file.h"

#include <fstream>
#include <system_error>

#include "playlist/extensions.h"

namespace {

// The longest path taken from a ".pls" line.
constexpr size_t kMaxPlsPath = 200;

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (unsigned char)text.front() <= ' ') text.remove_prefix(1);
    while (!text.empty() && (unsigned char)text.back() <= ' ') text.remove_suffix(1);
    return text;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string InFolder(std::string_view path, std::string_view folder_prefix) {
    if (IsAbsolutePlaylistPath(path)) return std::string(path);
    std::string joined(folder_prefix);
    joined += path;
    return joined;
}

std::string PlsPath(std::string_view line) {
    size_t equals = line.find('=');
    if (equals != std::string_view::npos) line.remove_prefix(equals + 1);
    return std::string(line.substr(0, kMaxPlsPath));
}

void ReadM3u(const std::vector<std::string_view>& lines, std::string_view folder_prefix,
             std::vector<std::string>* paths) {
    if (!lines.empty() && TrimBlanks(lines[0]) == "#EXTM3U") {
        for (size_t i = 1; i < lines.size(); ++i) {
            std::string_view trimmed = TrimBlanks(lines[i]);
            if (trimmed.empty() || trimmed.front() == '#') continue;
            paths->push_back(InFolder(lines[i], folder_prefix));
        }
        return;
    }
    for (std::string_view line : lines) paths->push_back(InFolder(line, folder_prefix));
}

void ReadPls(const std::vector<std::string_view>& lines, std::string_view folder_prefix,
             std::vector<std::string>* paths) {
    if (lines.size() >= 2 && lines[1].substr(0, 16) == "NumberOfEntries=") {
        for (size_t i = 2; i < lines.size(); ++i)
            paths->push_back(InFolder(PlsPath(lines[i]), folder_prefix));
        return;
    }
    for (size_t i = 1; i + 3 < lines.size(); i += 3)
        paths->push_back(InFolder(PlsPath(lines[i]), folder_prefix));
}

bool ReadWholeFile(const std::filesystem::path& file, std::string* bytes) {
    std::error_code ec;
    std::uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxPlaylistFileBytes) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    bytes->assign(size_t(size), '\0');
    in.read(bytes->data(), std::streamsize(bytes->size()));
    if (in.bad()) return false;
    bytes->resize(size_t(in.gcount()));
    return true;
}

}  // namespace

PlaylistFormat PlaylistFormatOf(std::string_view list_path) {
    std::string ext = UpperExtension(list_path);
    if (ext == ".M3U") return PlaylistFormat::kM3u;
    if (ext == ".PLS") return PlaylistFormat::kPls;
    return PlaylistFormat::kPlainList;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        if (end == text.size()) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::string_view PlaylistFolderPrefix(std::string_view list_path) {
    size_t cut = list_path.find_last_of("\\/:");
    return cut == std::string_view::npos ? std::string_view() : list_path.substr(0, cut + 1);
}

bool IsAbsolutePlaylistPath(std::string_view path) {
    if (path.empty() || path[0] == '\\' || path[0] == '/') return true;
    if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') return true;
    size_t scheme = path.find("://");
    if (scheme != std::string_view::npos && scheme > 0) {
        for (char c : path.substr(0, scheme))
            if (!IsAsciiLetter(c)) return false;
        return true;
    }
    return false;
}

std::vector<std::string> ReadPlaylistText(std::string_view text, PlaylistFormat format,
                                          std::string_view folder_prefix) {
    std::vector<std::string_view> lines = SplitLines(text);
    std::vector<std::string> paths;
    switch (format) {
    case PlaylistFormat::kM3u:
        ReadM3u(lines, folder_prefix, &paths);
        break;
    case PlaylistFormat::kPls:
        ReadPls(lines, folder_prefix, &paths);
        break;
    case PlaylistFormat::kPlainList:
        paths.assign(lines.begin(), lines.end());
        break;
    }
    return paths;
}

bool LoadPlaylistFile(const std::filesystem::path& file, std::string_view list_path, LoadedPlaylist* out) {
    std::string bytes;
    if (!ReadWholeFile(file, &bytes)) return false;
    *out = ReadPlaylistBytes(bytes, list_path);
    return true;
}

LoadedPlaylist ReadPlaylistBytes(std::string_view bytes, std::string_view list_path) {
    LoadedPlaylist loaded;
    loaded.format = PlaylistFormatOf(list_path);
    loaded.paths = ReadPlaylistText(bytes, loaded.format, PlaylistFolderPrefix(list_path));
    return loaded;
}

std::string LisText(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths) {
        text += path;
        text += "\r\n";
    }
    return text;
}
