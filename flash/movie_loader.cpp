#include "flash/movie_loader.h"

#include "flash/morph_reader.h"
#include "flash/shape_reader.h"
#include "flash/sound_reader.h"
#include "flash/swf_records.h"
#include "flash/text_reader.h"
#include "swf/jpeg_rules.h"
#include "swf/jpeg_tags.h"
#include "swf/limits.h"
#include "swf/lossless_bitmap.h"
#include "swf/movie_header.h"
#include "swf/tags.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>
#include <set>

namespace flash {

namespace {

using namespace swf::tag_codes;

// Tags the engine reads that the format layer's list leaves out.
constexpr int kImportAssets = 57;
constexpr int kImportAssets2 = 71;

// Sprites inside sprites are not allowed by the format; a movie that nests
// them anyway is cut off at this depth.
constexpr int kMaxSpriteNesting = 8;

PlaceRecord ReadPlaceObject(swf::ByteReader& in) {
    PlaceRecord p;
    p.has_character = true;
    p.character = in.U16();
    p.depth = in.U16();
    p.has_matrix = true;
    p.matrix = ToMatrix(swf::ReadMatrix(in));
    if (in.Remaining() > 0) {
        p.has_color = true;
        p.color = ToColorTransform(swf::ReadColorTransform(in, false));
    }
    return p;
}

// The bytes of an action list, kept as they are for the script machine.
ActionBytes ReadActionBytes(swf::ByteReader& in) {
    swf::Bytes rest = in.Rest();
    auto bytes = std::make_shared<std::vector<uint8_t>>(rest.begin(), rest.end());
    in.Skip(rest.size());
    return bytes;
}

float ReadFloat(swf::ByteReader& in) {
    uint32_t bits = in.U32();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return std::isfinite(value) ? value : 0.0f;
}

double ReadFixed(swf::ByteReader& in) { return static_cast<int32_t>(in.U32()) / 65536.0; }

// The blur, offset, strength and flag fields most filters share; the
// passes take the low bits the flags leave.
void ReadShadowFields(swf::ByteReader& in, Filter& f, bool has_offset, int pass_bits) {
    f.blur_x = ReadFixed(in);
    f.blur_y = ReadFixed(in);
    if (has_offset) {
        f.angle = ReadFixed(in);
        f.distance = ReadFixed(in);
    }
    f.strength = in.S16() / 256.0;
    uint8_t flags = in.U8();
    f.inner = flags & 0x80;
    f.knockout = flags & 0x40;
    f.composite_source = flags & 0x20;
    f.on_top = pass_bits == 4 && (flags & 0x10);
    f.passes = flags & ((1 << pass_bits) - 1);
}

Filter ReadFilter(swf::ByteReader& in) {
    Filter f;
    int id = in.U8();
    switch (id) {
    case 0:
        f.kind = FilterKind::DropShadow;
        f.colors.push_back(swf::ReadRgba(in));
        ReadShadowFields(in, f, true, 5);
        break;
    case 1: {
        f.kind = FilterKind::Blur;
        f.blur_x = ReadFixed(in);
        f.blur_y = ReadFixed(in);
        f.passes = in.U8() >> 3;
        break;
    }
    case 2:
        f.kind = FilterKind::Glow;
        f.colors.push_back(swf::ReadRgba(in));
        ReadShadowFields(in, f, false, 5);
        break;
    case 3:
        f.kind = FilterKind::Bevel;
        f.colors.push_back(swf::ReadRgba(in));
        f.colors.push_back(swf::ReadRgba(in));
        ReadShadowFields(in, f, true, 4);
        break;
    case 4:
    case 7: {
        f.kind = id == 4 ? FilterKind::GradientGlow : FilterKind::GradientBevel;
        int count = in.U8();
        for (int i = 0; i < count; ++i) f.colors.push_back(swf::ReadRgba(in));
        for (int i = 0; i < count; ++i) f.ratios.push_back(in.U8());
        ReadShadowFields(in, f, true, 4);
        break;
    }
    case 5: {
        f.kind = FilterKind::Convolution;
        f.matrix_x = in.U8();
        f.matrix_y = in.U8();
        f.divisor = ReadFloat(in);
        f.bias = ReadFloat(in);
        for (int i = 0; i < f.matrix_x * f.matrix_y; ++i) f.matrix.push_back(ReadFloat(in));
        f.default_color = swf::ReadRgba(in);
        uint8_t flags = in.U8();
        f.clamp = flags & 0x02;
        f.preserve_alpha = flags & 0x01;
        break;
    }
    case 6:
        f.kind = FilterKind::ColorMatrix;
        for (float& value : f.color_matrix) value = ReadFloat(in);
        break;
    default: throw swf::SwfDataError("unknown filter");
    }
    return f;
}

std::vector<Filter> ReadFilters(swf::ByteReader& in) {
    std::vector<Filter> filters;
    int count = in.U8();
    for (int i = 0; i < count; ++i) filters.push_back(ReadFilter(in));
    return filters;
}

// Clip event records of PlaceObject2/3: 16-bit flags in SWF 5, 32-bit later.
std::vector<ClipAction> ReadClipActions(swf::ByteReader& in, int swf_version) {
    std::vector<ClipAction> list;
    auto flags = [&]() -> uint32_t { return swf_version >= 6 ? in.U32() : in.U16(); };
    in.U16();  // reserved
    flags();   // every event used
    // A record cut short (a damaged end marker) ends the list; the records
    // before it stay.
    while (in.Remaining() >= (swf_version >= 6 ? 8u : 6u)) {
        uint32_t events = flags();
        if (events == 0) break;
        size_t size = in.U32();
        if (size > in.Remaining()) size = in.Remaining();
        ClipAction action;
        action.events = events;
        if ((events & kEventKeyPress) && size > 0) {
            action.key = in.U8();
            --size;
        }
        swf::ByteReader body(in.Take(size));
        action.actions = ReadActionBytes(body);
        list.push_back(std::move(action));
    }
    return list;
}

PlaceRecord ReadPlaceObject2(swf::ByteReader& in, bool version3, int swf_version) {
    PlaceRecord p;
    uint8_t flags = in.U8();
    uint8_t flags2 = version3 ? in.U8() : 0;
    p.depth = in.U16();
    bool has_class = (flags2 & 0x08) || ((flags2 & 0x10) && (flags & 0x02));
    if (has_class) in.String();
    p.move = flags & 0x01;
    p.has_character = flags & 0x02;
    p.has_matrix = flags & 0x04;
    p.has_color = flags & 0x08;
    p.has_ratio = flags & 0x10;
    p.has_clip_depth = flags & 0x40;
    if (p.has_character) p.character = in.U16();
    if (p.has_matrix) p.matrix = ToMatrix(swf::ReadMatrix(in));
    if (p.has_color) p.color = ToColorTransform(swf::ReadColorTransform(in, true));
    if (p.has_ratio) p.ratio = in.U16();
    p.has_name = flags & 0x20;
    if (p.has_name) p.name = in.String();
    if (p.has_clip_depth) p.clip_depth = in.U16();
    p.has_filters = flags2 & 0x01;
    p.has_blend_mode = flags2 & 0x02;
    p.has_cache = flags2 & 0x04;
    p.has_visible = flags2 & 0x20;
    p.has_background = flags2 & 0x40;
    if (p.has_filters) p.filters = ReadFilters(in);
    if (p.has_blend_mode) p.blend_mode = BlendModeFromByte(in.U8());
    if (p.has_cache) p.cache_as_bitmap = in.U8() != 0;
    if (p.has_visible) p.visible = in.U8() != 0;
    if (p.has_background) p.background = swf::ReadRgba(in);
    if (flags & 0x80) {
        try {
            p.clip_actions = ReadClipActions(in, swf_version);
        } catch (const swf::SwfDataError&) {
            // Damaged event records: the object is still placed.
        }
    }
    return p;
}

Button ReadButton(swf::ByteReader& in, bool version2) {
    Button button;
    size_t actions_offset = 0;
    const size_t start = in.Pos();
    if (version2) {
        button.track_as_menu = in.U8() & 1;
        size_t at = in.Pos() - start;
        actions_offset = in.U16();
        if (actions_offset) actions_offset += at;
    }
    while (in.Remaining() > 0) {
        uint8_t flags = in.U8();
        if (flags == 0) break;
        PlaceRecord p;
        p.has_character = true;
        p.character = in.U16();
        p.depth = in.U16();
        p.has_matrix = true;
        p.matrix = ToMatrix(swf::ReadMatrix(in));
        if (version2) {
            p.has_color = true;
            p.color = ToColorTransform(swf::ReadColorTransform(in, true));
            if (flags & 0x10) p.filters = ReadFilters(in);
            if (flags & 0x20) p.blend_mode = BlendModeFromByte(in.U8());
            p.has_filters = flags & 0x10;
            p.has_blend_mode = flags & 0x20;
        }
        if (flags & 0x01) button.up.push_back(p);
        if (flags & 0x02) button.over.push_back(p);
        if (flags & 0x04) button.down.push_back(p);
        if (flags & 0x08) button.hit.push_back(p);
    }
    if (!version2) {
        // DefineButton: one action list, run on release.
        button.actions.push_back({0x08, ReadActionBytes(in)});
        return button;
    }
    if (!actions_offset) return button;
    size_t consumed = in.Pos() - start;
    if (actions_offset < consumed) return button;
    in.Skip(std::min(actions_offset - consumed, in.Remaining()));
    while (in.Remaining() >= 4) {
        size_t size = in.U16();
        uint16_t conditions = in.U16();
        size_t length = size == 0 ? in.Remaining() : std::min(size >= 4 ? size - 4 : 0, in.Remaining());
        swf::ByteReader body(in.Take(length));
        button.actions.push_back({conditions, ReadActionBytes(body)});
        if (size == 0) break;
    }
    return button;
}

// Movies importing from movies that import... stop at this depth.
constexpr int kMaxImportDepth = 4;

class TimelineReader {
public:
    TimelineReader(Movie& movie, std::filesystem::path folder, int import_depth)
        : movie_(movie), folder_(std::move(folder)), import_depth_(import_depth) {}

    void Read(swf::ByteReader& in, Timeline& timeline, int declared_frames, int nesting);

private:
    void DefineTag(int code, swf::ByteReader& body, int nesting);
    // Sound tags of a timeline; false for other tags.
    bool SoundTag(int code, swf::ByteReader& body, Timeline& timeline, std::shared_ptr<StreamSound>& stream);
    // The character a defining tag holds after its id; none for other tags.
    std::optional<Character> ReadCharacter(int code, swf::ByteReader& body, int nesting);

    void Import(swf::ByteReader& body, bool version2);

    Movie& movie_;
    std::filesystem::path folder_;
    int import_depth_ = 0;
    std::set<uint16_t> defined_;         // characters defined so far in the file
    bool background_set_ = false;
    std::vector<uint8_t> jpeg_tables_;
    // Videos defined so far, which their VideoFrame tags add frames to.
    std::map<uint16_t, std::shared_ptr<VideoStream>> videos_;
};

void TimelineReader::Import(swf::ByteReader& body, bool version2) {
    std::string url = body.String();
    if (version2) body.U16();  // reserved
    if (folder_.empty() || import_depth_ >= kMaxImportDepth) return;
    // Only movies beside this one (or below its folder) are read.
    if (url.rfind("file://", 0) == 0) return;
    if (url.find("://") != std::string::npos || url.find("..") != std::string::npos || url.empty() || url[0] == '/')
        return;
    std::shared_ptr<Movie> source;
    try {
        source = std::make_shared<Movie>(LoadMovieFile(folder_ / url, import_depth_ + 1));
    } catch (const swf::SwfDataError&) {
        return;
    }
    int count = body.U16();
    for (int i = 0; i < count && body.Remaining() > 0; ++i) {
        uint16_t id = body.U16();
        std::string name = body.String();
        auto exported = source->exports.find(name);
        if (exported == source->exports.end()) continue;
        const Character* character = source->Find(exported->second);
        if (!character) continue;
        Character copy = *character;
        if (!copy.owner) copy.owner = source.get();
        movie_.characters[id] = copy;
        defined_.insert(id);
        // Scripts attach an imported symbol by the name it was imported as.
        movie_.exports.emplace(name, id);
    }
    movie_.imports.push_back(source);
}

void TimelineReader::Read(swf::ByteReader& in, Timeline& timeline, int declared_frames, int nesting) {
    timeline.frames.assign(1, Frame{});
    std::shared_ptr<StreamSound> stream;
    int shown = 0;
    bool ended = false;
    size_t pos = in.Pos();
    while (std::optional<swf::TagHeader> tag = swf::ReadTagHeader(in.Data(), pos)) {
        swf::Bytes data = swf::TagBody(in.Data(), *tag);
        if (data.size() < tag->length) break;  // truncated movie: keep what came before
        pos = tag->body_pos + data.size();
        swf::ByteReader body(data);
        int code = tag->code;
        if (code == kEnd) {
            ended = true;
            break;
        }

        Frame& frame = timeline.frames.back();
        try {
            switch (code) {
            case kShowFrame:
                ++shown;
                timeline.frames.emplace_back();
                break;
            case kPlaceObject:
            case kPlaceObject2:
            case kPlaceObject3: {
                PlaceRecord place = code == kPlaceObject
                                        ? ReadPlaceObject(body)
                                        : ReadPlaceObject2(body, code == kPlaceObject3, movie_.version);
                // On the main timeline a character defined further on in
                // the file is not there yet when the tag plays: nothing is
                // placed.
                if (nesting == 0 && place.has_character && !defined_.count(place.character)) break;
                frame.tags.push_back({ControlKind::Place, std::move(place), {}});
                break;
            }
            case kRemoveObject:
            case kRemoveObject2: {
                ControlTag tag{ControlKind::Remove, {}, {}};
                if (code == kRemoveObject) body.U16();
                tag.place.depth = body.U16();
                frame.tags.push_back(tag);
                break;
            }
            case kDoAction: {
                ControlTag tag{ControlKind::Actions, {}, ReadActionBytes(body)};
                if (!tag.actions->empty()) frame.tags.push_back(std::move(tag));
                break;
            }
            case kDoInitAction: {
                ControlTag tag{ControlKind::InitActions, {}, {}};
                tag.sprite = body.U16();
                tag.actions = ReadActionBytes(body);
                frame.tags.push_back(std::move(tag));
                break;
            }
            case kImportAssets:
            case kImportAssets2:
                Import(body, code == kImportAssets2);
                break;
            case kExportAssets:
            case kSymbolClass: {
                int count = body.U16();
                for (int i = 0; i < count && body.Remaining() > 0; ++i) {
                    uint16_t id = body.U16();
                    movie_.exports[body.String()] = id;
                }
                break;
            }
            case kFrameLabel:
                timeline.labels.emplace(body.String(), static_cast<int>(timeline.frames.size()) - 1);
                break;
            case kVideoFrame: {
                uint16_t id = body.U16();
                int number = body.U16();
                auto video = videos_.find(id);
                if (video != videos_.end()) {
                    swf::Bytes rest = body.Rest();
                    video->second->frames[number].assign(rest.begin(), rest.end());
                }
                break;
            }
            default:
                if (!SoundTag(code, body, timeline, stream)) DefineTag(code, body, nesting);
                break;
            }
        } catch (const swf::SwfDataError&) {
            // A damaged tag is left out; the tags around it still count.
        }
    }
    if (stream && !stream->blocks.empty()) timeline.stream = stream;
    // A timeline plays the frames its ShowFrame tags end, whatever its header
    // declares. A movie file cut short is still to come, as many frames as it
    // declares; so is a sprite that shows no frame at all.
    bool whole = nesting > 0 ? shown > 0 : ended;
    int frames = whole || declared_frames <= 0 ? std::max(shown, 1) : declared_frames;
    bool partial = !timeline.frames.back().tags.empty();
    if (nesting > 0) {
        // A sprite's tags after its last ShowFrame still play once as a
        // frame; such a sprite, or one without its End tag, is still
        // loading and does not go back to its first frame.
        if (partial) frames = shown + 1;
        timeline.loops = ended && !partial;
    }
    if (!partial) timeline.frames.pop_back();
    if (static_cast<int>(timeline.frames.size()) > frames) timeline.frames.resize(static_cast<size_t>(frames));
    timeline.frame_count = frames;
    for (auto it = timeline.labels.begin(); it != timeline.labels.end();)
        it = it->second < frames ? std::next(it) : timeline.labels.erase(it);
}

bool TimelineReader::SoundTag(int code, swf::ByteReader& body, Timeline& timeline, std::shared_ptr<StreamSound>& stream) {
    int frame = static_cast<int>(timeline.frames.size()) - 1;
    switch (code) {
    case kStartSound: {
        SoundStart start;
        start.sound = body.U16();
        start.info = ReadSoundInfo(body);
        timeline.frames.back().sounds.push_back(std::move(start));
        return true;
    }
    case kStartSound2: {
        SoundStart start;
        start.class_name = body.String();
        start.info = ReadSoundInfo(body);
        timeline.frames.back().sounds.push_back(std::move(start));
        return true;
    }
    case kSoundStreamHead:
    case kSoundStreamHead2:
        // A second head starts the stream over with its own format.
        stream = std::make_shared<StreamSound>(ReadStreamHead(body.Data()));
        return true;
    case kSoundStreamBlock:
        if (stream) ReadStreamBlock(body.Data(), frame, *stream);
        return true;
    case kDefineButtonSound: {
        uint16_t button = body.U16();
        movie_.button_sounds[button] = ReadButtonSounds(body);
        return true;
    }
    default:
        return false;
    }
}

void TimelineReader::DefineTag(int code, swf::ByteReader& body, int nesting) {
    if (code == kSetBackgroundColor) {
        if (nesting == 0 && !background_set_) {
            movie_.background = swf::ReadRgb(body);
            background_set_ = true;
        }
    } else if (code == kJpegTables) {
        try {
            jpeg_tables_ = swf::JpegTableSegments(body.Rest());
        } catch (const swf::SwfDataError&) {
            jpeg_tables_.clear();  // DefineBits then decodes only with tables of its own
        }
    } else if (code == kDefineVideoStream && body.Remaining() >= 10) {
        uint16_t id = body.U16();
        auto video = std::make_shared<VideoStream>();
        body.U16();  // frame count
        video->width = body.U16();
        video->height = body.U16();
        video->smoothing = body.U8() & 1;
        video->codec = body.U8();
        videos_[id] = video;
        Character character;
        character.video = video;
        movie_.characters[id] = std::move(character);
        defined_.insert(id);
    } else if (body.Remaining() >= 2) {
        uint16_t id = body.U16();
        if (std::optional<Character> character = ReadCharacter(code, body, nesting))
            movie_.characters[id] = std::move(*character);
        defined_.insert(id);
    }
}

std::optional<Character> TimelineReader::ReadCharacter(int code, swf::ByteReader& body, int nesting) {
    Character character;
    switch (code) {
    case kDefineShape:
    case kDefineShape2:
    case kDefineShape3:
    case kDefineShape4: {
        int version = code == kDefineShape ? 1 : code == kDefineShape2 ? 2 : code == kDefineShape3 ? 3 : 4;
        character.shape = std::make_shared<Shape>(ReadShape(body, version));
        break;
    }
    case kDefineButton:
    case kDefineButton2: {
        auto button = std::make_shared<Button>(ReadButton(body, code == kDefineButton2));
        // The button plays as a sprite of one frame that shows its up state.
        auto up = std::make_shared<Sprite>();
        up->timeline.frames.emplace_back();
        for (const PlaceRecord& record : button->up)
            up->timeline.frames.back().tags.push_back({ControlKind::Place, record, {}});
        character.button = button;
        character.sprite = up;
        break;
    }
    case kDefineSprite: {
        if (nesting >= kMaxSpriteNesting) return std::nullopt;
        int frames = body.U16();
        auto sprite = std::make_shared<Sprite>();
        sprite->bytes = static_cast<uint32_t>(body.Remaining());
        swf::ByteReader tags(body.Rest());
        Read(tags, sprite->timeline, frames, nesting + 1);
        character.sprite = sprite;
        break;
    }
    case kDefineMorphShape:
    case kDefineMorphShape2:
        character.morph = std::make_shared<MorphShape>(ReadMorphShape(body, code == kDefineMorphShape ? 1 : 2));
        break;
    case kDefineBits:
    case kDefineBitsJpeg2:
    case kDefineBitsJpeg3:
    case kDefineBitsJpeg4:
        character.bitmap = std::make_shared<Bitmap>(swf::DecodeJpegTag(code, body.Data(), jpeg_tables_));
        break;
    case kDefineBitsLossless:
    case kDefineBitsLossless2:
        character.bitmap = std::make_shared<Bitmap>(swf::DecodeLossless(body.Data(), code == kDefineBitsLossless2));
        break;
    case kDefineFont:
    case kDefineFont2:
    case kDefineFont3: {
        int version = code == kDefineFont ? 1 : code == kDefineFont2 ? 2 : 3;
        character.font = std::make_shared<Font>(ReadFont(body, version));
        break;
    }
    case kDefineText:
    case kDefineText2:
        character.text = std::make_shared<Text>(ReadText(body, code == kDefineText ? 1 : 2));
        break;
    case kDefineSound:
        character.sound = std::make_shared<Sound>(ReadDefineSound(body.Data()));
        break;
    case kDefineEditText:
        character.edit_text = std::make_shared<EditText>(ReadEditText(body));
        break;
    default:
        return std::nullopt;  // tags that define nothing the engine draws
    }
    return character;
}

}  // namespace

Movie LoadMovie(const uint8_t* data, size_t size, const std::filesystem::path& folder, int import_depth) {
    swf::Bytes file(data, size);
    std::vector<uint8_t> body = swf::MovieBody(file);
    swf::FileHeader header = swf::ReadFileHeader(file);
    Movie movie;
    movie.compressed = header.compressed;
    movie.version = header.version;
    movie.file_length = header.file_length;
    movie.stored_bytes = static_cast<uint32_t>(size);

    swf::ByteReader in(body);
    swf::FrameHeader frame_header = swf::ReadFrameHeader(in);
    movie.xmin = frame_header.stage.xmin;
    movie.xmax = frame_header.stage.xmax;
    movie.ymin = frame_header.stage.ymin;
    movie.ymax = frame_header.stage.ymax;
    if (movie.xmax <= movie.xmin || movie.ymax <= movie.ymin)
        throw swf::SwfDataError("the movie's stage is empty");
    movie.frame_rate = frame_header.frame_rate / 256.0;
    movie.header_frames = frame_header.frame_count;

    TimelineReader reader(movie, folder, import_depth);
    reader.Read(in, movie.timeline, movie.header_frames, 0);
    return movie;
}

Movie LoadMovie(const std::vector<uint8_t>& file) {
    return LoadMovie(file.data(), file.size());
}

Movie LoadMovieFile(const std::filesystem::path& path, int import_depth) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) throw swf::SwfDataError("the movie cannot be opened");
    stream.seekg(0, std::ios::end);
    std::streamoff size = stream.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > swf::kMaxMovieBytes)
        throw swf::SwfDataError("the movie is too large");
    stream.seekg(0);
    std::vector<uint8_t> file(static_cast<size_t>(size));
    if (!stream.read(reinterpret_cast<char*>(file.data()), size))
        throw swf::SwfDataError("the movie cannot be read");
    Movie movie = LoadMovie(file.data(), file.size(), path.parent_path().empty() ? "." : path.parent_path(), import_depth);
    movie.url = FileUrl(path);
    return movie;
}

std::string FileUrl(const std::filesystem::path& path) {
    std::error_code error;
    std::string full = std::filesystem::absolute(path, error).generic_string();
    if (error) full = path.generic_string();
    return (full.rfind('/', 0) == 0 ? "file://" : "file:///") + full;
}

}  // namespace flash
