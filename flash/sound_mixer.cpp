#include "flash/sound_mixer.h"

#include <algorithm>
#include <cmath>

namespace flash {

namespace {

// Loops a sound info asks for at most (the field is 16 bits).
constexpr int kMaxLoops = 65535;

}  // namespace

SoundTransform PanTransform(double pan, double volume) {
    pan = std::clamp(pan, -100.0, 100.0);
    SoundTransform transform;
    transform.volume = volume;
    transform.ll = pan > 0 ? (100 - pan) / 100 : 1;
    transform.rr = pan < 0 ? (100 + pan) / 100 : 1;
    return transform;
}

SoundTransform Compose(const SoundTransform& outer, const SoundTransform& inner) {
    SoundTransform out;
    out.volume = outer.volume * inner.volume;
    out.ll = outer.ll * inner.ll + outer.rl * inner.lr;
    out.rl = outer.ll * inner.rl + outer.rl * inner.rr;
    out.lr = outer.lr * inner.ll + outer.rr * inner.lr;
    out.rr = outer.lr * inner.rl + outer.rr * inner.rr;
    return out;
}

void EnvelopeLevels(const std::vector<SoundEnvelopePoint>& envelope, double position, double& left, double& right) {
    left = right = 1;
    if (envelope.empty()) return;
    auto level = [](uint16_t value) { return std::min(value / 32768.0, 1.0); };
    if (position <= envelope.front().position) {
        left = level(envelope.front().left);
        right = level(envelope.front().right);
        return;
    }
    for (size_t i = 1; i < envelope.size(); ++i) {
        const SoundEnvelopePoint& a = envelope[i - 1];
        const SoundEnvelopePoint& b = envelope[i];
        if (position >= b.position) continue;
        double t = b.position > a.position ? (position - a.position) / (b.position - a.position) : 1;
        left = level(a.left) + (level(b.left) - level(a.left)) * t;
        right = level(a.right) + (level(b.right) - level(a.right)) * t;
        return;
    }
    left = level(envelope.back().left);
    right = level(envelope.back().right);
}

SoundMixer::VoiceId SoundMixer::StartEvent(uint16_t sound, std::shared_ptr<const Pcm> pcm, const SoundInfo& info,
                                           const SoundTransform& transform, double offset_seconds,
                                           bool reported) {
    if (info.stop) {
        StopEvent(sound);
        return 0;
    }
    if (!pcm || pcm->Frames() == 0 || pcm->rate <= 0) return 0;
    std::lock_guard<std::mutex> guard(lock_);
    if (info.no_multiple)
        for (const Voice& v : voices_)
            if (!v.stream_owner && v.sound == sound) return 0;
    Voice voice;
    voice.id = next_id_++;
    voice.sound = sound;
    voice.step = pcm->rate / kRate;
    double frames = static_cast<double>(pcm->Frames());
    // In and out points count 44.1 kHz samples whatever the sound's rate.
    voice.begin = info.has_in ? std::min(info.in * voice.step, frames) : 0;
    voice.end = info.has_out ? std::min(info.out * voice.step, frames) : frames;
    // An offset moves the start of every loop, as a later in point would.
    voice.begin += std::max(offset_seconds, 0.0) * pcm->rate;
    if (voice.end <= voice.begin) return 0;
    voice.position = voice.begin;
    voice.loops_left = std::clamp(info.loops, 1, kMaxLoops);
    voice.envelope = info.envelope;
    voice.transform = transform;
    voice.reported = reported;
    voice.pcm = std::move(pcm);
    voices_.push_back(std::move(voice));
    return voices_.back().id;
}

template <typename Match>
void SoundMixer::Remove(Match match) {
    std::erase_if(voices_, [&](const Voice& v) {
        if (!match(v)) return false;
        if (v.reported) ended_.push_back({v.id, v.position / v.pcm->rate, false});
        return true;
    });
}

void SoundMixer::StopEvent(uint16_t sound) {
    std::lock_guard<std::mutex> guard(lock_);
    Remove([&](const Voice& v) { return !v.stream_owner && (sound == 0 || v.sound == sound); });
}

void SoundMixer::StopVoice(VoiceId voice) {
    std::lock_guard<std::mutex> guard(lock_);
    Remove([&](const Voice& v) { return v.id == voice; });
}

bool SoundMixer::IsPlaying(uint16_t sound) const {
    std::lock_guard<std::mutex> guard(lock_);
    return std::any_of(voices_.begin(), voices_.end(),
                       [&](const Voice& v) { return !v.stream_owner && v.sound == sound; });
}

SoundMixer::Voice* SoundMixer::Find(VoiceId voice) {
    for (Voice& v : voices_)
        if (v.id == voice) return &v;
    return nullptr;
}

const SoundMixer::Voice* SoundMixer::Find(VoiceId voice) const {
    for (const Voice& v : voices_)
        if (v.id == voice) return &v;
    return nullptr;
}

bool SoundMixer::VoiceActive(VoiceId voice) const {
    std::lock_guard<std::mutex> guard(lock_);
    return Find(voice) != nullptr;
}

double SoundMixer::VoicePosition(VoiceId voice) const {
    std::lock_guard<std::mutex> guard(lock_);
    const Voice* v = Find(voice);
    return v ? v->position / v->pcm->rate : -1;
}

void SoundMixer::SetVoiceTransform(VoiceId voice, const SoundTransform& transform) {
    std::lock_guard<std::mutex> guard(lock_);
    if (Voice* v = Find(voice)) v->transform = transform;
}

void SoundMixer::PlayStream(const void* owner, std::shared_ptr<const Pcm> pcm, size_t start, size_t end,
                            const SoundTransform& transform) {
    std::lock_guard<std::mutex> guard(lock_);
    std::erase_if(voices_, [&](const Voice& v) { return v.stream_owner == owner; });
    if (!owner || !pcm || pcm->rate <= 0) return;
    end = std::min(end, pcm->Frames());
    if (start >= end) return;
    Voice voice;
    voice.id = next_id_++;
    voice.stream_owner = owner;
    voice.step = pcm->rate / kRate;
    voice.begin = voice.position = static_cast<double>(start);
    voice.end = static_cast<double>(end);
    voice.transform = transform;
    voice.pcm = std::move(pcm);
    voices_.push_back(std::move(voice));
}

void SoundMixer::SetStreamTransform(const void* owner, const SoundTransform& transform) {
    std::lock_guard<std::mutex> guard(lock_);
    for (Voice& v : voices_)
        if (v.stream_owner == owner) v.transform = transform;
}

bool SoundMixer::StreamPosition(const void* owner, double& frame) const {
    std::lock_guard<std::mutex> guard(lock_);
    for (const Voice& v : voices_)
        if (v.stream_owner == owner) {
            frame = v.position;
            return true;
        }
    return false;
}

void SoundMixer::StopStream(const void* owner) {
    std::lock_guard<std::mutex> guard(lock_);
    std::erase_if(voices_, [&](const Voice& v) { return v.stream_owner == owner; });
}

void SoundMixer::StopAll() {
    std::lock_guard<std::mutex> guard(lock_);
    Remove([](const Voice&) { return true; });
}

std::vector<SoundMixer::Ended> SoundMixer::TakeEnded() {
    std::lock_guard<std::mutex> guard(lock_);
    std::vector<Ended> ended;
    ended.swap(ended_);
    return ended;
}

void SoundMixer::SetLatency(size_t frames) {
    std::lock_guard<std::mutex> guard(lock_);
    latency_ = frames;
}

size_t SoundMixer::Latency() const {
    std::lock_guard<std::mutex> guard(lock_);
    return latency_;
}

void SoundMixer::SetVolume(double volume) {
    std::lock_guard<std::mutex> guard(lock_);
    volume_ = std::clamp(volume, 0.0, 1.0);
}

void SoundMixer::SetMovieTransform(const SoundTransform& transform) {
    std::lock_guard<std::mutex> guard(lock_);
    movie_transform_ = transform;
}

size_t SoundMixer::ActiveVoices() const {
    std::lock_guard<std::mutex> guard(lock_);
    return voices_.size();
}

bool SoundMixer::MixVoice(Voice& voice, double* accumulator, size_t frames) {
    const Pcm& pcm = *voice.pcm;
    const int16_t* samples = pcm.samples.data();
    const size_t channels = static_cast<size_t>(pcm.channels);
    // The last frame the range touches; end > begin >= 0, so at least 0.
    const size_t last = std::min(pcm.Frames(), static_cast<size_t>(std::ceil(voice.end))) - 1;
    const SoundTransform& t = voice.transform;
    for (size_t i = 0; i < frames; ++i) {
        size_t index = static_cast<size_t>(voice.position);
        double fraction = voice.position - static_cast<double>(index);
        size_t next = std::min(index + 1, last);
        double left = samples[index * channels];
        double right = channels > 1 ? samples[index * channels + 1] : left;
        if (fraction > 0) {
            double left_next = samples[next * channels];
            double right_next = channels > 1 ? samples[next * channels + 1] : left_next;
            left += (left_next - left) * fraction;
            right += (right_next - right) * fraction;
        }
        double out_left = (left * t.ll + right * t.rl) * t.volume;
        double out_right = (right * t.rr + left * t.lr) * t.volume;
        if (!voice.envelope.empty()) {
            double level_left = 1, level_right = 1;
            EnvelopeLevels(voice.envelope, static_cast<double>(voice.elapsed), level_left, level_right);
            out_left *= level_left;
            out_right *= level_right;
        }
        accumulator[2 * i] += out_left;
        accumulator[2 * i + 1] += out_right;
        voice.position += voice.step;
        ++voice.elapsed;
        if (voice.position >= voice.end) {
            if (--voice.loops_left <= 0) return false;
            voice.position = voice.begin + (voice.position - voice.end);
            if (voice.position >= voice.end) voice.position = voice.begin;
        }
    }
    return true;
}

void SoundMixer::Mix(int16_t* out, size_t frames) {
    std::lock_guard<std::mutex> guard(lock_);
    accumulator_.assign(frames * 2, 0.0);
    std::erase_if(voices_, [&](Voice& v) {
        if (MixVoice(v, accumulator_.data(), frames)) return false;
        if (v.reported) ended_.push_back({v.id, v.end / v.pcm->rate, true});
        return true;
    });
    const SoundTransform& t = movie_transform_;
    for (size_t i = 0; i < frames; ++i) {
        double left = accumulator_[2 * i], right = accumulator_[2 * i + 1];
        double mixed[2] = {(left * t.ll + right * t.rl) * t.volume, (right * t.rr + left * t.lr) * t.volume};
        for (int c = 0; c < 2; ++c)
            out[2 * i + c] = static_cast<int16_t>(std::clamp(std::round(mixed[c] * volume_), -32768.0, 32767.0));
    }
}

}  // namespace flash
