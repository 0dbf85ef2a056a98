// Throughput of the SWF resource extractor on a large compressed movie made
// in memory (JPEG and lossless images, a streamed sound of many blocks), and
// of exporting every movie of a corpus folder.
//
// usage: swf_bench [CORPUS_FOLDER]
#include "swf/swf_extractor.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Data = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kJpegCount = 3000;
constexpr size_t kJpegScanBytes = 25000;
constexpr int kBitmapCount = 2000;
constexpr int kBitmapSide = 64;
constexpr int kBlockCount = 4000;
constexpr size_t kBlockBytes = 2048;
constexpr int kRuns = 5;

std::mt19937 random_bytes(12345);

void Put16(Data& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(Data& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutRandom(Data& out, size_t count) {
    for (size_t i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(random_bytes()));
}

void PutTag(Data& out, int code, const Data& body) {
    Put16(out, static_cast<uint32_t>(code << 6 | 0x3F));
    Put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

Data DeflateFast(const Data& bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    Data out(size);
    if (compress2(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()), 1) != Z_OK) {
        std::fprintf(stderr, "swf_bench: compress failed\n");
        std::exit(1);
    }
    out.resize(size);
    return out;
}

// A JPEG with its own (dummy) tables and a scan of random bytes; the
// extractor copies JPEG data by its marker segments and never decodes it.
Data JpegBody(uint16_t id) {
    Data body;
    Put16(body, id);
    Data head = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00};
    body.insert(body.end(), head.begin(), head.end());
    body.insert(body.end(), 64, 1);
    Data huffman = {0xFF, 0xC4, 0x00, 0x14, 0x00};
    body.insert(body.end(), huffman.begin(), huffman.end());
    body.insert(body.end(), 17, 0);
    Data scan = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00};
    body.insert(body.end(), scan.begin(), scan.end());
    PutRandom(body, kJpegScanBytes);
    body.push_back(0xFF);
    body.push_back(0xD9);
    return body;
}

// A 32-bit DefineBitsLossless body of random pixels.
Data BitmapBody(uint16_t id) {
    Data body;
    Put16(body, id);
    body.push_back(5);
    Put16(body, kBitmapSide);
    Put16(body, kBitmapSide);
    Data pixels;
    PutRandom(pixels, kBitmapSide * kBitmapSide * 4);
    Data stream = DeflateFast(pixels);
    body.insert(body.end(), stream.begin(), stream.end());
    return body;
}

// The movie, and the size of its uncompressed body in total_bytes.
Data BuildMovie(size_t& total_bytes) {
    Data fws = {'F', 'W', 'S', 10, 0, 0, 0, 0, 0x00, 0x00, 12, 1, 0};
    uint16_t id = 1;
    for (int i = 0; i < kJpegCount; ++i) PutTag(fws, 21, JpegBody(id++));
    for (int i = 0; i < kBitmapCount; ++i) PutTag(fws, 20, BitmapBody(id++));
    PutTag(fws, 18, {0x3F, 0x3F, 0x00, 0x02});  // 16-bit stereo PCM at 44 kHz
    for (int i = 0; i < kBlockCount; ++i) {
        Data block;
        PutRandom(block, kBlockBytes);
        PutTag(fws, 19, block);
    }
    PutTag(fws, 0, {});
    uint32_t length = static_cast<uint32_t>(fws.size());
    for (int i = 0; i < 4; ++i) fws[4 + i] = static_cast<uint8_t>(length >> (8 * i));
    total_bytes = fws.size();

    Data cws(fws.begin(), fws.begin() + 8);
    cws[0] = 'C';
    Data body = DeflateFast(Data(fws.begin() + 8, fws.end()));
    cws.insert(cws.end(), body.begin(), body.end());
    return cws;
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Mb(size_t bytes) {
    return bytes / 1e6;
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double Best(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

// The lines that "corvella-cli swf list" prints.
std::string ListLines(const swf::SwfExtractor& extractor) {
    std::string lines;
    char numbers[64];
    for (const swf::ResourceRow& row : extractor.Rows()) {
        std::snprintf(numbers, sizeof numbers, "\t%d\t%d\t%u\t%llu\n", row.tag_id, row.code,
                      static_cast<unsigned>(row.blocks), static_cast<unsigned long long>(row.length));
        lines += row.caption;
        lines += numbers;
    }
    return lines;
}

// Exports every readable row; returns the number of files written.
int ExportAll(swf::SwfExtractor& extractor, const fs::path& folder) {
    int written = 0;
    for (size_t row = 0; row < extractor.Rows().size(); ++row) {
        if (extractor.Rows()[row].length == 0) continue;
        try {
            if (!extractor.ExtractRow(row, folder).empty()) ++written;
        } catch (const std::exception&) {
        }
    }
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    fs::path corpus = argc > 1 ? fs::path(argv[1]) : fs::path(CORVELLA_SHARED_DIR) / "corpus" / "extract";
    fs::path work = fs::temp_directory_path() / "corvella_swf_bench";
    fs::remove_all(work);
    fs::create_directories(work / "out");

    size_t body_bytes = 0;
    Data cws = BuildMovie(body_bytes);
    fs::path movie = work / "large.swf";
    {
        std::ofstream out(movie, std::ios::binary);
        out.write(reinterpret_cast<const char*>(cws.data()), static_cast<std::streamsize>(cws.size()));
    }
    std::printf("movie: %.1f MB compressed, %.1f MB uncompressed, %d JPEG, %d lossless, %d stream blocks\n",
                Mb(cws.size()), Mb(body_bytes), kJpegCount, kBitmapCount, kBlockCount);

    // Each measurement is taken kRuns times with the page cache warm; the
    // median is compared.
    std::vector<double> inflate_times;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        Data inflated(body_bytes);
        uLongf inflated_size = static_cast<uLongf>(inflated.size());
        if (uncompress(inflated.data(), &inflated_size, cws.data() + 8, static_cast<uLong>(cws.size() - 8)) != Z_OK) {
            std::fprintf(stderr, "swf_bench: uncompress failed\n");
            return 1;
        }
        inflate_times.push_back(Seconds(start));
    }
    double inflate_rate = Mb(body_bytes) / Median(inflate_times);
    std::printf("inflate-only from memory: %.1f MB/s median, %.1f MB/s best\n", inflate_rate,
                Mb(body_bytes) / Best(inflate_times));

    // What "corvella-cli swf list FILE" does: read and decode the file, build
    // the rows and format their lines.
    std::vector<double> list_times;
    std::string lines;
    size_t rows = 0;
    uint64_t listed_bytes = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        swf::SwfExtractor one;
        one.init(movie);
        lines = ListLines(one);
        list_times.push_back(Seconds(start));
        rows = one.Rows().size();
        listed_bytes = 0;
        for (const swf::ResourceRow& row : one.Rows()) listed_bytes += row.length;
    }
    double list_rate = Mb(body_bytes) / Median(list_times);
    std::printf("list from file: %.1f MB/s median (%.2f x inflate), %.1f MB/s best; %zu rows, %llu bytes listed, "
                "%zu bytes of lines\n",
                list_rate, list_rate / inflate_rate, Mb(body_bytes) / Best(list_times), rows,
                static_cast<unsigned long long>(listed_bytes), lines.size());

    // The list's steps one by one.
    swf::SwfExtractor extractor;
    auto start = Clock::now();
    extractor.LoadSwfImage(movie);
    double load = Seconds(start);
    start = Clock::now();
    extractor.getinfo();
    double info = Seconds(start);
    start = Clock::now();
    extractor.addtolistview();
    std::printf("  load %.3f s, getinfo %.3f s, addtolistview %.3f s\n", load, info, Seconds(start));

    start = Clock::now();
    int written = ExportAll(extractor, work / "out");
    std::printf("export all: %.1f MB/s, %d files\n", Mb(body_bytes) / Seconds(start), written);
    fs::remove_all(work / "out");

    size_t corpus_bytes = 0;
    int movies = 0;
    written = 0;
    start = Clock::now();
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(corpus, error)) {
        if (entry.path().extension() != ".swf") continue;
        fs::path folder = work / ("corpus" + std::to_string(movies));
        fs::create_directories(folder);
        try {
            swf::SwfExtractor one;
            one.init(entry.path());
            corpus_bytes += entry.file_size();
            written += ExportAll(one, folder);
            ++movies;
        } catch (const std::exception&) {
        }
    }
    double seconds = Seconds(start);
    std::printf("corpus export: %d movies, %.1f MB, %d files, %.3f s, %.1f MB/s\n", movies, Mb(corpus_bytes),
                written, seconds, Mb(corpus_bytes) / seconds);
    fs::remove_all(work);
    return 0;
}
