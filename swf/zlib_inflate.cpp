#include "swf/zlib_inflate.h"

#include <zlib.h>

#include <algorithm>

namespace swf {

InflateEnd Inflate(Bytes input, size_t max_output, std::vector<uint8_t>& output) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return InflateEnd::Corrupt;

    const size_t kChunk = 64 * 1024;
    uint8_t chunk[kChunk];
    size_t produced = 0;
    size_t consumed = 0;
    InflateEnd end = InflateEnd::InputEnded;
    for (;;) {
        if (produced >= max_output) {
            end = InflateEnd::LimitReached;
            break;
        }
        // zlib counts in uInt; feed the input in pieces that always fit.
        size_t in_piece = std::min<size_t>(input.size() - consumed, 1u << 30);
        stream.next_in = const_cast<Bytef*>(input.data() + consumed);
        stream.avail_in = static_cast<uInt>(in_piece);
        size_t out_room = std::min(kChunk, max_output - produced);
        stream.next_out = chunk;
        stream.avail_out = static_cast<uInt>(out_room);

        int status = inflate(&stream, Z_NO_FLUSH);
        size_t got = out_room - stream.avail_out;
        consumed += in_piece - stream.avail_in;
        output.insert(output.end(), chunk, chunk + got);
        produced += got;

        if (status == Z_STREAM_END) {
            end = InflateEnd::StreamEnd;
            break;
        }
        // With output room given, no progress means the input is used up.
        if (status == Z_BUF_ERROR) {
            end = InflateEnd::InputEnded;
            break;
        }
        if (status != Z_OK) {
            end = InflateEnd::Corrupt;
            break;
        }
    }
    inflateEnd(&stream);
    return end;
}

}  // namespace swf
