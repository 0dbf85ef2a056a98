// The side of the sound engine that script Sound objects talk to: what
// they start and stop, where their sounds are and how long they last, the
// completions they hear, and the volume and transform of their channels.
#include "flash/sound_engine.h"

#include "flash/avm1/classes/sound_class.h"
#include "flash/avm1/vm.h"
#include "flash/sound_mp3.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

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
    // What the clip and the clips inside it play.
    auto inside = [&](const Clip* clip) {
        for (; clip; clip = clip->parent)
            if (clip == channel.owner) return true;
        return false;
    };
    for (const auto& [voice, sound] : script_voices_) {
        const Clip* clip = sound->target ? sound->target->AsClip() : nullptr;
        if (inside(clip)) mixer_.SetVoiceTransform(voice, ClipTransform(clip));
    }
    for (const auto& [owner, clip] : streaming_)
        if (inside(clip)) mixer_.SetStreamTransform(owner, ClipTransform(clip));
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
    // The settings of the Sound's clip and its parents; the whole movie's
    // reach every voice through the mix.
    SoundTransform transform = ClipTransform(sound.target ? sound.target->AsClip() : nullptr);
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

SoundTransform SoundEngine::ClipTransform(const Clip* clip) const {
    // The movie-wide channels (the main timeline's too) apply to the mix.
    SoundTransform transform;
    const avm1::Vm* vm = player_.vm();
    for (; vm && clip && clip != player_.Root(); clip = clip->parent)
        if (const avm1::SoundChannel* channel = avm1::SoundChannel::Find(*vm, clip))
            transform = Compose(ChannelTransform(*channel), transform);
    return transform;
}

}  // namespace flash
