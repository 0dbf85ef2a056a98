// The pixels of a BitmapData: 32-bit ARGB with the colour premultiplied
// by alpha, as the player keeps them, and the operations on them that do
// not involve scripts.
#pragma once

#include <cstdint>
#include <vector>

namespace flash::avm1 {

struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Premultiplying rounds to nearest; taking it back rounds to nearest with
// halves down, as the reference player does.
uint32_t Premultiply(uint32_t argb);
uint32_t Unpremultiply(uint32_t argb);

class BitmapPixels {
public:
    BitmapPixels(int width, int height, bool transparent, uint32_t fill_argb);

    int width() const { return width_; }
    int height() const { return height_; }
    bool transparent() const { return transparent_; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    // Straight (not premultiplied) ARGB; 0 outside the bitmap.
    uint32_t Get(int x, int y) const;
    void Set(int x, int y, uint32_t argb);
    uint32_t GetRaw(int x, int y) const { return pixels_[y * width_ + x]; }
    void SetRaw(int x, int y, uint32_t premultiplied) { pixels_[y * width_ + x] = premultiplied; }

    // The part of rect inside the bitmap.
    PixelRect Clip(PixelRect rect) const;
    void FillRect(PixelRect rect, uint32_t argb);
    // Fills the 4-connected area of (x, y)'s colour; false when (x, y) is
    // outside or already has the colour.
    bool FloodFill(int x, int y, uint32_t argb);
    // Multipliers and offsets in the order red, green, blue, alpha.
    void ColorTransform(PixelRect rect, const double multipliers[4], const double offsets[4]);
    void Scroll(int dx, int dy);

private:
    int width_, height_;
    bool transparent_;
    std::vector<uint32_t> pixels_;
};

class Object;
// The pixels of a BitmapData object; nullptr for any other object or one
// disposed.
const BitmapPixels* BitmapDataPixels(Object* object);

// Copies source's rect to dest at (dx, dy); with merge_alpha the source is
// drawn over what is there.
void CopyPixels(const BitmapPixels& source, PixelRect rect, BitmapPixels& dest, int dx, int dy, bool merge_alpha);

}  // namespace flash::avm1
