#include "flash/avm1/classes/classes.h"

namespace flash::avm1 {

void InstallGlobals(Vm& vm) {
    InstallObjectClass(vm);
    InstallFunctionClass(vm);
    InstallArrayClass(vm);
    InstallStringClass(vm);
    InstallNumberClass(vm);
    InstallBooleanClass(vm);
    InstallMathClass(vm);
    InstallDateClass(vm);
    InstallErrorClass(vm);
    InstallGlobalFunctions(vm);
    InstallAsNative(vm);
    InstallAsBroadcaster(vm);
    InstallMovieClipClass(vm);
    InstallButtonClass(vm);
    InstallDrawingMethods(vm);
    InstallTextFieldClass(vm);
    InstallColorClass(vm);
    InstallTimerFunctions(vm);
    InstallKeyObject(vm);
    InstallMouseObject(vm);
    InstallStageObject(vm);
    InstallSystemObject(vm);
    InstallSelectionObject(vm);
    InstallAccessibilityObject(vm);
    InstallContextMenuClasses(vm);
    InstallMinimalClasses(vm);
    InstallExternalInterfaceClass(vm);
    InstallXmlClasses(vm);
    InstallLoadVarsClass(vm);
    InstallPointClass(vm);
    InstallRectangleClass(vm);
    InstallMatrixClass(vm);
    InstallColorTransformClass(vm);
    InstallTransformClass(vm);
    InstallSoundClass(vm);
    InstallTextFormatClass(vm);
    InstallSharedObjectClass(vm);
    InstallBitmapDataClass(vm);
    InstallFilterClasses(vm);
    InstallMovieClipLoaderClass(vm);
}

}  // namespace flash::avm1
