// Characters beyond plain shapes: static text drawn with an embedded font,
// the text of HTML fields, masks, bitmaps and shape tweens.
#include "flash_test_movies.h"

#include "flash/morph_reader.h"
#include "flash/player.h"
#include "flash/renderer.h"
#include "flash/text_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using flash::BitWriter;
using flash::Canvas;
using flash_test::DefineBox;
using flash_test::Load;
using flash_test::NewAt;

constexpr uint32_t kRed = 0xFFFF0000u, kWhite = 0xFFFFFFFFu, kGreen = 0xFF00FF00u;

Canvas Draw(const flash::SwfWriter& movie) {
    flash::Player player;
    player.Load(Load(movie));
    Canvas canvas;
    canvas.Resize(100, 100);
    flash::Renderer renderer;
    renderer.Render(player, flash::View{}, flash::Quality::High, canvas);
    return canvas;
}

void Append(std::vector<uint8_t>& out, std::initializer_list<int> bytes) {
    for (int b : bytes) out.push_back(static_cast<uint8_t>(b));
}

// DefineFont 1 with one glyph: the square (0, -1024) to (512, 0) in em units.
std::vector<uint8_t> SquareFont() {
    BitWriter glyph;
    glyph.UB(1, 4);  // fill bits
    glyph.UB(0, 4);  // line bits
    glyph.UB(0b000011, 6);  // style change: fill0, move to
    glyph.UB(13, 5);
    glyph.SB(0, 13);
    glyph.SB(-1024, 13);
    glyph.UB(1, 1);  // fill0 = 1
    for (auto [dx, dy] : {std::pair{512, 0}, {0, 1024}, {-512, 0}, {0, -1024}}) {
        glyph.UB(0b11, 2);  // straight edge
        glyph.UB(12 - 2, 4);
        glyph.UB(1, 1);  // general line
        glyph.SB(dx, 12);
        glyph.SB(dy, 12);
    }
    glyph.UB(0, 6);
    std::vector<uint8_t> body;
    Append(body, {1, 0, 2, 0});  // font id 1, offset of the only glyph
    const auto& bytes = glyph.Bytes();
    body.insert(body.end(), bytes.begin(), bytes.end());
    return body;
}

// DefineText 1: two glyphs of 1000 twips (50 px) at (0, 1000), red, the
// second one 1000 twips on.
std::vector<uint8_t> TwoGlyphText() {
    std::vector<uint8_t> body;
    Append(body, {2, 0});     // text id 2
    Append(body, {0x00});     // bounds: empty rect
    Append(body, {0x00});     // identity matrix
    Append(body, {1, 11});    // glyph bits, advance bits
    Append(body, {0x8E, 1, 0, 255, 0, 0, 0xE8, 0x03, 0xE8, 0x03, 2});  // font, colour, y, height, 2 glyphs
    BitWriter glyphs;
    glyphs.UB(0, 1);
    glyphs.SB(1000, 11);
    glyphs.UB(0, 1);
    glyphs.SB(1000, 11);
    const auto& bytes = glyphs.Bytes();
    body.insert(body.end(), bytes.begin(), bytes.end());
    Append(body, {0});
    return body;
}

TEST(Text, StaticTextDrawsItsGlyphsInTheTextColour) {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    movie.Tag(10, SquareFont());
    movie.Tag(11, TwoGlyphText());
    movie.PlaceObject(NewAt(1, 2));
    movie.ShowFrame();
    Canvas canvas = Draw(movie);
    // Each glyph is 25 x 50 pixels above the baseline y = 50.
    EXPECT_EQ(canvas.At(10, 20), kRed);
    EXPECT_EQ(canvas.At(30, 20), kWhite);
    EXPECT_EQ(canvas.At(60, 20), kRed);
    EXPECT_EQ(canvas.At(60, 60), kWhite);
}

TEST(Text, HtmlFieldTextLosesItsTags) {
    EXPECT_EQ(flash::PlainTextOfHtml("<p align=\"left\"><font color=\"#ff0000\">red</font> &amp; blue</p>"),
              "red & blue");
    EXPECT_EQ(flash::PlainTextOfHtml("one<BR>two<br/>three"), "one\ntwo\nthree");
    EXPECT_EQ(flash::PlainTextOfHtml("cut <b"), "cut ");
}

TEST(Masks, ShowMaskedObjectsOnlyInsideTheMask) {
    flash::SwfWriter movie(6, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    DefineBox(movie, 1, 0, 0, 50, 100, {0, 0, 0, 255});      // the mask: left half
    DefineBox(movie, 2, 0, 0, 100, 50, {255, 0, 0, 255});    // masked: top half
    DefineBox(movie, 3, 0, 50, 100, 50, {0, 255, 0, 255});   // above the mask: bottom half
    flash::PlaceArgs mask = NewAt(1, 1);
    mask.clip_depth = 2;
    movie.PlaceObject(mask);
    movie.PlaceObject(NewAt(2, 2));
    movie.PlaceObject(NewAt(3, 3));
    movie.ShowFrame();
    Canvas canvas = Draw(movie);
    EXPECT_EQ(canvas.At(25, 25), kRed);     // masked, inside the mask
    EXPECT_EQ(canvas.At(75, 25), kWhite);   // masked, outside: the mask itself is not drawn
    EXPECT_EQ(canvas.At(75, 75), kGreen);   // above the clip depth
    EXPECT_EQ(canvas.At(25, 75), kGreen);
}

}  // namespace

namespace {

TEST(Bitmaps, LosslessBitmapFillsAShape) {
    // Red, green / blue, half-transparent white.
    std::vector<uint32_t> pixels{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0x80FFFFFFu};
    flash::SwfWriter movie(8, 100, 100, 12);
    movie.SetBackgroundColor({0, 0, 0, 255});
    movie.DefineBitsLossless2(1, 2, 2, pixels);
    flash::ShapeBuilder shape;
    flash::Matrix scale;
    scale.a = scale.d = 1000;  // one bitmap pixel: 50 x 50 pixels
    shape.Rectangle(0, 0, 2000, 2000, shape.AddBitmapFill(1, scale, false, false));
    movie.DefineShape(2, shape);
    movie.PlaceObject(NewAt(1, 2));
    movie.ShowFrame();
    Canvas canvas = Draw(movie);
    EXPECT_EQ(canvas.At(10, 10), kRed);
    EXPECT_EQ(canvas.At(90, 10), kGreen);
    EXPECT_EQ(canvas.At(10, 90), 0xFF0000FFu);
    uint32_t grey = canvas.At(90, 90);
    EXPECT_NEAR(static_cast<int>(grey & 0xFF), 128, 2);
}

TEST(Bitmaps, BitmapLargerThanItsDataIsRefused) {
    flash::SwfWriter movie(8, 100, 100, 12);
    movie.DefineBitsLossless2(1, 2, 2, {1, 2, 3, 4});
    std::vector<uint8_t> file = movie.Finish();
    const uint8_t header[] = {1, 0, 5, 2, 0, 2, 0};  // id 1, 32-bit pixels, 2 x 2
    auto at = std::search(file.begin(), file.end(), std::begin(header), std::end(header));
    ASSERT_NE(at, file.end());
    at[4] = 0x01;  // width 258: more pixels than the data holds
    EXPECT_NE(flash::LoadMovie(movie.Finish()).Find(1), nullptr);
    flash::Movie loaded = flash::LoadMovie(file);
    EXPECT_EQ(loaded.Find(1), nullptr);
}

}  // namespace

namespace {

TEST(Morphs, ShapeAtARatioLiesBetweenStartAndEnd) {
    flash::MorphShape morph;
    morph.start.layers.emplace_back();
    flash::FillStyle red;
    red.color = {255, 0, 0, 255};
    flash::FillStyle blue;
    blue.color = {0, 0, 255, 255};
    morph.start.layers[0].fills.push_back(red);
    morph.end_fills.push_back(blue);
    flash::ShapeEdge straight;
    straight.x1 = 1000;
    straight.fill0 = 1;
    morph.start.layers[0].edges.push_back(straight);
    flash::ShapeEdge curve;
    curve.curved = true;
    curve.cx = 1000;
    curve.cy = 1000;
    curve.x1 = 3000;
    morph.end_edges.push_back(curve);

    flash::Shape half = flash::MorphAt(morph, 32768);
    const flash::ShapeEdge& edge = half.layers[0].edges[0];
    EXPECT_TRUE(edge.curved);
    EXPECT_EQ(edge.x1, 2000);
    EXPECT_EQ(edge.cx, 750);   // halfway between 500 (the line's middle) and 1000
    EXPECT_EQ(edge.cy, 500);
    EXPECT_EQ(half.layers[0].fills[0].color.r, 127);
    EXPECT_EQ(half.layers[0].fills[0].color.b, 128);
    EXPECT_EQ(flash::MorphAt(morph, 0).layers[0].edges[0].x1, 1000);
    EXPECT_EQ(flash::MorphAt(morph, 65535).layers[0].edges[0].x1, 3000);
}

}  // namespace
