// Skin packages: the reader of the directory and the files inside.
//
// A package is an LZHUF stream (see lzh.h) whose unpacked image is
//   int32 Version (20000), int32 NamesLength, two reserved int32 words,
//   NamesLength bytes of names, one a line,
//   one int32 size per name, in the order of the names,
//   the files' bytes one after another.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t kSkinPackageVersion = 20000;
constexpr int kMaxSkinEntries = 1001;

// The messages of a package that is refused; the caller shows them.
extern const char* const kOlderSkinMessage;
extern const char* const kTooManySkinEntriesMessage;
extern const char* const kDamagedSkinMessage;

struct SkinPackageHeader {
    int32_t version = 0;
    int32_t names_length = 0;
    int32_t reserved1 = 0;
    int32_t reserved2 = 0;
};

class TSkinReader {
public:
    // Unpacks the package and reads its directory. On false, `message`
    // (when given) says why and the reader holds no entries.
    bool ReadPackage(const std::vector<uint8_t>& package, std::string* message = nullptr);

    // Replaces `out` with the entry whose name equals `name` folded to lower
    // case; `out` stays empty when there is none.
    void ExtractFile(const std::string& name, std::vector<uint8_t>& out) const;
    // Replaces `out` with the first entry whose name contains `fragment` (not
    // folded) and returns that name; returns "" and leaves `out` empty when
    // none does.
    std::string ExtractFirstMatching(const std::string& fragment, std::vector<uint8_t>& out) const;

    const std::vector<std::string>& Names() const { return names_; }
    int32_t Count() const { return static_cast<int32_t>(names_.size()); }
    int32_t EntrySize(int index) const { return sizes_[index]; }
    const SkinPackageHeader& Header() const { return header_; }

private:
    void Reset();
    void CopyEntry(size_t index, std::vector<uint8_t>& out) const;

    SkinPackageHeader header_;
    std::vector<std::string> names_;
    int32_t sizes_[kMaxSkinEntries] = {};
    std::vector<size_t> offsets_;  // of each file in image_
    std::vector<uint8_t> image_;   // the unpacked package
};

// ASCII letters to lower case, other bytes unchanged.
std::string FoldSkinName(const std::string& name);

// Splits a name list into lines: a line ends at CR LF, CR or LF; a final
// line break adds no empty line; a NUL byte ends the list.
std::vector<std::string> SplitSkinNames(const std::string& text);
