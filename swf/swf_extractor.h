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
#include "swf/jpeg_tags.h"
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
    // Reads the movie at swf_path, decodes it and builds the rows. Throws
    // SwfFileError when the file cannot be read.
    void init(const std::filesystem::path& swf_path);

    // Reads the file whole, inflating a compressed body as it is read;
    // throws SwfFileError when it cannot be read or is larger than
    // kMaxMovieBytes. A body that does not inflate fails in getinfo.
    void LoadSwfImage(const std::filesystem::path& swf_path);
    // Takes movie bytes that are already in memory.
    void SetSwfImage(std::vector<uint8_t> image);

    // Empties the JPEG buffers, decodes the header and walks the tags. A
    // wrong signature or a version below 5 leaves an empty catalogue and
    // adds "不能提取信息!" to the messages; a truncated or malformed movie
    // keeps the lines and entries recorded before the failure, without a
    // message. Returns whether the header could be decoded.
    bool getinfo();

    // The list build: one row per image and sound, in catalogue order.
    void addtolistview();

    // The extraction step of a row: a row whose length is 0 adds
    // "不能提取信息!" and writes nothing; otherwise the exporter of the
    // row's tag writes its file into temp_folder. Returns the path written,
    // or an empty path when nothing was written.
    std::filesystem::path ExtractRow(size_t row, const std::filesystem::path& temp_folder);

    // The exporter of catalogue entry i, chosen by its code; an empty path
    // for codes without an exporter.
    std::filesystem::path ExportEntry(size_t i, const std::filesystem::path& temp_folder);

    // The exporters. Each writes the file of entry i into temp_folder under
    // the entry's caption, replacing a file of that name, sets
    // LastExtracted and returns the path. getjpgfile and getstreamsoundfile
    // return an empty path, adding "不能提取信息!", when there is nothing to
    // write (no JPEG tables; a stream without sound data). They throw
    // SwfDataError for data that cannot be exported and SwfFileError when
    // the file cannot be written.
    std::filesystem::path getjpgfile(size_t i, const std::filesystem::path& temp_folder);
    std::filesystem::path getnoalphajpg(size_t i, const std::filesystem::path& temp_folder);
    std::filesystem::path getalphajpg(size_t i, const std::filesystem::path& temp_folder);
    std::filesystem::path getnoalphabmp(size_t i, const std::filesystem::path& temp_folder);
    std::filesystem::path getalphabmp(size_t i, const std::filesystem::path& temp_folder);
    std::filesystem::path getsoundfile(size_t i, const std::filesystem::path& temp_folder);
    std::filesystem::path getstreamsoundfile(size_t i, const std::filesystem::path& temp_folder);

    const std::vector<uint8_t>& SwfImage() const { return swf_image_; }
    uint32_t HeaderLength() const { return header_length_; }
    bool HeaderDecoded() const { return header_decoded_; }
    const std::vector<TagEntry>& TagTable() const { return tag_table_; }
    size_t TagCount() const { return tag_table_.size(); }
    const TagCensus& TagCounts() const { return tag_counts_; }
    const std::vector<uint8_t>& JpegTables() const { return jpeg_tables_; }

    // The information lines (header and census) and the messages, in order.
    const std::vector<std::string>& InfoLines() const { return info_lines_; }
    const std::vector<std::string>& Messages() const { return messages_; }
    void AddMessage(const std::string& message) { messages_.push_back(message); }
    const std::vector<ResourceRow>& Rows() const { return rows_; }
    const std::filesystem::path& LastExtracted() const { return last_extracted_; }

private:
    // The file of a resource: its bytes are made only when make_bytes is
    // set, its size always.
    struct Resource {
        std::string caption;
        std::vector<uint8_t> bytes;
        uint64_t size = 0;
        uint32_t blocks = 1;
    };

    bool getswfinfo();
    void gettagid(size_t read_pos);
    void getimage(size_t i);
    void getsound(size_t i);

    Bytes BodyOf(size_t i) const;
    std::string BaseName(size_t i) const;
    bool NeedsJpegTables(size_t i) const;
    Resource MakeResource(size_t i, bool make_bytes) const;
    Resource MakeImage(size_t i, const JpegTagImage& image, bool make_bytes) const;
    Resource MakeEventSound(size_t i, bool make_bytes) const;
    Resource MakeStreamSound(size_t i, bool make_bytes) const;
    // The stream of a DefineSprite: its first stream head and the blocks
    // after it inside the sprite. Throws SwfDataError when it has none.
    Resource MakeSpriteStream(size_t i, bool make_bytes) const;
    bool SpriteHasStream(size_t i) const;
    void AddResourceRow(size_t i, int icon);
    void AddUnreadableRow(size_t i, const std::string& caption, int icon);
    std::filesystem::path WriteResource(size_t i, int code, const std::filesystem::path& temp_folder);
    std::filesystem::path WriteFile(const Resource& resource, const std::filesystem::path& temp_folder);

    std::vector<uint8_t> swf_image_;
    std::optional<InflateEnd> body_end_;   // set once a compressed body is inflated
    uint32_t header_length_ = 0;
    bool header_decoded_ = false;
    std::vector<TagEntry> tag_table_;
    TagCensus tag_counts_{};
    std::vector<std::string> info_lines_;
    std::vector<std::string> messages_;
    std::vector<ResourceRow> rows_;

    std::vector<uint8_t> jpeg_tables_;      // table segments of the last JPEGTables tag
    std::optional<size_t> pending_jpeg_;    // DefineBits met while no tables were known
    std::filesystem::path last_extracted_;
};

}  // namespace swf
