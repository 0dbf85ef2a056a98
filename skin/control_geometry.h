// The arithmetic of the control skinners on plain numbers: which frame of
// an element a control shows in which state, where glyphs go, how far a
// progress bar is filled, how an up-down and a scroll bar are divided, and
// how big a skinned menu item is. The platform layer gathers the numbers,
// asks here and draws the answer.
#pragma once

#include <cstdint>

#include "skin/skin_frame.h"

// --- Buttons ---------------------------------------------------------------

// Push and bitmap buttons: 2 pressed, 4 focused or hot, 1 otherwise; 3 when
// disabled.
int ButtonFaceFrame(bool pressed, bool focused, bool hot, bool enabled);
// Speed buttons: 2 pressed or down, 4 hot, 1 otherwise; 3 when disabled
// unless down.
int SpeedButtonFaceFrame(bool pressed, bool down, bool hot, bool enabled);

// Check glyph: 2 checked, 1 not, 3 disabled.
int CheckGlyphFrame(bool checked, bool enabled);
// Radio glyph: 1 + (1 when checked) + (2 when disabled).
int RadioGlyphFrame(bool checked, bool enabled);

// The glyph box of a check box or radio button w x h with a glyph gw x gh:
// at the left (the right with text left of the box), inset by
// (14 - gw) / 2 when the glyph is narrower than 15, centred vertically.
SkinRect CheckGlyphPlace(int w, int h, int gw, int gh, bool text_left);

// A glyph of gw x gh and a caption of tw x th inside a button of w x h, the
// glyph left of the caption with `spacing` between them, the pair centred.
struct GlyphLayout {
    SkinRect glyph;
    SkinRect caption;
};
GlyphLayout PlaceGlyphAndCaption(int w, int h, int gw, int gh, int tw, int th, int spacing);

// --- Progress bars ---------------------------------------------------------

// The right edge of the filled part: left + position x width / upper, or
// left when the position or the upper limit is not positive; never past
// left + width.
int ProgressFillRight(int left, int width, int position, int upper);

// --- Up-down buttons -------------------------------------------------------

struct UpDownHalves {
    SkinRect first;    // up or left
    SkinRect second;   // down or right
};
// The client w x h split in two halves, left/right when horizontal, else
// top/bottom; inset by one pixel inside an edit.
UpDownHalves SplitUpDown(int w, int h, bool horizontal, bool inside_edit);
// The frame of one half in an element of 8 frames (first half 1-4, second
// 5-8: normal, pressed, disabled, hot).
int UpDownFrame(bool second_half, bool pressed, bool hot, bool enabled);

// --- Scroll bars -----------------------------------------------------------

enum class ScrollPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

struct ScrollInfo {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
};

// One bar laid out along its length (from 0): the two arrows, the track
// between them and the thumb on it. Arrows are `arrow` long, at most half
// the bar; the thumb is proportional to the page, at least 8 long, and
// absent when the range does not scroll or the track is too short.
struct ScrollLayout {
    int length = 0;
    int arrow = 0;
    int track_start = 0;
    int track_end = 0;
    int thumb_start = 0;
    int thumb_end = 0;
    bool has_thumb = false;
};
ScrollLayout LayoutScrollBar(int length, int arrow, const ScrollInfo& info);
ScrollPart ScrollPartAt(const ScrollLayout& layout, int offset);
// The scroll position for a thumb whose start was dragged to thumb_start.
int ScrollPosForThumb(const ScrollLayout& layout, const ScrollInfo& info, int thumb_start);

// Frames of the 23-frame Scrollbar element: arrows left 1, right 5, up 9,
// down 13, each followed by pressed, hot and disabled.
int ScrollArrowFrame(bool vertical, bool second, bool pressed, bool hot, bool enabled);
// Thumb frames of a 3-frame thumb element: 1 normal, 2 pressed, 3 hot.
int ScrollThumbFrame(bool pressed, bool hot);

// --- Menus -----------------------------------------------------------------

struct MenuItemSize {
    int width = 0;
    int height = 0;
};
// A skinned menu item whose caption and shortcut measure text_w x text_h:
// width + 26, height + 4; a separator is 8 high. The Windows 95 family adds
// 4 to the height.
MenuItemSize MeasureMenuItem(int text_w, int text_h, bool separator, bool win95_family);
// The item of a skinned popup-menu component: width + 28, height as it
// is, + 4 on the Windows 95 family for items other than separators.
MenuItemSize MeasurePopupComponentItem(int text_w, int text_h, bool separator, bool win95_family);
// The skinned menu bar: x of the first item and each item's width.
int MenuBarFirstItemX(bool has_menu_bar_element, int tile_left_menu, int bar_width);
int MenuBarItemWidth(int text_width);
// The bar item after or before `index` of `count`, wrapping round.
int NextBarItem(int index, int count, bool forward);
