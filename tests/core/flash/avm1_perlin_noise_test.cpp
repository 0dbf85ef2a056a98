// BitmapData.perlinNoise: the reference player's values for one seed, and
// what the options do to the channels, the range and the tiling.
#include "flash/avm1/classes/perlin_noise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace flash::avm1 {
namespace {

PerlinOptions Options(int seed, int channels = 7, bool gray = false) {
    PerlinOptions o;
    o.base_x = o.base_y = 50;
    o.octaves = 2;
    o.seed = seed;
    o.channels = channels;
    o.gray = gray;
    return o;
}

BitmapPixels Noise(const PerlinOptions& options, int size = 32, bool transparent = true) {
    BitmapPixels pixels(size, size, transparent, 0x80808080u);
    FillPerlinNoise(pixels, options);
    return pixels;
}

uint32_t Channel(uint32_t argb, int shift) { return (argb >> shift) & 0xFF; }

TEST(PerlinNoise, MatchesTheReferencePlayerForOneSeed) {
    PerlinOptions o = Options(42);
    o.base_x = o.base_y = 100;
    o.octaves = 1;
    BitmapPixels p = Noise(o, 100);
    EXPECT_EQ(p.GetRaw(0, 0), 0xFF7F7F7Fu);   // lattice points are mid grey
    EXPECT_EQ(p.GetRaw(11, 0), 0xFF847573u);
    EXPECT_EQ(p.GetRaw(50, 50), 0xFFA25A93u);
    EXPECT_EQ(p.GetRaw(99, 99), 0xFF7F7E81u);
}

TEST(PerlinNoise, TheSeedAloneDecidesThePicture) {
    BitmapPixels a = Noise(Options(7)), b = Noise(Options(7)), c = Noise(Options(8));
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            ASSERT_EQ(a.GetRaw(x, y), b.GetRaw(x, y));
            differing += a.GetRaw(x, y) != c.GetRaw(x, y);
        }
    }
    EXPECT_GT(differing, a.width() * a.height() / 2);
}

TEST(PerlinNoise, ChannelsLeftOutAreZeroAndEachChannelDrawnTakesTheNextTable) {
    BitmapPixels rgb = Noise(Options(5, 7)), green = Noise(Options(5, 2)), red_blue = Noise(Options(5, 5));
    BitmapPixels with_alpha = Noise(Options(5, 15)), opaque = Noise(Options(5, 15), 32, false);
    for (int y = 0; y < 32; y += 3) {
        for (int x = 0; x < 32; x += 3) {
            uint32_t all = rgb.GetRaw(x, y), g = green.GetRaw(x, y), rb = red_blue.GetRaw(x, y);
            EXPECT_EQ(Channel(all, 24), 255u);
            // The first channel drawn uses the first table, whichever it is.
            EXPECT_EQ(g, 0xFF000000u | (Channel(all, 16) << 8));
            EXPECT_EQ(rb, 0xFF000000u | (Channel(all, 16) << 16) | Channel(all, 8));
            // Alpha is stored beside the colour as it is, not premultiplied.
            EXPECT_EQ(with_alpha.GetRaw(x, y) & 0xFFFFFF, all & 0xFFFFFF);
            EXPECT_EQ(opaque.GetRaw(x, y), all);
        }
    }
}

TEST(PerlinNoise, GrayScaleDrawsOneValueAndAlphaFromTheNextTable) {
    BitmapPixels rgb = Noise(Options(9, 15)), gray = Noise(Options(9, 8, true));
    for (int y = 0; y < 32; y += 3) {
        for (int x = 0; x < 32; x += 3) {
            uint32_t c = rgb.GetRaw(x, y), p = gray.GetRaw(x, y);
            EXPECT_EQ(Channel(p, 16), Channel(c, 16));
            EXPECT_EQ(Channel(p, 8), Channel(c, 16));
            EXPECT_EQ(Channel(p, 0), Channel(c, 16));
            EXPECT_EQ(Channel(p, 24), Channel(c, 8));
        }
    }
}

TEST(PerlinNoise, NoOctavesGiveTheMiddleOfEachRange) {
    PerlinOptions none = Options(3);
    none.octaves = 0;
    EXPECT_EQ(Noise(none).GetRaw(5, 5), 0xFF7F7F7Fu);
    none.fractal = false;
    EXPECT_EQ(Noise(none).GetRaw(5, 5), 0xFF000000u);
}

// The largest step between two columns of a row, the last and the first
// being neighbours too; the columns where it is found.
int LargestStep(const BitmapPixels& p, int* at) {
    int step = -1;
    for (int x = 0; x < p.width(); ++x) {
        int next = (x + 1) % p.width();
        for (int y = 0; y < p.height(); ++y) {
            for (int shift : {0, 8, 16}) {
                int d = std::abs(static_cast<int>(Channel(p.GetRaw(x, y), shift)) -
                                 static_cast<int>(Channel(p.GetRaw(next, y), shift)));
                if (d > step) step = d, *at = x;
            }
        }
    }
    return step;
}

TEST(PerlinNoise, StitchedNoiseTilesWithoutASeam) {
    PerlinOptions o = Options(11);
    o.base_x = o.base_y = 14;   // rounded to a whole number of cells across
    o.octaves = 3;
    int at = 0;
    int step = LargestStep(Noise(o), &at);
    EXPECT_EQ(at, 31);   // the seam
    o.stitch = true;
    EXPECT_LT(LargestStep(Noise(o), &at), step / 2);
}

}  // namespace
}  // namespace flash::avm1
