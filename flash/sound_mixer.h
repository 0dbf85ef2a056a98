// Mixes the sounds a movie plays into 44,100 Hz 16-bit stereo: event sounds
// with their in and out points, loops and envelopes, and stream sounds that
// follow a timeline. Sources of 5.5, 11 and 22 kHz (or any rate a decoder
// gives) are resampled with linear interpolation.
//
// The player's thread starts and stops sounds while the audio thread calls
// Mix; every member takes the mixer's lock.
#pragma once

#include "flash/sound_decoder.h"
#include "flash/sound_types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace flash {

// Volume and the spread of the channels, as a script's Sound object sets
// them: ll is the share of the left input in the left output, lr of the
// left input in the right output, and so on; volume scales everything.
struct SoundTransform {
    double volume = 1;
    double ll = 1, lr = 0, rl = 0, rr = 1;
};

// The transform of a pan from -100 (left only) to 100 (right only).
SoundTransform PanTransform(double pan, double volume = 1);
// outer applied after inner.
SoundTransform Compose(const SoundTransform& outer, const SoundTransform& inner);

// The envelope's levels (0 to 1 each) at position, in 44.1 kHz samples.
void EnvelopeLevels(const std::vector<SoundEnvelopePoint>& envelope, double position, double& left, double& right);

class SoundMixer {
public:
    static constexpr int kRate = 44100;
    using VoiceId = uint64_t;

    // Starts an event sound; 0 when it does not start (no-multiple while
    // the same sound plays, an empty sound, or info that stops it).
    // offset_seconds starts it, and each of its loops, further in, as a
    // script's start(offset, loops) does. A reported voice's end is kept
    // for TakeEnded.
    VoiceId StartEvent(uint16_t sound, std::shared_ptr<const Pcm> pcm, const SoundInfo& info,
                       const SoundTransform& transform = {}, double offset_seconds = 0, bool reported = false);
    // Stops every voice of the sound; sound 0 stops every event sound.
    void StopEvent(uint16_t sound);
    void StopVoice(VoiceId voice);
    bool IsPlaying(uint16_t sound) const;
    bool VoiceActive(VoiceId voice) const;
    // Seconds into the sound's data where the voice now is; -1 if it ended.
    double VoicePosition(VoiceId voice) const;
    void SetVoiceTransform(VoiceId voice, const SoundTransform& transform);

    // Plays the frames [start, end) of a stream's PCM for the timeline
    // owner, replacing what that owner played before.
    void PlayStream(const void* owner, std::shared_ptr<const Pcm> pcm, size_t start, size_t end,
                    const SoundTransform& transform = {});
    void SetStreamTransform(const void* owner, const SoundTransform& transform);
    // The frame of the owner's stream PCM being mixed; false if none plays.
    bool StreamPosition(const void* owner, double& frame) const;
    void StopStream(const void* owner);

    void StopAll();

    // How a reported voice ended: completed after its last loop, or
    // stopped; position is where it was, in seconds into the sound's data.
    struct Ended {
        VoiceId voice = 0;
        double position = 0;
        bool completed = false;
    };
    // The reported voices that ended since the last call, oldest first.
    std::vector<Ended> TakeEnded();
    // Output frames mixed but not yet heard (what the device holds ahead).
    void SetLatency(size_t frames);
    size_t Latency() const;
    // Master volume, 0 to 1.
    void SetVolume(double volume);
    // What the movie's scripts set for all its sound, applied to the mix.
    void SetMovieTransform(const SoundTransform& transform);
    // Sound voices that still play (events and streams).
    size_t ActiveVoices() const;

    // Writes frames stereo frames (left, right interleaved) into out.
    void Mix(int16_t* out, size_t frames);

private:
    struct Voice {
        VoiceId id = 0;
        uint16_t sound = 0;
        const void* stream_owner = nullptr;   // set for stream voices
        std::shared_ptr<const Pcm> pcm;
        double step = 1;                      // source frames per output frame
        double position = 0;                  // source frame
        double begin = 0, end = 0;            // the played range, source frames
        int loops_left = 1;
        uint64_t elapsed = 0;                 // output frames since the start
        std::vector<SoundEnvelopePoint> envelope;
        SoundTransform transform;
        bool reported = false;
    };

    // Adds one voice into the accumulator; false when it has ended.
    bool MixVoice(Voice& voice, double* accumulator, size_t frames);
    Voice* Find(VoiceId voice);
    const Voice* Find(VoiceId voice) const;
    // Removes the voices that match, noting the reported ones as stopped.
    template <typename Match>
    void Remove(Match match);

    mutable std::mutex lock_;
    std::vector<Voice> voices_;
    std::vector<double> accumulator_;
    std::vector<Ended> ended_;
    VoiceId next_id_ = 1;
    double volume_ = 1;
    SoundTransform movie_transform_;
    size_t latency_ = 0;
};

}  // namespace flash
