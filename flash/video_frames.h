// The pictures of the embedded videos on show. Each video is decoded as far
// as the frame asked for and kept there, so that playing on decodes one
// frame at a time; going back starts the video over.
#pragma once

#include <map>
#include <memory>

#include "flash/movie.h"
#include "flash/video_h263.h"
#include "flash/video_screen.h"

namespace flash {

class VideoFrames {
public:
    // The picture of frame `number`: the last frame at or before it that
    // could be decoded; nullptr while there is none, or for a codec this
    // player does not decode.
    const Bitmap* Picture(const std::shared_ptr<const VideoStream>& video, int number);

private:
    struct Playback {
        std::weak_ptr<const VideoStream> video;   // the key may be reused once it is gone
        H263Decoder h263;
        ScreenVideoDecoder screen;
        int decoded = -1;                         // the last frame number read
        Bitmap picture;
    };
    std::map<const VideoStream*, Playback> playing_;
};

}  // namespace flash
