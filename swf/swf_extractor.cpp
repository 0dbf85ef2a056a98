#include "swf/swf_extractor.h"

#include <algorithm>
#include <fstream>

#include "swf/bitmap_rules.h"
#include "swf/extract_texts.h"
#include "swf/jpeg_rules.h"
#include "swf/jpeg_tags.h"
#include "swf/sound_records.h"
#include "swf/sound_rules.h"
#include "swf/tags.h"

namespace swf {

namespace fs = std::filesystem;

namespace {

bool IsStreamHead(int code) {
    return code == kSoundStreamHead || code == kSoundStreamHead2;
}

void WriteWhole(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (out) out.close();
    if (!out) throw SwfFileError("cannot write " + PathUtf8(path));
}

// Reads count more bytes of in onto the end of image; false when the file
// ends or fails first.
bool ReadMore(std::istream& in, size_t count, std::vector<uint8_t>& image) {
    size_t old_size = image.size();
    image.resize(old_size + count);
    in.read(reinterpret_cast<char*>(image.data() + old_size), static_cast<std::streamsize>(count));
    return static_cast<size_t>(in.gcount()) == count;
}

}  // namespace

fs::path Utf8Path(const std::string& text) {
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
}

std::string PathUtf8(const fs::path& path) {
    std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

void SwfExtractor::init(const fs::path& path) {
    LoadSwfImage(path);
    getinfo();
    addtolistview();
}

void SwfExtractor::LoadSwfImage(const fs::path& path) {
    std::error_code error;
    uintmax_t size = fs::file_size(path, error);
    std::ifstream in(path, std::ios::binary);
    if (error || !in) throw SwfFileError("cannot open " + PathUtf8(path));
    if (size > kMaxMovieBytes) throw SwfFileError("the file is larger than 256 MiB: " + PathUtf8(path));
    // A compressed body is inflated as it is read: its compressed bytes are
    // never held whole.
    std::vector<uint8_t> image;
    std::optional<InflateEnd> body_end;
    bool read = ReadMore(in, static_cast<size_t>(std::min<uintmax_t>(size, 8)), image);
    if (read && image.size() == 8 && image[0] == 'C' && image[1] == 'W' && image[2] == 'S') {
        body_end = InflateBodyFrom(in, size - 8, image);
        read = body_end.has_value();
    } else if (read) {
        read = ReadMore(in, static_cast<size_t>(size) - image.size(), image);
    }
    if (!read) throw SwfFileError("cannot read " + PathUtf8(path));
    SetSwfImage(std::move(image));
    body_end_ = body_end;
}

void SwfExtractor::SetSwfImage(std::vector<uint8_t> image) {
    swf_image_ = std::move(image);
    body_end_.reset();
    header_length_ = 0;
    header_decoded_ = false;
    tag_table_.clear();
    tag_counts_.fill(0);
    info_lines_.clear();
    rows_.clear();
}

bool SwfExtractor::getinfo() {
    jpeg_tables_.clear();
    pending_jpeg_.reset();
    info_lines_.clear();
    tag_table_.clear();
    tag_counts_.fill(0);
    header_decoded_ = false;
    try {
        if (!getswfinfo()) {
            messages_.push_back(text::kCannotExtract);
            tag_table_.clear();
        }
    } catch (const std::exception&) {
        // A truncated or malformed movie: the lines and entries so far stay.
    }
    return header_decoded_;
}

bool SwfExtractor::getswfinfo() {
    size_t read_pos = 0;
    if (!ReadSwfHeader(swf_image_, body_end_, read_pos, header_length_, info_lines_)) return false;
    header_decoded_ = true;
    gettagid(read_pos);
    return true;
}

void SwfExtractor::gettagid(size_t read_pos) {
    WalkTags(swf_image_, read_pos, tag_table_, tag_counts_);
    for (std::string& line : CensusLines(tag_table_, tag_counts_)) info_lines_.push_back(std::move(line));
}

void SwfExtractor::addtolistview() {
    rows_.clear();
    // Each build starts without tables, so that building twice gives the
    // same rows.
    jpeg_tables_.clear();
    pending_jpeg_.reset();
    for (size_t i = 0; i < tag_table_.size(); ++i) {
        switch (tag_table_[i].Code) {
        case kDefineBits:
        case kJpegTables:
        case kDefineBitsLossless:
        case kDefineBitsJpeg2:
        case kDefineBitsJpeg3:
        case kDefineBitsLossless2:
            getimage(i);
            break;
        case kDefineSound:
        case kSoundStreamHead:
        case kSoundStreamHead2:
            getsound(i);
            break;
        case kDefineSprite:
            if (SpriteHasStream(i)) getsound(i);
            break;
        default:
            break;
        }
    }
}

Bytes SwfExtractor::BodyOf(size_t index) const {
    const TagEntry& entry = tag_table_[index];
    return Clamp(swf_image_, entry.BodyPos, entry.BodyLength);
}

std::string SwfExtractor::BaseName(size_t index) const {
    return std::to_string(tag_table_[index].Code) + "_" + std::to_string(index);
}

bool SwfExtractor::NeedsJpegTables(size_t index) const {
    return !JpegHasOwnTables(Clamp(BodyOf(index), 2, UINT64_MAX));
}

SwfExtractor::Resource SwfExtractor::MakeResource(size_t index, bool make_bytes) const {
    Bytes body = BodyOf(index);
    Resource resource;
    switch (tag_table_[index].Code) {
    case kDefineBits:
        if (jpeg_tables_.empty() && NeedsJpegTables(index)) throw SwfDataError("the movie has no JPEG tables");
        return MakeImage(index, ReadJpegTag(kDefineBits, body, jpeg_tables_), make_bytes);
    case kDefineBitsJpeg2:
    case kDefineBitsJpeg3:
        return MakeImage(index, ReadJpegTag(tag_table_[index].Code, body, {}), make_bytes);
    case kDefineBitsLossless:
    case kDefineBitsLossless2: {
        bool with_alpha = tag_table_[index].Code == kDefineBitsLossless2;
        resource.caption = BaseName(index) + ".bmp";
        if (make_bytes) {
            resource.bytes = LosslessToBmp(body, with_alpha);
            resource.size = resource.bytes.size();
        } else {
            resource.size = LosslessBmpSize(body, with_alpha);
        }
        return resource;
    }
    case kDefineSound:
        return MakeEventSound(index, make_bytes);
    case kSoundStreamHead:
    case kSoundStreamHead2:
        return MakeStreamSound(index, make_bytes);
    case kDefineSprite:
        return MakeSpriteStream(index, make_bytes);
    default:
        throw SwfDataError("the tag holds no resource");
    }
}

// The image of a JPEG tag: a PNG or GIF file is written as it is under its
// own suffix (a JPEG3's alpha data is not applied to it); JPEG data is
// written as one JPEG.
SwfExtractor::Resource SwfExtractor::MakeImage(size_t index, const JpegTagImage& image, bool make_bytes) const {
    Resource resource;
    if (image.format != ImageFormat::Jpeg) {
        resource.caption = BaseName(index) + (image.format == ImageFormat::Png ? ".png" : ".gif");
        resource.size = image.file.size();
        if (make_bytes) resource.bytes.assign(image.file.begin(), image.file.end());
        return resource;
    }
    resource.caption = BaseName(index) + ".jpg";
    resource.size = image.jpeg.Size();
    if (make_bytes) resource.bytes = image.jpeg.Join();
    return resource;
}

// DefineSound: sound id, flag byte, sample count, sound data. MP3 data is
// written from its first frame, behind its 2-byte seek value; uncompressed
// and ADPCM data become WAV files; other formats are written as stored,
// from the flag byte on.
SwfExtractor::Resource SwfExtractor::MakeEventSound(size_t index, bool make_bytes) const {
    Bytes body = BodyOf(index);
    EventSound sound = ReadDefineSound(body);
    Resource resource;
    resource.caption = BaseName(index) + SoundSuffix(sound.flags.format);
    SoundFileBuilder builder(sound.flags, make_bytes);
    if (sound.flags.format == kSoundMp3) {
        builder.AddData(Mp3SoundSamples(sound.data));
    } else if (IsWavFormat(sound.flags.format)) {
        size_t max_frames = sound.sample_count != 0 ? sound.sample_count : static_cast<size_t>(-1);
        builder.AddData(sound.data, max_frames);
    } else {
        Bytes stored = Clamp(body, 2, UINT64_MAX);
        resource.size = stored.size();
        if (make_bytes) resource.bytes.assign(stored.begin(), stored.end());
        return resource;
    }
    resource.size = builder.FileSize();
    if (make_bytes) resource.bytes = builder.Finish();
    return resource;
}

namespace {

struct StreamTags {
    Bytes head;
    int head_code = 0;
    std::vector<Bytes> blocks;
};

// The file of a stream, made from the samples of its blocks. caption is the
// name before the stream mark and suffix.
void BuildStream(const StreamTags& tags, const std::string& caption, bool make_bytes, uint64_t& size,
                 std::vector<uint8_t>& bytes, std::string& full_caption) {
    SoundFlags flags = ReadSoundStreamHead(tags.head).stream;
    full_caption = caption + text::kStream + SoundSuffix(flags.format);
    SoundFileBuilder builder(flags, make_bytes);
    for (Bytes block : tags.blocks) builder.AddData(StreamBlockSamples(block, flags));
    size = builder.FileSize();
    if (make_bytes) bytes = builder.Finish();
}

// The first stream head inside a sprite's body and the blocks after it, up
// to the sprite's End tag or its next head. Throws SwfDataError for a body
// that ends inside a tag header.
StreamTags SpriteStream(Bytes sprite) {
    StreamTags tags;
    uint64_t pos = 4;  // behind the sprite id and frame count
    while (pos + 2 <= sprite.size()) {
        std::optional<TagHeader> tag = ReadTagHeader(sprite, static_cast<size_t>(pos));
        if (!tag) throw SwfDataError("the sprite ends inside a tag header");
        pos = NextTagPos(*tag);
        if (tag->code == kEnd) break;
        if (IsStreamHead(tag->code)) {
            if (tags.head_code != 0) break;
            tags.head = TagBody(sprite, *tag);
            tags.head_code = tag->code;
        } else if (tag->code == kSoundStreamBlock && tags.head_code != 0) {
            tags.blocks.push_back(TagBody(sprite, *tag));
        }
    }
    return tags;
}

}  // namespace

// A streamed sound is the SoundStreamBlock tags after its head, up to the End
// tag or the next head.
SwfExtractor::Resource SwfExtractor::MakeStreamSound(size_t index, bool make_bytes) const {
    StreamTags tags;
    tags.head = BodyOf(index);
    tags.head_code = tag_table_[index].Code;
    for (size_t i = index + 1; i < tag_table_.size(); ++i) {
        int code = tag_table_[i].Code;
        if (code == kEnd || IsStreamHead(code)) break;
        if (code == kSoundStreamBlock) tags.blocks.push_back(BodyOf(i));
    }
    Resource resource;
    BuildStream(tags, BaseName(index), make_bytes, resource.size, resource.bytes, resource.caption);
    resource.blocks = static_cast<uint32_t>(tags.blocks.size());
    return resource;
}

// Named like a top-level head would be: the head's code and the sprite's
// catalogue index.
SwfExtractor::Resource SwfExtractor::MakeSpriteStream(size_t index, bool make_bytes) const {
    StreamTags tags = SpriteStream(BodyOf(index));
    if (tags.head_code == 0) throw SwfDataError("the sprite holds no stream");
    Resource resource;
    std::string name = std::to_string(tags.head_code) + "_" + std::to_string(index);
    BuildStream(tags, name, make_bytes, resource.size, resource.bytes, resource.caption);
    resource.blocks = static_cast<uint32_t>(tags.blocks.size());
    return resource;
}

// Only sprites whose stream has blocks get a row.
bool SwfExtractor::SpriteHasStream(size_t index) const {
    try {
        return !SpriteStream(BodyOf(index)).blocks.empty();
    } catch (const std::exception&) {
        return false;
    }
}

void SwfExtractor::getimage(size_t index) {
    int code = tag_table_[index].Code;
    if (code == kJpegTables) {
        try {
            jpeg_tables_ = JpegTableSegments(BodyOf(index));
        } catch (const std::exception&) {
            AddUnreadableRow(index, text::kCannotRead + BaseName(index) + ".jpg", kIconJpeg);
            return;
        }
        if (!jpeg_tables_.empty() && pending_jpeg_) {
            AddResourceRow(*pending_jpeg_, kIconJpeg);
            pending_jpeg_.reset();
        }
        return;
    }
    if (code == kDefineBits && jpeg_tables_.empty() && NeedsJpegTables(index)) {
        pending_jpeg_ = index;
        return;
    }
    bool bitmap = code == kDefineBitsLossless || code == kDefineBitsLossless2;
    AddResourceRow(index, bitmap ? kIconBitmap : kIconJpeg);
}

// DefineSound rows have 1 block; a stream head's row has the number of
// SoundStreamBlock tags collected and the size of the file they make.
void SwfExtractor::getsound(size_t index) {
    AddResourceRow(index, kIconSound);
}

void SwfExtractor::AddResourceRow(size_t index, int icon) {
    int code = tag_table_[index].Code;
    try {
        Resource resource = MakeResource(index, false);
        ResourceRow row;
        row.caption = resource.caption;
        row.tag_id = static_cast<int>(index);
        row.code = code;
        row.blocks = resource.blocks;
        row.length = resource.size;
        row.icon = icon;
        rows_.push_back(row);
        return;
    } catch (const std::exception&) {
    }
    std::string caption;
    if (code == kDefineBitsLossless || code == kDefineBitsLossless2)
        caption = text::kCannotRead + BaseName(index) + ".bmp";
    else if (code == kDefineBitsJpeg2 || code == kDefineBitsJpeg3)
        caption = text::kCannotRead + BaseName(index) + ".jpg";
    else if (code == kDefineSound || IsStreamHead(code))
        caption = text::kCannotRead + BaseName(index);
    AddUnreadableRow(index, caption, icon);
}

void SwfExtractor::AddUnreadableRow(size_t index, const std::string& caption, int icon) {
    ResourceRow row;
    row.caption = caption;
    row.tag_id = static_cast<int>(index);
    row.code = tag_table_[index].Code;
    row.blocks = 0;
    row.length = 0;
    row.icon = icon;
    rows_.push_back(row);
}

fs::path SwfExtractor::ExtractRow(size_t row, const fs::path& folder) {
    if (row >= rows_.size()) return {};
    if (rows_[row].length == 0) {
        messages_.push_back(text::kCannotExtract);
        return {};
    }
    return ExportEntry(static_cast<size_t>(rows_[row].tag_id), folder);
}

fs::path SwfExtractor::ExportEntry(size_t i, const fs::path& temp_folder) {
    if (i >= tag_table_.size()) throw SwfDataError("the movie has no tag " + std::to_string(i));
    switch (tag_table_[i].Code) {
    case kDefineBits: return getjpgfile(i, temp_folder);
    case kDefineSound: return getsoundfile(i, temp_folder);
    case kSoundStreamHead:
    case kSoundStreamHead2: return getstreamsoundfile(i, temp_folder);
    case kDefineBitsLossless: return getnoalphabmp(i, temp_folder);
    case kDefineBitsJpeg2: return getnoalphajpg(i, temp_folder);
    case kDefineBitsJpeg3: return getalphajpg(i, temp_folder);
    case kDefineBitsLossless2: return getalphabmp(i, temp_folder);
    case kDefineSprite: return SpriteHasStream(i) ? WriteResource(i, kDefineSprite, temp_folder) : fs::path{};
    default: return {};
    }
}

fs::path SwfExtractor::getjpgfile(size_t i, const fs::path& temp_folder) {
    if (i < tag_table_.size() && tag_table_[i].Code == kDefineBits && jpeg_tables_.empty() && NeedsJpegTables(i)) {
        messages_.push_back(text::kCannotExtract);
        return {};
    }
    return WriteResource(i, kDefineBits, temp_folder);
}

fs::path SwfExtractor::getnoalphajpg(size_t i, const fs::path& temp_folder) {
    return WriteResource(i, kDefineBitsJpeg2, temp_folder);
}

fs::path SwfExtractor::getalphajpg(size_t i, const fs::path& temp_folder) {
    return WriteResource(i, kDefineBitsJpeg3, temp_folder);
}

fs::path SwfExtractor::getnoalphabmp(size_t i, const fs::path& temp_folder) {
    return WriteResource(i, kDefineBitsLossless, temp_folder);
}

fs::path SwfExtractor::getalphabmp(size_t i, const fs::path& temp_folder) {
    return WriteResource(i, kDefineBitsLossless2, temp_folder);
}

fs::path SwfExtractor::getsoundfile(size_t i, const fs::path& temp_folder) {
    return WriteResource(i, kDefineSound, temp_folder);
}

fs::path SwfExtractor::getstreamsoundfile(size_t i, const fs::path& temp_folder) {
    if (i >= tag_table_.size() || !IsStreamHead(tag_table_[i].Code))
        throw SwfDataError("tag " + std::to_string(i) + " is no stream head");
    Resource resource = MakeStreamSound(i, true);
    if (resource.bytes.empty()) {
        messages_.push_back(text::kCannotExtract);
        return {};
    }
    return WriteFile(resource, temp_folder);
}

// Writes the file of entry i, which must hold a tag of the given code.
fs::path SwfExtractor::WriteResource(size_t i, int code, const fs::path& temp_folder) {
    if (i >= tag_table_.size() || tag_table_[i].Code != code)
        throw SwfDataError("tag " + std::to_string(i) + " is no tag " + std::to_string(code));
    return WriteFile(MakeResource(i, true), temp_folder);
}

fs::path SwfExtractor::WriteFile(const Resource& resource, const fs::path& temp_folder) {
    fs::path path = temp_folder / Utf8Path(resource.caption);
    WriteWhole(path, resource.bytes);
    last_extracted_ = path;
    return path;
}

}  // namespace swf
