#include <gtest/gtest.h>

#include <cstring>

#include "skin/bitmap.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A BMP file with a 40-byte header, the given palette and pixel rows (as
// stored, padded by the caller).
std::vector<uint8_t> Bmp(int32_t w, int32_t h, int bits, const std::vector<uint32_t>& palette,
                         const std::vector<uint8_t>& rows, uint32_t compression = 0,
                         const std::vector<uint32_t>& masks = {}) {
    std::vector<uint8_t> out = {'B', 'M'};
    const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(palette.size() + masks.size());
    Put32(out, offset + static_cast<uint32_t>(rows.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(w));
    Put32(out, static_cast<uint32_t>(h));
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, compression);
    Put32(out, static_cast<uint32_t>(rows.size()));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(palette.size()));
    Put32(out, 0);
    for (uint32_t m : masks) Put32(out, m);
    for (uint32_t c : palette) Put32(out, c);
    out.insert(out.end(), rows.begin(), rows.end());
    return out;
}

}  // namespace

TEST(Bitmap, ReadsIndexedBitmaps) {
    SkinBitmap b;
    // 1 bit, 3 x 2, bottom-up: the bottom row is 101, the top row 010.
    ASSERT_TRUE(LoadBmp(Bmp(3, 2, 1, {0x000000, 0xFF00FF}, {0xA0, 0, 0, 0, 0x40, 0, 0, 0}), b));
    EXPECT_EQ(b.width, 3);
    EXPECT_EQ(b.At(0, 0), 0u);
    EXPECT_EQ(b.At(1, 0), 0xFF00FFu);
    EXPECT_EQ(b.At(0, 1), 0xFF00FFu);
    EXPECT_EQ(b.At(1, 1), 0u);

    // 4 bits, index past the palette gives black.
    ASSERT_TRUE(LoadBmp(Bmp(2, 1, 4, {0x112233}, {0x0F, 0, 0, 0}), b));
    EXPECT_EQ(b.At(0, 0), 0x112233u);
    EXPECT_EQ(b.At(1, 0), 0u);

    // 8 bits, top-down.
    ASSERT_TRUE(LoadBmp(Bmp(1, -2, 8, {0xAA0000, 0x00BB00}, {1, 0, 0, 0, 0, 0, 0, 0}), b));
    EXPECT_EQ(b.At(0, 0), 0x00BB00u);
    EXPECT_EQ(b.At(0, 1), 0xAA0000u);
}

TEST(Bitmap, ReadsDirectColourBitmaps) {
    SkinBitmap b;
    ASSERT_TRUE(LoadBmp(Bmp(1, 1, 24, {}, {0x01, 0x02, 0x03, 0}), b));
    EXPECT_EQ(b.At(0, 0), 0x030201u);
    ASSERT_TRUE(LoadBmp(Bmp(1, 1, 32, {}, {0x01, 0x02, 0x03, 0x99}), b));
    EXPECT_EQ(b.At(0, 0), 0x030201u);
    ASSERT_TRUE(LoadBmp(Bmp(1, 1, 16, {}, {0x1F, 0x7C, 0, 0}), b));  // 555: full red and blue
    EXPECT_EQ(b.At(0, 0), 0xFF00FFu);
    ASSERT_TRUE(LoadBmp(Bmp(1, 1, 16, {}, {0xE0, 0x07, 0, 0}, 3, {0xF800, 0x07E0, 0x001F}), b));  // 565 green
    EXPECT_EQ(b.At(0, 0), 0x00FF00u);

    SkinBitmap art;
    art.Resize(5, 3, 0x102030);
    art.Set(4, 2, 0xFF00FF);
    ASSERT_TRUE(LoadBmp(EncodeBmp24(art), b));
    EXPECT_EQ(b.pixels, art.pixels);
}

TEST(Bitmap, RefusesBadFiles) {
    SkinBitmap b;
    const std::vector<uint8_t> good = Bmp(4, 4, 24, {}, std::vector<uint8_t>(48, 7));
    ASSERT_TRUE(LoadBmp(good, b));

    std::vector<uint8_t> cut(good.begin(), good.end() - 1);
    EXPECT_FALSE(LoadBmp(cut, b));
    EXPECT_TRUE(b.Empty());
    EXPECT_FALSE(LoadBmp(Bmp(0, 4, 24, {}, {}), b));
    EXPECT_FALSE(LoadBmp(Bmp(40000, 1, 24, {}, std::vector<uint8_t>(120000)), b));
    EXPECT_FALSE(LoadBmp(Bmp(5000, 5000, 1, {}, std::vector<uint8_t>(4000000)), b));  // too many pixels
    EXPECT_FALSE(LoadBmp(Bmp(4, 4, 8, {}, std::vector<uint8_t>(16), 1), b));        // run-length
    EXPECT_FALSE(LoadBmp(Bmp(4, 4, 7, {}, std::vector<uint8_t>(64)), b));
    std::vector<uint8_t> not_bmp = good;
    not_bmp[0] = 'X';
    EXPECT_FALSE(LoadBmp(not_bmp, b));
    std::vector<uint8_t> bad_offset = good;
    bad_offset[10] = 0xFF;
    bad_offset[13] = 0x7F;
    EXPECT_FALSE(LoadBmp(bad_offset, b));
    EXPECT_FALSE(LoadBmp(nullptr, 0, b));
}

TEST(Bitmap, CropsWithBlackOutside) {
    SkinBitmap b;
    b.Resize(4, 2, 0x111111);
    b.Set(3, 1, 0x222222);
    const SkinBitmap part = b.Crop(2, 1, 3, 2);
    ASSERT_EQ(part.width, 3);
    EXPECT_EQ(part.At(1, 0), 0x222222u);
    EXPECT_EQ(part.At(2, 0), 0u);
    EXPECT_EQ(part.At(0, 1), 0u);
    EXPECT_TRUE(b.Crop(0, 0, 0, 2).Empty());
}
