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
    if (player_.vm()) player_.vm()->on_sound = nullptr;
    player_.SetObserver(nullptr);
    mixer_.StopAll();
}

void SoundEngine::Follow(const Movie* movie) {
    if (movie == movie_) return;
    mixer_.StopAll();
    sounds_.clear();
    tracks_.clear();
    streaming_.clear();
    movie_ = movie;
    // A new movie has a new script machine: its Sound objects play here.
    if (player_.vm())
        player_.vm()->on_sound = [this](avm1::Object* object, const char* action) { ScriptSound(object, action); };
}

void SoundEngine::ScriptSound(avm1::Object* object, const char* action) {
    auto* sound = static_cast<avm1::SoundObject*>(object);
    avm1::Vm* vm = player_.vm();
    if (!vm || !movie_) return;
    std::string what = action;
    if (what == "stop") {
        StopSound(sound->linkage.empty() ? 0 : SoundByName(sound->linkage));
        return;
    }
    if (what != "start") return;  // volume and attach apply to the next start
    uint16_t id = SoundByName(sound->linkage);
    if (id == 0) return;
    double offset = vm->ToNumber(vm->Get(object, "__start_offset"));
    double loops = vm->ToNumber(vm->Get(object, "__start_loops"));
    SoundTransform transform;
    transform.volume = std::clamp(sound->volume, 0, 100) / 100.0;
    transform.ll = sound->ll / 100.0;
    transform.lr = sound->lr / 100.0;
    transform.rl = sound->rl / 100.0;
    transform.rr = sound->rr / 100.0;
    StartSound(id, std::isfinite(loops) && loops >= 1 ? static_cast<int>(std::min(loops, 10000.0)) : 1,
               std::isfinite(offset) && offset > 0 ? offset : 0, transform);
}

void SoundEngine::FrameEntered(Clip& clip, int frame) {
    Follow(player_.movie());
    if (!movie_) return;
    if (const Frame* tags = clip.timeline->At(frame))
        for (const SoundStart& start : tags->sounds) Start(start);
    FollowStream(clip, frame);
}

void SoundEngine::Settled(Player& player) {
    Follow(player.movie());
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

void SoundEngine::Start(const SoundStart& start) {
    uint16_t id = start.sound != 0 ? start.sound : SoundByName(start.class_name);
    if (id == 0) return;
    if (start.info.stop) {
        mixer_.StopEvent(id);
        return;
    }
    mixer_.StartEvent(id, Decoded(id), start.info);
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
    mixer_.PlayStream(&clip, track.pcm, start, end);
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
    if (found != movie_->button_sounds.end()) Start(found->second.changes[change]);
}

}  // namespace flash
