// Where the mixed sound of the Flash control goes: the wave-out device in
// the program, a test double in the tests. An output pulls 44,100 Hz 16-bit
// stereo from the mixer on a thread of its own until it is stopped.
#pragma once

#include "flash/sound_mixer.h"

#include <memory>

namespace flash {

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts pulling from the mixer; false when there is no device (the
    // movie then plays silently).
    virtual bool Start(SoundMixer& mixer) = 0;
    // Stops pulling; the mixer is not touched afterwards.
    virtual void Stop() = 0;
};

using SoundOutputFactory = std::unique_ptr<SoundOutput> (*)();

// The factory the Flash control makes its output with; none by default
// (silence). The Windows layer installs the wave-out device.
void SetSoundOutputFactory(SoundOutputFactory factory);
std::unique_ptr<SoundOutput> MakeSoundOutput();

}  // namespace flash
