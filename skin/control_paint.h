// Drawing one frame of a skin element into a rectangle of a bitmap, the
// way every control skinner draws its elements: nine-slice with the
// element's margins, the centre tiled when Tile is set, the key colour left
// out when Trans is 1.
#pragma once

#include "skin/control_geometry.h"
#include "skin/skin_frame.h"

// The element's frame count, or `fallback` when the skin names none.
int ElementFrames(const TDataSkinObject& element, int fallback);

// Frame `frame` of `frames` (side by side unless `axis` says otherwise) of
// the element's main image over `where`. Nothing without an image or with
// an empty rectangle.
void DrawElement(SkinBitmap& dst, const TDataSkinObject& element, int frame, int frames, SkinRect where,
                 FrameAxis axis = FrameAxis::SideBySide);

// The same for a second image (the Border, Chunk or GlyphImage), with the
// element's Trans; `slice` false stretches the frame without margins.
void DrawImageFrame(SkinBitmap& dst, const SkinBitmap& image, int frame, int frames, SkinRect where, bool trans,
                    bool slice = false, const TDataSkinObject* margins = nullptr);

// A frame of an image copied unscaled, centred in `where`.
void DrawCentredFrame(SkinBitmap& dst, const SkinBitmap& image, int frame, int frames, SkinRect where, bool trans);

// Fills a rectangle (clipped to the bitmap).
void FillSkinRect(SkinBitmap& dst, SkinRect where, uint32_t pixel);

// One skinned scroll bar, `length` long and `thickness` thick: the track
// (the HorzScroll or VertScroll element, frame 1 of 4, or track_pixel
// without one), the two arrows from the 23-frame Scrollbar element and
// the thumb from the thumb element (3 frames) or, without one, from the
// Scrollbar element's frames 18-20 (horizontal) and 21-23 (vertical).
struct ScrollBarLook {
    bool vertical = false;
    bool enabled = true;
    ScrollPart pressed = ScrollPart::None;
    ScrollPart hot = ScrollPart::None;
    uint32_t track_pixel = 0xC0C0C0;
};
SkinBitmap RenderScrollBar(const TSkinData& skin, const ScrollLayout& layout, int thickness, const ScrollBarLook& look);

// The menu bar's background, w x h: frame 1 (active) or 2 of the MenuBar
// element's two stacked frames, nine-sliced with TileLeftMenu and
// TileRightMenu as side margins when TileMenu is 1, else a three-part strip
// with those ends and the middle repeated; without a MenuBar element the
// Menubar colour, given as `fill`.
SkinBitmap RenderMenuBarBack(const TSkinData& skin, int w, int h, bool active, uint32_t fill);

// The colour of a disabled caption: `shadow`, or, when it is about as bright
// as the background (and would hide the caption), the colour halfway
// between the background and the normal text. Pixels are 0x00RRGGBB.
uint32_t LegibleDisabledText(uint32_t shadow, uint32_t background, uint32_t text);
