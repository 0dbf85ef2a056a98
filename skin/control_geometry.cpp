#include "skin/control_geometry.h"

#include <algorithm>
#include <cstdint>

int ButtonFaceFrame(bool pressed, bool focused, bool hot, bool enabled) {
    if (!enabled) return 3;
    if (pressed) return 2;
    return (focused || hot) ? 4 : 1;
}

int SpeedButtonFaceFrame(bool pressed, bool down, bool hot, bool enabled) {
    if (down) return 2;
    if (!enabled) return 3;
    if (pressed) return 2;
    return hot ? 4 : 1;
}

int CheckGlyphFrame(bool checked, bool enabled) {
    if (!enabled) return 3;
    return checked ? 2 : 1;
}

int RadioGlyphFrame(bool checked, bool enabled) { return 1 + (checked ? 1 : 0) + (enabled ? 0 : 2); }

SkinRect CheckGlyphPlace(int w, int h, int gw, int gh, bool text_left) {
    const int inset = gw < 15 ? (14 - gw) / 2 : 0;
    const int x = text_left ? w - gw - inset : inset;
    const int y = (h - gh) / 2;
    return {x, y, x + gw, y + gh};
}

GlyphLayout PlaceGlyphAndCaption(int w, int h, int gw, int gh, int tw, int th, int spacing) {
    if (gw <= 0 || gh <= 0) {
        gw = gh = 0;
        spacing = 0;
    }
    if (tw <= 0) spacing = 0;
    const int total = gw + spacing + std::max(tw, 0);
    const int left = (w - total) / 2;
    GlyphLayout out;
    out.glyph = {left, (h - gh) / 2, left + gw, (h - gh) / 2 + gh};
    const int cx = left + gw + spacing;
    out.caption = {cx, (h - th) / 2, cx + std::max(tw, 0), (h - th) / 2 + th};
    return out;
}

int ProgressFillRight(int left, int width, int position, int upper) {
    if (position <= 0 || upper <= 0 || width <= 0) return left;
    const int64_t filled = static_cast<int64_t>(std::min(position, upper)) * width / upper;
    return left + static_cast<int>(filled);
}

UpDownHalves SplitUpDown(int w, int h, bool horizontal, bool inside_edit) {
    SkinRect area{0, 0, w, h};
    if (inside_edit) area = {1, 1, std::max(1, w - 1), std::max(1, h - 1)};
    UpDownHalves halves{area, area};
    if (horizontal) {
        const int mid = area.left + area.Width() / 2;
        halves.first.right = mid;
        halves.second.left = mid;
    } else {
        const int mid = area.top + area.Height() / 2;
        halves.first.bottom = mid;
        halves.second.top = mid;
    }
    return halves;
}

int UpDownFrame(bool second_half, bool pressed, bool hot, bool enabled) {
    const int state = !enabled ? 3 : pressed ? 2 : hot ? 4 : 1;
    return state + (second_half ? 4 : 0);
}

ScrollLayout LayoutScrollBar(int length, int arrow, const ScrollInfo& info) {
    ScrollLayout l;
    l.length = std::max(length, 0);
    l.arrow = std::clamp(arrow, 0, l.length / 2);
    l.track_start = l.arrow;
    l.track_end = l.length - l.arrow;
    const int track = l.track_end - l.track_start;
    const int64_t range = static_cast<int64_t>(info.max) - info.min + 1;
    const int page = std::max(info.page, 0);
    if (range <= 0 || page >= range || track < 8) return l;
    int thumb = page > 0 ? static_cast<int>(track * page / range) : 8;
    thumb = std::clamp(thumb, 8, track);
    const int64_t last = range - std::max(page, 1);  // positions the thumb can take, from 0
    const int64_t at = std::clamp<int64_t>(static_cast<int64_t>(info.pos) - info.min, 0, last);
    const int free = track - thumb;
    l.thumb_start = l.track_start + (last > 0 ? static_cast<int>(at * free / last) : 0);
    l.thumb_end = l.thumb_start + thumb;
    l.has_thumb = true;
    return l;
}

ScrollPart ScrollPartAt(const ScrollLayout& l, int offset) {
    if (offset < 0 || offset >= l.length) return ScrollPart::None;
    if (offset < l.track_start) return ScrollPart::LineUp;
    if (offset >= l.track_end) return ScrollPart::LineDown;
    if (!l.has_thumb) return ScrollPart::None;
    if (offset < l.thumb_start) return ScrollPart::PageUp;
    if (offset >= l.thumb_end) return ScrollPart::PageDown;
    return ScrollPart::Thumb;
}

int ScrollPosForThumb(const ScrollLayout& l, const ScrollInfo& info, int thumb_start) {
    if (!l.has_thumb) return info.pos;
    const int free = (l.track_end - l.track_start) - (l.thumb_end - l.thumb_start);
    const int64_t range = static_cast<int64_t>(info.max) - info.min + 1;
    const int64_t last = range - std::max(info.page, 1);
    if (free <= 0 || last <= 0) return info.min;
    const int64_t offset = std::clamp(thumb_start - l.track_start, 0, free);
    return info.min + static_cast<int>((offset * last + free / 2) / free);
}

int ScrollArrowFrame(bool vertical, bool second, bool pressed, bool hot, bool enabled) {
    const int base = (vertical ? 9 : 1) + (second ? 4 : 0);
    if (!enabled) return base + 3;
    if (pressed) return base + 1;
    return hot ? base + 2 : base;
}

int ScrollThumbFrame(bool pressed, bool hot) { return pressed ? 2 : hot ? 3 : 1; }

MenuItemSize MeasureMenuItem(int text_w, int text_h, bool separator, bool win95_family) {
    MenuItemSize size{text_w + 26, separator ? 8 : text_h + 4};
    if (win95_family) size.height += 4;
    return size;
}

MenuItemSize MeasurePopupComponentItem(int text_w, int text_h, bool separator, bool win95_family) {
    MenuItemSize size{text_w + 28, text_h};
    if (win95_family && !separator) size.height += 4;
    return size;
}

int MenuBarFirstItemX(bool has_menu_bar_element, int tile_left_menu, int bar_width) {
    if (!has_menu_bar_element) return 6;
    const int x = tile_left_menu + 4;
    return bar_width < x ? 12 : x;
}

int MenuBarItemWidth(int text_width) { return text_width + 10; }

int NextBarItem(int index, int count, bool forward) {
    if (count <= 0) return -1;
    if (forward) return index + 1 >= count ? 0 : index + 1;
    return index <= 0 ? count - 1 : index - 1;
}
