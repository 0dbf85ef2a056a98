// Readers of the sound tags: DefineSound, the sound info of StartSound and
// button sounds, and the stream head and blocks. Each reads the tag's body
// after any character id; a truncated body throws SwfFormatError.
#pragma once

#include "flash/sound_types.h"
#include "flash/swf_bits.h"

namespace flash {

Sound ReadDefineSound(SwfBits& in);
SoundInfo ReadSoundInfo(SwfBits& in);
// DefineButtonSound after the button id.
ButtonSounds ReadButtonSounds(SwfBits& in);
StreamSound ReadStreamHead(SwfBits& in);
// Adds one SoundStreamBlock, lying in frame, to the stream.
void ReadStreamBlock(SwfBits& in, int frame, StreamSound& stream);

}  // namespace flash
