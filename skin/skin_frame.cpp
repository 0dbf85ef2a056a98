#include "skin/skin_frame.h"

#include <algorithm>

namespace {

int PerFrame(int size, int frames) { return size / std::max(frames, 1); }

FrameAxis AxisOf(SkinBorderIndex index) {
    return index == kBorderTop || index == kBorderBottom ? FrameAxis::Stacked : FrameAxis::SideBySide;
}

}  // namespace

FrameMetrics ComputeFrameMetrics(const TSkinData& skin, FrameKind kind) {
    FrameMetrics m;
    if (kind == FrameKind::CaptionlessPopup) return m;
    const TDataSkinBorder* b = skin.Borders;
    m.TitleHeight = PerFrame(b[kBorderTop].Bitmap.height, b[kBorderTop].FrameCount);
    m.LeftWidth = PerFrame(b[kBorderLeft].Bitmap.width, b[kBorderLeft].FrameCount);
    m.RightWidth = PerFrame(b[kBorderRight].Bitmap.width, b[kBorderRight].FrameCount);
    m.BottomHeight = PerFrame(b[kBorderBottom].Bitmap.height, b[kBorderBottom].FrameCount);
    return m;
}

SkinBitmap RenderBorder(const TSkinData& skin, SkinBorderIndex index, int w, int h, bool active) {
    const TDataSkinBorder& border = skin.Borders[index];
    const int frame = active || border.FrameCount <= 1 ? 1 : 2;
    const SkinBitmap part = CutFrame(border.Bitmap, frame, border.FrameCount, AxisOf(index));
    const SliceMargins margins{border.LeftWidth, border.TopHeight, border.RightWidth, border.BottomHeight};
    return NineSlice(part, margins, w, h, border.Tile != 1);
}

SkinBitmap TitleBarBase(const TSkinData& skin, const FrameMetrics& m, int w, int h, bool active) {
    SkinBitmap bar;
    if (w <= 0 || m.TitleHeight <= 0) return bar;
    bar.Resize(w, m.TitleHeight);
    DrawBitmap(bar, 0, 0, RenderBorder(skin, kBorderLeft, m.LeftWidth, h, active), false);
    DrawBitmap(bar, w - m.RightWidth, 0, RenderBorder(skin, kBorderRight, m.RightWidth, h, active), false);
    DrawBitmap(bar, m.LeftWidth, 0, RenderBorder(skin, kBorderTop, w - m.LeftWidth - m.RightWidth, m.TitleHeight, active),
               false);
    return bar;
}

void DrawCaptionBack(SkinBitmap& bar, const TDataSkinTitle& title, SkinRect caption, bool active) {
    if (title.Bitmap.Empty() || caption.Width() <= 0 || caption.Height() <= 0) return;
    const SkinBitmap part = CutFrame(title.Bitmap, active ? 1 : 2, 2, FrameAxis::Stacked);
    DrawBitmap(bar, caption.left, caption.top,
               ThreePartStrip(part, title.TXTBackleft, title.TXTBackRight, caption.Width(), caption.Height()), true);
}

void DrawTitleButtons(SkinBitmap& bar, const std::vector<TDataSkinSysButton>& buttons,
                      const std::vector<TitleButtonPlace>& places, const std::vector<int>& states, bool active,
                      const SkinBitmap& icon) {
    for (size_t i = 0; i < buttons.size() && i < places.size(); i++) {
        if (!places[i].shown) continue;
        const TDataSkinSysButton& b = buttons[i];
        const SkinRect r = places[i].rect;
        if (b.Action == 3 || b.Action == 11) {
            if (icon.Empty()) continue;  // the caller draws the icon itself
            SkinBitmap scaled;
            scaled.Resize(r.Width(), r.Height(), kSkinKeyColour);
            StretchCopy(scaled, 0, 0, r.Width(), r.Height(), icon, 0, 0, icon.width, icon.height);
            DrawBitmap(bar, r.left, r.top, scaled, true);
            continue;
        }
        const int state = i < states.size() ? states[i] : 1;
        const int frame = TitleButtonFrame(b, state, active);
        DrawBitmap(bar, r.left, r.top, CutFrame(b.Bitmap, frame, b.FrameCount, FrameAxis::SideBySide), true);
    }
}

bool TitleButtonVisible(const TDataSkinSysButton& button, const FrameState& s) {
    const bool maximized = s.state == WindowState::Maximized;
    const bool mdi = s.mdi_frame_child_maximized && s.menu_height > 0;
    auto rule = [&](int value, bool first) {
        switch (value) {
        case 0: return !first || (s.kind != FrameKind::Other && (button.Action != 0 || s.has_system_menu));
        case 1: return maximized;
        case 2: return !maximized;
        case 3: return s.active;
        case 4: return !s.active;
        case 6: return s.has_maximize_box && (!first || s.has_system_menu);
        case 7: return !s.has_maximize_box;
        case 8: return s.has_minimize_box && (!first || s.has_system_menu);
        case 9: return !s.has_minimize_box;
        case 100: return mdi;
        default: return value >= 200 && value <= 2000;
        }
    };
    if (!rule(button.Visibility, true) || !rule(button.Visibility1, false)) return false;
    if (button.Action == 1 && !s.has_maximize_box) return false;
    if (button.Action == 2 && !s.has_minimize_box) return false;
    return true;
}

std::vector<TitleButtonPlace> LayoutTitleButtons(const std::vector<TDataSkinSysButton>& buttons,
                                                 const FrameState& state, const TitleLayoutInput& in,
                                                 int* right_max) {
    std::vector<TitleButtonPlace> places(buttons.size());
    int most_right = 0;
    for (size_t i = 0; i < buttons.size(); i++) {
        const TDataSkinSysButton& b = buttons[i];
        const bool icon = b.Action == 3 || b.Action == 11;
        if (!TitleButtonVisible(b, state) || (!icon && b.Bitmap.Empty())) continue;
        const int w = icon ? in.icon_size : PerFrame(b.Bitmap.width, b.FrameCount);
        const int h = icon ? in.icon_size : b.Bitmap.height;
        int x = 0, y = b.Ycoord;
        switch (b.Align) {
        case 0: x = b.Xcoord; break;
        case 1:
            x = in.window_width - b.Xcoord;
            most_right = std::max(most_right, x);
            break;
        case 2:
        case 8: x = in.caption.left - w - b.Xcoord; break;
        case 3:
        case 9: x = in.caption.right + b.Xcoord; break;
        case 100:
            y = in.metrics.TitleHeight + (state.menu_height - h) / 2;
            x = in.window_width - b.Xcoord - in.metrics.RightWidth - std::max(in.menu_bar_tile_left, 0);
            break;
        default: continue;
        }
        places[i].shown = true;
        places[i].rect = {x, y, x + w, y + h};
    }
    if (right_max) *right_max = most_right;
    return places;
}

int TitleButtonFrame(const TDataSkinSysButton& button, int object_state, bool active) {
    if (button.Visibility == 100 && object_state == 3) return 4;
    if (!active && button.FrameCount >= 4) return 4;
    return object_state == 2 ? 2 : object_state == 3 ? 3 : 1;
}

SkinRect PlaceCaption(const TDataSkinTitle& title, SkinRect t, int text_width, int text_height, bool popup_style,
                      int right_max) {
    const int width = text_width + title.TXTBackleft + title.TXTBackRight;
    SkinRect r{t.left, t.top, t.left + width, t.top + text_height};
    switch (title.TextAlignment) {
    case 0: r.left += title.TextShift(); break;
    case 1: r.left = t.left + (t.Width() - width) / 2; break;
    case 2: r.left = t.right + title.TextRightClip() - width; break;
    default: break;
    }
    r.right = r.left + width;
    r.top = t.top + (t.Height() - text_height) / 2 + title.TextShiftVert() / 2;
    r.bottom = r.top + text_height;
    // The caption ends before the right-hand buttons: a popup window's at
    // the buttons of the last layout, any other at the right clip.
    if (popup_style && right_max > 0)
        r.right = right_max - 5;
    else
        r.right = std::min(r.right, t.right - title.TextRightClip());
    return r;
}

std::wstring CaptionText(const std::wstring& window_text) { return L"  " + window_text; }

void ScanRegionRuns(const SkinBitmap& strip, int ox, int oy, const RunBatchSink& sink) {
    std::vector<PixelRun> batch;
    batch.reserve(kRegionBatch);
    for (int y = 0; y < strip.height; y++) {
        int x = 0;
        while (x < strip.width) {
            while (x < strip.width && IsRegionKey(strip.At(x, y))) x++;
            const int start = x;
            while (x < strip.width && !IsRegionKey(strip.At(x, y))) x++;
            if (x > start) {
                batch.push_back({ox + start, oy + y, x - start});
                if (batch.size() == kRegionBatch) {
                    sink(batch);
                    batch.clear();
                }
            }
        }
    }
    if (!batch.empty()) sink(batch);
}

WindowShape ShapeWindow(const TSkinData& skin, const FrameMetrics& m, FrameKind kind, int w, int h, bool active,
                        const SkinBitmap* title_bar, const RunBatchSink& sink) {
    WindowShape shape;
    const TDataSkinBorder* b = skin.Borders;
    bool any_trans = false;
    for (int i = 0; i < 4; i++) any_trans |= b[i].Trans != 0;
    if (!any_trans && kind != FrameKind::CaptionlessPopup) return shape;
    shape.rectangular = false;
    shape.rects.push_back({m.LeftWidth, m.TitleHeight, w - m.RightWidth, h - m.BottomHeight});
    if (kind == FrameKind::CaptionlessPopup) return shape;

    struct Strip {
        SkinBorderIndex index;
        SkinRect rect;
        bool shaped;
    };
    const Strip strips[4] = {
        {kBorderLeft, {0, 0, m.LeftWidth, h}, b[kBorderLeft].Trans == 1 && h > 1},
        {kBorderRight, {w - m.RightWidth, 0, w, h}, b[kBorderRight].Trans == 1 && h > 1},
        {kBorderTop, {m.LeftWidth, 0, w - m.RightWidth, m.TitleHeight}, b[kBorderTop].Trans == 1 && m.TitleHeight > 1},
        {kBorderBottom, {m.LeftWidth, h - m.BottomHeight, w - m.RightWidth, h},
         b[kBorderBottom].Trans == 1 && m.BottomHeight >= 2},
    };
    for (const Strip& s : strips) {
        if (s.rect.Width() <= 0 || s.rect.Height() <= 0) continue;
        if (!s.shaped) {
            shape.rects.push_back(s.rect);
            continue;
        }
        if (s.index == kBorderTop && title_bar && title_bar->width == w && title_bar->height == m.TitleHeight) {
            ScanRegionRuns(title_bar->Crop(s.rect.left, 0, s.rect.Width(), s.rect.Height()), s.rect.left, 0, sink);
            continue;
        }
        ScanRegionRuns(RenderBorder(skin, s.index, s.rect.Width(), s.rect.Height(), active), s.rect.left, s.rect.top,
                       sink);
    }
    return shape;
}

uint32_t SkinColourRef(SkinColour colour, const std::function<uint32_t(int index)>& system, uint32_t fallback) {
    const uint32_t c = static_cast<uint32_t>(colour);
    if ((c & 0xFF000000u) == 0x80000000u) return system ? system(static_cast<int>(c & 0xFF)) : fallback;
    if ((c & 0xFF000000u) != 0) return fallback;
    return c;
}
