#include "swf/sourcefm_icons_win.h"

#include "swf/swf_extractor.h"

#include <initializer_list>

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

// Drawing on a 16-unit grid scaled to the picture's size.
class Sketch {
public:
    Sketch(HDC dc, int size) : dc_(dc), k_(size / 16) {}

    void Brush(COLORREF fill, COLORREF line) {
        Release();
        brush_ = CreateSolidBrush(fill);
        pen_ = CreatePen(PS_SOLID, k_, line);
        SelectObject(dc_, brush_);
        SelectObject(dc_, pen_);
    }
    void Rect(int l, int t, int r, int b) { Rectangle(dc_, l * k_, t * k_, r * k_, b * k_); }
    void Oval(int l, int t, int r, int b) { Ellipse(dc_, l * k_, t * k_, r * k_, b * k_); }
    void Shape(std::initializer_list<POINT> points) {
        POINT scaled[16];
        int n = 0;
        for (POINT p : points)
            if (n < 16) scaled[n++] = POINT{p.x * k_, p.y * k_};
        Polygon(dc_, scaled, n);
    }
    void Curve(int l, int t, int r, int b) {
        // The right half of the ellipse: a sound wave.
        Arc(dc_, l * k_, t * k_, r * k_, b * k_, r * k_, t * k_, r * k_, b * k_);
    }
    ~Sketch() { Release(); }

private:
    void Release() {
        SelectObject(dc_, GetStockObject(NULL_BRUSH));
        SelectObject(dc_, GetStockObject(BLACK_PEN));
        if (brush_) DeleteObject(brush_);
        if (pen_) DeleteObject(pen_);
        brush_ = nullptr;
        pen_ = nullptr;
    }

    HDC dc_;
    int k_;
    HBRUSH brush_ = nullptr;
    HPEN pen_ = nullptr;
};

void DrawSound(Sketch& s) {
    s.Brush(RGB(40, 80, 170), RGB(20, 40, 100));
    s.Shape({{2, 6}, {5, 6}, {9, 2}, {9, 14}, {5, 10}, {2, 10}});
    s.Curve(7, 5, 12, 11);
    s.Curve(7, 3, 15, 13);
}

void DrawBitmap(Sketch& s) {
    s.Brush(RGB(255, 255, 255), RGB(60, 60, 60));
    s.Rect(1, 2, 15, 14);
    const COLORREF cells[4] = {RGB(220, 40, 40), RGB(40, 170, 60), RGB(40, 90, 220), RGB(240, 200, 30)};
    for (int i = 0; i < 4; ++i) {
        s.Brush(cells[i], cells[i]);
        int x = 3 + (i % 2) * 5, y = 4 + (i / 2) * 4;
        s.Rect(x, y, x + 5, y + 4);
    }
}

void DrawJpeg(Sketch& s) {
    s.Brush(RGB(170, 215, 250), RGB(60, 60, 60));
    s.Rect(1, 2, 15, 14);
    s.Brush(RGB(250, 210, 40), RGB(220, 150, 20));
    s.Oval(10, 4, 13, 7);
    s.Brush(RGB(50, 150, 60), RGB(30, 100, 40));
    s.Shape({{2, 13}, {6, 7}, {9, 10}, {11, 8}, {14, 13}});
}

void DrawTag(Sketch& s) {
    s.Brush(RGB(245, 160, 40), RGB(150, 80, 10));
    s.Shape({{1, 8}, {5, 3}, {15, 3}, {15, 13}, {5, 13}});
    s.Brush(RGB(255, 255, 255), RGB(150, 80, 10));
    s.Oval(4, 7, 7, 10);
}

HBITMAP DrawPicture(int icon, int size) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, size, size};
    HBRUSH background = CreateSolidBrush(kTransparent);
    FillRect(dc, &all, background);
    DeleteObject(background);
    {
        Sketch sketch(dc, size);
        switch (icon) {
        case swf::kIconSound: DrawSound(sketch); break;
        case swf::kIconBitmap: DrawBitmap(sketch); break;
        case swf::kIconJpeg: DrawJpeg(sketch); break;
        default: DrawTag(sketch); break;
        }
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    return bitmap;
}

}  // namespace

HIMAGELIST CreateResourceImageList(int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 4, 0);
    for (int icon : {swf::kIconSound, swf::kIconBitmap, swf::kIconJpeg, swf::kIconTag}) {
        HBITMAP picture = DrawPicture(icon, size);
        ImageList_AddMasked(list, picture, kTransparent);
        DeleteObject(picture);
    }
    return list;
}
