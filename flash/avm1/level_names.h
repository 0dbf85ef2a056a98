// Names of movie levels: "_level" or "_flash" followed by a number, read
// as far as it goes ("_level" and "_level0a" are level 0), with a sign and
// wrapping to 32 bits as the player reads it.
#pragma once

#include "flash/avm1/vm.h"

#include <cstdint>
#include <string>

namespace flash::avm1 {

// Whether the name is a level name; *level gets its number.
bool LevelNumber(const std::string& name, bool case_sensitive, int32_t* level);
// The clip of the level the name gives; nullptr when no movie is there.
// Only for names LevelNumber accepts.
Object* LevelNamed(Vm& vm, const std::string& name);

}  // namespace flash::avm1
