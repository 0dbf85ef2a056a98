#include "swf/zlib_inflate.h"

#include <zlib.h>

#include <algorithm>

namespace swf {

namespace {

// Output is made in steps: into the room reserved in the output vector, or
// into a scratch buffer and then appended (or only counted). zlib copies the
// end of each step's output into its window, so steps into the vector are
// large.
constexpr size_t kVectorStep = 1024 * 1024;
constexpr size_t kScratchStep = 64 * 1024;

}  // namespace

Inflater::Inflater(std::vector<uint8_t>* output, size_t max_output)
    : stream_(std::make_unique<z_stream>()),
      output_(output),
      base_size_(output ? output->size() : 0),
      max_output_(max_output) {
    if (inflateInit(stream_.get()) != Z_OK) {
        stream_.reset();
        ended_ = true;
        end_ = InflateEnd::Corrupt;
    } else if (max_output == 0) {
        ended_ = true;
        end_ = InflateEnd::LimitReached;
    }
}

Inflater::~Inflater() {
    if (stream_) inflateEnd(stream_.get());
}

bool Inflater::Feed(Bytes piece) {
    if (ended_) return false;
    uint8_t scratch[kScratchStep];
    size_t offset = 0;
    while (!ended_ && offset < piece.size()) {
        // zlib counts in uInt; a large piece goes in parts that always fit.
        size_t part = std::min<size_t>(piece.size() - offset, 1u << 30);
        stream_->next_in = const_cast<Bytef*>(piece.data() + offset);
        stream_->avail_in = static_cast<uInt>(part);
        for (;;) {
            // Room 0 once the limit is reached: the call then only finds out
            // whether the stream ends without more output.
            size_t room = max_output_ - produced_;
            size_t at = base_size_ + produced_;
            bool direct = output_ && at < output_->capacity();
            uint8_t* next_out = scratch;
            if (direct) {
                // Straight into the room reserved in the vector. It grows
                // ahead of the output, never past that room, and Finish cuts
                // it back, so each byte is cleared once.
                room = std::min({room, kVectorStep, output_->capacity() - at});
                if (output_->size() < at + room) output_->resize(at + room);
                next_out = output_->data() + at;
            } else {
                room = std::min(room, kScratchStep);
            }
            stream_->next_out = next_out;
            stream_->avail_out = static_cast<uInt>(room);

            int status = inflate(stream_.get(), Z_NO_FLUSH);
            size_t got = room - stream_->avail_out;
            if (output_ && !direct) output_->insert(output_->end(), scratch, scratch + got);
            produced_ += got;

            if (status == Z_STREAM_END) {
                ended_ = true;
                end_ = InflateEnd::StreamEnd;
                break;
            }
            if (status != Z_OK && status != Z_BUF_ERROR) {
                ended_ = true;
                end_ = InflateEnd::Corrupt;
                break;
            }
            if (produced_ >= max_output_) {
                // Input left over means zlib stopped for want of room; with
                // the piece used up, more input may still end the stream.
                filled_ = true;
                if (stream_->avail_in > 0) {
                    ended_ = true;
                    end_ = InflateEnd::LimitReached;
                }
                break;
            }
            // Room left over means zlib stopped for want of input.
            if (stream_->avail_out > 0) break;
        }
        if (!ended_ && stream_->avail_in > 0) {  // no progress although room was given
            ended_ = true;
            end_ = InflateEnd::Corrupt;
        }
        offset += part - stream_->avail_in;
    }
    stream_->next_in = nullptr;
    stream_->avail_in = 0;
    return !ended_;
}

InflateEnd Inflater::Finish() {
    if (output_) output_->resize(base_size_ + produced_);
    if (ended_) return end_;
    return filled_ ? InflateEnd::LimitReached : InflateEnd::InputEnded;
}

InflateEnd Inflate(Bytes input, size_t max_output, std::vector<uint8_t>& output) {
    Inflater inflater(&output, max_output);
    inflater.Feed(input);
    return inflater.Finish();
}

InflateEnd InflateCheck(Bytes input, size_t max_output) {
    Inflater inflater(nullptr, max_output);
    inflater.Feed(input);
    return inflater.Finish();
}

}  // namespace swf
