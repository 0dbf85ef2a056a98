// Filters, blend modes and gradient tables: box blur passes on premultiplied
// pixels, the blend formulas at their extremes, how gradient stops with
// repeated or backward ratios are looked up, and PlaceObject3's effects as
// the loader reads them.
#include "flash_test_movies.h"

#include "flash/blend.h"
#include "flash/filters.h"
#include "flash/gradient_paint.h"
#include "flash/movie_loader.h"
#include "flash/player.h"
#include "flash/renderer.h"

#include <gtest/gtest.h>

namespace {

using flash::BlendMode;
using flash::BlendPixels;
using flash::Canvas;
using flash::Filter;
using flash::FilterKind;

Canvas Image(int width, int height) {
    Canvas image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return image;
}

int Alpha(const Canvas& image, int x, int y) { return static_cast<int>(image.At(x, y) >> 24); }

TEST(BoxBlurTest, OnePassSpreadsAPixelEvenlyOverTheWindow) {
    Canvas image = Image(9, 1);
    image.pixels[4] = 0xFFFFFFFFu;
    flash::BoxBlur(image, 3, 0, 1);
    // 255 / 3 = 85 in each of three pixels, every channel alike.
    EXPECT_EQ(image.At(3, 0), 0x55555555u);
    EXPECT_EQ(image.At(4, 0), 0x55555555u);
    EXPECT_EQ(image.At(5, 0), 0x55555555u);
    EXPECT_EQ(image.At(2, 0), 0u);
    EXPECT_EQ(image.At(6, 0), 0u);
}

TEST(BoxBlurTest, PassesWidenTheSpreadAndKeepTheTotal) {
    Canvas image = Image(21, 21);
    image.pixels[10 * 21 + 10] = 0xFF000000u;
    flash::BoxBlur(image, 3, 3, 2);
    int total = 0;
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) total += Alpha(image, x, y);
    EXPECT_NEAR(total, 255, 12);
    // Two passes of three reach two pixels out, and no further.
    EXPECT_GT(Alpha(image, 12, 10), 0);
    EXPECT_EQ(Alpha(image, 13, 10), 0);
    EXPECT_GT(Alpha(image, 10, 10), Alpha(image, 11, 10));
    EXPECT_EQ(Alpha(image, 9, 10), Alpha(image, 11, 10));  // symmetric
}

TEST(BoxBlurTest, AnEvenWidthSpreadsAlikeOnBothSidesWithHalfWeightEnds) {
    Canvas image = Image(9, 1);
    image.pixels[4] = 0xFF000000u;
    flash::BoxBlur(image, 4, 0, 1);
    // A window 4 wide centred on the pixel: one whole neighbour each side
    // and half of the next, 255 / 4 and 255 / 8.
    EXPECT_EQ(Alpha(image, 4, 0), 64);
    EXPECT_EQ(Alpha(image, 3, 0), 64);
    EXPECT_EQ(Alpha(image, 5, 0), 64);
    EXPECT_EQ(Alpha(image, 2, 0), 32);
    EXPECT_EQ(Alpha(image, 6, 0), 32);
    EXPECT_EQ(Alpha(image, 1, 0), 0);
    EXPECT_EQ(Alpha(image, 7, 0), 0);
    EXPECT_EQ(flash::BlurWindow(4), 5);
}

TEST(BoxBlurTest, SolidAreasStaySolidAndZeroPassesChangeNothing) {
    Canvas image = Image(20, 20);
    for (int y = 5; y < 15; ++y)
        for (int x = 5; x < 15; ++x) image.Row(y)[x] = 0xFF336699u;
    Canvas untouched = image;
    flash::BoxBlur(image, 10, 10, 0);
    EXPECT_EQ(image.pixels, untouched.pixels);
    flash::BoxBlur(image, 3, 3, 1);
    EXPECT_EQ(image.At(10, 10), 0xFF336699u);
    EXPECT_LT(Alpha(image, 5, 5), 255);
    EXPECT_EQ(flash::BlurWindow(0), 1);
    EXPECT_EQ(flash::BlurWindow(1e9), 255);
}

TEST(FilterTest, MarginsCoverBlurAndOffset) {
    Filter shadow;
    shadow.kind = FilterKind::DropShadow;
    shadow.blur_x = shadow.blur_y = 4;
    shadow.passes = 1;
    shadow.distance = 5;
    shadow.angle = 0;
    flash::Margins m = flash::FilterMargins(shadow);
    EXPECT_GE(m.right, 2 + 5);
    EXPECT_GE(m.top, 2);
    Filter matrix;
    matrix.kind = FilterKind::ColorMatrix;
    EXPECT_EQ(flash::FilterMargins(matrix).left, 0);
}

TEST(FilterTest, GlowSurroundsTheObjectAndKnockoutRemovesIt) {
    Filter glow;
    glow.kind = FilterKind::Glow;
    glow.colors = {{255, 0, 0, 255}};
    glow.blur_x = glow.blur_y = 3;
    glow.passes = 1;
    glow.strength = 1;
    Canvas image = Image(9, 9);
    image.Row(4)[4] = 0xFF0000FFu;
    Canvas knocked = image;
    flash::ApplyFilter(glow, image);
    EXPECT_EQ(image.At(4, 4), 0xFF0000FFu);            // the object on top
    EXPECT_EQ((image.At(3, 4) >> 16) & 0xFF, image.At(3, 4) >> 24);   // red around it
    EXPECT_GT(Alpha(image, 3, 4), 0);
    glow.knockout = true;
    flash::ApplyFilter(glow, knocked);
    EXPECT_EQ(knocked.At(4, 4), 0u);                   // the object is cut out
    EXPECT_EQ(knocked.At(3, 4), image.At(3, 4));       // its glow stays
}

TEST(FilterTest, InnerEffectsLieAtopTheObjectKeepingItsAlpha) {
    // A half-transparent blue square with a wide inner glow of opaque red:
    // at its centre the glow is weak, but where it is strong the object
    // shows through only by what the glow's own alpha leaves.
    Filter glow;
    glow.kind = FilterKind::Glow;
    glow.colors = {{255, 0, 0, 255}};
    glow.blur_x = glow.blur_y = 4;
    glow.passes = 1;
    glow.strength = 1;
    glow.inner = true;
    Canvas image = Image(12, 12);
    for (int y = 2; y < 10; ++y)
        for (int x = 2; x < 10; ++x) image.Row(y)[x] = 0x80000080u;
    flash::ApplyFilter(glow, image);
    uint32_t edge = image.At(2, 2);
    EXPECT_EQ(edge >> 24, 0x80u);                          // the object's alpha
    int red = static_cast<int>((edge >> 16) & 0xFF), blue = static_cast<int>(edge & 0xFF);
    EXPECT_GT(red, 0);
    EXPECT_EQ(red + blue, 0x80);                           // atop: glow plus what it leaves
    EXPECT_EQ(image.At(0, 0), 0u);                         // nothing outside
}

TEST(FilterTest, ColorMatrixWorksOnStraightColour) {
    Filter f;
    f.kind = FilterKind::ColorMatrix;
    // Swap red and blue, halve alpha.
    f.color_matrix = {0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0.5f, 0};
    Canvas image = Image(1, 1);
    image.pixels[0] = flash::Premultiply({200, 100, 0, 255});
    flash::ApplyFilter(f, image);
    flash::Rgba c = flash::Unpremultiply(image.pixels[0]);
    EXPECT_EQ(c.a, 128);   // 127.5 rounds up
    EXPECT_NEAR(c.r, 0, 1);
    EXPECT_NEAR(c.g, 100, 2);
    EXPECT_NEAR(c.b, 200, 2);
}

TEST(BlendTest, SeparableModesOnOpaquePixels) {
    const uint32_t grey = 0xFF808080u, red = 0xFFFF0000u, white = 0xFFFFFFFFu, black = 0xFF000000u;
    EXPECT_EQ(BlendPixels(red, white, BlendMode::Multiply), red);
    EXPECT_EQ(BlendPixels(red, black, BlendMode::Screen), red);
    EXPECT_EQ(BlendPixels(grey, grey, BlendMode::Multiply), 0xFF404040u);
    EXPECT_EQ(BlendPixels(red, grey, BlendMode::Lighten), 0xFFFF8080u);
    EXPECT_EQ(BlendPixels(red, grey, BlendMode::Darken), 0xFF800000u);
    EXPECT_EQ(BlendPixels(white, red, BlendMode::Difference), 0xFF00FFFFu);
    EXPECT_EQ(BlendPixels(grey, grey, BlendMode::Add), 0xFFFFFFFFu);
    EXPECT_EQ(BlendPixels(grey, white, BlendMode::Subtract), 0xFF7F7F7Fu);
    EXPECT_EQ(BlendPixels(red, 0xFF336699u, BlendMode::Invert), 0xFFCC9966u);
    // Overlay keeps dark destinations dark; hard light looks at the source.
    EXPECT_EQ(BlendPixels(white, black, BlendMode::Overlay), black);
    EXPECT_EQ(BlendPixels(black, white, BlendMode::Hardlight), black);
    EXPECT_EQ(BlendPixels(grey, red, BlendMode::Normal), grey);
}

TEST(BlendTest, TransparentPixelsAndAlphaModes) {
    const uint32_t half_red = 0x80800000u;   // premultiplied
    EXPECT_EQ(BlendPixels(0, 0xFF123456u, BlendMode::Multiply), 0xFF123456u);
    EXPECT_EQ(BlendPixels(half_red, 0, BlendMode::Normal), half_red);
    EXPECT_EQ(BlendPixels(half_red, 0xFF0000FFu, BlendMode::Normal), 0xFF80007Fu);
    // Alpha keeps the destination where the source is; erase removes it.
    EXPECT_EQ(BlendPixels(0xFF000000u, 0xFF336699u, BlendMode::Alpha), 0xFF336699u);
    EXPECT_EQ(BlendPixels(0u, 0xFF336699u, BlendMode::Alpha), 0u);
    EXPECT_EQ(BlendPixels(0xFF000000u, 0xFF336699u, BlendMode::Erase), 0u);
    EXPECT_EQ(flash::BlendModeFromByte(0), BlendMode::Normal);
    EXPECT_EQ(flash::BlendModeFromByte(3), BlendMode::Multiply);
    EXPECT_EQ(flash::BlendModeFromByte(200), BlendMode::Normal);
    EXPECT_EQ(flash::Premultiply({255, 128, 0, 128}), 0x80804000u);
}

// Colour of a gradient paint at ratio i, for a horizontal gradient over
// 256 pixels.
uint32_t GradientAt(const flash::FillStyle& fill, int i) {
    flash::Matrix m;
    m.a = 256.0 / 32768;
    m.d = 1;
    m.tx = 128;
    flash::GradientPaint paint(fill, m, flash::ColorTransform{});
    uint32_t row[256];
    float coverage[256];
    for (int x = 0; x < 256; ++x) {
        row[x] = 0xFF000000u;
        coverage[x] = 1;
    }
    paint.Blend(row, 0, 0, 256, coverage);
    return row[i] & 0xFFFFFFu;
}

TEST(GradientTableTest, RepeatedAndBackwardRatios) {
    flash::FillStyle fill;
    fill.kind = flash::FillKind::LinearGradient;
    // Same ratios: each one after the first moves a step on.
    fill.stops = {{100, {255, 0, 0, 255}}, {100, {0, 255, 0, 255}}, {100, {0, 0, 255, 255}}};
    EXPECT_EQ(GradientAt(fill, 50), 0xFF0000u);
    EXPECT_EQ(GradientAt(fill, 101), 0x00FF00u);
    EXPECT_EQ(GradientAt(fill, 200), 0x0000FFu);
    // Backward: the lookup takes the first stop at or past the entry.
    fill.stops = {{0, {0, 0, 0, 255}}, {200, {255, 255, 255, 255}}, {100, {255, 0, 0, 255}}};
    EXPECT_EQ(GradientAt(fill, 100), 0x808080u);
    EXPECT_EQ(GradientAt(fill, 230), 0xFF0000u);
}

TEST(GradientTableTest, LinearRgbMixesInLinearLight) {
    flash::FillStyle fill;
    fill.kind = flash::FillKind::LinearGradient;
    fill.stops = {{0, {0, 0, 0, 255}}, {255, {255, 255, 255, 255}}};
    uint32_t plain = GradientAt(fill, 128) & 0xFF;
    fill.linear_rgb = true;
    uint32_t linear = GradientAt(fill, 128) & 0xFF;
    EXPECT_NEAR(plain, 128, 1);
    EXPECT_NEAR(linear, 188, 2);
}

// PlaceObject3 with a blur and a glow, multiply blend mode, caching and an
// opaque background, and no clip actions.
TEST(PlaceObject3Test, LoaderReadsEffects) {
    flash::SwfWriter movie(8, 100, 100, 12);
    flash_test::DefineBox(movie, 1, 0, 0, 10, 10, {255, 0, 0, 255});
    std::vector<uint8_t> body = {0x06, 0x47, 1, 0, 1, 0, 0x00};   // character, matrix; filters, blend, cache, background
    body.push_back(2);                                              // two filters
    body.insert(body.end(), {1, 0, 0, 4, 0, 0, 0, 2, 0, 3 << 3});   // blur 4 x 2, 3 passes
    body.insert(body.end(), {2, 10, 20, 30, 255, 0, 0, 6, 0, 0, 0, 6, 0, 0, 2, 0xA1});   // inner glow
    body.push_back(3);                                              // multiply
    body.push_back(1);                                              // cached
    body.insert(body.end(), {1, 2, 3, 255});                        // background
    movie.Tag(70, body);
    movie.ShowFrame();
    auto loaded = flash_test::Load(movie);
    const flash::PlaceRecord& place = loaded->timeline.frames.at(0).tags.at(0).place;
    ASSERT_EQ(place.filters.size(), 2u);
    EXPECT_EQ(place.filters[0].kind, FilterKind::Blur);
    EXPECT_DOUBLE_EQ(place.filters[0].blur_x, 4);
    EXPECT_DOUBLE_EQ(place.filters[0].blur_y, 2);
    EXPECT_EQ(place.filters[0].passes, 3);
    EXPECT_EQ(place.filters[1].kind, FilterKind::Glow);
    EXPECT_EQ(place.filters[1].colors.at(0).g, 20);
    EXPECT_DOUBLE_EQ(place.filters[1].strength, 2);
    EXPECT_TRUE(place.filters[1].inner);
    EXPECT_TRUE(place.filters[1].composite_source);
    EXPECT_EQ(place.filters[1].passes, 1);
    EXPECT_EQ(place.blend_mode, BlendMode::Multiply);
    EXPECT_TRUE(place.cache_as_bitmap);
    EXPECT_TRUE(place.has_background);
    EXPECT_EQ(place.background.b, 3);
}

// A grey box placed by PlaceObject3 over a red one, in the given blend
// mode and with the given filter list bytes; the stage drawn at low quality.
Canvas DrawOverRed(uint8_t blend_mode, const std::vector<uint8_t>& filters) {
    flash::SwfWriter movie(8, 40, 40, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash_test::DefineBox(movie, 1, 0, 0, 20, 40, {255, 0, 0, 255});
    flash_test::DefineBox(movie, 2, 10, 10, 20, 20, {128, 128, 128, 255});
    movie.PlaceObject(flash_test::NewAt(1, 1));
    std::vector<uint8_t> body = {0x02, static_cast<uint8_t>(0x02 | (filters.empty() ? 0 : 0x01)), 2, 0, 2, 0};
    body.insert(body.end(), filters.begin(), filters.end());
    body.push_back(blend_mode);
    movie.Tag(70, body);
    movie.ShowFrame();
    flash::Player player;
    player.Load(flash_test::Load(movie));
    Canvas canvas;
    canvas.Resize(40, 40);
    flash::Renderer renderer;
    renderer.Render(player, flash::View{}, flash::Quality::Low, canvas);
    return canvas;
}

TEST(LayerTest, BlendModesCompositeOntoWhatIsBelow) {
    Canvas multiply = DrawOverRed(3, {});
    EXPECT_EQ(multiply.At(15, 20), 0xFF800000u);   // grey times red
    EXPECT_EQ(multiply.At(25, 20), 0xFF808080u);   // grey times white
    EXPECT_EQ(multiply.At(5, 5), 0xFFFF0000u);     // outside the box
    Canvas difference = DrawOverRed(7, {});
    EXPECT_EQ(difference.At(15, 20), 0xFF7F8080u);
    // Erase on the stage itself changes nothing that shows.
    Canvas erase = DrawOverRed(12, {});
    EXPECT_EQ(erase.At(15, 20), 0xFFFF0000u);
    EXPECT_EQ(erase.At(25, 20), 0xFFFFFFFFu);
}

TEST(LayerTest, FiltersSpreadBeyondTheObject) {
    // A black glow, blur 4 x 4, strength 1, one pass, object kept.
    std::vector<uint8_t> glow = {1, 2, 0, 0, 0, 255, 0, 0, 4, 0, 0, 0, 4, 0, 0, 1, 0x21};
    Canvas canvas = DrawOverRed(0, glow);
    EXPECT_EQ(canvas.At(20, 20), 0xFF808080u);           // the object itself
    uint32_t beside = canvas.At(31, 20);                  // just right of it
    EXPECT_NE(beside, 0xFFFFFFFFu);
    EXPECT_EQ((beside >> 16) & 0xFF, beside & 0xFF);      // darkened white
    EXPECT_EQ(canvas.At(36, 20), 0xFFFFFFFFu);            // beyond the blur
}

}  // namespace
