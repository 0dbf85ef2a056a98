// corvella-cli skin: build skin packages, list them and take files out.
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "skin/lzh.h"
#include "skin/skin_package_writer.h"
#include "skin/skin_reader.h"

const char* const kSkinUsage =
    "  corvella-cli skin pack FOLDER OUT.fac\n"
    "      Packs a skin folder: the first .ini file (by lower-case name) first,\n"
    "      then every .bmp file in order of lower-case name; other files are\n"
    "      left out. Prints one line: \"packed N files, SIZE bytes\".\n"
    "  corvella-cli skin ls PACKAGE.fac\n"
    "      One line per contained file, in package order: its size in bytes,\n"
    "      a tab, its name (in lower case, as the package reader folds it).\n"
    "  corvella-cli skin extract PACKAGE.fac NAME OUT\n"
    "      Writes the file NAME (found regardless of case) to OUT.\n"
    "  A skin package (.fac) is a little-endian uint32 unpacked size and LZHUF\n"
    "    code; unpacked: int32 version 20000, int32 names length, two int32\n"
    "    words, the names (one a line), one int32 size per name, the files.\n";

namespace {

// False when the file cannot be read, a folder included.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    try {
        std::ifstream in(path, std::ios::binary | std::ios::ate);
        if (!in) return false;
        const std::streamoff size = in.tellg();
        if (size < 0) return false;
        bytes.resize(static_cast<size_t>(size));
        in.seekg(0);
        in.read(reinterpret_cast<char*>(bytes.data()), size);
        return in.gcount() == size;
    } catch (const std::exception&) {
        return false;
    }
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

// The package's text message with its line break shown as a space.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

bool OpenPackage(const std::string& path, TSkinReader& reader) {
    std::vector<uint8_t> package;
    if (!ReadWholeFile(path, package)) {
        std::fprintf(stderr, "corvella-cli: skin: cannot read %s\n", path.c_str());
        return false;
    }
    std::string message;
    if (!reader.ReadPackage(package, &message)) {
        std::fprintf(stderr, "corvella-cli: skin: %s: %s\n", path.c_str(), OneLine(message).c_str());
        return false;
    }
    return true;
}

int Pack(const std::string& folder, const std::string& out_path) {
    std::vector<SkinPackageEntry> entries;
    std::string error;
    if (!CollectSkinFolder(folder, entries, error)) {
        std::fprintf(stderr, "corvella-cli: skin pack: %s\n", error.c_str());
        return 1;
    }
    std::vector<uint8_t> package;
    try {
        package = BuildSkinPackage(entries);
    } catch (const ElzhException& e) {
        std::fprintf(stderr, "corvella-cli: skin pack: %s\n", e.what());
        return 1;
    }
    if (!WriteWholeFile(out_path, package)) {
        std::fprintf(stderr, "corvella-cli: skin pack: cannot write %s\n", out_path.c_str());
        return 1;
    }
    std::printf("packed %zu files, %zu bytes\n", entries.size(), package.size());
    return 0;
}

int List(const std::string& path) {
    TSkinReader reader;
    if (!OpenPackage(path, reader)) return 1;
    for (int i = 0; i < reader.Count(); i++)
        std::printf("%d\t%s\n", static_cast<int>(reader.EntrySize(i)), reader.Names()[i].c_str());
    return 0;
}

int Extract(const std::string& path, const std::string& name, const std::string& out_path) {
    TSkinReader reader;
    if (!OpenPackage(path, reader)) return 1;
    const std::string folded = FoldSkinName(name);
    bool found = false;
    for (const std::string& entry : reader.Names()) found = found || entry == folded;
    if (!found) {
        std::fprintf(stderr, "corvella-cli: skin extract: %s holds no file %s\n", path.c_str(), name.c_str());
        return 1;
    }
    std::vector<uint8_t> bytes;
    reader.ExtractFile(name, bytes);
    if (!WriteWholeFile(out_path, bytes)) {
        std::fprintf(stderr, "corvella-cli: skin extract: cannot write %s\n", out_path.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int RunSkinCommand(const CliArgs& args) {
    if (args.size() == 3 && args[0] == "pack") return Pack(args[1], args[2]);
    if (args.size() == 2 && args[0] == "ls") return List(args[1]);
    if (args.size() == 4 && args[0] == "extract") return Extract(args[1], args[2], args[3]);
    std::fputs("usage:\n", stderr);
    std::fputs(kSkinUsage, stderr);
    return 2;
}
