// The installers of the built-in classes and global functions, one file
// each in this folder; InstallGlobals calls them in order.
#pragma once

#include "flash/avm1/vm.h"

namespace flash::avm1 {

void InstallObjectClass(Vm& vm);
void InstallFunctionClass(Vm& vm);
void InstallArrayClass(Vm& vm);
void InstallStringClass(Vm& vm);
void InstallNumberClass(Vm& vm);
void InstallBooleanClass(Vm& vm);
void InstallMathClass(Vm& vm);
void InstallDateClass(Vm& vm);
void InstallErrorClass(Vm& vm);
void InstallGlobalFunctions(Vm& vm);
void InstallAsNative(Vm& vm);
void InstallAsBroadcaster(Vm& vm);
void InstallMovieClipClass(Vm& vm);
void InstallButtonClass(Vm& vm);
void InstallMovieClipLoaderClass(Vm& vm);
void InstallFileReferenceClasses(Vm& vm);
void InstallNetConnectionClass(Vm& vm);
void InstallDrawingMethods(Vm& vm);
void InstallTextFieldClass(Vm& vm);
void InstallColorClass(Vm& vm);

void InstallTimerFunctions(Vm& vm);
void InstallKeyObject(Vm& vm);
void InstallMouseObject(Vm& vm);
void InstallStageObject(Vm& vm);
void InstallSystemObject(Vm& vm);
void InstallSelectionObject(Vm& vm);
void InstallAccessibilityObject(Vm& vm);
void InstallContextMenuClasses(Vm& vm);
void InstallMinimalClasses(Vm& vm);
void InstallExternalInterfaceClass(Vm& vm);
void InstallXmlClasses(Vm& vm);
void InstallLoadVarsClass(Vm& vm);
void InstallPointClass(Vm& vm);
void InstallRectangleClass(Vm& vm);
void InstallMatrixClass(Vm& vm);
void InstallColorTransformClass(Vm& vm);
void InstallTransformClass(Vm& vm);
void InstallSoundClass(Vm& vm);
void InstallTextFormatClass(Vm& vm);
void InstallSharedObjectClass(Vm& vm);
void InstallFilterClasses(Vm& vm);
void InstallBitmapDataClass(Vm& vm);
// The version string scripts read as $version ("WIN 8,0,...").
std::string PlayerVersionString();

}  // namespace flash::avm1
