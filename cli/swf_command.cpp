// corvella-cli swf: the SWF resource extractor for people and scripts.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "swf/swf_extractor.h"

const char* const kSwfUsage =
    "  corvella-cli swf info FILE\n"
    "      Prints the movie's header lines and tag census, one per line, in UTF-8:\n"
    "      \"标志：\"SIGNATURE, \"版本：\"VERSION, \"文件长度：\"FILELENGTH, \"bit位：\"RECTBYTE,\n"
    "      \"bit数：\"RECTBITS, \"字节数：\"RECTREST, \"帧速度：\"RATE.FRACTION, \"总帧数\"FRAMES,\n"
    "      \"共发现ID：\"TAGS (tags catalogued, End included), then for each tag code\n"
    "      that occurs, in ascending order, \"ID:\"CODE\"共有\"COUNT and the code's\n"
    "      description if it has one.\n"
    "  corvella-cli swf list FILE\n"
    "      One line per image and sound resource, fields separated by tabs:\n"
    "      CAPTION TAGID CODE BLOCKS LENGTH. CAPTION is the file name an export\n"
    "      writes; LENGTH is its size in bytes, 0 for a resource that cannot be read.\n"
    "  corvella-cli swf export FILE OUTDIR [TAGID...]\n"
    "      Writes the resources with the given TAGIDs (all when none is given) into\n"
    "      OUTDIR under their captions and prints \"wrote PATH (LENGTH bytes)\" for\n"
    "      each; every resource that could not be written gets a message on stderr.\n"
    "      Exit status 1 when the movie cannot be read or a resource was not written.\n"
    "  corvella-cli swf info FILE FILE...\n"
    "  corvella-cli swf list FILE FILE...\n"
    "  corvella-cli swf export --out OUTDIR FILE...\n"
    "      Several movies in one call, in the order given. Each movie's lines are\n"
    "      headed by a line \"==> FILE <==\" and followed by an empty line; export\n"
    "      writes each movie's resources into OUTDIR/NAME, NAME being the file name\n"
    "      without its extension. A movie that cannot be read gets its message on\n"
    "      stderr and the others are still done; exit status 1 when any failed.\n";

namespace {

namespace fs = std::filesystem;

using FileCommand = int (*)(const std::string& file, const std::string& outdir);

int Usage() {
    std::fputs("usage:\n", stderr);
    std::fputs(kSwfUsage, stderr);
    return 2;
}

void PrintMessages(const swf::SwfExtractor& extractor, size_t from) {
    const std::vector<std::string>& messages = extractor.Messages();
    for (size_t i = from; i < messages.size(); ++i) std::fprintf(stderr, "%s\n", messages[i].c_str());
}

// Loads the movie; false (after a message) when it cannot be read.
bool Load(swf::SwfExtractor& extractor, const std::string& file) {
    try {
        extractor.init(fs::path(file));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "corvella-cli: swf: %s\n", error.what());
        return false;
    }
    PrintMessages(extractor, 0);
    if (!extractor.HeaderDecoded()) {
        std::fprintf(stderr, "corvella-cli: swf: %s is not a readable SWF movie\n", file.c_str());
        return false;
    }
    return true;
}

int Info(const std::string& file) {
    swf::SwfExtractor extractor;
    bool loaded = Load(extractor, file);
    for (const std::string& line : extractor.InfoLines()) std::printf("%s\n", line.c_str());
    return loaded ? 0 : 1;
}

int List(const std::string& file) {
    swf::SwfExtractor extractor;
    if (!Load(extractor, file)) return 1;
    for (const swf::ResourceRow& row : extractor.Rows()) {
        std::printf("%s\t%d\t%d\t%u\t%llu\n", row.caption.c_str(), row.tag_id, row.code,
                    static_cast<unsigned>(row.blocks), static_cast<unsigned long long>(row.length));
    }
    return 0;
}

bool ParseTagId(const std::string& text, int& value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::atoi(text.c_str());
    return true;
}

// Writes one row's file; false (after a message) when it was not written.
bool ExportRow(swf::SwfExtractor& extractor, const swf::ResourceRow& row, const fs::path& folder) {
    std::string what = "TagID " + std::to_string(row.tag_id) + " (" + row.caption + ")";
    if (row.length == 0) {
        bool stream = row.code == 18 || row.code == 45;
        std::fprintf(stderr, "corvella-cli: swf: cannot write %s: %s\n", what.c_str(),
                     stream ? "the stream holds no sound data" : "the resource cannot be read");
        return false;
    }
    size_t messages = extractor.Messages().size();
    try {
        fs::path written = extractor.ExportEntry(static_cast<size_t>(row.tag_id), folder);
        if (written.empty()) {
            std::fprintf(stderr, "corvella-cli: swf: cannot write %s: nothing to write\n", what.c_str());
            PrintMessages(extractor, messages);
            return false;
        }
        std::printf("wrote %s (%llu bytes)\n", swf::PathUtf8(written).c_str(),
                    static_cast<unsigned long long>(row.length));
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "corvella-cli: swf: cannot write %s: %s\n", what.c_str(), error.what());
        return false;
    }
}

int Export(const std::string& file, const std::string& outdir, const std::vector<int>& tag_ids) {
    swf::SwfExtractor extractor;
    if (!Load(extractor, file)) return 1;
    fs::path folder(outdir);
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder)) {
        std::fprintf(stderr, "corvella-cli: swf: cannot make the folder %s\n", outdir.c_str());
        return 1;
    }

    bool all_written = true;
    if (tag_ids.empty()) {
        for (const swf::ResourceRow& row : extractor.Rows()) all_written &= ExportRow(extractor, row, folder);
        return all_written ? 0 : 1;
    }
    for (int tag_id : tag_ids) {
        const swf::ResourceRow* found = nullptr;
        for (const swf::ResourceRow& row : extractor.Rows())
            if (row.tag_id == tag_id) found = &row;
        if (!found) {
            std::fprintf(stderr, "corvella-cli: swf: no resource has TagID %d\n", tag_id);
            all_written = false;
            continue;
        }
        all_written &= ExportRow(extractor, *found, folder);
    }
    return all_written ? 0 : 1;
}

// Runs `command` on each file, each one's lines headed by its name;
// 1 when any of them failed.
int ForEachFile(FileCommand command, const CliArgs& files, const std::string& outdir) {
    int status = 0;
    for (const std::string& file : files) {
        std::printf("==> %s <==\n", file.c_str());
        std::fflush(stdout);
        std::string folder;
        if (!outdir.empty()) folder = swf::PathUtf8(fs::path(outdir) / fs::path(file).stem());
        if (command(file, folder) != 0) status = 1;
        std::printf("\n");
        std::fflush(stdout);
    }
    return status;
}

int InfoCommand(const std::string& file, const std::string&) { return Info(file); }
int ListCommand(const std::string& file, const std::string&) { return List(file); }
int ExportCommand(const std::string& file, const std::string& outdir) { return Export(file, outdir, {}); }

}  // namespace

int RunSwfCommand(const CliArgs& args) {
    if (args.size() < 2) return Usage();
    const std::string& verb = args[0];
    const CliArgs rest(args.begin() + 1, args.end());
    if (verb == "info") return rest.size() == 1 ? Info(rest[0]) : ForEachFile(InfoCommand, rest, "");
    if (verb == "list") return rest.size() == 1 ? List(rest[0]) : ForEachFile(ListCommand, rest, "");
    if (verb != "export") return Usage();

    if (rest[0] == "--out") {
        if (rest.size() < 3) return Usage();
        return ForEachFile(ExportCommand, CliArgs(rest.begin() + 2, rest.end()), rest[1]);
    }
    if (rest.size() < 2) return Usage();
    std::vector<int> tag_ids;
    for (size_t i = 2; i < rest.size(); ++i) {
        int tag_id = 0;
        if (!ParseTagId(rest[i], tag_id)) {
            std::fprintf(stderr, "corvella-cli: swf: not a TagID: %s\n", rest[i].c_str());
            return Usage();
        }
        tag_ids.push_back(tag_id);
    }
    return Export(rest[0], rest[1], tag_ids);
}
