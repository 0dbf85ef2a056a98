#include "flash/sound_output.h"

namespace flash {

namespace {

SoundOutputFactory g_factory = nullptr;

}  // namespace

void SetSoundOutputFactory(SoundOutputFactory factory) { g_factory = factory; }

std::unique_ptr<SoundOutput> MakeSoundOutput() { return g_factory ? g_factory() : nullptr; }

}  // namespace flash
