#include "flash/avm1/vm.h"

namespace flash::avm1 {

void Vm::RunDeliveries() { RunDue(true); }

void Vm::RunTimers() { RunDue(false); }

void Vm::RunDue(bool deliveries_only) {
    // Timers due by the clock run in the order they were made; one that is
    // late runs once, not once for every interval it missed.
    std::vector<int> due;
    for (const Timer& timer : timers)
        if (timer.next_ms <= clock_ms && (!deliveries_only || timer.id < 0)) due.push_back(timer.id);
    for (int id : due) {
        auto it = timers.begin();
        while (it != timers.end() && it->id != id) ++it;
        if (it == timers.end()) continue;   // cleared by an earlier one
        Timer timer = *it;
        if (timer.once) timers.erase(it);
        else it->next_ms = clock_ms + std::max(timer.interval_ms, 1.0);
        try {
            if (timer.method.empty()) Call(timer.function, Value(), timer.args);
            else CallMethod(timer.function, timer.method, timer.args);
        } catch (ScriptThrow& thrown) {
            Warn("Warning: Uncaught exception, " + ToString(thrown.value));
        } catch (ScriptAbort&) {
        }
    }
}

void Vm::Broadcast(const std::string& owner, const std::string& event, Args args) {
    Value source = Get(global, owner);
    if (!source.IsObject()) return;
    Args call_args;
    call_args.push_back(Value(event));
    for (Value& a : args) call_args.push_back(std::move(a));
    try {
        CallMethod(source, "broadcastMessage", std::move(call_args));
    } catch (ScriptThrow& thrown) {
        Warn("Warning: Uncaught exception, " + ToString(thrown.value));
    } catch (ScriptAbort&) {
    }
}

}  // namespace flash::avm1
