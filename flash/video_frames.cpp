#include "flash/video_frames.h"

namespace flash {

namespace {
constexpr int kSorensonH263 = 2;
}

const Bitmap* VideoFrames::Picture(const std::shared_ptr<const VideoStream>& video, int number) {
    if (!video || video->codec != kSorensonH263) return nullptr;
    Playback& playback = playing_[video.get()];
    if (playback.video.lock() != video || number < playback.decoded) {
        playback = Playback{};
        playback.video = video;
    }
    bool changed = false;
    for (auto frame = video->frames.upper_bound(playback.decoded);
         frame != video->frames.end() && frame->first <= number; ++frame) {
        if (playback.decoder.Decode(frame->second.data(), frame->second.size())) changed = true;
        playback.decoded = frame->first;
    }
    if (changed) playback.picture = PictureToBitmap(playback.decoder.Picture());
    return playback.picture.width > 0 ? &playback.picture : nullptr;
}

}  // namespace flash
