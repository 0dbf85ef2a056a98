// Saving and reading back the data of local shared objects: a small
// tagged text form of numbers, strings, booleans, null, undefined, arrays
// and objects.
#pragma once

#include "flash/avm1/vm.h"

#include <string>

namespace flash::avm1 {

std::string SerializeData(Vm& vm, Object* data);
// Fills data from text; false when the text is not in the saved form.
bool DeserializeData(Vm& vm, const std::string& text, Object* data);

// Whether a shared object name may be used (letters, digits and the
// punctuation file names allow; no "//", no leading or trailing slash).
bool ValidSharedObjectName(const std::string& name);

// The folder shared objects live in: the host's choice, else
// $XDG_DATA_HOME/corvella, $HOME/.local/share/corvella or a temp folder.
std::string SharedObjectFolder(const Vm& vm);

}  // namespace flash::avm1
