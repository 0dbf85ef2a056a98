#include "skin/skin_gdi_win.h"

#include <cstring>
#include <vector>

namespace {

BITMAPINFO TopDownInfo(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void CombineInto(HRGN& region, HRGN part) {
    if (!part) return;
    if (!region) {
        region = part;
        return;
    }
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
}

}  // namespace

void BlitSkinBitmap(HDC dc, int x, int y, const SkinBitmap& bitmap) {
    if (bitmap.Empty()) return;
    BITMAPINFO info = TopDownInfo(bitmap.width, bitmap.height);
    SetDIBitsToDevice(dc, x, y, bitmap.width, bitmap.height, 0, 0, 0, bitmap.height, bitmap.pixels.data(), &info,
                      DIB_RGB_COLORS);
}

void DrawWithGdiImpl(SkinBitmap& bitmap, void (*draw)(HDC dc, void* context), void* context) {
    if (bitmap.Empty()) return;
    BITMAPINFO info = TopDownInfo(bitmap.width, bitmap.height);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section || !bits) return;
    const size_t bytes = bitmap.pixels.size() * sizeof(uint32_t);
    std::memcpy(bits, bitmap.pixels.data(), bytes);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    draw(dc, context);
    GdiFlush();
    std::memcpy(bitmap.pixels.data(), bits, bytes);
    for (uint32_t& p : bitmap.pixels) p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(section);
}

COLORREF SkinColorRef(SkinColour colour, COLORREF fallback) {
    return SkinColourRef(colour, [](int index) { return static_cast<uint32_t>(GetSysColor(index)); }, fallback);
}

uint32_t SkinPixel(SkinColour colour) {
    const COLORREF c = SkinColorRef(colour);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

void AddRunsToRegion(HRGN& region, const std::vector<PixelRun>& runs) {
    if (runs.empty()) return;
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = static_cast<DWORD>(runs.size());
    RECT bounds{runs[0].x, runs[0].y, runs[0].x, runs[0].y};
    auto* rects = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    for (size_t i = 0; i < runs.size(); i++) {
        rects[i] = {runs[i].x, runs[i].y, runs[i].x + runs[i].width, runs[i].y + 1};
        bounds.left = std::min(bounds.left, rects[i].left);
        bounds.top = std::min(bounds.top, rects[i].top);
        bounds.right = std::max(bounds.right, rects[i].right);
        bounds.bottom = std::max(bounds.bottom, rects[i].bottom);
    }
    header->rcBound = bounds;
    CombineInto(region, ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<RGNDATA*>(data.data())));
}

void AddRectToRegion(HRGN& region, const SkinRect& r) {
    if (r.Width() <= 0 || r.Height() <= 0) return;
    CombineInto(region, CreateRectRgn(r.left, r.top, r.right, r.bottom));
}
