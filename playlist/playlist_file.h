// Playlist files. Read: ".m3u" (plain and extended), ".pls" (counted and
// sectioned) and the plain list (".lis", ".kpl" and every other extension):
// the file is text in the system's ANSI code page, kept as bytes; CR LF, a
// lone LF and a lone CR each end a line, and a break at the very end makes
// no extra line. Written: the ".lis" list, each path followed by CR LF.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

enum class PlaylistFormat {
    kM3u,        // ".M3U"
    kPls,        // ".PLS"
    kPlainList,  // every other extension: one path per line
};

// Chosen by the list file's extension alone, upper-cased and compared whole.
PlaylistFormat PlaylistFormatOf(std::string_view list_path);

// The lines of a text, as views into it.
std::vector<std::string_view> SplitLines(std::string_view text);

// The list file's path up to and including its last "\", "/" or ":", which
// is put in front of a relative path read from an ".m3u" or ".pls" file.
std::string_view PlaylistFolderPrefix(std::string_view list_path);

// A path that stays as written: empty, beginning with "\" or "/", beginning
// with a drive letter and ":", or a URL ("scheme://").
bool IsAbsolutePlaylistPath(std::string_view path);

// The paths the text gives, in file order.
//  - ".m3u", extended (line 0, trimmed, is "#EXTM3U"): every later line that
//    is neither blank nor begins with "#". Plain: every line.
//  - ".pls", counted (line 1 begins with "NumberOfEntries="): every line
//    after line 1. Sectioned: lines 1, 4, 7, ... before the last three. The
//    path is the text after the first "=" (the whole line when it has none),
//    at most 200 characters.
//  - plain list: every line, blank lines included, exactly as written.
// Relative paths of ".m3u" and ".pls" files get `folder_prefix` in front.
std::vector<std::string> ReadPlaylistText(std::string_view text, PlaylistFormat format,
                                          std::string_view folder_prefix);

struct LoadedPlaylist {
    PlaylistFormat format = PlaylistFormat::kPlainList;
    std::vector<std::string> paths;
};

// A list file larger than this is refused as unreadable.
inline constexpr std::uintmax_t kMaxPlaylistFileBytes = 64u * 1024 * 1024;

// The paths of a list file's bytes; `list_path` as for LoadPlaylistFile.
LoadedPlaylist ReadPlaylistBytes(std::string_view bytes, std::string_view list_path);

// Reads the list file whole. `list_path` is the file's path in the ANSI code
// page (it gives the format and the folder of relative paths); `file` is the
// same file for opening. False when the file cannot be read.
bool LoadPlaylistFile(const std::filesystem::path& file, std::string_view list_path, LoadedPlaylist* out);

// The ".lis" text: every path followed by CR LF; an empty list gives "".
std::string LisText(const std::vector<std::string>& paths);
