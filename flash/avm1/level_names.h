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
// Whether the name is a level name in the version's case rule; *out gets
// the clip of that level, or undefined when no movie is there.
bool LevelValue(Vm& vm, const std::string& name, Value* out);

}  // namespace flash::avm1
