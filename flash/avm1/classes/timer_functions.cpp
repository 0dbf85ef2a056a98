// setInterval, setTimeout, clearInterval and clearTimeout: timers the
// player runs from Vm::RunTimers.
#include "flash/avm1/classes/class_helpers.h"

#include <algorithm>

namespace flash::avm1 {

namespace {

// setInterval(function, ms, args...) or setInterval(object, "method", ms,
// args...): the id of the new timer, undefined when the call is not one of
// these forms.
Value AddTimer(Vm& vm, Args& args, bool once) {
    if (args.empty() || !args[0].IsObject()) return Value();
    Vm::Timer timer;
    size_t interval_index = 1;
    timer.function = args[0];
    if (!args[0].object->AsFunction()) {
        if (args.size() < 2) return Value();
        timer.method = vm.ToString(args[1]);
        interval_index = 2;
    }
    if (interval_index >= args.size()) return Value();
    if (args[interval_index].IsUndefined() && !once) return Value();
    double interval = vm.ToNumber(args[interval_index]);
    if (!(interval >= 0)) interval = 0;
    timer.interval_ms = interval;
    timer.next_ms = vm.clock_ms + std::max(interval, 1.0);
    timer.once = once;
    timer.args.assign(args.begin() + static_cast<long>(interval_index) + 1, args.end());
    timer.id = vm.next_timer_id++;
    vm.timers.push_back(std::move(timer));
    return Value(static_cast<double>(vm.timers.back().id));
}

Value SetInterval(Vm& vm, Object*, Args& args) { return AddTimer(vm, args, false); }
Value SetTimeout(Vm& vm, Object*, Args& args) { return AddTimer(vm, args, true); }

Value ClearTimer(Vm& vm, Object*, Args& args) {
    if (args.empty()) return Value();
    int id = vm.ToInt(args[0]);
    std::erase_if(vm.timers, [id](const Vm::Timer& timer) { return timer.id == id; });
    return Value();
}

}  // namespace

void InstallTimerFunctions(Vm& vm) {
    vm.AddMethod(vm.global, "setInterval", SetInterval);
    vm.AddMethod(vm.global, "setTimeout", SetTimeout);
    vm.AddMethod(vm.global, "clearInterval", ClearTimer);
    vm.AddMethod(vm.global, "clearTimeout", ClearTimer);
}

}  // namespace flash::avm1
