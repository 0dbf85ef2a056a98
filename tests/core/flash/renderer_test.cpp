// Drawing the stage: fills land on the right pixels, the stage keeps its
// aspect in any target, edges are smoothed only when asked, colour
// transforms, lines, gradients and zoom.
#include "flash_test_movies.h"

#include "flash/device_fonts.h"
#include "flash/player.h"
#include "flash/gradient_paint.h"
#include "flash/renderer.h"

#include <gtest/gtest.h>

namespace {

using flash::Canvas;
using flash::Player;
using flash::Quality;
using flash::Rgba;
using flash_test::DefineBox;
using flash_test::Load;
using flash_test::NewAt;

constexpr uint32_t kRed = 0xFFFF0000u, kWhite = 0xFFFFFFFFu, kBlue = 0xFF0000FFu;

Canvas Draw(const flash::SwfWriter& movie, int width, int height, Quality quality = Quality::High,
            const flash::View& view = flash::View{}) {
    Player player;
    player.Load(Load(movie));
    Canvas canvas;
    canvas.Resize(width, height);
    flash::Renderer renderer;
    renderer.Render(player, view, quality, canvas);
    return canvas;
}

// A red square from (20, 20) to (60, 60) on a white 100 x 100 stage.
flash::SwfWriter SquareMovie() {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    DefineBox(movie, 1, 20, 20, 40, 40, {255, 0, 0, 255});
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    return movie;
}

int CountPixels(const Canvas& canvas, uint32_t color) {
    int count = 0;
    for (uint32_t p : canvas.pixels) count += p == color;
    return count;
}

TEST(Renderer, FilledSquareCoversExactlyItsPixels) {
    for (Quality quality : {Quality::Low, Quality::Medium, Quality::High}) {
        Canvas canvas = Draw(SquareMovie(), 100, 100, quality);
        EXPECT_EQ(CountPixels(canvas, kRed), 40 * 40);
        EXPECT_EQ(canvas.At(20, 20), kRed);
        EXPECT_EQ(canvas.At(59, 59), kRed);
        EXPECT_EQ(canvas.At(19, 40), kWhite);
        EXPECT_EQ(canvas.At(60, 40), kWhite);
        EXPECT_EQ(canvas.At(40, 60), kWhite);
    }
}

TEST(Renderer, StageKeepsItsAspectInAWiderTarget) {
    // 200 x 100 target: the 100 x 100 stage is drawn at x 50..150.
    Canvas canvas = Draw(SquareMovie(), 200, 100);
    EXPECT_EQ(canvas.At(70, 20), kRed);
    EXPECT_EQ(canvas.At(109, 59), kRed);
    EXPECT_EQ(canvas.At(69, 40), kWhite);
    EXPECT_EQ(CountPixels(canvas, kRed), 40 * 40);
    // Scaled up twice into a 200 x 300 target, centred vertically.
    Canvas tall = Draw(SquareMovie(), 200, 300);
    EXPECT_EQ(CountPixels(tall, kRed), 80 * 80);
    EXPECT_EQ(tall.At(40, 90), kRed);
    EXPECT_EQ(tall.At(40, 89), kWhite);
}

TEST(Renderer, SmoothedEdgesHaveIntermediateValues) {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ShapeBuilder triangle;
    triangle.SetFill0(triangle.AddSolidFill({0, 0, 0, 255}));
    triangle.MoveTo(200, 200);
    triangle.LineTo(1800, 600);
    triangle.LineTo(600, 1800);
    triangle.LineTo(200, 200);
    movie.DefineShape(1, triangle);
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    auto greys = [](const Canvas& canvas) {
        int count = 0;
        for (uint32_t p : canvas.pixels) count += p != kWhite && p != 0xFF000000u;
        return count;
    };
    EXPECT_GT(greys(Draw(movie, 100, 100, Quality::High)), 40);
    EXPECT_GT(greys(Draw(movie, 100, 100, Quality::Medium)), 40);
    EXPECT_EQ(greys(Draw(movie, 100, 100, Quality::Low)), 0);
}

// High quality takes four samples per pixel: over white, black edges land on
// quarter levels only, and pairs of abutting fills of one colour show no
// seam between them.
TEST(Renderer, HighQualityEdgesTakeQuarterLevels) {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ShapeBuilder halves;
    int left = halves.AddSolidFill({0, 0, 0, 255});
    int right = halves.AddSolidFill({0, 0, 0, 255});
    // The left half, clockwise, then the right half's other two edges.
    halves.SetFill1(left);
    halves.MoveTo(200, 200);
    halves.LineTo(1000, 300);
    halves.SetFill0(right);
    halves.LineTo(900, 1800);
    halves.SetFill0(0);
    halves.LineTo(200, 200);
    halves.SetFill1(right);
    halves.MoveTo(1000, 300);
    halves.LineTo(1800, 1000);
    halves.LineTo(900, 1800);
    movie.DefineShape(1, halves);
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100, Quality::High);
    int greys = 0;
    for (uint32_t p : canvas.pixels) {
        int level = static_cast<int>(p & 0xFF);
        EXPECT_TRUE(level == 0 || level == 255 || std::abs(level - 64) <= 1 || std::abs(level - 128) <= 1 ||
                    std::abs(level - 191) <= 1)
            << level;
        greys += level != 0 && level != 255;
    }
    EXPECT_GT(greys, 40);
    // Along the edge the two fills share, from (50, 15) to (45, 90).
    for (int y = 30; y < 70; ++y) EXPECT_EQ(canvas.At(50 - 5 * (y - 15) / 75, y), 0xFF000000u) << y;
}

TEST(Renderer, ColorTransformTintsAndFades) {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({0, 0, 255, 255});
    DefineBox(movie, 1, 0, 0, 50, 100, {255, 255, 255, 255});
    flash::PlaceArgs tinted = NewAt(1, 1);
    flash::ColorTransform to_red;
    to_red.gm = to_red.bm = 0;
    tinted.color = to_red;
    movie.PlaceObject(tinted);
    flash::PlaceArgs faded = NewAt(2, 1, 50, 0);
    flash::ColorTransform half;
    half.am = 128;
    faded.color = half;
    movie.PlaceObject(faded);
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100);
    EXPECT_EQ(canvas.At(25, 50), kRed);
    uint32_t mixed = canvas.At(75, 50);
    EXPECT_NEAR(static_cast<int>((mixed >> 16) & 0xFF), 128, 2);
    EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 255, 1);
}

TEST(Renderer, LinesHaveTheirWidth) {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ShapeBuilder line;
    line.SetLine(line.AddLineStyle(200, {0, 0, 255, 255}));  // 10 pixels
    line.MoveTo(400, 1000);
    line.LineTo(1600, 1000);
    movie.DefineShape(1, line);
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100);
    EXPECT_EQ(canvas.At(50, 45), kBlue);
    EXPECT_EQ(canvas.At(50, 54), kBlue);
    EXPECT_EQ(canvas.At(50, 44), kWhite);
    EXPECT_EQ(canvas.At(50, 55), kWhite);
    EXPECT_EQ(canvas.At(22, 50), kBlue);  // round cap beyond the end
    EXPECT_EQ(canvas.At(50, 50), kBlue);
}

// A smoothed two-pixel outline of a square rounds its corners: the pixel
// just outside a corner is half covered, and so is the pixel past an open
// end, where the round cap reaches.
TEST(Renderer, ThinSmoothedOutlinesRoundTheirCornersAndEnds) {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ShapeBuilder outline;
    outline.SetLine(outline.AddLineStyle(40, {0, 0, 0, 255}));
    outline.MoveTo(400, 400);
    outline.LineTo(1000, 400);
    outline.LineTo(1000, 1000);
    outline.LineTo(400, 1000);
    outline.LineTo(400, 400);
    outline.MoveTo(400, 1600);
    outline.LineTo(1000, 1600);
    movie.DefineShape(1, outline);
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100);
    int corner = static_cast<int>(canvas.At(50, 50) & 0xFF);
    EXPECT_GT(corner, 100);
    EXPECT_LT(corner, 155);
    EXPECT_EQ(canvas.At(49, 49) & 0xFFFFFF, 0u);
    EXPECT_EQ(canvas.At(49, 79) & 0xFFFFFF, 0u);
    int end = static_cast<int>(canvas.At(50, 79) & 0xFF);  // the round cap past the line's end
    EXPECT_GT(end, 60);
    EXPECT_LT(end, 195);
    EXPECT_EQ(canvas.At(51, 79), kWhite);
}

TEST(Renderer, OnePixelOutlinesCoverTheirCornersLikeABox) {
    // A one-pixel outline reaches over the box's top-left corner but not
    // past its bottom-right one, where the round join leaves one sample.
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ShapeBuilder outline;
    outline.SetLine(outline.AddLineStyle(20, {0, 0, 0, 255}));
    outline.MoveTo(210, 600);
    outline.LineTo(210, 200);
    outline.LineTo(610, 200);
    outline.LineTo(610, 600);
    outline.LineTo(210, 600);
    movie.DefineShape(1, outline);
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100);
    auto level = [&](int x, int y) { return static_cast<int>(canvas.At(x, y) & 0xFF); };
    EXPECT_NEAR(level(10, 9), 128, 8);   // two of four samples
    EXPECT_NEAR(level(30, 30), 192, 8);  // one of four
    EXPECT_EQ(level(30, 20), 0);         // the right side covers its column
    EXPECT_NEAR(level(20, 10), 128, 8);  // the top side straddles two rows
}

// A bitmap character placed by itself shows its pixels from the origin.
TEST(Renderer, PlacedBitmapShowsItsPixels) {
    flash::SwfWriter movie(8, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    movie.DefineBitsLossless2(1, 2, 2, {kRed, kBlue, kBlue, kRed});
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100, Quality::Low);
    EXPECT_EQ(canvas.At(0, 0), kRed);
    EXPECT_EQ(canvas.At(1, 0), kBlue);
    EXPECT_EQ(canvas.At(1, 1), kRed);
    EXPECT_EQ(canvas.At(2, 0), kWhite);
}

TEST(Renderer, ShapeWithAHoleLeavesTheHoleOpen) {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ShapeBuilder ring;
    int red = ring.AddSolidFill({255, 0, 0, 255});
    ring.Rectangle(0, 0, 2000, 2000, red);
    ring.Rectangle(500, 500, 1000, 1000, red);  // same direction, even-odd
    movie.DefineShape(1, ring);
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100);
    EXPECT_EQ(canvas.At(10, 10), kRed);
    EXPECT_EQ(canvas.At(50, 50), kWhite);
}

// A fill whose path never closes stays on past its last edge, up to the
// rightmost edge anything on the stage has on that row; alone it paints
// nothing past its own edges.
TEST(Renderer, OpenFillRunsOnToTheLastEdgeOfItsRow) {
    auto movie = [](bool with_box) {
        flash::SwfWriter movie(6, 100, 100, 12);
        movie.SetBackgroundColor({255, 255, 255, 255});
        flash::ShapeBuilder open;
        open.SetFill1(open.AddSolidFill({0, 0, 255, 255}));
        open.MoveTo(400, 200);
        open.LineTo(400, 600);
        movie.DefineShape(1, open);
        movie.PlaceObject(NewAt(1, 1));
        if (with_box) {
            DefineBox(movie, 2, 60, 0, 20, 20, {255, 0, 0, 255});
            movie.PlaceObject(NewAt(2, 2));
        }
        movie.ShowFrame();
        return movie;
    };
    for (Quality quality : {Quality::Low, Quality::High}) {
        Canvas boxed = Draw(movie(true), 100, 100, quality);
        EXPECT_EQ(boxed.At(30, 15), kBlue);
        EXPECT_EQ(boxed.At(70, 15), kRed);
        EXPECT_EQ(boxed.At(90, 15), kWhite);
        EXPECT_EQ(boxed.At(30, 25), kWhite);  // below its edge
        EXPECT_EQ(CountPixels(Draw(movie(false), 100, 100, quality), kWhite), 100 * 100);
    }
}

// Placing another character at a shape's depth without moving leaves the
// shape on show below it; removing the depth takes both away.
TEST(Renderer, ShapeStaysBelowWhatIsPlacedAtItsDepth) {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    DefineBox(movie, 1, 0, 0, 20, 20, {255, 0, 0, 255});
    DefineBox(movie, 2, 50, 50, 20, 20, {0, 0, 255, 255});
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    movie.PlaceObject(NewAt(1, 2));
    movie.ShowFrame();
    movie.RemoveObject(1);
    movie.ShowFrame();
    Player player;
    player.Load(Load(movie));
    Canvas canvas;
    canvas.Resize(100, 100);
    flash::Renderer renderer;
    player.Advance();
    renderer.Render(player, flash::View{}, Quality::Low, canvas);
    EXPECT_EQ(canvas.At(10, 10), kRed);
    EXPECT_EQ(canvas.At(60, 60), kBlue);
    player.Advance();
    renderer.Render(player, flash::View{}, Quality::Low, canvas);
    EXPECT_EQ(CountPixels(canvas, kWhite), 100 * 100);
}

TEST(Renderer, ScriptsMoveAndScaleTheRoot) {
    // _root._x = 10; _root._xscale = 50: the square spans x 20..40.
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    DefineBox(movie, 1, 20, 20, 40, 40, {255, 0, 0, 255});
    movie.PlaceObject(NewAt(1, 1));
    flash::ActionWriter script;
    script.Push("_root").GetVariable().Push("_x").Push(10).SetMember();
    script.Push("_root").GetVariable().Push("_xscale").Push(50).SetMember();
    movie.DoAction(script);
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100, Quality::Low);
    EXPECT_EQ(CountPixels(canvas, kRed), 20 * 40);
    EXPECT_EQ(canvas.At(20, 20), kRed);
    EXPECT_EQ(canvas.At(39, 59), kRed);
    EXPECT_EQ(canvas.At(40, 40), kWhite);
}

TEST(Renderer, FillsOfAShapeSplitThePixelsOfTheirSharedEdge) {
    // Red left of x = 10.5 px, blue right of it, 20 px high: the pixels
    // the edge crosses are half red, half blue, with no white between.
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ShapeBuilder shape;
    int red = shape.AddSolidFill({255, 0, 0, 255}), blue = shape.AddSolidFill({0, 0, 255, 255});
    shape.SetFill0(red);
    shape.MoveTo(0, 0);
    shape.LineTo(210, 0);
    shape.SetFill1(blue);
    shape.LineTo(210, 400);
    shape.SetFill1(0);
    shape.LineTo(0, 400);
    shape.LineTo(0, 0);
    shape.SetFill0(blue);
    shape.MoveTo(210, 0);
    shape.LineTo(400, 0);
    shape.LineTo(400, 400);
    shape.LineTo(210, 400);
    movie.DefineShape(1, shape);
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100);
    uint32_t seam = canvas.At(10, 10);
    EXPECT_EQ((seam >> 8) & 0xFF, 0u);            // nothing of the white below
    EXPECT_NEAR(static_cast<int>((seam >> 16) & 0xFF), 128, 2);
    EXPECT_NEAR(static_cast<int>(seam & 0xFF), 128, 2);
    EXPECT_EQ(canvas.At(5, 10), kRed);
    EXPECT_EQ(canvas.At(15, 10), kBlue);
}

TEST(Renderer, ZoomFiftyDoublesAroundTheCentre) {
    Player player;
    player.Load(Load(SquareMovie()));
    flash::View view;
    view.Zoom(*player.movie(), 50);
    Canvas canvas;
    canvas.Resize(100, 100);
    flash::Renderer renderer;
    renderer.Render(player, view, Quality::High, canvas);
    // (20..60) around the centre 50 becomes (-10..70).
    EXPECT_EQ(CountPixels(canvas, kRed), 70 * 70);
    EXPECT_EQ(canvas.At(0, 0), kRed);
    EXPECT_EQ(canvas.At(69, 69), kRed);
    EXPECT_EQ(canvas.At(70, 69), kWhite);

    view.Zoom(*player.movie(), 200);
    renderer.Render(player, view, Quality::High, canvas);
    EXPECT_EQ(CountPixels(canvas, kRed), 40 * 40);
    view.Zoom(*player.movie(), 200);
    renderer.Render(player, view, Quality::High, canvas);
    EXPECT_EQ(CountPixels(canvas, kRed), 20 * 20);  // twice the stage shown
    view.Zoom(*player.movie(), 0);
    renderer.Render(player, view, Quality::High, canvas);
    EXPECT_EQ(CountPixels(canvas, kRed), 40 * 40);
}

TEST(Renderer, LinearGradientRunsBetweenItsStops) {
    flash::Rgba black{0, 0, 0, 255}, white{255, 255, 255, 255};
    flash::FillStyle fill;
    fill.kind = flash::FillKind::LinearGradient;
    fill.stops = {{0, black}, {255, white}};
    // The gradient square scaled to span x 0..100 pixels.
    flash::Matrix m;
    m.a = m.d = 100.0 / 32768;
    m.tx = 50;
    m.ty = 50;
    flash::GradientPaint paint(fill, m, flash::ColorTransform{});
    ASSERT_TRUE(paint.Valid());
    std::vector<uint32_t> row(100, 0xFF808080u);
    std::vector<float> coverage(100, 1.0f);
    paint.Blend(row.data(), 0, 0, 100, coverage.data());
    EXPECT_LT(row[0] & 0xFF, 5u);
    EXPECT_NEAR(static_cast<int>(row[50] & 0xFF), 128, 4);
    EXPECT_GT(row[99] & 0xFF, 250u);
}

TEST(Renderer, FocalGradientStartsAtItsFocalPoint) {
    flash::Rgba black{0, 0, 0, 255}, white{255, 255, 255, 255};
    flash::FillStyle fill;
    fill.kind = flash::FillKind::FocalGradient;
    fill.focal = 0.5;
    fill.stops = {{0, black}, {255, white}};
    // A circle of radius 100 pixels centred at (100, 0): the focal point
    // lies at x 150, the circle's edge at x 0 and 200.
    flash::Matrix m;
    m.a = m.d = 100.0 / 16384;
    m.tx = 100;
    flash::GradientPaint paint(fill, m, flash::ColorTransform{});
    std::vector<uint32_t> row(200, 0xFF808080u);
    std::vector<float> coverage(200, 1.0f);
    paint.Blend(row.data(), 0, 0, 200, coverage.data());
    EXPECT_LT(row[150] & 0xFF, 5u);
    EXPECT_NEAR(static_cast<int>(row[175] & 0xFF), 128, 4);  // halfway to the near edge
    EXPECT_NEAR(static_cast<int>(row[75] & 0xFF), 128, 4);   // halfway to the far edge
    EXPECT_GT(row[0] & 0xFF, 250u);
    EXPECT_GT(row[199] & 0xFF, 250u);
}

TEST(Renderer, NoMovieDrawsWhite) {
    Player player;
    Canvas canvas;
    canvas.Resize(10, 10);
    flash::Renderer renderer;
    renderer.Render(player, flash::View{}, Quality::High, canvas);
    EXPECT_EQ(CountPixels(canvas, kWhite), 100);
}

}  // namespace

TEST(Renderer, InverseUndoesAMatrixAndFlatMatricesHaveNone) {
    flash::Matrix m{2, 0.5, -1, 3, 40, -20};
    std::optional<flash::Matrix> inverse = flash::Inverse(m);
    ASSERT_TRUE(inverse);
    flash::Matrix identity = flash::Multiply(*inverse, m);
    EXPECT_NEAR(identity.a, 1, 1e-12);
    EXPECT_NEAR(identity.b, 0, 1e-12);
    EXPECT_NEAR(identity.c, 0, 1e-12);
    EXPECT_NEAR(identity.d, 1, 1e-12);
    EXPECT_NEAR(identity.tx, 0, 1e-9);
    EXPECT_NEAR(identity.ty, 0, 1e-9);
    EXPECT_FALSE(flash::Inverse(flash::Matrix{1, 2, 2, 4, 0, 0}));   // both axes on one line
    EXPECT_FALSE(flash::Inverse(flash::Matrix{1e200, 0, 0, 1e200, 0, 0}));  // determinant overflows
}

namespace {

// Static text in a font without outlines (DefineFont2 with an empty glyph
// for "A" named Arial): drawn with the system's Arial, 40 px high at (10, 60).
flash::SwfWriter DeviceTextMovie() {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    std::vector<uint8_t> font = {1, 0, 0x04, 0, 5, 'A', 'r', 'i', 'a', 'l', 1, 0,
                                 4, 0, 6, 0,        // offset of the glyph, of the code table
                                 0x10, 0x00,        // an empty shape
                                 'A', 0};
    movie.Tag(48, font);
    std::vector<uint8_t> body = {2, 0};   // character 2
    flash::BitWriter bounds;
    bounds.UB(15, 5), bounds.SB(0, 15), bounds.SB(2000, 15), bounds.SB(0, 15), bounds.SB(2000, 15);
    for (uint8_t b : bounds.Bytes()) body.push_back(b);
    body.push_back(0);                 // identity matrix
    body.push_back(1);                 // glyph bits
    body.push_back(12);                // advance bits
    // Font 1, black, at x 200 and baseline 1200 twips, 800 twips high.
    body.insert(body.end(), {0x8F, 1, 0, 0, 0, 0, 0xC8, 0, 0xB0, 0x04, 0x20, 0x03});
    flash::BitWriter glyphs;
    glyphs.UB(1, 8);                   // one glyph
    glyphs.UB(0, 1), glyphs.SB(600, 12);
    for (uint8_t b : glyphs.Bytes()) body.push_back(b);
    body.push_back(0);
    movie.Tag(11, body);
    movie.PlaceObject(NewAt(1, 2));
    movie.ShowFrame();
    return movie;
}

}  // namespace

TEST(Renderer, StaticTextWithoutOutlinesUsesTheSystemsFont) {
    if (!flash::DeviceFont("Arial", false, false)) GTEST_SKIP() << "no system font";
    Canvas canvas = Draw(DeviceTextMovie(), 100, 100);
    int dark = 0;
    for (int y = 30; y < 60; ++y)
        for (int x = 10; x < 40; ++x)
            if ((canvas.pixels[static_cast<size_t>(y * canvas.width + x)] & 0xFF) < 128) ++dark;
    EXPECT_GT(dark, 40);   // the strokes of an A
}

TEST(Renderer, TextShowsOnlyInsideItsFieldsBox) {
    if (!flash::DeviceFont("Times New Roman", false, false)) GTEST_SKIP() << "no system font";
    // createTextField("t", 1, 0, 0, 12, 12); t.text = "WWWW": 20 px
    // letters cut at the field's right and bottom edges.
    flash::SwfWriter movie(8, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    flash::ActionWriter script;
    script.Push(12).Push(12).Push(0).Push(0).Push(1).Push("t").Push(6).Push("this").GetVariable();
    script.Push("createTextField").CallMethod().Pop();
    script.Push("t").GetVariable().Push("text").Push("WWWW").SetMember();
    script.Push("fmt").Push(0).Push("TextFormat").Op(0x40).SetVariable();     // new TextFormat()
    script.Push("fmt").GetVariable().Push("size").Push(20).SetMember();
    script.Push("fmt").GetVariable().Push(1).Push("t").GetVariable().Push("setTextFormat").CallMethod().Pop();
    movie.DoAction(script);
    movie.ShowFrame();
    Canvas canvas = Draw(movie, 100, 100);
    int inside = 0, outside = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (canvas.At(x, y) != kWhite) ++(x < 12 && y < 12 ? inside : outside);
    EXPECT_GT(inside, 5);
    EXPECT_EQ(outside, 0);
}
