// Mouse and keyboard input to the player: what the pointer is over, the
// transitions of buttons and clips with mouse handlers (roll over and out,
// press, release, drag over and out), the mouse and key events of every
// clip, the Mouse and Key listeners, dragging and key conditions.
#include "flash/player.h"

#include "flash/avm1/vm.h"

#include <algorithm>

namespace flash {

namespace {

// The transitions of a button condition word and what they mean.
enum Condition : uint16_t {
    kIdleToOverUp = 0x01,        // roll over
    kOverUpToIdle = 0x02,        // roll out
    kOverUpToOverDown = 0x04,    // press
    kOverDownToOverUp = 0x08,    // release
    kOverDownToOutDown = 0x10,   // drag out
    kOutDownToOverDown = 0x20,   // drag over
    kOutDownToIdle = 0x40,       // release outside
    kIdleToOverDown = 0x80,      // drag over (menus)
    kOverDownToIdle = 0x100,     // drag out (menus)
};

struct Transition {
    uint16_t condition;
    uint32_t event;
    const char* method;
    int state;                   // what a button shows afterwards
};

constexpr Transition kTransitions[] = {
    {kIdleToOverUp, kEventRollOver, "onRollOver", kButtonOver},
    {kOverUpToIdle, kEventRollOut, "onRollOut", kButtonUp},
    {kOverUpToOverDown, kEventPress, "onPress", kButtonDown},
    {kOverDownToOverUp, kEventRelease, "onRelease", kButtonOver},
    {kOverDownToOutDown, kEventDragOut, "onDragOut", kButtonOver},
    {kOutDownToOverDown, kEventDragOver, "onDragOver", kButtonDown},
    {kOutDownToIdle, kEventReleaseOutside, "onReleaseOutside", kButtonUp},
    {kIdleToOverDown, kEventDragOver, "onDragOver", kButtonDown},
    {kOverDownToIdle, kEventDragOut, "onDragOut", kButtonUp},
};

constexpr uint32_t kMouseEvents = kEventPress | kEventRelease | kEventReleaseOutside | kEventRollOver |
                                  kEventRollOut | kEventDragOver | kEventDragOut;
const char* const kMouseMethods[] = {"onPress",    "onRelease",  "onReleaseOutside", "onRollOver",
                                     "onRollOut",  "onDragOver", "onDragOut"};

// The key number of button key conditions and keyPress clip events: the
// special keys by number, the others by their character.
int ConditionKey(int code, int ascii) {
    switch (code) {
    case 37: return 1;   // left
    case 39: return 2;   // right
    case 36: return 3;   // home
    case 35: return 4;   // end
    case 45: return 5;   // insert
    case 46: return 6;   // delete
    case 8: return 8;    // backspace
    case 13: return 13;  // enter
    case 38: return 14;  // up
    case 40: return 15;  // down
    case 33: return 16;  // page up
    case 34: return 17;  // page down
    case 9: return 18;   // tab
    case 27: return 19;  // escape
    default: return ascii >= 32 && ascii <= 126 ? ascii : 0;
    }
}

bool Alive(const Clip* clip) {
    for (; clip; clip = clip->parent)
        if (clip->removed) return false;
    return true;
}

// A member that is on unless set to something false.
bool Flag(avm1::Vm& vm, Clip& clip, const char* name) {
    avm1::Value value = vm.Get(&clip, name);
    return value.IsUndefined() || vm.ToBoolean(value);
}

bool TracksAsMenu(avm1::Vm& vm, Clip& clip) {
    if (clip.button && clip.button->track_as_menu) return true;
    return vm.ToBoolean(vm.Get(&clip, "trackAsMenu"));
}

}  // namespace

// ---- what the pointer is over ----

namespace {

bool HasMouseHandlers(avm1::Vm& vm, Clip& clip) {
    if (clip.button) return true;
    for (const ClipAction& action : clip.events)
        if (action.events & kMouseEvents) return true;
    for (const char* method : kMouseMethods) {
        avm1::Value value = vm.Get(&clip, method);
        if (value.IsObject() && value.object->AsFunction()) return true;
    }
    return false;
}

}  // namespace

Clip* Player::MouseTarget(double stage_x, double stage_y) {
    if (!root_) return nullptr;
    auto to_root = Inverse(root_instance_.matrix);
    if (!to_root) return nullptr;
    double x = to_root->X(stage_x, stage_y), y = to_root->Y(stage_x, stage_y);
    std::function<Clip*(Clip&)> search = [&](Clip& parent) -> Clip* {
        for (auto it = parent.children.rbegin(); it != parent.children.rend(); ++it) {
            const Instance& instance = it->second;
            Clip* clip = instance.clip;
            if (!clip || clip->removed || !instance.visible || instance.clip_depth > 0) continue;
            if (HasMouseHandlers(*vm_, *clip)) {
                if (Flag(*vm_, *clip, "enabled") && HitsPoint(*clip, x, y, true)) return clip;
                if (clip->button) continue;
            }
            if (Clip* found = search(*clip)) return found;
        }
        return nullptr;
    };
    return search(*root_);
}

bool Player::CursorIsHand() {
    if (!root_) return false;
    Clip* over = mouse_down_ && pressed_ && !pressed_outside_ ? pressed_ : hovered_;
    if (!over || !Alive(over)) return false;
    return Flag(*vm_, *over, "useHandCursor");
}

// ---- events ----

void Player::ButtonTransition(Clip& target, uint16_t condition) {
    if (!Alive(&target)) return;
    const Transition* t = nullptr;
    for (const Transition& each : kTransitions)
        if (each.condition == condition) t = &each;
    if (!t) return;
    if (target.button) {
        SetButtonState(target, t->state);
        Clip* owner = target.parent ? target.parent : root_;
        for (const ButtonAction& action : target.button->actions)
            if (action.conditions & condition) queue_.push_back({owner, action.actions, {}});
        queue_.push_back({&target, nullptr, t->method});
    } else {
        QueueEvent(target, t->event, t->method);
    }
}

void Player::ClipMouseEvent(Clip& clip, uint32_t event, const char* method) {
    if (clip.button) return;
    QueueEvent(clip, event, method);
}

void Player::EveryClip(Clip& clip, const std::function<void(Clip&)>& visit) {
    visit(clip);
    std::vector<Clip*> children;
    for (auto& [depth, instance] : clip.children)
        if (instance.clip && !instance.clip->removed) children.push_back(instance.clip);
    for (Clip* child : children) EveryClip(*child, visit);
}

void Player::MouseMove(double x, double y) {
    mouse_x = x, mouse_y = y;
    if (!root_) return;
    vm_->mouse_x = x / 20, vm_->mouse_y = y / 20;
    MoveDragged();
    EveryClip(*root_, [this](Clip& clip) { ClipMouseEvent(clip, kEventMouseMove, "onMouseMove"); });
    RunQueue();
    vm_->Broadcast("Mouse", "onMouseMove");

    Clip* now = MouseTarget(x, y);
    if (!mouse_down_) {
        if (now != hovered_) {
            if (hovered_) ButtonTransition(*hovered_, kOverUpToIdle);
            hovered_ = now;
            if (now) ButtonTransition(*now, kIdleToOverUp);
        }
    } else {
        if (pressed_) {
            bool inside = now == pressed_;
            if (inside && pressed_outside_) ButtonTransition(*pressed_, kOutDownToOverDown);
            if (!inside && !pressed_outside_) {
                ButtonTransition(*pressed_, TracksAsMenu(*vm_, *pressed_) ? kOverDownToIdle : kOverDownToOutDown);
            }
            pressed_outside_ = !inside;
        }
        // Menu buttons answer the pointer even while another is held down.
        if (now != hovered_) {
            if (hovered_ && hovered_ != pressed_ && TracksAsMenu(*vm_, *hovered_))
                ButtonTransition(*hovered_, kOverDownToIdle);
            hovered_ = now;
            if (now && now != pressed_ && TracksAsMenu(*vm_, *now)) ButtonTransition(*now, kIdleToOverDown);
        }
    }
    RunQueue();
}

void Player::MouseDown() {
    if (!root_) return;
    mouse_down_ = true;
    EveryClip(*root_, [this](Clip& clip) { ClipMouseEvent(clip, kEventMouseDown, "onMouseDown"); });
    RunQueue();
    vm_->Broadcast("Mouse", "onMouseDown");
    Clip* now = MouseTarget(mouse_x, mouse_y);
    if (now != hovered_) {
        if (hovered_) ButtonTransition(*hovered_, kOverUpToIdle);
        if (now) ButtonTransition(*now, kIdleToOverUp);
        hovered_ = now;
    }
    pressed_ = now;
    pressed_outside_ = false;
    if (now) ButtonTransition(*now, kOverUpToOverDown);
    RunQueue();
}

void Player::MouseUp() {
    if (!root_) return;
    mouse_down_ = false;
    EveryClip(*root_, [this](Clip& clip) { ClipMouseEvent(clip, kEventMouseUp, "onMouseUp"); });
    RunQueue();
    vm_->Broadcast("Mouse", "onMouseUp");
    Clip* now = MouseTarget(mouse_x, mouse_y);
    Clip* pressed = pressed_;
    pressed_ = nullptr;
    if (pressed && !pressed_outside_) {
        ButtonTransition(*pressed, kOverDownToOverUp);
    } else if (pressed) {
        ButtonTransition(*pressed, kOutDownToIdle);
        if (hovered_ == pressed) hovered_ = nullptr;
    } else if (now && now == hovered_ && now->button && now->button_state == kButtonDown) {
        // A menu button the pointer was dragged onto is released on.
        ButtonTransition(*now, kOverDownToOverUp);
    }
    pressed_outside_ = false;
    if (now != hovered_) {
        if (hovered_) ButtonTransition(*hovered_, kOverUpToIdle);
        hovered_ = now;
        if (now) ButtonTransition(*now, kIdleToOverUp);
    }
    RunQueue();
}

void Player::KeyDown(int code, int ascii) {
    if (!root_) return;
    if (code >= 0 && code < 256) vm_->keys_down[code] = true;
    vm_->last_key = code;
    vm_->last_ascii = ascii;
    vm_->Broadcast("Key", "onKeyDown");
    int key = ConditionKey(code, ascii);
    EveryClip(*root_, [this, key](Clip& clip) {
        if (clip.button) {
            if (key && Flag(*vm_, clip, "enabled")) RunButtonKeys(clip, key);
            return;
        }
        QueueEvent(clip, kEventKeyDown, nullptr);
        for (const ClipAction& action : clip.events)
            if ((action.events & kEventKeyPress) && key && action.key == key)
                queue_.push_back({&clip, action.actions, {}});
    });
    RunQueue();
}

void Player::KeyUp(int code, int ascii) {
    if (!root_) return;
    if (code >= 0 && code < 256) vm_->keys_down[code] = false;
    vm_->last_key = code;
    if (ascii) vm_->last_ascii = ascii;
    vm_->Broadcast("Key", "onKeyUp");
    EveryClip(*root_, [this](Clip& clip) {
        if (!clip.button) QueueEvent(clip, kEventKeyUp, nullptr);
    });
    RunQueue();
}

void Player::RunButtonKeys(Clip& clip, int key) {
    Clip* owner = clip.parent ? clip.parent : root_;
    for (const ButtonAction& action : clip.button->actions)
        if (((action.conditions >> 9) & 0x7F) == key) queue_.push_back({owner, action.actions, {}});
}

// ---- dragging ----

void Player::StartDrag(avm1::Object* object, bool lock_center, bool constrain, double left, double top,
                       double right, double bottom) {
    Clip* clip = object ? object->AsClip() : nullptr;
    dragged = clip && clip->parent && !clip->removed ? clip : nullptr;
    if (!dragged) return;
    drag_ = Drag{};
    drag_.lock_center = lock_center;
    drag_.constrain = constrain;
    drag_.left = std::min(left, right) * 20, drag_.right = std::max(left, right) * 20;
    drag_.top = std::min(top, bottom) * 20, drag_.bottom = std::max(top, bottom) * 20;
    auto inverse = Inverse(WorldMatrix(*dragged->parent));
    double px = inverse ? inverse->X(mouse_x, mouse_y) : mouse_x;
    double py = inverse ? inverse->Y(mouse_x, mouse_y) : mouse_y;
    const Matrix& m = dragged->Placement().matrix;
    drag_.offset_x = m.tx - px, drag_.offset_y = m.ty - py;
    MoveDragged();
}

void Player::StopDrag() { dragged = nullptr; }

void Player::MoveDragged() {
    if (!dragged) return;
    if (!Alive(dragged) || !dragged->parent) {
        dragged = nullptr;
        return;
    }
    auto inverse = Inverse(WorldMatrix(*dragged->parent));
    double x = inverse ? inverse->X(mouse_x, mouse_y) : mouse_x;
    double y = inverse ? inverse->Y(mouse_x, mouse_y) : mouse_y;
    if (!drag_.lock_center) x += drag_.offset_x, y += drag_.offset_y;
    if (drag_.constrain) {
        x = std::clamp(x, drag_.left, drag_.right);
        y = std::clamp(y, drag_.top, drag_.bottom);
    }
    Instance& placed = dragged->Placement();
    placed.matrix.tx = x;
    placed.matrix.ty = y;
    placed.scripted = true;
}

}  // namespace flash
