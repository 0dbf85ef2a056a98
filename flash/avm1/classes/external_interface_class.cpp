// flash.external.ExternalInterface: this player has no page around it, so
// the interface is never available, calls answer null and callbacks are
// refused. TextSnapshot: a class scripts can name; nothing fills it.
#include "flash/avm1/classes/geom_helpers.h"

namespace flash::avm1 {

namespace {

Value Null(Vm&, Object*, Args&) { return Value::Null(); }
Value False(Vm&, Object*, Args&) { return Value(false); }
Value Construct(Vm&, Object* self, Args&) { return Value(self); }

// The static methods besides call, which movies before SWF 8 do not see.
const char* const kHelpers[] = {
    "_argumentsToAS", "_argumentsToXML", "_arrayToAS",  "_arrayToJS",     "_arrayToXML",
    "_callIn",        "_callOut",        "_escapeXML",  "_evalJS",        "_initJS",
    "_jsQuoteString", "_objectID",       "_objectToAS", "_objectToJS",    "_objectToXML",
    "_toAS",          "_toJS",           "_toXML",      "_unescapeXML",
};

void HideBelow8(Object* object, const std::string& name) {
    if (Property* property = object->FindOwn(name, true)) property->version_flags = kVersion8;
}

}  // namespace

void InstallExternalInterfaceClass(Vm& vm) {
    Object* package = FlashPackage(vm, "external");
    Object* prototype = InstallClass(vm, package, "ExternalInterface", Construct, nullptr,
                                     "flash.external.ExternalInterface");
    (void)prototype;
    Object* constructor = vm.Get(package, "ExternalInterface").object;
    vm.AddMethod(constructor, "call", Null);
    vm.AddMethod(constructor, "addCallback", False);
    HideBelow8(constructor, "addCallback");
    constructor->Define("available", Value(false), kDontEnum | kDontDelete | kReadOnly);
    HideBelow8(constructor, "available");
    for (const char* name : kHelpers) {
        vm.AddMethod(constructor, name, Null);
        HideBelow8(constructor, name);
    }

    InstallClass(vm, vm.global, "TextSnapshot", Construct);
}

}  // namespace flash::avm1
