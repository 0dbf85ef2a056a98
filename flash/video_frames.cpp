#include "flash/video_frames.h"

namespace flash {

namespace {
constexpr int kSorensonH263 = 2;
constexpr int kScreenVideo = 3;
}  // namespace

const Bitmap* VideoFrames::Picture(const std::shared_ptr<const VideoStream>& video, int number) {
    if (!video || (video->codec != kSorensonH263 && video->codec != kScreenVideo)) return nullptr;
    // Videos of movies that are gone give back their pictures.
    std::erase_if(playing_, [](const auto& entry) { return entry.second.video.expired(); });
    Playback& playback = playing_[video.get()];
    if (playback.video.lock() != video || number < playback.decoded) {
        playback = Playback{};
        playback.video = video;
    }
    bool screen = video->codec == kScreenVideo;
    bool changed = false;
    for (auto frame = video->frames.upper_bound(playback.decoded);
         frame != video->frames.end() && frame->first <= number; ++frame) {
        const std::vector<uint8_t>& data = frame->second;
        if (screen ? playback.screen.Decode(data.data(), data.size()) : playback.h263.Decode(data.data(), data.size()))
            changed = true;
        playback.decoded = frame->first;
    }
    if (changed) playback.picture = screen ? playback.screen.Picture() : PictureToBitmap(playback.h263.Picture());
    return playback.picture.width > 0 ? &playback.picture : nullptr;
}

}  // namespace flash
