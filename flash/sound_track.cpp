#include "flash/sound_track.h"

#include "flash/player.h"
#include "flash/sound_engine.h"
#include "flash/sound_mixer.h"
#include "swf/sound_rules.h"

#include <cmath>

namespace flash {

namespace {

bool TimelineHasSound(const Timeline& timeline) {
    if (timeline.stream) return true;
    for (const Frame& frame : timeline.frames)
        if (!frame.sounds.empty()) return true;
    return false;
}

}  // namespace

size_t FrameEndSample(int frame, double frame_rate) {
    return static_cast<size_t>(std::llround((frame + 1) * (SoundMixer::kRate / frame_rate)));
}

std::vector<int16_t> RenderSoundtrack(std::shared_ptr<const Movie> movie, int frames) {
    Player player;
    SoundMixer mixer;
    SoundEngine engine(player, mixer);
    player.Load(std::move(movie));
    std::vector<int16_t> samples;
    if (!player.HasMovie() || frames <= 0) return samples;
    size_t total = FrameEndSample(frames - 1, player.FrameRate());
    samples.resize(total * 2);
    size_t done = 0;
    for (int frame = 0; frame < frames; ++frame) {
        if (frame > 0) player.Advance();
        size_t until = FrameEndSample(frame, player.FrameRate());
        if (until > done) mixer.Mix(samples.data() + done * 2, until - done);
        done = std::max(done, until);
    }
    return samples;
}

bool HasSound(const Movie& movie) {
    if (TimelineHasSound(movie.timeline)) return true;
    for (const auto& [id, character] : movie.characters)
        if (character.sprite && TimelineHasSound(character.sprite->timeline)) return true;
    return false;
}

std::vector<uint8_t> StereoWav(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> file = swf::WavHeader(SoundMixer::kRate, 2, 16, static_cast<uint32_t>(samples.size() * 2));
    file.reserve(file.size() + samples.size() * 2);
    for (int16_t sample : samples) {
        file.push_back(static_cast<uint8_t>(sample & 0xFF));
        file.push_back(static_cast<uint8_t>((static_cast<uint16_t>(sample) >> 8) & 0xFF));
    }
    return file;
}

}  // namespace flash
