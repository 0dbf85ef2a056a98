#include "flash/sound_track.h"

#include "flash/player.h"
#include "flash/sound_engine.h"
#include "flash/sound_mixer.h"
#include "swf/sound_rules.h"

#include <algorithm>
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

double PlayingFrameRate(const Movie& movie) {
    return movie.frame_rate > 0 ? std::clamp(movie.frame_rate, 0.01, 120.0) : 12;
}

void RenderSoundtrack(std::shared_ptr<const Movie> movie, int frames, const SoundtrackSink& sink) {
    Player player;
    SoundMixer mixer;
    SoundEngine engine(player, mixer);
    double rate = movie ? PlayingFrameRate(*movie) : 12;
    player.Load(std::move(movie));
    if (!player.HasMovie()) return;
    std::vector<int16_t> samples;
    size_t done = 0;
    for (int frame = 0; frame < frames; ++frame) {
        if (frame > 0) player.Advance();
        size_t until = FrameEndSample(frame, rate);
        if (until <= done) continue;
        samples.resize((until - done) * 2);
        mixer.Mix(samples.data(), until - done);
        sink(samples.data(), until - done);
        done = until;
    }
}

std::vector<int16_t> RenderSoundtrack(std::shared_ptr<const Movie> movie, int frames) {
    std::vector<int16_t> track;
    RenderSoundtrack(std::move(movie), frames, [&track](const int16_t* samples, size_t count) {
        track.insert(track.end(), samples, samples + count * 2);
    });
    return track;
}

bool HasSound(const Movie& movie) {
    if (TimelineHasSound(movie.timeline) || !movie.button_sounds.empty()) return true;
    for (const auto& [id, character] : movie.characters)
        if (character.sound || (character.sprite && TimelineHasSound(character.sprite->timeline))) return true;
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
