#include "app/key_table.h"

#include "app/window_layout.h"

namespace {

constexpr int kKeyReturn = 0x0D;
constexpr int kKeyEscape = 0x1B;
constexpr int kKeyPageUp = 0x21;
constexpr int kKeyPageDown = 0x22;
constexpr int kKeyEnd = 0x23;
constexpr int kKeyHome = 0x24;
constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;
constexpr int kKeyF1 = 0x70;
constexpr int kKeyF5 = 0x74;
constexpr int kKeyF8 = 0x77;
constexpr int kKeyF9 = 0x78;
constexpr int kKeyF12 = 0x7B;

using M = KeyModifier;
using C = KeyCondition;
using K = KeyCommand;

bool ModifierHeld(KeyModifier modifier, unsigned modifiers) {
    switch (modifier) {
    case M::Any: return true;
    case M::Ctrl: return (modifiers & kModifierCtrl) != 0;
    case M::Alt: return (modifiers & kModifierAlt) != 0;
    }
    return false;
}

bool ConditionHolds(KeyCondition condition, const KeyContext& c) {
    switch (condition) {
    case C::Always: return true;
    case C::PictureShown: return c.picture_shown;
    case C::NotMediaMode: return !c.media_mode;
    case C::EntryFollows: return EntryBelow(c.selection, c.entry_count) >= 0;
    case C::EntryPrecedes: return EntryAbove(c.selection, c.entry_count) >= 0;
    case C::OverlayCanWiden: return c.overlay_width < kVolumeImageWidth;
    case C::OverlayCanNarrow: return c.overlay_width > 0;
    }
    return false;
}

}  // namespace

const std::vector<KeyRow>& KeyDownTable() {
    static const std::vector<KeyRow> table = {
        {'F', M::Ctrl, C::PictureShown, K::WindowOrFullScreen},
        {'1', M::Ctrl, C::PictureShown, K::FullScreen},
        {'2', M::Ctrl, C::PictureShown, K::WindowThenFocus},
        {kKeyReturn, M::Alt, C::PictureShown, K::WindowThenFocus},
        {kKeyF12, M::Any, C::NotMediaMode, K::Capture},
        {kKeyF8, M::Any, C::Always, K::ToggleContinuous},
        {kKeyF9, M::Any, C::Always, K::ToggleSkipPlay},
        {kKeyF1, M::Any, C::Always, K::Help},
        {kKeyF5, M::Any, C::Always, K::Start},
        {kKeyPageUp, M::Ctrl, C::Always, K::FastBack},
        {kKeyPageDown, M::Ctrl, C::Always, K::FastForward},
        {kKeyHome, M::Ctrl, C::Always, K::First},
        {kKeyEnd, M::Ctrl, C::Always, K::Last},
        {kKeyDown, M::Ctrl, C::EntryFollows, K::NextEntry},
        {kKeyUp, M::Ctrl, C::EntryPrecedes, K::PreviousEntry},
        {kKeyLeft, M::Ctrl, C::OverlayCanWiden, K::VolumeDown},
        {kKeyRight, M::Ctrl, C::OverlayCanNarrow, K::VolumeUp},
        {'O', M::Ctrl, C::Always, K::OpenFiles},
        {'L', M::Ctrl, C::Always, K::OpenPlaylist},
        {'P', M::Ctrl, C::Always, K::Play},
        {'S', M::Ctrl, C::Always, K::Pause},
    };
    return table;
}

KeyCommand KeyDownCommand(int key, unsigned modifiers, const KeyContext& context) {
    for (const KeyRow& row : KeyDownTable()) {
        if (row.key != key || !ModifierHeld(row.modifier, modifiers) || !ConditionHolds(row.condition, context))
            continue;
        if (row.command == K::WindowOrFullScreen)
            return context.window_width >= kWideWindowWidth ? K::Window : K::FullScreen;
        return row.command;
    }
    return K::None;
}

bool KeyUpRunsWindowCommand(int key, int window_width) {
    return key == kKeyEscape && window_width > kEscapeWidthLimit;
}

int EntryBelow(int selection, int entry_count) {
    int next = selection < 0 ? 0 : selection + 1;
    return next < entry_count ? next : -1;
}

int EntryAbove(int selection, int entry_count) {
    return selection > 0 && entry_count > 1 ? selection - 1 : -1;
}

OverlayPlace OverlayWidened(OverlayPlace overlay) {
    return {overlay.left - kOverlayKeyStep, overlay.width + kOverlayKeyStep};
}

OverlayPlace OverlayNarrowed(OverlayPlace overlay) {
    return {overlay.left + kOverlayKeyStep, overlay.width - kOverlayKeyStep};
}
