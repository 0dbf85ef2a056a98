#include "swf/jpeg_rules.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

namespace swf {

namespace {

constexpr uint8_t kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kDqt = 0xDB, kDht = 0xC4;
constexpr size_t kNone = static_cast<size_t>(-1);

bool IsMarker(Bytes data, size_t pos, uint8_t code) {
    return pos + 1 < data.size() && data[pos] == 0xFF && data[pos + 1] == code;
}

// What the walk over one block's header segments found.
struct JpegBlock {
    size_t sos = kNone;  // position of the first start-of-scan marker
    size_t eoi = kNone;  // position of the end-of-image marker (a tables block)
    size_t end = kNone;  // the data ended cleanly behind a segment
    bool has_dqt = false;
    bool has_dht = false;
};

// Walks the marker segments of the block whose start-of-image marker is at
// start, following each segment's stated length, up to its first scan or its
// end-of-image marker. Throws for a segment that runs past the data.
JpegBlock WalkBlock(Bytes data, size_t start) {
    if (!IsMarker(data, start, kSoi)) throw SwfDataError("the JPEG data has no start-of-image marker");
    JpegBlock block;
    size_t pos = start + 2;
    for (;;) {
        if (pos == data.size()) {
            block.end = pos;
            return block;
        }
        if (pos + 1 >= data.size() || data[pos] != 0xFF) throw SwfDataError("the JPEG data is malformed");
        while (pos + 1 < data.size() && data[pos + 1] == 0xFF) ++pos;  // fill bytes
        if (pos + 1 >= data.size()) throw SwfDataError("the JPEG data is malformed");
        uint8_t code = data[pos + 1];
        if (code == kSos) {
            block.sos = pos;
            return block;
        }
        if (code == kEoi) {
            block.eoi = pos;
            return block;
        }
        if (code == kSoi) throw SwfDataError("the JPEG data is malformed");
        if ((code >= 0xD0 && code <= 0xD7) || code == 0x01) {  // markers without a length
            pos += 2;
            continue;
        }
        if (pos + 3 >= data.size()) throw SwfDataError("the JPEG data ends inside a segment");
        size_t length = static_cast<size_t>(data[pos + 2] << 8 | data[pos + 3]);
        if (length < 2 || length > data.size() - pos - 2) throw SwfDataError("the JPEG data ends inside a segment");
        if (code == kDqt) block.has_dqt = true;
        if (code == kDht) block.has_dht = true;
        pos += 2 + length;
    }
}

}  // namespace

Bytes TrimJpegLead(Bytes data) {
    if (data.size() >= 4 && data[0] == 0xFF && data[1] == kEoi && data[2] == 0xFF && data[3] == kSoi)
        return data.subspan(4);
    return data;
}

std::vector<uint8_t> JpegTableSegments(Bytes body) {
    if (body.empty()) return {};
    Bytes data = TrimJpegLead(body);
    JpegBlock block = WalkBlock(data, 0);
    if (block.sos != kNone) throw SwfDataError("the JPEG tables hold a scan");
    size_t end = block.eoi != kNone ? block.eoi : block.end;
    return std::vector<uint8_t>(data.begin() + 2, data.begin() + end);
}

bool JpegHasOwnTables(Bytes data) {
    try {
        JpegBlock block = WalkBlock(TrimJpegLead(data), 0);
        return block.sos != kNone && block.has_dqt && block.has_dht;
    } catch (const SwfDataError&) {
        return false;
    }
}

uint64_t JpegParts::Size() const {
    uint64_t size = 0;
    for (size_t i = 0; i < count; ++i) size += runs[i].size();
    return size;
}

std::vector<uint8_t> JpegParts::Join() const {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(Size()));
    for (size_t i = 0; i < count; ++i) out.insert(out.end(), runs[i].begin(), runs[i].end());
    return out;
}

void JpegParts::Add(Bytes run) {
    runs[count++] = run;
}

JpegParts JoinJpegTables(Bytes data, Bytes tables) {
    data = TrimJpegLead(data);
    JpegBlock block = WalkBlock(data, 0);
    if (block.sos == kNone) throw SwfDataError("the JPEG data has no scan");
    JpegParts parts;
    if (block.has_dqt && block.has_dht) {
        parts.Add(data);
        return parts;
    }
    parts.Add(data.first(block.sos));
    parts.Add(tables);
    parts.Add(data.subspan(block.sos));
    return parts;
}

JpegParts RebuildJpeg(Bytes data) {
    data = TrimJpegLead(data);
    JpegBlock first = WalkBlock(data, 0);
    JpegParts parts;
    if (first.sos != kNone) {  // one complete JPEG
        parts.Add(data);
        return parts;
    }
    if (first.eoi == kNone) throw SwfDataError("the JPEG data holds no image");
    size_t image = first.eoi + 2;
    while (image < data.size() && !IsMarker(data, image, kSoi)) ++image;
    if (image >= data.size()) throw SwfDataError("the JPEG data holds no image");
    JpegBlock second = WalkBlock(data, image);
    if (second.sos == kNone) throw SwfDataError("the JPEG image has no scan");

    parts.Add(data.subspan(image, second.sos - image));  // start of image and header segments
    parts.Add(data.subspan(2, first.eoi - 2));           // the tables
    parts.Add(data.subspan(second.sos));                 // the scan to the end
    return parts;
}

const char* EmbeddedImageSuffix(Bytes data) {
    auto starts_with = [&data](std::initializer_list<uint8_t> signature) {
        return data.size() >= signature.size() && std::equal(signature.begin(), signature.end(), data.begin());
    };
    if (starts_with({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return ".png";
    if (starts_with({'G', 'I', 'F', '8', '9', 'a'}) || starts_with({'G', 'I', 'F', '8', '7', 'a'})) return ".gif";
    return "";
}

}  // namespace swf
