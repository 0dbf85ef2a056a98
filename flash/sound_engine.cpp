#include "flash/sound_engine.h"

#include "flash/avm1/classes/sound_class.h"
#include "flash/avm1/vm.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

// How far a stream may be from the block of the frame entered and still go
// on rather than restart there: what the output holds ahead of the ear,
// plus the jitter of the frame clock.
constexpr double kStreamSlackSeconds = 0.35;
constexpr double kStreamSlackFrames = 2;

}  // namespace

SoundEngine::SoundEngine(Player& player, SoundMixer& mixer) : player_(player), mixer_(mixer) {
    player_.SetObserver(this);
}

SoundEngine::~SoundEngine() {
    if (avm1::Vm* vm = player_.vm(); vm && vm->on_sound) {
        vm->on_sound = nullptr;
        for (auto& [voice, sound] : script_voices_) Unroot(sound);
        for (avm1::SoundObject* sound : completed_) Unroot(sound);
        for (avm1::SoundChannel* channel : kept_channels_) Unroot(channel);
    }
    player_.SetObserver(nullptr);
    mixer_.StopAll();
}

void SoundEngine::Follow(const Movie* movie) {
    // A script machine without our hook is a new one (a movie loaded
    // again): the Sound objects of the old one are gone with it.
    avm1::Vm* vm = player_.vm();
    if (movie == movie_ && (!vm || vm->on_sound)) return;
    mixer_.StopAll();
    mixer_.TakeEnded();
    sounds_.clear();
    tracks_.clear();
    streaming_.clear();
    script_voices_.clear();
    completed_.clear();
    kept_channels_.clear();
    mixer_.SetMovieTransform({});
    movie_ = movie;
    if (vm) vm->on_sound = [this](avm1::Object* object, const char* request) { return ScriptSound(object, request); };
}

void SoundEngine::FrameEntered(Clip& clip, int frame) {
    Follow(player_.movie());
    if (!movie_) return;
    if (const Frame* tags = clip.timeline->At(frame))
        for (const SoundStart& start : tags->sounds) Start(start, &clip);
    FollowStream(clip, frame);
}

void SoundEngine::Settled(Player& player) {
    Follow(player.movie());
    TakeEnded();
    CompleteSounds();
    for (auto it = streaming_.begin(); it != streaming_.end();) {
        // A clip taken off the display list stops its stream now, before
        // the collector may free it.
        Clip* clip = it->second;
        double position = 0;
        if (clip->removed || !clip->playing || !mixer_.StreamPosition(it->first, position)) {
            mixer_.StopStream(it->first);
            it = streaming_.erase(it);
        } else {
            ++it;
        }
    }
}

void SoundEngine::SoundsStopped() { mixer_.StopAll(); }

void SoundEngine::Start(const SoundStart& start, const Clip* clip) {
    uint16_t id = start.sound != 0 ? start.sound : SoundByName(start.class_name);
    if (id == 0) return;
    if (start.info.stop) {
        mixer_.StopEvent(id);
        return;
    }
    mixer_.StartEvent(id, Decoded(id), start.info, ClipTransform(clip));
}

std::shared_ptr<const Pcm> SoundEngine::Decoded(uint16_t sound) {
    if (!movie_) return nullptr;
    auto found = sounds_.find(sound);
    if (found != sounds_.end()) return found->second;
    std::shared_ptr<const Pcm> pcm;
    const Character* character = movie_->Find(sound);
    if (character && character->sound) pcm = std::make_shared<const Pcm>(DecodeSound(*character->sound));
    sounds_[sound] = pcm;
    return pcm;
}

const SoundEngine::StreamTrack& SoundEngine::Track(const Timeline& timeline) {
    auto found = tracks_.find(&timeline);
    if (found != tracks_.end()) return found->second;
    StreamTrack& track = tracks_[&timeline];
    auto pcm = std::make_shared<Pcm>(DecodeStream(*timeline.stream, track.block_starts));
    if (pcm->Frames() > 0) track.pcm = std::move(pcm);
    return track;
}

void SoundEngine::FollowStream(Clip& clip, int frame) {
    if (!clip.timeline->stream) return;
    const std::vector<StreamBlock>& blocks = clip.timeline->stream->blocks;
    auto block = std::lower_bound(blocks.begin(), blocks.end(), frame,
                                  [](const StreamBlock& b, int f) { return b.frame < f; });
    if (block == blocks.end() || block->frame != frame) return;
    const StreamTrack& track = Track(*clip.timeline);
    size_t first = static_cast<size_t>(block - blocks.begin());
    if (!track.pcm || first >= track.block_starts.size()) return;

    // The stream plays on to the end of the run of blocks in consecutive
    // frames; a frame without a block is silent.
    size_t last = first;
    while (last + 1 < blocks.size() && blocks[last + 1].frame == blocks[last].frame + 1) ++last;
    size_t start = track.block_starts[first];
    size_t end = last + 1 < track.block_starts.size() ? track.block_starts[last + 1] : track.pcm->Frames();

    double position = 0;
    if (streaming_.count(&clip) && mixer_.StreamPosition(&clip, position)) {
        double slack = track.pcm->rate * (kStreamSlackSeconds + kStreamSlackFrames / player_.FrameRate());
        if (std::fabs(position - static_cast<double>(start)) <= slack) return;
    }
    mixer_.PlayStream(&clip, track.pcm, start, end, ClipTransform(&clip));
    streaming_[&clip] = &clip;
}

int SoundEngine::StreamFramesAhead() const {
    const Clip* root = player_.Root();
    if (!root || !root->timeline->stream || !streaming_.count(root)) return 0;
    auto track = tracks_.find(root->timeline);
    double position = 0;
    if (track == tracks_.end() || !track->second.pcm || !mixer_.StreamPosition(root, position)) return 0;
    // The block of the frame shown, or the last one before it.
    const std::vector<StreamBlock>& blocks = root->timeline->stream->blocks;
    auto after = std::upper_bound(blocks.begin(), blocks.end(), root->frame,
                                  [](int f, const StreamBlock& b) { return f < b.frame; });
    if (after == blocks.begin()) return 0;
    size_t block = static_cast<size_t>(after - blocks.begin()) - 1;
    if (block >= track->second.block_starts.size()) return 0;
    double rate = track->second.pcm->rate;
    double heard = position - static_cast<double>(mixer_.Latency()) * rate / SoundMixer::kRate;
    double shown = static_cast<double>(track->second.block_starts[block]) +
                   (root->frame - blocks[block].frame) * rate / player_.FrameRate();
    double ahead = (heard - shown) / (rate / player_.FrameRate());
    return ahead > 0 ? static_cast<int>(ahead) : 0;
}

SoundMixer::VoiceId SoundEngine::StartSound(uint16_t sound, int loops, double offset_seconds,
                                            const SoundTransform& transform) {
    SoundInfo info;
    info.loops = loops;
    return mixer_.StartEvent(sound, Decoded(sound), info, transform, offset_seconds);
}

void SoundEngine::StopSound(uint16_t sound) { mixer_.StopEvent(sound); }

double SoundEngine::SoundDuration(uint16_t sound) {
    std::shared_ptr<const Pcm> pcm = Decoded(sound);
    return pcm && pcm->rate > 0 ? static_cast<double>(pcm->Frames()) / pcm->rate : 0;
}

uint16_t SoundEngine::SoundByName(const std::string& name) const {
    if (!movie_) return 0;
    auto found = movie_->exports.find(name);
    if (found == movie_->exports.end()) return 0;
    const Character* character = movie_->Find(found->second);
    return character && character->sound ? found->second : 0;
}

void SoundEngine::PlayButtonSound(uint16_t button, int change) {
    if (!movie_ || change < 0 || change > 3) return;
    auto found = movie_->button_sounds.find(button);
    if (found != movie_->button_sounds.end()) Start(found->second.changes[change], nullptr);
}

}  // namespace flash
