#include "skin/control_paint.h"

#include <algorithm>
#include <cstdlib>

int ElementFrames(const TDataSkinObject& element, int fallback) {
    return element.FrameCount > 0 ? element.FrameCount : fallback;
}

void DrawElement(SkinBitmap& dst, const TDataSkinObject& element, int frame, int frames, SkinRect where,
                 FrameAxis axis) {
    if (element.Bitmap.Empty() || where.Width() <= 0 || where.Height() <= 0) return;
    const SkinBitmap part = CutFrame(element.Bitmap, frame, frames, axis);
    const SliceMargins margins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
    DrawBitmap(dst, where.left, where.top, NineSlice(part, margins, where.Width(), where.Height(), element.Tile != 0),
               element.Trans == 1);
}

void DrawImageFrame(SkinBitmap& dst, const SkinBitmap& image, int frame, int frames, SkinRect where, bool trans,
                    bool slice, const TDataSkinObject* margins) {
    if (image.Empty() || where.Width() <= 0 || where.Height() <= 0) return;
    const SkinBitmap part = CutFrame(image, frame, frames, FrameAxis::SideBySide);
    SliceMargins m;
    if (slice && margins) m = {margins->LeftWidth, margins->TopHeight, margins->RightWidth, margins->BottomHeight};
    DrawBitmap(dst, where.left, where.top, NineSlice(part, m, where.Width(), where.Height(), false), trans);
}

void DrawCentredFrame(SkinBitmap& dst, const SkinBitmap& image, int frame, int frames, SkinRect where, bool trans) {
    if (image.Empty()) return;
    const SkinBitmap part = CutFrame(image, frame, frames, FrameAxis::SideBySide);
    DrawBitmap(dst, where.left + (where.Width() - part.width) / 2, where.top + (where.Height() - part.height) / 2, part,
               trans);
}

void FillSkinRect(SkinBitmap& dst, SkinRect where, uint32_t pixel) {
    const int x0 = std::max(where.left, 0), x1 = std::min(where.right, dst.width);
    const int y0 = std::max(where.top, 0), y1 = std::min(where.bottom, dst.height);
    for (int y = y0; y < y1; y++)
        for (int x = x0; x < x1; x++) dst.Set(x, y, pixel);
}

namespace {

// A rectangle along the bar (from a to b) across its whole thickness.
SkinRect Along(bool vertical, int a, int b, int thickness) {
    return vertical ? SkinRect{0, a, thickness, b} : SkinRect{a, 0, b, thickness};
}

}  // namespace

SkinBitmap RenderScrollBar(const TSkinData& skin, const ScrollLayout& layout, int thickness, const ScrollBarLook& look) {
    SkinBitmap bar;
    if (layout.length <= 0 || thickness <= 0) return bar;
    const bool v = look.vertical;
    bar.Resize(v ? thickness : layout.length, v ? layout.length : thickness, look.track_pixel);
    const TDataSkinObject* track = v ? skin.VertScroll.get() : skin.HorzScroll.get();
    if (track) DrawElement(bar, *track, 1, ElementFrames(*track, 4), Along(v, layout.track_start, layout.track_end, thickness));
    if (skin.Scrollbar && !skin.Scrollbar->Bitmap.Empty()) {
        const TDataSkinObject& arrows = *skin.Scrollbar;
        const int frames = ElementFrames(arrows, 23);
        for (int second = 0; second < 2; second++) {
            const ScrollPart part = second ? ScrollPart::LineDown : ScrollPart::LineUp;
            const int frame = ScrollArrowFrame(v, second != 0, look.pressed == part, look.hot == part, look.enabled);
            const SkinRect where = second ? Along(v, layout.track_end, layout.length, thickness)
                                          : Along(v, 0, layout.track_start, thickness);
            DrawElement(bar, arrows, frame, frames, where);
        }
    }
    if (!layout.has_thumb || !look.enabled) return bar;
    const SkinRect where = Along(v, layout.thumb_start, layout.thumb_end, thickness);
    const int state = ScrollThumbFrame(look.pressed == ScrollPart::Thumb, look.hot == ScrollPart::Thumb);
    const TDataSkinObject* thumb = v ? skin.VertScrollThumb.get() : skin.HorzScrollThumb.get();
    if (thumb && !thumb->Bitmap.Empty())
        DrawElement(bar, *thumb, state, ElementFrames(*thumb, 3), where);
    else if (skin.Scrollbar)
        DrawElement(bar, *skin.Scrollbar, (v ? 20 : 17) + state, ElementFrames(*skin.Scrollbar, 23), where);
    return bar;
}

SkinBitmap RenderMenuBarBack(const TSkinData& skin, int w, int h, bool active, uint32_t fill) {
    SkinBitmap back;
    if (w <= 0 || h <= 0) return back;
    const TDataSkinObject* bar = skin.MenuBar.get();
    if (!bar || bar->Bitmap.Empty()) {
        back.Resize(w, h, fill);
        return back;
    }
    const SkinBitmap frame = CutFrame(bar->Bitmap, active ? 1 : 2, 2, FrameAxis::Stacked);
    if (bar->Tile == 1) return NineSlice(frame, {bar->LeftWidth, 0, bar->RightWidth, 0}, w, h, false);
    return ThreePartStrip(frame, bar->LeftWidth, bar->RightWidth, w, h);
}

namespace {

int Brightness(uint32_t pixel) {
    return (static_cast<int>((pixel >> 16) & 0xFF) * 299 + static_cast<int>((pixel >> 8) & 0xFF) * 587 +
            static_cast<int>(pixel & 0xFF) * 114) / 1000;
}

}  // namespace

uint32_t LegibleDisabledText(uint32_t shadow, uint32_t background, uint32_t text) {
    constexpr int kLegibleContrast = 48;
    if (std::abs(Brightness(shadow) - Brightness(background)) >= kLegibleContrast) return shadow;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        out |= ((((background >> shift) & 0xFF) + ((text >> shift) & 0xFF)) / 2) << shift;
    return out;
}
