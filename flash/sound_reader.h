// Readers of the sound tags for the engine, on top of the format layer's
// sound records: DefineSound, the sound info of StartSound and button
// sounds, and the stream head and blocks. A truncated body throws
// swf::SwfDataError.
#pragma once

#include "flash/sound_types.h"
#include "swf/byte_reader.h"

namespace flash {

// DefineSound from the whole tag body, the sound id included.
Sound ReadDefineSound(swf::Bytes body);
SoundInfo ReadSoundInfo(swf::ByteReader& in);
// DefineButtonSound after the button id.
ButtonSounds ReadButtonSounds(swf::ByteReader& in);
// A stream head must hold its samples per block.
StreamSound ReadStreamHead(swf::Bytes body);
// Adds one SoundStreamBlock, lying in frame, to the stream.
void ReadStreamBlock(swf::Bytes body, int frame, StreamSound& stream);

}  // namespace flash
