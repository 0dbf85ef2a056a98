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
    InstallFileReferenceClasses(vm);
    InstallNetConnectionClass(vm);
    // The global functions and classes hold their prototype link and their
    // constructor (Function) as properties of their own.
    Value function_class = vm.Get(vm.global, "Function");
    for (auto& entry : vm.global->properties.entries()) {
        if (!entry.property.value.IsObject() || !entry.property.value.object->AsFunction()) continue;
        Object* f = entry.property.value.object;
        if (!f->FindOwn("__proto__", true)) f->Define("__proto__", Value(f->proto), kDontEnum);
        if (!f->FindOwn("constructor", true)) f->Define("constructor", function_class, kDontEnum);
    }
}

}  // namespace flash::avm1
