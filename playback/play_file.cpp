#include "playback/play_file.h"

#include <cstdint>

int EntryAfterUnplayable(int selection, int entry_count) {
    if (int64_t(selection) + 1 >= entry_count) return -1;
    return selection + 1;
}

MenuPlace StartMenuPlace(int button_screen_left, int button_screen_top, int button_panel_left,
                         int item_count, int window_width) {
    MenuPlace place;
    place.top = button_screen_top - 18 * item_count + 48;
    place.left = window_width <= 600 ? button_screen_left : button_panel_left;
    return place;
}
