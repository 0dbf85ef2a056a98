#include "swf/movie_header.h"

#include <algorithm>

#include "swf/limits.h"
#include "swf/zlib_inflate.h"

namespace swf {

FileHeader ReadFileHeader(Bytes file) {
    if (file.size() < 8) throw SwfDataError("the file is too short to be a SWF movie");
    ByteReader in(file);
    uint8_t first = in.U8();
    FileHeader header;
    header.compressed = first == 'C';
    if ((first != 'F' && !header.compressed) || in.U8() != 'W' || in.U8() != 'S')
        throw SwfDataError("the file is not a SWF movie");
    header.version = in.U8();
    header.file_length = in.U32();
    if (header.file_length < 8) throw SwfDataError("the movie's length is impossible");
    return header;
}

std::vector<uint8_t> MovieBody(Bytes file) {
    FileHeader header = ReadFileHeader(file);
    size_t wanted = std::min<size_t>(header.file_length - 8, kMaxMovieBytes - 8);
    Bytes stored = file.subspan(8);
    if (!header.compressed) {
        Bytes body = stored.first(std::min(stored.size(), wanted));
        return std::vector<uint8_t>(body.begin(), body.end());
    }
    std::vector<uint8_t> body;
    Inflate(stored, wanted, body);
    if (body.empty()) throw SwfDataError("the compressed movie body is damaged");
    return body;
}

FrameHeader ReadFrameHeader(ByteReader& in) {
    FrameHeader header;
    header.stage = ReadRect(in);
    header.frame_rate = in.U16();
    header.frame_count = in.U16();
    return header;
}

}  // namespace swf
