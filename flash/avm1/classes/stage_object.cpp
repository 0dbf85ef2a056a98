// Stage: the movie's size, scale mode, alignment, menu and display state,
// with listeners that hear onResize and onFullScreen.
#include "flash/avm1/classes/class_helpers.h"

namespace flash::avm1 {

namespace {

class StageObject : public Object {
public:
    explicit StageObject(Object* prototype) : Object(prototype) {}

    bool GetVirtual(Vm& vm, const std::string& name, Value* out) override {
        if (Matches(vm, name, "width")) *out = Value(double(vm.stage_width));
        else if (Matches(vm, name, "height")) *out = Value(double(vm.stage_height));
        else if (Matches(vm, name, "scaleMode")) *out = Value(scale_mode);
        else if (Matches(vm, name, "align")) *out = Value(align);
        else if (Matches(vm, name, "showMenu")) *out = Value(show_menu);
        else if (Matches(vm, name, "displayState")) *out = Value(full_screen ? "fullScreen" : "normal");
        else return false;
        return true;
    }

    bool SetVirtual(Vm& vm, const std::string& name, const Value& value) override {
        if (Matches(vm, name, "width") || Matches(vm, name, "height")) return true;   // read-only
        if (Matches(vm, name, "scaleMode")) {
            std::string mode = FoldCase(vm.ToString(value));
            if (mode == "noscale") scale_mode = "noScale";
            else if (mode == "exactfit") scale_mode = "exactFit";
            else if (mode == "noborder") scale_mode = "noBorder";
            else if (mode == "showall") scale_mode = "showAll";
        } else if (Matches(vm, name, "align")) {
            align = AlignOf(vm.ToString(value));
        } else if (Matches(vm, name, "showMenu")) {
            show_menu = vm.ToBoolean(value);
        } else if (Matches(vm, name, "displayState")) {
            std::string state = FoldCase(vm.ToString(value));
            bool want = state == "fullscreen";
            if (state != "fullscreen" && state != "normal") return true;
            if (want != full_screen) {
                full_screen = want;
                vm.Broadcast("Stage", "onFullScreen", {Value(want)});
            }
        } else {
            return false;
        }
        return true;
    }

    std::string scale_mode = "showAll";
    std::string align;
    bool show_menu = true;
    bool full_screen = false;

private:
    static bool Matches(Vm& vm, const std::string& name, const char* property) {
        return vm.CaseSensitive() ? name == property : FoldCase(name) == FoldCase(property);
    }

    // The letters of "TLBR" in the value, in the order the player keeps them.
    static std::string AlignOf(const std::string& text) {
        std::string upper;
        for (char c : text) upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        std::string result;
        bool top = upper.find('T') != std::string::npos, bottom = upper.find('B') != std::string::npos;
        bool left = upper.find('L') != std::string::npos, right = upper.find('R') != std::string::npos;
        if (top && !bottom) result += 'T';
        if (bottom && !top) result += 'B';
        if (left && !right) result += 'L';
        if (right && !left) result += 'R';
        return result;
    }
};

}  // namespace

void InstallStageObject(Vm& vm) {
    StageObject* stage = vm.heap.Make<StageObject>(vm.object_proto);
    vm.global->Define("Stage", stage, kDontEnum);
    MakeBroadcaster(vm, stage);
}

}  // namespace flash::avm1
