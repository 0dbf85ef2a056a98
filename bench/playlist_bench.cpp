// Times of reading a long ".lis" list and of a media search over a large
// folder tree, the latter beside `find DIR -type f` on the same tree.
//
// usage: playlist_bench
#include "playlist/media_search.h"
#include "playlist/playlist_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int BenchListReading() {
    const int kLines = 100000;
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += "C:\\music\\folder" + std::to_string(i / 10) + "\\song" + std::to_string(i) + ".mp3\r\n";

    Clock::time_point start = Clock::now();
    LoadedPlaylist list = ReadPlaylistBytes(text, "C:\\lists\\big.lis");
    double seconds = SecondsSince(start);
    std::printf("list: %d lines (%zu bytes) read in %.4f s (target under 0.2 s)\n", kLines, text.size(),
                seconds);
    if (list.paths.size() != static_cast<size_t>(kLines)) {
        std::fprintf(stderr, "playlist_bench: read %zu paths, expected %d\n", list.paths.size(), kLines);
        return 1;
    }
    return 0;
}

// 10,000 folders of 10 files each, in 100 groups of 100; six of every ten
// files have a media extension (.mp3 .avi .wav .mpg .mid .dat).
void BuildTree(const fs::path& root) {
    const char* extensions[] = {".mp3", ".txt", ".avi", ".jpg", ".wav", ".doc", ".mpg", ".ini", ".mid", ".dat"};
    for (int folder = 0; folder < 10000; ++folder) {
        fs::path dir = root / ("group" + std::to_string(folder / 100)) / ("folder" + std::to_string(folder));
        fs::create_directories(dir);
        for (int file = 0; file < 10; ++file) {
            std::ofstream(dir / ("file" + std::to_string(folder * 10 + file) + extensions[file]));
        }
    }
}

int BenchMediaSearch() {
    fs::path root = fs::temp_directory_path() / ("playlist_bench_" + std::to_string(std::rand()));
    fs::remove_all(root);
    BuildTree(root);

    // Warm the directory cache for both contenders alike.
    std::string find_command = "find '" + root.string() + "' -type f > /dev/null";
    if (std::system(find_command.c_str()) != 0) std::fprintf(stderr, "playlist_bench: find failed\n");

    Clock::time_point start = Clock::now();
    MediaSearch search(root.native());
    size_t media = 0;
    while (!search.Done()) media += search.Step().size();
    double search_seconds = SecondsSince(start);

    start = Clock::now();
    int find_status = std::system(find_command.c_str());
    double find_seconds = SecondsSince(start);

    std::printf("search: %zu folders, %zu media files in %.4f s\n", search.FoldersDone(), media,
                search_seconds);
    std::printf("find -type f: %.4f s (status %d)\n", find_seconds, find_status);
    std::printf("search speed / find speed: %.2f (target at least 0.5)\n", find_seconds / search_seconds);

    fs::remove_all(root);
    if (media != 60000) {
        std::fprintf(stderr, "playlist_bench: found %zu media files, expected 60000\n", media);
        return 1;
    }
    return 0;
}

}  // namespace

int main() {
    int status = BenchListReading();
    return BenchMediaSearch() | status;
}
