// The playlist steps of opening a file, and where the start button opens
// the main menu.
#pragma once

// A missing file, or one that cannot be opened, moves the selection to the
// next entry unless the selected entry is the last one. Returns the entry
// to select, or -1 to leave the selection as it is.
int EntryAfterUnplayable(int selection, int entry_count);

struct MenuPlace {
    int left = 0;
    int top = 0;
};

// The main menu opens upward over the start button: top = button top −
// 18 × items + 48; left = the button's screen left while the window is at
// most 600 pixels wide, else its left within its panel.
MenuPlace StartMenuPlace(int button_screen_left, int button_screen_top, int button_panel_left,
                         int item_count, int window_width);
