// The sound of a playing movie: watches the player (as its observer) and
// starts the event sounds of the frames entered and the stream sounds of
// the timelines, on one mixer. Streams follow their timeline: a frame with
// a stream block keeps the stream going when it is where the stream is, and
// restarts it from that block otherwise (a jump); a timeline that stops or
// goes away stops its stream.
//
// Scripts and buttons start sounds by id through the same object.
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
}

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

    void Start(const SoundStart& start);
    // What a script's Sound object asked for: "start" plays its attached
    // sound with its volume and transform, "stop" stops it (or every sound).
    void ScriptSound(avm1::Object* sound, const char* action);
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
};

}  // namespace flash
