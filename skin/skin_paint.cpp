#include "skin/skin_paint.h"

#include <algorithm>

#include "skin/skin_objects.h"

SkinBitmap CutFrame(const SkinBitmap& image, int frame, int count, FrameAxis axis) {
    if (image.Empty()) return {};
    count = std::max(count, 1);
    frame = std::clamp(frame, 1, count);
    if (axis == FrameAxis::Stacked) {
        const int h = image.height / count;
        return image.Crop(0, (frame - 1) * h, image.width, h);
    }
    const int w = image.width / count;
    return image.Crop((frame - 1) * w, 0, w, image.height);
}

void StretchCopy(SkinBitmap& dst, int dx, int dy, int dw, int dh, const SkinBitmap& src, int sx, int sy, int sw,
                 int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    for (int row = 0; row < dh; row++) {
        const int ty = dy + row;
        if (ty < 0 || ty >= dst.height) continue;
        const int from_y = sy + static_cast<int>(static_cast<int64_t>(row) * sh / dh);
        if (from_y < 0 || from_y >= src.height) continue;
        for (int col = 0; col < dw; col++) {
            const int tx = dx + col;
            if (tx < 0 || tx >= dst.width) continue;
            const int from_x = sx + static_cast<int>(static_cast<int64_t>(col) * sw / dw);
            if (from_x < 0 || from_x >= src.width) continue;
            dst.Set(tx, ty, src.At(from_x, from_y));
        }
    }
}

namespace {

// Repeats the part (sx, sy, sw, sh) of src over (dx, dy, dw, dh) of dst.
void TileCopy(SkinBitmap& dst, int dx, int dy, int dw, int dh, const SkinBitmap& src, int sx, int sy, int sw,
              int sh) {
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    for (int row = 0; row < dh; row++) {
        const int ty = dy + row;
        if (ty < 0 || ty >= dst.height) continue;
        for (int col = 0; col < dw; col++) {
            const int tx = dx + col;
            if (tx < 0 || tx >= dst.width) continue;
            dst.Set(tx, ty, src.At(sx + col % sw, sy + row % sh));
        }
    }
}

}  // namespace

SkinBitmap NineSlice(const SkinBitmap& frame, SliceMargins m, int w, int h, bool tile_centre) {
    SkinBitmap out;
    if (w <= 0 || h <= 0) return out;
    out.Resize(w, h);
    if (frame.Empty()) return out;
    const int fw = frame.width, fh = frame.height;
    int l = std::clamp(m.left, 0, fw), r = std::clamp(m.right, 0, fw - l);
    int t = std::clamp(m.top, 0, fh), b = std::clamp(m.bottom, 0, fh - t);
    if (w < l + r) l = r = 0;
    if (h < t + b) t = b = 0;
    const int cw = w - l - r, ch = h - t - b;       // centre in the target
    const int fcw = fw - l - r, fch = fh - t - b;   // centre in the frame
    // Corners.
    StretchCopy(out, 0, 0, l, t, frame, 0, 0, l, t);
    StretchCopy(out, w - r, 0, r, t, frame, fw - r, 0, r, t);
    StretchCopy(out, 0, h - b, l, b, frame, 0, fh - b, l, b);
    StretchCopy(out, w - r, h - b, r, b, frame, fw - r, fh - b, r, b);
    // Edges.
    StretchCopy(out, l, 0, cw, t, frame, l, 0, fcw, t);
    StretchCopy(out, l, h - b, cw, b, frame, l, fh - b, fcw, b);
    StretchCopy(out, 0, t, l, ch, frame, 0, t, l, fch);
    StretchCopy(out, w - r, t, r, ch, frame, fw - r, t, r, fch);
    // Centre.
    if (tile_centre)
        TileCopy(out, l, t, cw, ch, frame, l, t, fcw, fch);
    else
        StretchCopy(out, l, t, cw, ch, frame, l, t, fcw, fch);
    return out;
}

SkinBitmap ThreePartStrip(const SkinBitmap& frame, int left, int right, int w, int h) {
    SkinBitmap out;
    if (w <= 0 || h <= 0) return out;
    out.Resize(w, h);
    if (frame.Empty()) return out;
    const int fw = frame.width, fh = frame.height;
    int l = std::clamp(left, 0, fw), r = std::clamp(right, 0, fw - l);
    if (w < l + r) l = r = 0;
    StretchCopy(out, 0, 0, l, h, frame, 0, 0, l, fh);
    StretchCopy(out, w - r, 0, r, h, frame, fw - r, 0, r, fh);
    const int mw = fw - l - r;
    if (mw <= 0) return out;
    for (int x = l; x < w - r; x += mw) StretchCopy(out, x, 0, std::min(mw, w - r - x), h, frame, l, 0, std::min(mw, w - r - x), fh);
    return out;
}

void DrawBitmap(SkinBitmap& dst, int x, int y, const SkinBitmap& src, bool key_transparent) {
    for (int row = 0; row < src.height; row++) {
        const int ty = y + row;
        if (ty < 0 || ty >= dst.height) continue;
        for (int col = 0; col < src.width; col++) {
            const int tx = x + col;
            if (tx < 0 || tx >= dst.width) continue;
            const uint32_t pixel = src.At(col, row);
            if (key_transparent && (pixel & 0xFFFFFF) == kSkinKeyColour) continue;
            dst.Set(tx, ty, pixel);
        }
    }
}
