// Skin bitmaps on the screen: copying SkinBitmap pixels to a device
// context, GDI text drawn into a bitmap, regions from pixel runs, and the
// skin's colours as platform colours.
#pragma once

#include <windows.h>

#include <string>

#include "skin/skin_frame.h"

// Copies the whole bitmap to (x, y) of dc.
void BlitSkinBitmap(HDC dc, int x, int y, const SkinBitmap& bitmap);

// Runs `draw` on a memory DC holding the bitmap's pixels, then takes the
// pixels back (GDI text and shapes on a skin bitmap).
template <typename Draw>
void DrawWithGdi(SkinBitmap& bitmap, Draw draw);
void DrawWithGdiImpl(SkinBitmap& bitmap, void (*draw)(HDC dc, void* context), void* context);
template <typename Draw>
void DrawWithGdi(SkinBitmap& bitmap, Draw draw) {
    DrawWithGdiImpl(bitmap, [](HDC dc, void* context) { (*static_cast<Draw*>(context))(dc); }, &draw);
}

// A skin colour as a COLORREF; system colours through GetSysColor.
COLORREF SkinColorRef(SkinColour colour, COLORREF fallback = 0);

// A skin colour as a SkinBitmap pixel (0x00RRGGBB).
uint32_t SkinPixel(SkinColour colour);
// COLORREF and 0x00RRGGBB pixels one into the other.
inline uint32_t ColorRefPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
inline COLORREF PixelColorRef(uint32_t p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

// Adds one batch of runs to `region` (created on first use).
void AddRunsToRegion(HRGN& region, const std::vector<PixelRun>& runs);
void AddRectToRegion(HRGN& region, const SkinRect& rect);
