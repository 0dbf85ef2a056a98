// The installers of the built-in classes and global functions, one file
// each in this folder; InstallGlobals calls them in order.
#pragma once

#include "flash/avm1/vm.h"

namespace flash::avm1 {

void InstallObjectClass(Vm& vm);
void InstallFunctionClass(Vm& vm);
void InstallMovieClipClass(Vm& vm);

}  // namespace flash::avm1
