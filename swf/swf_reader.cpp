#include "swf/swf_reader.h"

#include <algorithm>
#include <istream>

#include "swf/byte_reader.h"
#include "swf/extract_texts.h"
#include "swf/tags.h"
#include "swf/zlib_inflate.h"

namespace swf {

namespace {

// The signature as it may be shown: bytes that are not printable ASCII
// become "?".
std::string PrintableSignature(Bytes signature) {
    std::string text;
    for (uint8_t c : signature) text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    return text;
}

// Room for the stated FileLength of a compressed movie saves regrowing a
// large body, but never more than the cap or than body_bytes of compressed
// body could inflate to (see kDeflateMaxRatio).
size_t InflatedRoom(const std::vector<uint8_t>& image, uint64_t body_bytes) {
    uint64_t stated = image[4] | image[5] << 8 | image[6] << 16 | uint64_t(image[7]) << 24;
    return static_cast<size_t>(std::min<uint64_t>({stated, kMaxMovieBytes, body_bytes * kDeflateMaxRatio + 8}));
}

// Replaces the compressed body behind the 8 header bytes by its inflation,
// unless it does not inflate or is too large. A cut stream keeps what
// inflated: the tag walk then stops at its end.
InflateEnd InflateBody(std::vector<uint8_t>& image) {
    if (image.size() < 8) throw SwfDataError("the compressed movie has no body");
    std::vector<uint8_t> inflated(image.begin(), image.begin() + 8);
    Bytes body(image.data() + 8, image.size() - 8);
    inflated.reserve(InflatedRoom(image, body.size()));
    InflateEnd end = Inflate(body, kMaxMovieBytes - 8, inflated);
    if (end == InflateEnd::StreamEnd || end == InflateEnd::InputEnded) image.swap(inflated);
    return end;
}

void CheckInflatedBody(InflateEnd end) {
    if (end == InflateEnd::Corrupt) throw SwfDataError("the compressed movie does not inflate");
    if (end == InflateEnd::LimitReached) throw SwfDataError("the movie is larger than 256 MiB");
}

}  // namespace

std::optional<InflateEnd> InflateBodyFrom(std::istream& in, uint64_t body_bytes, std::vector<uint8_t>& image) {
    image.reserve(InflatedRoom(image, body_bytes));
    Inflater inflater(&image, kMaxMovieBytes - 8);
    std::vector<char> piece(256 * 1024);
    for (uint64_t left = body_bytes; left > 0;) {
        size_t count = static_cast<size_t>(std::min<uint64_t>(piece.size(), left));
        in.read(piece.data(), static_cast<std::streamsize>(count));
        if (static_cast<size_t>(in.gcount()) != count) return std::nullopt;
        left -= count;
        if (!inflater.Feed(Bytes(reinterpret_cast<const uint8_t*>(piece.data()), count))) break;
    }
    return inflater.Finish();
}

bool ReadSwfHeader(std::vector<uint8_t>& image, std::optional<InflateEnd>& body_end, size_t& read_pos,
                   uint32_t& header_length, std::vector<std::string>& lines) {
    ByteReader reader(image);
    Bytes signature = reader.Take(3);
    std::string sig = PrintableSignature(signature);
    lines.push_back(std::string(text::kSignature) + sig);
    if (sig != "FWS" && sig != "CWS") return false;

    uint8_t version = reader.U8();
    if (sig == "CWS") {
        InflateEnd end = body_end ? *body_end : InflateBody(image);
        CheckInflatedBody(end);
        body_end = end;
    }
    lines.push_back(std::string(text::kVersion) + std::to_string(version));
    if (version < 5) return false;

    reader = ByteReader(image, 4);
    header_length = reader.U32();
    lines.push_back(std::string(text::kFileLength) + std::to_string(header_length));

    uint8_t rect_byte = reader.U8();
    int nbits = rect_byte >> 3;
    int bits = nbits * 4 + 5;
    while (bits % 8 != 0) ++bits;
    int rest = bits / 8 - 1;
    lines.push_back(std::string(text::kRectByte) + std::to_string(rect_byte));
    lines.push_back(std::string(text::kRectBits) + std::to_string(bits));
    lines.push_back(std::string(text::kRectRest) + std::to_string(rest));
    reader.Skip(rest);

    uint8_t fraction = reader.U8();
    uint8_t whole = reader.U8();
    lines.push_back(std::string(text::kFrameRate) + std::to_string(whole) + "." + std::to_string(fraction));
    uint16_t frames = reader.U16();
    lines.push_back(std::string(text::kFrameCount) + std::to_string(frames));

    read_pos = reader.Pos();
    return true;
}

void WalkTags(const std::vector<uint8_t>& image, size_t read_pos, std::vector<TagEntry>& tags,
              TagCensus& census) {
    tags.clear();
    census.fill(0);
    // Positions stay below kMaxMovieBytes; NextTagPos is taken in 64 bits
    // so that a stated length near 4 GB cannot wrap around.
    uint64_t pos = read_pos;
    while (tags.size() < kMaxTagEntries && pos + 2 <= image.size()) {
        std::optional<TagHeader> tag = ReadTagHeader(image, static_cast<size_t>(pos));
        if (!tag) break;
        TagEntry entry;
        entry.Code = tag->code;
        entry.HeaderPos = static_cast<uint32_t>(tag->header_pos);
        entry.BodyPos = static_cast<uint32_t>(tag->body_pos);
        entry.BodyLength = tag->length;
        tags.push_back(entry);
        if (entry.Code < 256) ++census[entry.Code];
        if (entry.Code == kEnd) break;
        pos = NextTagPos(*tag);
    }
}

const char* CensusSuffix(int code) {
    switch (code) {
    case 6: return "-JPEG图象扫描行数据";
    case 8: return "-JPEG图象定义";
    case 14: return "-声音";
    case 18: return "-声音（流）";
    case 19: return "-声音（流）数据";
    case 20: return "-无Alpha的Bitmap数据";
    case 21: return "-无Alpha的JPEG数据";
    case 35: return "-有Alpha的JPEG数据";
    case 36: return "-有Alpha的Bitmap数据";
    case 45: return "-声音（流）";
    default: return "";
    }
}

std::vector<std::string> CensusLines(const std::vector<TagEntry>& tags, const TagCensus& census) {
    std::vector<std::string> lines;
    lines.push_back(std::string(text::kIdsFound) + std::to_string(tags.size()));
    for (int code = 0; code < 256; ++code) {
        if (census[code] == 0) continue;
        lines.push_back(std::string(text::kId) + std::to_string(code) + text::kInAll +
                        std::to_string(census[code]) + CensusSuffix(code));
    }
    return lines;
}

}  // namespace swf
