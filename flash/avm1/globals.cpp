#include "flash/avm1/classes/classes.h"

namespace flash::avm1 {

void InstallGlobals(Vm& vm) {
    InstallObjectClass(vm);
    InstallFunctionClass(vm);
    InstallMovieClipClass(vm);
}

}  // namespace flash::avm1
