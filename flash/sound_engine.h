// The sound of a playing movie: watches the player (as its observer) and
// starts the event sounds of the frames entered and the stream sounds of
// the timelines, on one mixer. Streams follow their timeline: a frame with
// a stream block keeps the stream going when it is where the stream is, and
// restarts it from that block otherwise (a jump); a timeline that stops or
// goes away stops its stream.
//
// Scripts and buttons start sounds by id through the same object. A
// script's Sound object learns from it where its sound is and how long it
// lasts, and hears onSoundComplete when a sound it started has played all
// its loops.
#pragma once

#include "flash/player.h"
#include "flash/sound_decoder.h"
#include "flash/sound_mixer.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace flash {

namespace avm1 {
class Object;
class SoundObject;
class SoundChannel;
}

// Milliseconds a DefineSound lasts by its sample count, as scripts see it.
double SoundDurationMs(const Sound& sound);
// The PCM of an MP3 file (ID3 tags skipped); nullptr when nothing decodes.
std::shared_ptr<const Pcm> DecodeMp3File(const std::string& bytes);

class SoundEngine : public PlayerObserver {
public:
    // Watches the player from now on; the engine must outlive it or be
    // destroyed first (it then stops watching).
    SoundEngine(Player& player, SoundMixer& mixer);
    ~SoundEngine() override;
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    void FrameEntered(Clip& clip, int frame) override;
    void Settled(Player& player) override;
    // Every sound stops; a timeline's stream starts again at its next block.
    void SoundsStopped() override;

    // Whole frames the main timeline's stream, as heard, is ahead of the
    // frame shown; 0 without a stream. The picture catches up by dropping
    // frames rather than the sound waiting.
    int StreamFramesAhead() const;

    // Starts the sound of a DefineSound; 0 when there is no such sound.
    SoundMixer::VoiceId StartSound(uint16_t sound, int loops = 1, double offset_seconds = 0,
                                   const SoundTransform& transform = {});
    // Stops every voice of the sound; 0 stops every event sound.
    void StopSound(uint16_t sound);
    // Length of a DefineSound in seconds; 0 for none.
    double SoundDuration(uint16_t sound);
    // The DefineSound exported under a name (attachSound); 0 when none.
    uint16_t SoundByName(const std::string& name) const;
    // The sound of a button's state change (0 to 3, see ButtonSounds).
    void PlayButtonSound(uint16_t button, int change);

private:
    struct StreamTrack {
        std::shared_ptr<const Pcm> pcm;
        std::vector<size_t> block_starts;   // PCM frame of each block
    };

    // Starts a sound of a timeline's frame or a button, with the settings
    // of the clip's Sound channels (and its parents').
    void Start(const SoundStart& start, const Clip* clip);
    SoundTransform ClipTransform(const Clip* clip) const;
    // What a script's Sound object asked for (see Vm::on_sound): "start"
    // plays its loaded or attached sound with its volume and transform,
    // "stop" stops every sound, "stop name" the one its stop named.
    double ScriptSound(avm1::Object* sound, const char* request);
    double ScriptStart(avm1::SoundObject& sound);
    // Whether a Sound channel is the movie's or its main timeline's, whose
    // settings apply to all the movie's sound; a changed channel applies
    // its settings to what plays.
    bool MovieWide(const avm1::SoundChannel& channel) const;
    void ChannelChanged(avm1::SoundChannel& channel);
    double ScriptPosition(avm1::SoundObject& sound);
    double ScriptDuration(const avm1::SoundObject& sound);
    // Brings the Sound objects whose voices ended up to date; those that
    // completed wait in completed_ for onSoundComplete.
    void TakeEnded();
    void CompleteSounds();
    // Keeps a Sound object alive while a voice it started plays.
    void Root(avm1::Object* object);
    void Unroot(avm1::Object* object);
    std::shared_ptr<const Pcm> Decoded(uint16_t sound);
    const StreamTrack& Track(const Timeline& timeline);
    void FollowStream(Clip& clip, int frame);
    // Forgets what belongs to another movie than the player's.
    void Follow(const Movie* movie);

    Player& player_;
    SoundMixer& mixer_;
    const Movie* movie_ = nullptr;
    std::map<uint16_t, std::shared_ptr<const Pcm>> sounds_;
    std::map<const Timeline*, StreamTrack> tracks_;
    std::map<const Clip*, Clip*> streaming_;   // clips whose stream plays
    std::map<SoundMixer::VoiceId, avm1::SoundObject*> script_voices_;
    std::vector<avm1::SoundObject*> completed_;
    std::vector<avm1::SoundChannel*> kept_channels_;   // the movie-wide ones set so far
};

}  // namespace flash
