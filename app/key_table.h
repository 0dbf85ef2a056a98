// The main window's key-down table as data, and the decisions of its key
// handlers: which command a key runs in the window's present state.
// Key codes are the platform's virtual-key codes.
#pragma once

#include "playback/sound_settings.h"

#include <vector>

// Modifier keys held with a key (the same bits the window's key handlers get).
enum KeyModifierBits : unsigned { kModifierShift = 1, kModifierCtrl = 2, kModifierAlt = 4 };

// The modifier a row asks for. The other modifiers are not looked at.
enum class KeyModifier { Any, Ctrl, Alt };

enum class KeyCondition {
    Always,
    PictureShown,      // a Flash movie or a video is open
    NotMediaMode,      // no media file plays
    EntryFollows,      // an entry follows the selected one (entry 0 when none is selected)
    EntryPrecedes,     // the selection is past the first entry of several
    OverlayCanWiden,   // the volume overlay is narrower than the volume picture
    OverlayCanNarrow,  // the volume overlay has width left
};

enum class KeyCommand {
    None,
    WindowOrFullScreen,  // resolved by window width to Window or FullScreen
    Window,              // N3
    FullScreen,          // N5
    WindowThenFocus,     // N3, then the Flash control takes the focus
    Capture,             // N8
    ToggleContinuous,    // CheckBox1
    ToggleSkipPlay,      // CheckBox3
    Help,                // N27
    Start,               // BitBtn1
    FastBack,            // SpeedButton2
    FastForward,         // SpeedButton3
    First,               // SpeedButton1
    Last,                // SpeedButton4
    NextEntry,
    PreviousEntry,
    VolumeDown,          // overlay wider
    VolumeUp,            // overlay narrower
    OpenFiles,           // N55
    OpenPlaylist,        // N44
    Play,                // SpeedButton5
    Pause,               // SpeedButton6
};

struct KeyRow {
    int key;
    KeyModifier modifier;
    KeyCondition condition;
    KeyCommand command;
};

// The rows in the order they are tested.
const std::vector<KeyRow>& KeyDownTable();

// What the conditions look at.
struct KeyContext {
    bool picture_shown = false;
    bool media_mode = false;
    int window_width = 0;    // outer width of the main window
    int selection = -1;      // playlist selection, -1 for none
    int entry_count = 0;
    int overlay_width = 0;   // width of the volume overlay VolLbl
};

// The command of the first row whose key, modifier and condition match;
// None when no row does. WindowOrFullScreen comes back resolved.
KeyCommand KeyDownCommand(int key, unsigned modifiers, const KeyContext& context);

// Releasing Esc in a window wider than 700 pixels runs the window command.
bool KeyUpRunsWindowCommand(int key, int window_width);

// The entry Ctrl+Down and Ctrl+Up move to, or -1 when there is none.
int EntryBelow(int selection, int entry_count);
int EntryAbove(int selection, int entry_count);

// The volume overlay after Ctrl+Left (2 pixels wider, its left edge 2
// pixels further left) and Ctrl+Right (the other way).
inline constexpr int kOverlayKeyStep = 2;
OverlayPlace OverlayWidened(OverlayPlace overlay);
OverlayPlace OverlayNarrowed(OverlayPlace overlay);
