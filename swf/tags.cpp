#include "swf/tags.h"

namespace swf {

std::optional<TagHeader> ReadTagHeader(Bytes data, size_t pos) {
    ByteReader reader(data, pos);
    if (reader.Remaining() < 2) return std::nullopt;
    TagHeader tag;
    tag.header_pos = pos;
    uint16_t word = reader.U16();
    tag.code = static_cast<uint16_t>(word >> 6);
    tag.length = word & 63;
    if (tag.length == 63) {
        if (reader.Remaining() < 4) return std::nullopt;
        tag.length = reader.U32();
    }
    tag.body_pos = reader.Pos();
    return tag;
}

}  // namespace swf
