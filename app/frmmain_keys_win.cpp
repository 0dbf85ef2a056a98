// The main window's keys: the key-down table it sees before its controls,
// Esc on release, and keys pressed in the playlist.
#include "app/frmmain_win.h"

#include "app/key_table.h"
#include "flash/flash_control_win.h"

static_assert(unsigned{kKeyShift} == kModifierShift && unsigned{kKeyCtrl} == kModifierCtrl &&
                  unsigned{kKeyAlt} == kModifierAlt,
              "the key handlers and the key table share the modifier bits");

void Tfrmmain::FormKeyDown(WORD& key, unsigned shift) {
    int overlay = ControlIndex(L"VolLbl");
    RECT window{};
    GetWindowRect(window_, &window);
    KeyContext context;
    context.picture_shown = PictureShown;
    context.media_mode = MediaMode;
    context.window_width = window.right - window.left;
    context.selection = ListSelection();
    context.entry_count = ListEntryCount();
    context.overlay_width = Controls().Rect(overlay).width;

    KeyCommand command = KeyDownCommand(key, shift, context);
    switch (command) {
    case KeyCommand::None:
    case KeyCommand::WindowOrFullScreen: break;
    case KeyCommand::Window: N3Click(); break;
    case KeyCommand::FullScreen: N5Click(); break;
    case KeyCommand::WindowThenFocus:
        N3Click();
        FocusFlashArea();
        break;
    case KeyCommand::Capture: N8Click(); break;
    case KeyCommand::ToggleContinuous:
        SetControlChecked(L"CheckBox1", !ControlChecked(L"CheckBox1"));
        FocusFlashArea();
        break;
    case KeyCommand::ToggleSkipPlay: SetControlChecked(L"CheckBox3", !ControlChecked(L"CheckBox3")); break;
    case KeyCommand::Help: N27Click(); break;
    case KeyCommand::Start: BitBtn1Click(); break;
    case KeyCommand::FastBack: SpeedButton2Click(); break;
    case KeyCommand::FastForward: SpeedButton3Click(); break;
    case KeyCommand::First: SpeedButton1Click(); break;
    case KeyCommand::Last: SpeedButton4Click(); break;
    case KeyCommand::NextEntry:
    case KeyCommand::PreviousEntry: {
        int entry = command == KeyCommand::NextEntry
                        ? EntryBelow(context.selection, context.entry_count)
                        : EntryAbove(context.selection, context.entry_count);
        SelectListEntry(entry);
        PlayFile(ListEntryPath(entry));
        ReenableFlash();
        FocusFlashArea();
        break;
    }
    case KeyCommand::VolumeDown:
    case KeyCommand::VolumeUp: {
        LayoutRect rect = Controls().Rect(overlay);
        OverlayPlace place{rect.left, rect.width};
        place = command == KeyCommand::VolumeDown ? OverlayWidened(place) : OverlayNarrowed(place);
        rect.left = place.left;
        rect.width = place.width;
        Controls().SetRect(overlay, rect);
        bylClick();
        break;
    }
    case KeyCommand::OpenFiles: N55Click(); break;
    case KeyCommand::OpenPlaylist: N44Click(); break;
    case KeyCommand::Play: SpeedButton5Click(); break;
    case KeyCommand::Pause: SpeedButton6Click(); break;
    }
}

void Tfrmmain::FormKeyUp(WORD& key, unsigned) {
    RECT window{};
    GetWindowRect(window_, &window);
    if (KeyUpRunsWindowCommand(key, window.right - window.left)) N3Click();
}

void Tfrmmain::ListBox1KeyDown(WORD&, unsigned) { FocusFlashArea(); }
