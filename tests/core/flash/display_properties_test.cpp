// Display object properties scripts set on clips (opaqueBackground,
// scrollRect, cacheAsBitmap, blendMode) and how the renderer draws them.
#include "flash_test_movies.h"

#include "flash/player.h"
#include "flash/renderer.h"

#include <gtest/gtest.h>

namespace {

using flash::ActionWriter;
using flash::Canvas;
using flash::Player;
using flash_test::DefineBox;
using flash_test::Load;
using flash_test::NewAt;

constexpr uint32_t kRed = 0xFFFF0000u, kWhite = 0xFFFFFFFFu;

// A clip named "clip" at (20, 20) holding a red 20 x 20 box at (10, 10) of
// its own space, on a white 100 x 100 stage; script runs in frame 1.
flash::SwfWriter ClipMovie(const ActionWriter& script) {
    flash::SwfWriter movie(8, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    DefineBox(movie, 1, 10, 10, 20, 20, {255, 0, 0, 255});
    flash::TagList sprite;
    sprite.PlaceObject(NewAt(1, 1));
    sprite.ShowFrame();
    movie.DefineSprite(2, sprite);
    flash::PlaceArgs clip = NewAt(1, 2, 20, 20);
    clip.name = "clip";
    movie.PlaceObject(clip);
    movie.DoAction(script);
    movie.ShowFrame();
    return movie;
}

struct Played {
    Player player;
    std::vector<std::string> lines;
    explicit Played(const flash::SwfWriter& movie) {
        player.SetTraceSink([this](const std::string& line) { lines.push_back(line); });
        player.Load(Load(movie));
    }
};

Canvas Draw(Player& player) {
    Canvas canvas;
    canvas.Resize(100, 100);
    flash::Renderer renderer;
    renderer.Render(player, flash::View{}, flash::Quality::Low, canvas);
    return canvas;
}

TEST(DisplayProperties, OpaqueBackgroundFillsTheClipsBounds) {
    ActionWriter script;
    script.Push("clip").GetVariable().Push("opaqueBackground").Push(0x00FF00).SetMember();
    script.Push("clip").GetVariable().Push("opaqueBackground").GetMember().Trace();
    Played run(ClipMovie(script));
    Canvas canvas = Draw(run.player);
    EXPECT_EQ(canvas.At(35, 35), kRed);
    EXPECT_EQ(canvas.At(29, 29), kWhite);  // the bounds are the box's own
    EXPECT_EQ(canvas.At(30, 30), kRed);
    ASSERT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines.back(), "65280");
}

TEST(DisplayProperties, ScrollRectShowsItsPartAtTheClipsOrigin) {
    // Shows the clip's square (15, 15)-(25, 25): the box's corner part,
    // moved to the clip's origin at (20, 20).
    ActionWriter script;
    script.Push("clip").GetVariable().Push("scrollRect");
    script.Push("x").Push(15).Push("y").Push(15).Push("width").Push(10).Push("height").Push(10).Push(4).Op(0x43);
    script.SetMember();
    Played run(ClipMovie(script));
    Canvas canvas = Draw(run.player);
    EXPECT_EQ(canvas.At(19, 25), kWhite);
    EXPECT_EQ(canvas.At(20, 20), kRed);
    EXPECT_EQ(canvas.At(29, 29), kRed);
    EXPECT_EQ(canvas.At(30, 25), kWhite);  // cut at the rectangle's edge
    EXPECT_EQ(canvas.At(25, 30), kWhite);
    EXPECT_EQ(canvas.At(35, 35), kWhite);  // where the box was
}

TEST(DisplayProperties, BlendModeAndCacheReadBackAsSet) {
    ActionWriter script;
    script.Push("clip").GetVariable().Push("blendMode").Push("multiply").SetMember();
    script.Push("clip").GetVariable().Push("blendMode").GetMember().Trace();
    script.Push("clip").GetVariable().Push("cacheAsBitmap").Push(1).SetMember();
    script.Push("clip").GetVariable().Push("cacheAsBitmap").GetMember().Trace();
    Played run(ClipMovie(script));
    ASSERT_EQ(run.lines.size(), 2u);
    EXPECT_EQ(run.lines[0], "multiply");
    EXPECT_EQ(run.lines[1], "true");
}

TEST(DisplayProperties, CachedClipSnapsItsCornerToTheNearestPixel) {
    // The box's corner at 30.5 draws from pixel 30 straight, and from
    // pixel 31 once cached: its bitmap lands on a whole pixel.
    auto movie = [](bool cached) {
        flash::SwfWriter movie(8, 100, 100, 12);
        movie.SetBackgroundColor({255, 255, 255, 255});
        DefineBox(movie, 1, 10, 10, 20, 20, {255, 0, 0, 255});
        flash::TagList sprite;
        sprite.PlaceObject(NewAt(1, 1));
        sprite.ShowFrame();
        movie.DefineSprite(2, sprite);
        flash::PlaceArgs clip = NewAt(1, 2, 20.5, 20.5);
        clip.name = "clip";
        movie.PlaceObject(clip);
        ActionWriter script;
        script.Push("clip").GetVariable().Push("cacheAsBitmap").Push(cached ? 1 : 0).SetMember();
        movie.DoAction(script);
        movie.ShowFrame();
        return movie;
    };
    Played plain(movie(false));
    EXPECT_EQ(Draw(plain.player).At(30, 30), kRed);
    Played cached(movie(true));
    Canvas canvas = Draw(cached.player);
    EXPECT_EQ(canvas.At(30, 30), kWhite);
    EXPECT_EQ(canvas.At(31, 31), kRed);
    EXPECT_EQ(canvas.At(50, 50), kRed);
    EXPECT_EQ(canvas.At(51, 51), kWhite);
}

TEST(DisplayProperties, FilteredClipSnapsItsCornerAsACachedOneDoes) {
    // The same box clip at (20.5, 20.5), placed with a blur too narrow to
    // spread: filters draw through a cached bitmap, so its corner lands on
    // pixel 31.
    flash::SwfWriter movie(8, 100, 100, 12);
    movie.SetBackgroundColor({255, 255, 255, 255});
    DefineBox(movie, 1, 10, 10, 20, 20, {255, 0, 0, 255});
    flash::TagList sprite;
    sprite.PlaceObject(NewAt(1, 1));
    sprite.ShowFrame();
    movie.DefineSprite(2, sprite);
    std::vector<uint8_t> body = {0x06, 0x01, 1, 0, 2, 0};   // character and matrix; filters
    body.insert(body.end(), {0x14, 0xCD, 0x33, 0x40});       // moved by 410 twips both ways
    body.insert(body.end(), {1, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1 << 3});   // blur 1 x 1, one pass
    movie.Tag(70, body);
    movie.ShowFrame();
    Played run(movie);
    Canvas canvas = Draw(run.player);
    EXPECT_EQ(canvas.At(30, 30), kWhite);
    EXPECT_EQ(canvas.At(31, 31), kRed);
    EXPECT_EQ(canvas.At(50, 50), kRed);
    EXPECT_EQ(canvas.At(51, 51), kWhite);
}

TEST(DisplayProperties, SetMaskTakesATargetPathSeenFromTheClipsParent) {
    // A second instance of the box clip, "cover", at (25, 25) masks "clip"
    // when named by its path: only their overlap, (35, 35)-(50, 50), shows.
    ActionWriter script;
    script.Push(2).Push("cover").Push(2).Push("clip").GetVariable().Push("duplicateMovieClip").CallMethod().Pop();
    script.Push("cover").GetVariable().Push("_x").Push(25).SetMember();
    script.Push("cover").GetVariable().Push("_y").Push(25).SetMember();
    script.Push("_root.cover").Push(1).Push("clip").GetVariable().Push("setMask").CallMethod().Pop();
    Played run(ClipMovie(script));
    Canvas canvas = Draw(run.player);
    EXPECT_EQ(canvas.At(32, 32), kWhite);
    EXPECT_EQ(canvas.At(40, 40), kRed);
    EXPECT_EQ(canvas.At(52, 52), kWhite);  // the mask itself is not drawn
}

TEST(DisplayProperties, SetMaskKeepsItsMaskForPathsThatLeadNowhereAndTakesNumbersAsNames) {
    // "cover" masks "clip" by the name 7 given as a number; then a missing
    // path and a plain object leave that mask in place.
    ActionWriter script;
    script.Push(2).Push("cover").Push(2).Push("clip").GetVariable().Push("duplicateMovieClip").CallMethod().Pop();
    script.Push("cover").GetVariable().Push("_x").Push(25).SetMember();
    script.Push("cover").GetVariable().Push("_y").Push(25).SetMember();
    script.Push("_root").GetVariable().Push("7").Push("cover").GetVariable().SetMember();
    script.Push(7).Push(1).Push("clip").GetVariable().Push("setMask").CallMethod().Pop();
    script.Push("nowhere").Push(1).Push("clip").GetVariable().Push("setMask").CallMethod().Pop();
    script.Push(0).Op(0x43).Push(1).Push("clip").GetVariable().Push("setMask").CallMethod().Pop();  // {}
    Played run(ClipMovie(script));
    Canvas canvas = Draw(run.player);
    EXPECT_EQ(canvas.At(32, 32), kWhite);
    EXPECT_EQ(canvas.At(40, 40), kRed);
    EXPECT_EQ(canvas.At(52, 52), kWhite);
}

TEST(DisplayProperties, AttachedBitmapDataShowsItsPixelsAsTheyChange) {
    // A 10 x 10 BitmapData of blue at alpha 0x44 attached to the clip at
    // (20, 20), then half of it filled red after attaching.
    ActionWriter script;
    script.Push("bmd").Push(0x440000BB).Push(1).Push(10).Push(10).Push(4);
    script.Push("flash").GetVariable().Push("display").GetMember().Push("BitmapData").Op(0x53);  // new
    script.SetVariable();
    script.Push(0).Push(1).Push("bmd").GetVariable().Push(2).Push("clip").GetVariable().Push("attachBitmap");
    script.CallMethod().Pop();
    script.Push(0xFFFF0000).Push("x").Push(0).Push("y").Push(0).Push("width").Push(5).Push("height").Push(10);
    script.Push(4).Op(0x43).Push(2).Push("bmd").GetVariable().Push("fillRect").CallMethod().Pop();
    script.Push("clip").GetVariable().Push("_width").GetMember().Trace();
    Played run(ClipMovie(script));
    // The bitmap at 0..10 widens the clip whose box spans 10..30.
    ASSERT_EQ(run.lines.size(), 1u);
    EXPECT_EQ(run.lines[0], "30");
    Canvas canvas = Draw(run.player);
    EXPECT_EQ(canvas.At(22, 25), kRed);
    // Blue over white, blended premultiplied: 255 * (255 - 68) / 255 = 187
    // and 50 + 187 = 237.
    EXPECT_EQ(canvas.At(27, 25), 0xFFBBBBEDu);
    EXPECT_EQ(canvas.At(30, 25), kWhite);
    EXPECT_EQ(canvas.At(35, 35), kRed);  // the clip's own box is still there
}

}  // namespace
