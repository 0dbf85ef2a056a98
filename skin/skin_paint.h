// Drawing on skin bitmaps: cutting one frame out of an element image,
// nine-slice composition, the three-part strip and copies that leave the
// key colour out. Everything works on SkinBitmap pixels; the platform layer
// only copies finished bitmaps to the screen.
#pragma once

#include "skin/bitmap.h"

// How the frames of an element image lie.
enum class FrameAxis { Stacked, SideBySide };

// Frame f (1-based) of an image of n equal frames. A frame number outside
// 1..n is taken as the nearest one; n below 1 counts as 1.
SkinBitmap CutFrame(const SkinBitmap& image, int frame, int count, FrameAxis axis);

struct SliceMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// A w x h bitmap made from `frame`: the four corners copied unscaled, the
// edges stretched along their length, the centre stretched or, with
// tile_centre, repeated from its top-left corner. Margins that do not fit
// the target (left + right wider than w, top + bottom higher than h) become
// 0 on that axis; margins larger than the frame are cut to it.
SkinBitmap NineSlice(const SkinBitmap& frame, SliceMargins margins, int w, int h, bool tile_centre);

// A w x h strip from `frame`: its left `left` and right `right` columns
// copied, the middle repeated; rows are stretched to h.
SkinBitmap ThreePartStrip(const SkinBitmap& frame, int left, int right, int w, int h);

// The part (sx, sy, sw, sh) of src stretched over (dx, dy, dw, dh) of dst
// (nearest pixel); parts outside dst are left out.
void StretchCopy(SkinBitmap& dst, int dx, int dy, int dw, int dh, const SkinBitmap& src, int sx, int sy, int sw,
                 int sh);

// Copies src to (x, y) of dst; with key_transparent the key colour
// 0xFF00FF is left out. Parts outside dst are left out.
void DrawBitmap(SkinBitmap& dst, int x, int y, const SkinBitmap& src, bool key_transparent);

// The colour that shapes windows: red 255, green 0 or 1, blue 255 (pixels
// are 0x00RRGGBB).
inline bool IsRegionKey(uint32_t pixel) { return (pixel & 0xFFFEFF) == 0xFF00FF; }
