// Shared pieces of the flash.geom, flash.filters and flash.display
// classes: package objects, accessor properties and making instances.
#pragma once

#include "flash/avm1/classes/class_helpers.h"

#include <cmath>

namespace flash::avm1 {

// _global.flash.<name>, made on first use.
Object* FlashPackage(Vm& vm, const std::string& name);

// A getter/setter pair on an object, as addProperty makes (setter may be
// nullptr for read-only ones).
void AddAccessor(Vm& vm, Object* target, const std::string& name, NativeFn getter, NativeFn setter,
                 uint8_t flags = kDontEnum);

// A new instance of a built-in class registered under class_name.
Object* NewInstance(Vm& vm, const std::string& class_name, Args args);

// A property read as a number.
double NumberOf(Vm& vm, Object* object, const std::string& name);

// a + b the way these classes add fields: strings are joined, anything
// else is added as numbers.
Value AddFields(Vm& vm, const Value& a, const Value& b);

// Makes a Point.
Object* NewPoint(Vm& vm, double x, double y);

}  // namespace flash::avm1
