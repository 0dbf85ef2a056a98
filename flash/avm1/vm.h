// The script machine: the heap, the global object and the built-in
// prototypes, conversions that may call scripts (valueOf, toString),
// member access with getters, setters and watches, calls, and the
// interpreter entry points that the player uses.
#pragma once

#include "flash/avm1/array_object.h"
#include "flash/avm1/display_host.h"
#include "flash/avm1/function.h"
#include "flash/avm1/object.h"
#include "flash/avm1/value.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace flash {
class Player;
struct Clip;
}

namespace flash::avm1 {

// A script's throw, carried through C++ frames to the nearest Try.
struct ScriptThrow {
    Value value;
};

// Raised when a script runs too long or recurses too deep: the action list
// that started it ends, the movie goes on.
struct ScriptAbort {
    const char* reason;
};

// Where code runs: its scope chain, this, the timeline it acts on, its
// registers and constant pool.
struct Context {
    std::vector<Object*> scope;          // outermost first; _global is below all
    Object* activation = nullptr;        // locals of a function call; nullptr on a timeline
    Object* base_clip = nullptr;         // the timeline the code belongs to
    Object* target = nullptr;            // what SetTarget chose (base_clip at first)
    Value self;                          // this
    Function* callee = nullptr;
    Object* super_object = nullptr;      // what `super` names
    std::vector<Value> registers;
    std::vector<std::string> constants;
    int version = 0;
    Object* arguments = nullptr;
};

class Vm {
public:
    explicit Vm(int version);
    ~Vm();
    Vm(const Vm&) = delete;
    Vm& operator=(const Vm&) = delete;

    Heap heap;
    Object* global = nullptr;
    Object* object_proto = nullptr;
    Object* function_proto = nullptr;
    Object* array_proto = nullptr;
    // Prototypes and constructors of the other built-in classes by name
    // ("String", "MovieClip"...), set by each class's installer.
    std::map<std::string, Object*> protos;
    Object* Proto(const std::string& class_name) const;

    DisplayHost* host = nullptr;         // the display side; nullptr in pure script tests
    std::function<void(const std::string&)> on_trace;
    // Milliseconds since the movie started, as getTimer answers.
    double clock_ms = 0;
    // Local time of the clock's start, seconds since 1970 UTC, and the
    // offset of local time from UTC in minutes (Date uses both).
    double epoch_seconds = 0;
    int utc_offset_minutes = 0;

    // The SWF version of the code running now (the root movie's when none).
    int version() const { return version_; }
    void set_version(int version) { version_ = version; }
    bool CaseSensitive() const { return version_ >= 7; }

    // Made objects, with the built-in prototypes.
    Object* MakeObject();
    ArrayObject* MakeArray(std::vector<Value> elements = {});
    Function* MakeNative(const std::string& name, NativeFn fn, NativeFn construct = nullptr);
    // A constructor function with a fresh prototype object whose
    // `constructor` is the function; returns the function.
    Function* MakeClass(const std::string& name, NativeFn fn, NativeFn construct, Object* prototype);
    // Adds a built-in method to an object (not enumerable).
    Function* AddMethod(Object* target, const std::string& name, NativeFn fn);

    // Conversions.
    Value ToPrimitive(const Value& value, bool prefer_string = false);
    double ToNumber(const Value& value);
    std::string ToString(const Value& value);
    bool ToBoolean(const Value& value);
    int32_t ToInt(const Value& value) { return ToInt32(ToNumber(value)); }
    // The object a value stands for: objects themselves, primitives boxed
    // in their class; nullptr for undefined and null.
    Object* ToObject(const Value& value);
    std::string TypeOf(const Value& value);

    // Member access through prototypes, getters, setters, watches and the
    // virtual properties of built-in kinds.
    Value Get(Object* object, const std::string& name);
    void Set(Object* object, const std::string& name, const Value& value);
    bool Delete(Object* object, const std::string& name);
    bool Has(Object* object, const std::string& name);
    Value GetMember(const Value& target, const std::string& name);
    void SetMember(const Value& target, const std::string& name, const Value& value);
    // The property of the object or a prototype, and the object holding it.
    Property* Lookup(Object* object, const std::string& name, Object** holder = nullptr);
    // Names for..in visits: own and inherited enumerable ones; the list of
    // own names then inherited ones, each in the order made, from its end.
    std::vector<std::string> EnumerableKeys(Object* object);

    // Calls.
    Value Call(const Value& function, const Value& self, Args args);
    // A call whose `super` starts above home (the prototype the method was
    // found on); with no home, above this's prototype.
    Value CallWithHome(const Value& function, const Value& self, Args args, Object* home);
    Value CallMethod(const Value& target, const std::string& name, Args args);
    // Calls a getter or setter of object, within the accessor depth limit.
    Value CallAccessor(Object* function, Object* object, Args args);
    Value Construct(const Value& constructor, Args args);
    // Whether object has prototype (or constructor.prototype) on its chain.
    bool InstanceOf(Object* object, Object* constructor);

    // Runs an action list on a timeline (DoAction, DoInitAction, clip and
    // button actions); self is this (the clip when nullptr). An uncaught
    // throw prints the player's warning line; a runaway script is cut off.
    void RunActions(const Code& code, Object* clip, Object* self = nullptr);
    // Runs code in a prepared context; returns what a Return gave.
    Value Execute(const Code& code, Context& context);
    // The context of the code running now (nullptr between scripts).
    Context* running = nullptr;

    void Trace(const std::string& line);
    // The player's warning lines ("Warning: ...") go to the trace output too.
    void Warn(const std::string& line) { Trace(line); }

    // The stack shared by the action lists of one frame.
    std::vector<Value> stack;
    // Set by the call actions just before they call: a script function
    // they call leaves what it left on the stack for them. Calls made by
    // built-ins (sort's compare function, event handlers) leave nothing.
    bool leftovers_to_caller = false;
    // The script function running now (arguments.caller of the functions
    // it calls); nullptr on a timeline.
    Function* running_function = nullptr;
    // Depth of nested script calls, and the limits that protect the player.
    int call_depth = 0;
    // The constant pool the last action list left in force: the next one
    // starts with it.
    std::vector<std::string> action_constants;
    static constexpr int kMaxCallDepth = 256;
    // Depth of nested getter and setter calls, and its limit.
    int accessor_depth = 0;
    static constexpr int kMaxAccessorDepth = 65;
    // Actions run since the current outermost action list started.
    uint64_t steps = 0;
    // Past this many actions in one list (with what it calls) the list is
    // cut off, as the reference player stops a script that runs too long.
    uint64_t max_steps = 100'000'000;
    bool aborted = false;

    // Objects that must stay alive beyond what the global object reaches
    // (intervals, listeners kept by the player).
    std::vector<Object*> extra_roots;
    // Frees unreachable objects. Only between action lists: a script's
    // values on the C++ stack are not roots.
    void Collect(const std::function<void(Tracer&)>& more_roots);

    // setInterval and setTimeout: each runs function (or object[method])
    // every interval_ms of the clock; the player calls RunTimers each tick.
    struct Timer {
        int id = 0;
        Value function;            // a function, or the object whose method runs
        std::string method;        // set when function is an object
        Args args;
        double interval_ms = 0;
        double next_ms = 0;
        bool once = false;
    };
    std::vector<Timer> timers;
    int next_timer_id = 1;
    void RunTimers();
    // Runs only the due timers the player made itself (negative ids: data
    // loaded, dialogs closed), not the intervals scripts set.
    void RunDeliveries();

    // Input the player feeds in, for Key, Mouse and Stage.
    bool keys_down[256] = {};
    int last_key = 0;
    int last_ascii = 0;
    double mouse_x = 0, mouse_y = 0;
    int stage_width = 0, stage_height = 0;
    // Calls broadcastMessage(event) on the global object named owner ("Key",
    // "Mouse", "Stage") so its listeners hear the event.
    void Broadcast(const std::string& owner, const std::string& event, Args args = {});

    // The folder relative addresses of loads (XML, LoadVars) start from:
    // the movie's own folder, set by the player ("" is the current folder).
    std::string load_folder;
    // Where SharedObject.getLocal keeps its files; empty picks the user's
    // data folder (see SharedObjectFolder).
    std::string shared_object_folder;
    void set_shared_object_folder(const std::string& folder) { shared_object_folder = folder; }
    // Tells the player's mixer what a Sound object asked for ("attach",
    // "start", "stop", "volume", "load") or asks it about the object's
    // sound ("position", "duration"); answers a number, and nothing happens
    // when unset.
    std::function<double(Object* sound, const char* request)> on_sound;

    // Registered classes (Object.registerClass) by realm and symbol name:
    // movies of version 6 and before (realm 0) and those of version 7 and
    // after (realm 1) each see their own registrations.
    std::map<std::pair<int, std::string>, Object*> registered_classes;
    static int Realm(int swf_version) { return swf_version >= 7 ? 1 : 0; }

private:
    Value CallScript(Function* function, const Value& self, Args& args, Object* super_object, bool keep_leftovers);
    void RunDue(bool deliveries_only);

    int version_;
};

// Installs the built-in classes and functions into vm.global.
void InstallGlobals(Vm& vm);

}  // namespace flash::avm1
