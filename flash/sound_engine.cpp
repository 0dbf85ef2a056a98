#include "flash/sound_engine.h"

#include "flash/avm1/classes/sound_class.h"
#include "flash/avm1/vm.h"
#include "flash/sound_mp3.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

// How far a stream may be from the block of the frame entered and still go
// on rather than restart there: what the output holds ahead of the ear,
// plus the jitter of the frame clock.
constexpr double kStreamSlackSeconds = 0.35;
constexpr double kStreamSlackFrames = 2;

// Where the MPEG audio of a file begins: after an ID3v2 tag, if any.
size_t AfterId3(const std::string& bytes) {
    if (bytes.size() < 10 || bytes.compare(0, 3, "ID3") != 0) return 0;
    size_t size = 0;
    for (int i = 6; i < 10; ++i) size = size << 7 | (static_cast<uint8_t>(bytes[i]) & 0x7F);
    size += (static_cast<uint8_t>(bytes[5]) & 0x10) ? 20 : 10;   // a footer follows
    return std::min(size, bytes.size());
}

// How a Sound channel's settings (percentages) play: volume and each share
// from none to full.
SoundTransform ChannelTransform(const avm1::SoundChannel& channel) {
    auto share = [](int percent) { return std::clamp(percent, 0, 100) / 100.0; };
    SoundTransform transform;
    transform.volume = share(channel.volume);
    transform.ll = share(channel.ll);
    transform.lr = share(channel.lr);
    transform.rl = share(channel.rl);
    transform.rr = share(channel.rr);
    return transform;
}

double PcmDurationMs(const Pcm& pcm) {
    return pcm.rate > 0 ? std::round(static_cast<double>(pcm.Frames()) * 1000 / pcm.rate) : 0;
}

}  // namespace

double SoundDurationMs(const Sound& sound) {
    return std::round(sound.sample_count * 1000.0 / SoundRate(sound.flags));
}

std::shared_ptr<const Pcm> DecodeMp3File(const std::string& bytes) {
    size_t start = AfterId3(bytes);
    Mp3Pcm mp3;
    if (!DecodeMp3(reinterpret_cast<const uint8_t*>(bytes.data()) + start, bytes.size() - start, mp3)) return nullptr;
    if (mp3.rate <= 0 || mp3.channels <= 0 || mp3.samples.empty()) return nullptr;
    auto pcm = std::make_shared<Pcm>();
    pcm->rate = mp3.rate;
    pcm->channels = mp3.channels;
    pcm->samples = std::move(mp3.samples);
    return pcm;
}

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

double SoundEngine::ScriptSound(avm1::Object* object, const char* request) {
    auto& sound = static_cast<avm1::SoundObject&>(*object);
    if (!movie_) return -1;
    std::string what = request;
    if (what == "start") return ScriptStart(sound);
    if (what == "position") return ScriptPosition(sound);
    if (what == "duration") return ScriptDuration(sound);
    if (what == "stop") {
        StopSound(0);
    } else if (what == "stop name") {
        if (uint16_t id = SoundByName(sound.stop_name)) StopSound(id);
    } else if (what == "attach") {
        uint16_t id = SoundByName(sound.linkage);
        if (id == 0) return 0;
        sound.sound = id;
        sound.voice = 0;
        sound.position_ms = 0;
        return 1;
    } else if (what == "load") {
        std::shared_ptr<const Pcm> pcm = DecodeMp3File(sound.load_data);
        if (!pcm) return 0;
        sound.loaded = std::move(pcm);
        sound.voice = 0;
        sound.position_ms = 0;
        return 1;
    } else if (what == "volume") {
        ChannelChanged(*sound.channel);
    }
    return 0;
}

bool SoundEngine::MovieWide(const avm1::SoundChannel& channel) const {
    const avm1::Vm* vm = player_.vm();
    return vm && (channel.owner == vm->global || channel.owner == player_.Root());
}

void SoundEngine::ChannelChanged(avm1::SoundChannel& channel) {
    if (MovieWide(channel)) {
        // The movie's settings outlast the Sound objects that made them.
        if (std::find(kept_channels_.begin(), kept_channels_.end(), &channel) == kept_channels_.end()) {
            kept_channels_.push_back(&channel);
            Root(&channel);
        }
        // The movie's channel, then the main timeline's.
        const avm1::Vm& vm = *player_.vm();
        SoundTransform transform;
        if (const avm1::SoundChannel* root = avm1::SoundChannel::Find(vm, player_.Root()))
            transform = ChannelTransform(*root);
        if (const avm1::SoundChannel* movie = avm1::SoundChannel::Find(vm, nullptr))
            transform = Compose(ChannelTransform(*movie), transform);
        mixer_.SetMovieTransform(transform);
        return;
    }
    for (const auto& [voice, sound] : script_voices_)
        if (sound->channel == &channel) mixer_.SetVoiceTransform(voice, ChannelTransform(channel));
    // The streams of the clip and of the clips inside it.
    for (const auto& [owner, clip] : streaming_)
        for (const Clip* c = clip; c; c = c->parent)
            if (c == channel.owner) {
                mixer_.SetStreamTransform(owner, ClipTransform(clip));
                break;
            }
}

double SoundEngine::ScriptStart(avm1::SoundObject& sound) {
    std::shared_ptr<const Pcm> pcm = sound.loaded ? sound.loaded : Decoded(sound.sound);
    if (!pcm) return 0;
    // A streaming loaded sound starts again rather than twice.
    if (sound.loaded && sound.load_streaming && sound.voice) mixer_.StopVoice(sound.voice);
    SoundInfo info;
    double loops = sound.start_loops;
    info.loops = std::isfinite(loops) && loops >= 1 ? static_cast<int>(std::min(loops, 65535.0)) : 1;
    double offset = std::isfinite(sound.start_offset) && sound.start_offset > 0 ? sound.start_offset : 0;
    // The whole movie's settings reach every voice through the mix.
    SoundTransform transform = MovieWide(*sound.channel) ? SoundTransform{} : ChannelTransform(*sound.channel);
    uint16_t id = sound.loaded ? 0 : sound.sound;
    SoundMixer::VoiceId voice = mixer_.StartEvent(id, pcm, info, transform, offset, true);
    if (voice == 0) return 0;
    sound.voice = voice;
    script_voices_[voice] = &sound;
    Root(&sound);
    return 1;
}

double SoundEngine::ScriptPosition(avm1::SoundObject& sound) {
    TakeEnded();
    if (sound.voice == 0) return sound.position_ms;
    // What the ear hears lags what is mixed by the output's latency.
    double seconds = mixer_.VoicePosition(sound.voice) - static_cast<double>(mixer_.Latency()) / SoundMixer::kRate;
    sound.position_ms = std::floor(std::max(seconds, 0.0) * 1000);
    return sound.position_ms;
}

double SoundEngine::ScriptDuration(const avm1::SoundObject& sound) {
    if (sound.loaded) return PcmDurationMs(*sound.loaded);
    const Character* character = sound.sound ? movie_->Find(sound.sound) : nullptr;
    return character && character->sound ? SoundDurationMs(*character->sound) : -1;
}

void SoundEngine::TakeEnded() {
    for (const SoundMixer::Ended& ended : mixer_.TakeEnded()) {
        auto found = script_voices_.find(ended.voice);
        if (found == script_voices_.end()) continue;
        avm1::SoundObject* sound = found->second;
        script_voices_.erase(found);
        if (sound->voice == ended.voice) {
            // A sound played to its end reads its whole duration.
            sound->voice = 0;
            sound->position_ms = ended.completed ? std::max(ScriptDuration(*sound), 0.0)
                                                 : std::floor(ended.position * 1000);
        }
        if (ended.completed) completed_.push_back(sound);
        else Unroot(sound);
    }
}

void SoundEngine::CompleteSounds() {
    avm1::Vm* vm = player_.vm();
    if (!vm || completed_.empty()) return;
    std::vector<avm1::SoundObject*> completed;
    completed.swap(completed_);
    for (avm1::SoundObject* sound : completed) {
        try {
            vm->steps = 0;
            vm->CallMethod(avm1::Value(static_cast<avm1::Object*>(sound)), "onSoundComplete", {});
        } catch (avm1::ScriptThrow& thrown) {
            vm->Warn("Warning: Uncaught exception, " + vm->ToString(thrown.value));
        } catch (avm1::ScriptAbort&) {
        }
    }
    for (avm1::SoundObject* sound : completed) Unroot(sound);
}

void SoundEngine::Root(avm1::Object* object) {
    if (avm1::Vm* vm = player_.vm()) vm->extra_roots.push_back(object);
}

void SoundEngine::Unroot(avm1::Object* object) {
    avm1::Vm* vm = player_.vm();
    if (!vm) return;
    auto found = std::find(vm->extra_roots.begin(), vm->extra_roots.end(), object);
    if (found != vm->extra_roots.end()) vm->extra_roots.erase(found);
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

SoundTransform SoundEngine::ClipTransform(const Clip* clip) const {
    // The movie-wide channels (the main timeline's too) apply to the mix.
    SoundTransform transform;
    const avm1::Vm* vm = player_.vm();
    for (; vm && clip && clip != player_.Root(); clip = clip->parent)
        if (const avm1::SoundChannel* channel = avm1::SoundChannel::Find(*vm, clip))
            transform = Compose(ChannelTransform(*channel), transform);
    return transform;
}

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
