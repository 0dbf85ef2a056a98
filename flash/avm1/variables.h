// Variable access by name through a context's scope chain, with the path
// forms of timeline variables ("/a/b:x", "_root.a.x", "../x"), and the
// member and call helpers the interpreter shares with built-ins.
#pragma once

#include "flash/avm1/vm.h"

namespace flash::avm1 {

Value GetVariable(Vm& vm, Context& context, const std::string& name);
void SetVariable(Vm& vm, Context& context, const std::string& name, const Value& value);
// var name = value (DefineLocal) or var name (DefineLocal2: only makes it).
void DefineLocal(Vm& vm, Context& context, const std::string& name, const Value& value, bool assign);
bool DeleteVariable(Vm& vm, Context& context, const std::string& name);
// The object on the scope chain (innermost first) that holds a plain
// name, or the object a path ("a.b.f", "/a:f") leads to; nullptr when none
// does or the name is special.
Object* VariableHolder(Vm& vm, Context& context, const std::string& name);

// A clip named by a value: a clip itself, or a target path seen from the
// context's target ("" is the target).
Object* ResolveClipValue(Vm& vm, Context& context, const Value& value);

// obj[name] where name may be any value (numbers make "0", "1"...).
// A reference to a display object taken off the display list stands for
// the one now at its path (undefined when there is none).
Value LiveValue(Vm& vm, const Value& value);
Value GetMemberValue(Vm& vm, const Value& object, const Value& name);
// obj.name(args), obj(args) when name is empty; super calls keep this.
Value CallMethodValue(Vm& vm, Context& context, const Value& object, const Value& name, Args args);
// new constructor(args); undefined when it is not a function.
Value ConstructValue(Vm& vm, const Value& constructor, Args args);

}  // namespace flash::avm1
