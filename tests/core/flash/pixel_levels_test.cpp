// The exact levels the player draws: how a colour transform's alpha
// multiplier turns into a blend, and which pixels an aliased edge takes
// when it passes exactly through their centres (or a hair beside them), and
// the corners of thin lines drawn without smoothing.
#include "flash_test_movies.h"

#include "flash/movie.h"
#include "flash/player.h"
#include "flash/rasterizer.h"
#include "flash/renderer.h"

#include <gtest/gtest.h>

namespace {

using flash::Canvas;
using flash::Rgba;

TEST(PixelLevels, AlphaMultiplierBlendsByItsOwnFraction) {
    // _alpha = 30 keeps 76/256 of the colour: an opaque blue over white
    // leaves 255 - 76 of red, as a multiplier of 151 leaves 150 of blue.
    flash::ColorTransform thirty;
    thirty.am = 76;
    Rgba faded = thirty.Apply(Rgba{0, 0, 255, 255});
    EXPECT_EQ(faded.a, 76);
    EXPECT_EQ(flash::BlendPixel(0xFFFFFFFFu, faded, 1.0f), 0xFFB3B3FFu);
    flash::ColorTransform most;
    most.am = 151;
    EXPECT_EQ(flash::BlendPixel(0xFF000000u, most.Apply(Rgba{0, 0, 255, 255}), 1.0f), 0xFF000096u);
    // Half a multiplier of a full level is half of it, rounded up.
    flash::ColorTransform half;
    half.am = 128;
    EXPECT_EQ(half.Apply(Rgba{0, 0, 0, 255}).a, 128);
    EXPECT_EQ(half.Apply(Rgba{0, 0, 0, 0}).a, 0);
}

TEST(PixelLevels, AliasedEdgeThroughPixelCentresTakesTheRightHandPixel) {
    // A slanted edge whose crossing of row 1 lies exactly on the centre of
    // pixel 3 (x = 3.5): the span starting there includes that pixel, the
    // span ending there does not.
    Canvas canvas;
    canvas.Resize(8, 3);
    canvas.Fill(Rgba{255, 255, 255, 255});
    flash::Rasterizer raster;
    flash::Point top{3.5 + 0.3, 1.5 - 0.3}, bottom{3.5 - 0.7, 1.5 + 0.7};
    raster.AddLine(top, bottom);
    raster.AddLine({6.5 - 0.1, 3}, {6.5 + 0.1, 0});
    raster.AddLine({6.5 + 0.1, 0}, top);
    raster.AddLine(bottom, {6.5 - 0.1, 3});
    raster.Fill(canvas, flash::SolidPaint(Rgba{255, 0, 0, 255}), flash::FillRule::NonZero, 1);
    EXPECT_EQ(canvas.At(2, 1), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.At(3, 1), 0xFFFF0000u);
    EXPECT_EQ(canvas.At(5, 1), 0xFFFF0000u);
    EXPECT_EQ(canvas.At(6, 1), 0xFFFFFFFFu);
}

TEST(PixelLevels, EdgeEndsLieOnASubpixelGrid) {
    // The left edge, from (8.75, 26.95) to (11.85, 6.15), crosses row 8 a
    // hair left of pixel 11's centre; with its ends on the 1/256-pixel grid
    // it crosses a hair right of it, so the pixel stays out.
    Canvas canvas;
    canvas.Resize(24, 30);
    canvas.Fill(Rgba{255, 255, 255, 255});
    flash::Rasterizer raster;
    flash::Point a{8.75, 26.95}, b{11.85, 6.15}, c{20, 6.15}, d{20, 26.95};
    raster.AddLine(a, b);
    raster.AddLine(b, c);
    raster.AddLine(c, d);
    raster.AddLine(d, a);
    raster.Fill(canvas, flash::SolidPaint(Rgba{255, 0, 0, 255}), flash::FillRule::NonZero, 1);
    EXPECT_EQ(canvas.At(11, 8), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.At(12, 8), 0xFFFF0000u);
}

TEST(PixelLevels, AliasedThinFrameLeavesItsOuterCornerPixels) {
    // A one-pixel frame along x = 10 and y = 10 (pixel edges): its lines
    // take the pixels left of and above them, and their round join leaves
    // the corner pixel, whose centre is 0.7 pixels from the corner.
    flash::SwfWriter movie(6, 40, 40, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ShapeBuilder frame;
    frame.SetLine(frame.AddLineStyle(20, {0, 0, 255, 255}));
    frame.MoveTo(200, 200);
    frame.LineTo(600, 200);
    frame.LineTo(600, 600);
    frame.LineTo(200, 600);
    frame.LineTo(200, 200);
    movie.DefineShape(1, frame);
    movie.PlaceObject(flash_test::NewAt(1, 1));
    movie.ShowFrame();
    flash::Player player;
    player.Load(flash_test::Load(movie));
    Canvas canvas;
    canvas.Resize(40, 40);
    flash::Renderer renderer;
    renderer.Render(player, flash::View{}, flash::Quality::Low, canvas);
    EXPECT_EQ(canvas.At(9, 20), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(20, 9), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(10, 20), 0xFFFFFFFFu);
    EXPECT_EQ(canvas.At(9, 9), 0xFFFFFFFFu);
}

TEST(PixelLevels, WideRoundCapsReachTheirFullRadius) {
    // A 20 pixel wide line from (50.5, 50.5): its round cap covers the
    // pixel whose centre lies 9.9 pixels from the end, diagonally.
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ShapeBuilder line;
    line.SetLine(line.AddLineStyle(400, {0, 0, 255, 255}));
    line.MoveTo(1010, 1010);
    line.LineTo(1610, 1010);
    movie.DefineShape(1, line);
    movie.PlaceObject(flash_test::NewAt(1, 1));
    movie.ShowFrame();
    flash::Player player;
    player.Load(flash_test::Load(movie));
    Canvas canvas;
    canvas.Resize(100, 100);
    flash::Renderer renderer;
    renderer.Render(player, flash::View{}, flash::Quality::Low, canvas);
    EXPECT_EQ(canvas.At(43, 43), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(42, 42), 0xFFFFFFFFu);
}

}  // namespace
