// A small 32-bit bitmap of the skin engine and the Windows BMP file format:
// reading BMP files taken out of skin packages, and writing them for the
// skin generator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Pixels are 0x00RRGGBB (the layout of a 32-bit device-independent bitmap),
// rows top to bottom. An empty bitmap has no pixels.
struct SkinBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    bool Empty() const { return width <= 0 || height <= 0; }
    void Clear();
    void Resize(int w, int h, uint32_t fill = 0);
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void Set(int x, int y, uint32_t colour) { pixels[static_cast<size_t>(y) * width + x] = colour; }
    // The part (x, y, w, h) of this bitmap; parts outside it are black.
    SkinBitmap Crop(int x, int y, int w, int h) const;
};

// Largest bitmap the reader accepts: each side and the pixel count.
constexpr int kMaxBitmapSide = 32767;
constexpr int64_t kMaxBitmapPixels = 16 * 1024 * 1024;

// Reads a Windows BMP file (file header included): 1, 4, 8, 16, 24 and 32
// bits per pixel, uncompressed or with bit-field masks. Returns false and
// leaves `out` empty for anything else or for a file that is cut short.
bool LoadBmp(const uint8_t* data, size_t size, SkinBitmap& out);
inline bool LoadBmp(const std::vector<uint8_t>& data, SkinBitmap& out) {
    return LoadBmp(data.data(), data.size(), out);
}

// A 24-bit bottom-up BMP file of the bitmap.
std::vector<uint8_t> EncodeBmp24(const SkinBitmap& bitmap);
