// Decoding of the H.263 video (the Sorenson variant) that SWF movies embed
// with DefineVideoStream and VideoFrame tags: intra and predicted pictures,
// into planes of luma and chroma.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "swf/bitmap.h"

namespace flash {

// A picture of 4:2:0 planes, each a whole number of 16-pixel macroblocks
// wide and high; width and height are the picture's own size.
struct YuvPicture {
    int width = 0, height = 0;
    int luma_width = 0, luma_height = 0;   // rounded up to macroblocks
    std::vector<uint8_t> y, cb, cr;        // cb and cr are half as wide and high
};

class H263Decoder {
public:
    // Decodes the next picture of the stream; false when the data is not a
    // picture, or a predicted picture has nothing to be predicted from. The
    // picture of the last successful call stays in Picture().
    bool Decode(const uint8_t* data, size_t size);
    const YuvPicture& Picture() const { return shown_; }
    // Forgets the pictures decoded so far.
    void Reset();

private:
    YuvPicture shown_;       // the last picture decoded
    YuvPicture reference_;   // the one the next predicted picture starts from
};

// The picture's pixels, from studio-range BT.601 colour.
swf::Bitmap PictureToBitmap(const YuvPicture& picture);

}  // namespace flash
