// The wave-out device 0 as the Flash control's sound output, fed by a
// thread of its own; and the platform's audio codecs as the MP3 decoder.
#pragma once

#include "flash/sound_output.h"

namespace flash {

std::unique_ptr<SoundOutput> MakeWaveOutput();

// Makes the Flash control play through wave-out device 0 and decode MP3
// with the audio compression manager.
void InstallWindowsSound();

}  // namespace flash
