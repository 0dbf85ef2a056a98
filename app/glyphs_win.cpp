#include "app/glyphs_win.h"

#include <algorithm>

namespace {

COLORREF Mix(COLORREF a, COLORREF b, int step, int steps) {
    if (steps <= 0) return a;
    auto channel = [&](int shift) {
        int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
        return static_cast<COLORREF>(x + (y - x) * step / steps) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void FillPolygon(HDC dc, const POINT* points, int count, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    Polygon(dc, points, count);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

// Top to bottom, light to darker blue.
void DrawBackground(HDC dc, const RECT& rect) {
    int height = rect.bottom - rect.top;
    COLORREF top = RGB(0xE8, 0xF2, 0xFC), bottom = RGB(0x7A, 0xAE, 0xE6);
    for (int y = 0; y < height; ++y) {
        RECT line{rect.left, rect.top + y, rect.right, rect.top + y + 1};
        FillSolid(dc, line, Mix(top, bottom, y, height - 1));
    }
}

// A wedge rising to the right, green through yellow to red; what lies
// above the wedge is left to the background.
void DrawVolumeGradient(HDC dc, const RECT& rect) {
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    COLORREF green = RGB(0x20, 0xC0, 0x20), yellow = RGB(0xF0, 0xE0, 0x20), red = RGB(0xE0, 0x20, 0x20);
    for (int x = 0; x < width; ++x) {
        int half = width / 2;
        COLORREF color = x < half ? Mix(green, yellow, x, half) : Mix(yellow, red, x - half, width - half - 1);
        int column = std::max(1, height * (x + 1) / std::max(1, width));
        RECT line{rect.left + x, rect.bottom - column, rect.left + x + 1, rect.bottom};
        FillSolid(dc, line, color);
    }
}

void DrawStart(HDC dc, const RECT& rect, bool enabled) {
    COLORREF disk = enabled ? RGB(0x10, 0x90, 0x30) : GetSysColor(COLOR_GRAYTEXT);
    HBRUSH brush = CreateSolidBrush(disk);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(brush);
    int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
    POINT arrow[] = {{cx - 3, cy - 5}, {cx + 5, cy}, {cx - 3, cy + 5}};
    FillPolygon(dc, arrow, 3, RGB(0xFF, 0xFF, 0xFF));
}

// The transport glyphs are drawn on a 16 × 16 grid: solid shapes from row 2
// to row 14, the size of the button's picture, so that each reads at a glance.
constexpr int kGrid = 16;

COLORREF TransportColor(bool enabled, COLORREF color) { return enabled ? color : GetSysColor(COLOR_GRAYTEXT); }

// A triangle whose base stands at base_x and whose point is at tip_x.
void Triangle(HDC dc, const RECT& rect, int base_x, int tip_x, COLORREF color) {
    int scale_x = rect.right - rect.left, scale_y = rect.bottom - rect.top;
    auto at = [&](int x, int y) { return POINT{rect.left + x * scale_x / kGrid, rect.top + y * scale_y / kGrid}; };
    POINT points[] = {at(base_x, 2), at(tip_x, 8), at(base_x, 14)};
    FillPolygon(dc, points, 3, color);
}

void Bar(HDC dc, const RECT& rect, int left, int right, COLORREF color) {
    int scale_x = rect.right - rect.left, scale_y = rect.bottom - rect.top;
    RECT bar{rect.left + left * scale_x / kGrid, rect.top + 2 * scale_y / kGrid, rect.left + right * scale_x / kGrid,
             rect.top + 15 * scale_y / kGrid};
    FillSolid(dc, bar, color);
}

void DrawTransport(HDC dc, ControlGlyph glyph, const RECT& rect, bool enabled) {
    COLORREF blue = TransportColor(enabled, RGB(0x10, 0x30, 0x80));
    switch (glyph) {
    case ControlGlyph::Play: Triangle(dc, rect, 3, 14, TransportColor(enabled, RGB(0x00, 0x70, 0x20))); break;
    case ControlGlyph::Pause:
        Bar(dc, rect, 3, 7, blue);
        Bar(dc, rect, 9, 13, blue);
        break;
    case ControlGlyph::First:
        Bar(dc, rect, 2, 5, blue);
        Triangle(dc, rect, 14, 5, blue);
        break;
    case ControlGlyph::Last:
        Triangle(dc, rect, 2, 11, blue);
        Bar(dc, rect, 11, 14, blue);
        break;
    case ControlGlyph::Back:
        Triangle(dc, rect, 8, 1, blue);
        Triangle(dc, rect, 15, 8, blue);
        break;
    case ControlGlyph::Forward:
        Triangle(dc, rect, 1, 8, blue);
        Triangle(dc, rect, 8, 15, blue);
        break;
    default: break;
    }
}

}  // namespace

void DrawGlyph(HDC dc, ControlGlyph glyph, const RECT& rect, bool enabled) {
    switch (glyph) {
    case ControlGlyph::Start: DrawStart(dc, rect, enabled); break;
    case ControlGlyph::Play:
    case ControlGlyph::Pause:
    case ControlGlyph::First:
    case ControlGlyph::Last:
    case ControlGlyph::Back:
    case ControlGlyph::Forward: DrawTransport(dc, glyph, rect, enabled); break;
    case ControlGlyph::Gradient: DrawBackground(dc, rect); break;
    case ControlGlyph::VolumeGradient: DrawVolumeGradient(dc, rect); break;
    case ControlGlyph::None: break;
    }
}
