// flash.net.FileReference and FileReferenceList: broadcasters whose browse
// and download open the system's file dialog. This player has no dialog to
// show, so a dialog that opens is cancelled at the next tick (onCancel);
// while one is open, no other opens. The file properties stay undefined.
#include "flash/avm1/classes/geom_helpers.h"

namespace flash::avm1 {

namespace {

// The one file dialog a player can have open at a time.
const Vm* open_dialog = nullptr;

Value Construct(Vm& vm, Object* self, Args&) {
    if (self) MakeBroadcaster(vm, self);
    return Value(self);
}

Value DeliverCancel(Vm& vm, Object*, Args& args) {
    if (open_dialog == &vm) open_dialog = nullptr;
    if (args.empty() || !args[0].IsObject()) return Value();
    Object* target = args[0].object;
    Value broadcast = vm.Get(target, "broadcastMessage");
    if (broadcast.IsObject() && broadcast.object->AsFunction())
        vm.Call(broadcast, Value(target), {Value("onCancel"), Value(target)});
    return Value();
}

// Opens the dialog for target unless one is open: true when it opened.
bool OpenDialog(Vm& vm, Object* target) {
    if (open_dialog == &vm) return false;
    open_dialog = &vm;
    Vm::Timer timer;
    timer.function = Value(static_cast<Object*>(vm.MakeNative("", DeliverCancel)));
    timer.args = {Value(target)};
    timer.once = true;
    timer.next_ms = vm.clock_ms;
    static int next_internal_id = -1000000;
    timer.id = next_internal_id--;   // never an id a script holds
    vm.timers.push_back(std::move(timer));
    return true;
}

// A filter field: an own, non-empty string. A getter that throws counts as
// a missing field; a value whose conversion throws passes the throw on.
bool FilterField(Vm& vm, Object* filter, const char* name, bool required) {
    if (!filter->FindOwn(name, vm.CaseSensitive())) return !required;
    Value value;
    try {
        value = vm.Get(filter, name);
    } catch (const ScriptThrow&) {
        return false;
    }
    if (value.IsUndefined()) return !required;
    return !vm.ToString(value).empty() || !required;
}

// The browse type list: absent, or an array of filter objects each with
// a description and an extension.
bool ValidTypeList(Vm& vm, const Args& args) {
    if (args.empty()) return true;
    ArrayObject* list = args[0].IsObject() ? args[0].object->AsArray() : nullptr;
    if (!list || list->length <= 0) return false;
    bool valid = true;
    for (const Value& entry : list->Elements()) {
        if (!entry.IsObject()) return false;
        bool description = FilterField(vm, entry.object, "description", true);
        bool extension = FilterField(vm, entry.object, "extension", true);
        bool mac_type = FilterField(vm, entry.object, "macType", false);
        valid = valid && description && extension && mac_type;
    }
    return valid;
}

Value Browse(Vm& vm, Object* self, Args& args) {
    if (!self || !ValidTypeList(vm, args)) return Value(false);
    return Value(OpenDialog(vm, self));
}

Value Download(Vm& vm, Object* self, Args& args) {
    if (!self || args.empty()) return Value(false);
    std::string url = vm.ToString(args[0]);
    if (url.find("://") == std::string::npos) return Value(false);
    return Value(OpenDialog(vm, self));
}

// Nothing was chosen, so there is nothing to send.
Value Upload(Vm&, Object*, Args&) { return Value(false); }
Value Nothing(Vm&, Object*, Args&) { return Value(); }

}  // namespace

void InstallFileReferenceClasses(Vm& vm) {
    Object* package = FlashPackage(vm, "net");
    Object* file = InstallClass(vm, package, "FileReference", Construct);
    vm.AddMethod(file, "browse", Browse);
    vm.AddMethod(file, "download", Download);
    vm.AddMethod(file, "upload", Upload);
    vm.AddMethod(file, "cancel", Nothing);
    Object* list = InstallClass(vm, package, "FileReferenceList", Construct);
    vm.AddMethod(list, "browse", Browse);
}

}  // namespace flash::avm1
