// The resource extractor of one SWF movie: it holds the movie's bytes, its
// tag catalogue, the information lines, the resource rows and the message
// list, and writes the file of a resource into a given folder. The
// extraction window shows its lines, rows and messages; corvella-cli uses it
// for "swf info", "swf list" and "swf export".
//
// All text is UTF-8. Captions are file names without a folder: "21_12.jpg",
// "20_3.bmp", "14_7.MP3", "18_3流.MP3" (code, "_", catalogue index, suffix).
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "swf/byte_reader.h"
#include "swf/swf_reader.h"

namespace swf {

// A file that cannot be read or written; the message names it.
class SwfFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum ResourceIcon { kIconSound = 0, kIconBitmap = 1, kIconJpeg = 2, kIconTag = 3 };

struct ResourceRow {
    std::string caption;   // the name of the file that the export writes
    int tag_id = 0;        // catalogue index of the resource's tag
    int code = 0;          // tag code
    uint32_t blocks = 0;   // 1, the stream's block count, or 0 when unreadable
    uint64_t length = 0;   // size of the file that the export writes; 0 when unreadable
    int icon = kIconTag;
};

// A path from UTF-8 text, correct on Windows too.
std::filesystem::path Utf8Path(const std::string& text);
std::string PathUtf8(const std::filesystem::path& path);

class SwfExtractor {
public:
    // Reads the movie at path, decodes it and builds the rows. Throws
    // SwfFileError when the file cannot be read.
    void Init(const std::filesystem::path& path);

    // Reads the file whole; throws SwfFileError when it cannot be read or is
    // larger than kMaxMovieBytes.
    void LoadSwfImage(const std::filesystem::path& path);
    // Takes movie bytes that are already in memory.
    void SetSwfImage(std::vector<uint8_t> image);

    // Decodes the header and walks the tags. A wrong signature or a version
    // below 5 leaves an empty catalogue and adds "不能提取信息!" to the
    // messages; a truncated or malformed movie keeps the entries recorded
    // before the failure, without a message. Returns whether the header
    // could be decoded.
    bool GetInfo();

    // Makes one row per image and sound, in catalogue order.
    void BuildRows();

    // The extraction step of a row: a row whose length is 0 adds
    // "不能提取信息!" and writes nothing. Returns the path written, or an
    // empty path when nothing was written.
    std::filesystem::path ExtractRow(size_t row, const std::filesystem::path& folder);

    // Writes the file of catalogue entry index into folder under its
    // caption and returns its path; returns an empty path, with a message,
    // when there is nothing to write, and for codes without an exporter.
    // Throws SwfDataError for data that cannot be exported and SwfFileError
    // when the file cannot be written.
    std::filesystem::path ExportEntry(size_t index, const std::filesystem::path& folder);

    const std::vector<uint8_t>& SwfImage() const { return image_; }
    const std::vector<TagEntry>& Tags() const { return tags_; }
    size_t TagCount() const { return tags_.size(); }
    const TagCensus& TagCounts() const { return census_; }
    uint32_t HeaderLength() const { return header_length_; }
    bool HeaderDecoded() const { return header_ok_; }

    const std::vector<std::string>& InfoLines() const { return info_lines_; }
    const std::vector<std::string>& Messages() const { return messages_; }
    void AddMessage(const std::string& message) { messages_.push_back(message); }
    const std::vector<ResourceRow>& Rows() const { return rows_; }
    const std::filesystem::path& LastExtracted() const { return last_extracted_; }

private:
    struct Resource {
        std::string caption;
        std::vector<uint8_t> bytes;
        uint32_t blocks = 1;
    };

    Bytes BodyOf(size_t index) const;
    std::string BaseName(size_t index) const;
    Resource MakeResource(size_t index) const;
    Resource MakeEventSound(size_t index) const;
    Resource MakeStreamSound(size_t index) const;
    bool NeedsJpegTables(size_t index) const;

    void AddImageRow(size_t index);
    void AddSoundRow(size_t index);
    void AddResourceRow(size_t index, int icon);
    void AddUnreadableRow(size_t index, const std::string& caption, int icon);

    std::vector<uint8_t> image_;
    uint32_t header_length_ = 0;
    bool header_ok_ = false;
    std::vector<TagEntry> tags_;
    TagCensus census_{};
    std::vector<std::string> info_lines_;
    std::vector<std::string> messages_;
    std::vector<ResourceRow> rows_;

    std::vector<uint8_t> jpeg_tables_;     // table segments of the last JPEGTables tag
    std::optional<size_t> pending_jpeg_;   // DefineBits met while no tables were known
    std::filesystem::path last_extracted_;
};

}  // namespace swf
