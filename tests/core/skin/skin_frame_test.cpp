#include <gtest/gtest.h>

#include "skin/skin_frame.h"
#include "skin/skin_paint.h"

namespace {

// A bitmap whose every pixel tells its own place: 0x00XXYY.
SkinBitmap Numbered(int w, int h) {
    SkinBitmap b;
    b.Resize(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) b.Set(x, y, static_cast<uint32_t>(x << 8 | y));
    return b;
}

SkinBitmap Solid(int w, int h, uint32_t colour) {
    SkinBitmap b;
    b.Resize(w, h, colour);
    return b;
}

void SetBorder(TSkinData& skin, SkinBorderIndex index, SkinBitmap image, int frames, int trans) {
    skin.Borders[index].Bitmap = std::move(image);
    skin.Borders[index].FrameCount = frames;
    skin.Borders[index].Trans = trans;
    skin.Borders[index].Tile = 1;
}

TDataSkinSysButton Button(int action, int visibility, int visibility1 = 0) {
    TDataSkinSysButton b;
    b.Action = action;
    b.Visibility = visibility;
    b.Visibility1 = visibility1;
    b.Align = 1;
    b.Xcoord = 20;
    b.Bitmap = Solid(54, 18, 0x808080);
    b.FrameCount = 3;
    return b;
}

std::vector<PixelRun> AllRuns(const SkinBitmap& b, int* batches = nullptr) {
    std::vector<PixelRun> runs;
    ScanRegionRuns(b, 0, 0, [&](const std::vector<PixelRun>& batch) {
        EXPECT_LE(batch.size(), kRegionBatch);
        runs.insert(runs.end(), batch.begin(), batch.end());
        if (batches) ++*batches;
    });
    return runs;
}

}  // namespace

TEST(SkinPaint, CutFrameTakesTheNthEqualPart) {
    const SkinBitmap image = Numbered(12, 30);
    const SkinBitmap second = CutFrame(image, 2, 2, FrameAxis::Stacked);
    EXPECT_EQ(second.width, 12);
    EXPECT_EQ(second.height, 15);
    EXPECT_EQ(second.At(3, 0), image.At(3, 15));
    const SkinBitmap third = CutFrame(image, 3, 3, FrameAxis::SideBySide);
    EXPECT_EQ(third.width, 4);
    EXPECT_EQ(third.At(0, 7), image.At(8, 7));
    // Out-of-range frame numbers take the nearest frame.
    EXPECT_EQ(CutFrame(image, 9, 3, FrameAxis::SideBySide).At(0, 0), image.At(8, 0));
    EXPECT_EQ(CutFrame(image, 1, 0, FrameAxis::SideBySide).width, 12);
    EXPECT_TRUE(CutFrame(SkinBitmap{}, 1, 2, FrameAxis::Stacked).Empty());
}

TEST(SkinPaint, NineSliceStretchKeepsCornersAndStretchesEdges) {
    const SkinBitmap frame = Numbered(6, 6);
    const SkinBitmap out = NineSlice(frame, {2, 2, 2, 2}, 20, 10, false);
    ASSERT_EQ(out.width, 20);
    // Corners unscaled.
    EXPECT_EQ(out.At(0, 0), frame.At(0, 0));
    EXPECT_EQ(out.At(19, 9), frame.At(5, 5));
    EXPECT_EQ(out.At(18, 0), frame.At(4, 0));
    // Top edge stretched along x only: rows stay, columns come from 2..3.
    for (int x = 2; x < 18; x++) {
        EXPECT_EQ(out.At(x, 1) & 0xFF, 1u);
        const uint32_t column = out.At(x, 1) >> 8;
        EXPECT_TRUE(column == 2 || column == 3) << x;
    }
    // Centre stretched: first centre pixel from (2, 2), last from (3, 3).
    EXPECT_EQ(out.At(2, 2), frame.At(2, 2));
    EXPECT_EQ(out.At(17, 7), frame.At(3, 3));
}

TEST(SkinPaint, NineSliceTileRepeatsTheCentreFromItsCorner) {
    const SkinBitmap frame = Numbered(7, 7);  // centre 3 x 3 at (2, 2)
    const SkinBitmap out = NineSlice(frame, {2, 2, 2, 2}, 12, 12, true);
    for (int y = 2; y < 10; y++)
        for (int x = 2; x < 10; x++) EXPECT_EQ(out.At(x, y), frame.At(2 + (x - 2) % 3, 2 + (y - 2) % 3));
}

TEST(SkinPaint, NineSliceDropsMarginsThatDoNotFit) {
    const SkinBitmap frame = Numbered(20, 4);
    // 10 wide target, margins 8 + 8: no fixed ends, the whole frame stretched.
    const SkinBitmap out = NineSlice(frame, {8, 0, 8, 0}, 10, 4, false);
    EXPECT_EQ(out.At(0, 0), frame.At(0, 0));
    EXPECT_EQ(out.At(9, 0), frame.At(18, 0));
    EXPECT_EQ(out.At(5, 2), frame.At(10, 2));
    // Margins larger than the frame are cut to it, never read outside.
    const SkinBitmap big = NineSlice(Numbered(3, 3), {9, 9, 9, 9}, 40, 40, true);
    EXPECT_EQ(big.width, 40);
}

TEST(SkinPaint, ThreePartStripRepeatsTheMiddle) {
    const SkinBitmap frame = Numbered(7, 2);  // left 2, middle 3, right 2
    const SkinBitmap out = ThreePartStrip(frame, 2, 2, 12, 2);
    EXPECT_EQ(out.At(1, 0), frame.At(1, 0));
    EXPECT_EQ(out.At(11, 1), frame.At(6, 1));
    for (int x = 2; x < 10; x++) EXPECT_EQ(out.At(x, 0) >> 8, static_cast<uint32_t>(2 + (x - 2) % 3)) << x;
}

TEST(SkinPaint, TransparentDrawLeavesTheKeyColourOut) {
    SkinBitmap dst = Solid(4, 1, 0x111111), src = Solid(3, 1, 0x222222);
    src.Set(1, 0, kSkinKeyColour);
    DrawBitmap(dst, 1, 0, src, true);
    EXPECT_EQ(dst.At(0, 0), 0x111111u);
    EXPECT_EQ(dst.At(1, 0), 0x222222u);
    EXPECT_EQ(dst.At(2, 0), 0x111111u);
    EXPECT_EQ(dst.At(3, 0), 0x222222u);  // the last pixel falls outside: left out
    EXPECT_TRUE(IsRegionKey(0xFF00FF));
    EXPECT_TRUE(IsRegionKey(0xFF01FF));
    EXPECT_FALSE(IsRegionKey(0xFF02FF));
    EXPECT_FALSE(IsRegionKey(0xFE00FF));
}

TEST(SkinRegion, RunsCoverEveryKeptPixelOnce) {
    SkinBitmap b = Solid(10, 3, 0x101010);
    b.Set(0, 0, 0xFF00FF);
    b.Set(4, 0, 0xFF01FF);
    b.Set(5, 0, 0xFF00FF);
    for (int x = 0; x < 10; x++) b.Set(x, 2, 0xFF00FF);
    const std::vector<PixelRun> runs = AllRuns(b);
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].x, 1);
    EXPECT_EQ(runs[0].width, 3);
    EXPECT_EQ(runs[1].x, 6);
    EXPECT_EQ(runs[1].width, 4);
    EXPECT_EQ(runs[2].y, 1);
    EXPECT_EQ(runs[2].width, 10);
}

TEST(SkinRegion, RunsComeInBatchesOf2000) {
    SkinBitmap b = Solid(9, 1000, 0x101010);
    for (int y = 0; y < 1000; y++)
        for (int x = 1; x < 9; x += 2) b.Set(x, y, 0xFF00FF);  // 5 runs a row
    int batches = 0;
    EXPECT_EQ(AllRuns(b, &batches).size(), 5000u);
    EXPECT_EQ(batches, 3);
}

TEST(SkinFrame, MetricsComeFromTheBorderImagesPerFrame) {
    TSkinData skin;
    SetBorder(skin, kBorderTop, Solid(40, 30, 1), 2, 0);
    SetBorder(skin, kBorderLeft, Solid(8, 40, 1), 2, 0);
    SetBorder(skin, kBorderRight, Solid(9, 40, 1), 3, 0);
    SetBorder(skin, kBorderBottom, Solid(40, 4, 1), 1, 0);
    const FrameMetrics m = ComputeFrameMetrics(skin, FrameKind::Sizeable);
    EXPECT_EQ(m.TitleHeight, 15);
    EXPECT_EQ(m.LeftWidth, 4);
    EXPECT_EQ(m.RightWidth, 3);
    EXPECT_EQ(m.BottomHeight, 4);
    const FrameMetrics none = ComputeFrameMetrics(skin, FrameKind::CaptionlessPopup);
    EXPECT_EQ(none.TitleHeight + none.LeftWidth + none.RightWidth + none.BottomHeight, 0);
}

TEST(SkinFrame, InactiveBordersTakeTheSecondFrame) {
    TSkinData skin;
    SkinBitmap top = Solid(10, 8, 0xAAAAAA);
    for (int x = 0; x < 10; x++)
        for (int y = 4; y < 8; y++) top.Set(x, y, 0x555555);
    SetBorder(skin, kBorderTop, top, 2, 0);
    EXPECT_EQ(RenderBorder(skin, kBorderTop, 30, 4, true).At(15, 2), 0xAAAAAAu);
    EXPECT_EQ(RenderBorder(skin, kBorderTop, 30, 4, false).At(15, 2), 0x555555u);
    skin.Borders[kBorderTop].FrameCount = 1;  // one frame: always frame 1
    EXPECT_EQ(RenderBorder(skin, kBorderTop, 30, 4, false).At(15, 1), 0xAAAAAAu);
}

TEST(SkinFrame, ShapeIsARectangleWithoutTransparentBorders) {
    TSkinData skin;
    for (int i = 0; i < 4; i++) SetBorder(skin, static_cast<SkinBorderIndex>(i), Solid(8, 8, 0xFF00FF), 1, 0);
    const FrameMetrics m = ComputeFrameMetrics(skin, FrameKind::Sizeable);
    int runs = 0;
    const WindowShape shape =
        ShapeWindow(skin, m, FrameKind::Sizeable, 100, 80, true, nullptr, [&](auto& b) { runs += int(b.size()); });
    EXPECT_TRUE(shape.rectangular);
    EXPECT_EQ(runs, 0);
}

TEST(SkinFrame, ShapeLeavesMagentaCornersOut) {
    TSkinData skin;
    SkinBitmap top = Solid(20, 10, 0x303030);
    top.Set(0, 0, 0xFF00FF);
    SetBorder(skin, kBorderTop, top, 1, 1);
    skin.Borders[kBorderTop].LeftWidth = 4;
    skin.Borders[kBorderTop].RightWidth = 4;
    SetBorder(skin, kBorderLeft, Solid(2, 10, 0x303030), 1, 0);
    SetBorder(skin, kBorderRight, Solid(2, 10, 0x303030), 1, 0);
    SetBorder(skin, kBorderBottom, Solid(10, 2, 0x303030), 1, 0);
    const FrameMetrics m = ComputeFrameMetrics(skin, FrameKind::Sizeable);
    std::vector<PixelRun> runs;
    const WindowShape shape = ShapeWindow(skin, m, FrameKind::Sizeable, 50, 40, true, nullptr,
                                          [&](auto& b) { runs.insert(runs.end(), b.begin(), b.end()); });
    EXPECT_FALSE(shape.rectangular);
    ASSERT_EQ(shape.rects.size(), 4u);  // inner, left, right, bottom
    EXPECT_EQ(shape.rects[0].top, 10);
    ASSERT_EQ(runs.size(), 10u);        // one run per title row
    EXPECT_EQ(runs[0].x, 3);            // the top-left corner pixel of the Top strip is cut
    EXPECT_EQ(runs[0].width, 45);
    EXPECT_EQ(runs[1].x, 2);
}

TEST(SkinTitleButtons, VisibilityTable) {
    FrameState s;
    s.has_maximize_box = false;
    EXPECT_FALSE(TitleButtonVisible(Button(1, 0), s));  // no maximize box: no Action 1
    EXPECT_TRUE(TitleButtonVisible(Button(2, 0), s));
    EXPECT_FALSE(TitleButtonVisible(Button(2, 6), s));  // minimize beside maximize
    EXPECT_TRUE(TitleButtonVisible(Button(2, 7), s));   // minimize next to close
    s.has_maximize_box = true;
    EXPECT_TRUE(TitleButtonVisible(Button(2, 6, 6), s));
    EXPECT_FALSE(TitleButtonVisible(Button(2, 7), s));
    s.has_system_menu = false;
    EXPECT_FALSE(TitleButtonVisible(Button(0, 0), s));  // close needs a system menu
    EXPECT_FALSE(TitleButtonVisible(Button(2, 6), s));
    EXPECT_TRUE(TitleButtonVisible(Button(2, 0, 6), s));
    s.kind = FrameKind::Other;
    EXPECT_FALSE(TitleButtonVisible(Button(5, 0), s));
    EXPECT_TRUE(TitleButtonVisible(Button(5, 300), s));
    EXPECT_FALSE(TitleButtonVisible(Button(5, 5), s));
    EXPECT_FALSE(TitleButtonVisible(Button(5, 10), s));
    s.state = WindowState::Maximized;
    s.active = false;
    EXPECT_TRUE(TitleButtonVisible(Button(5, 1, 4), s));
    EXPECT_FALSE(TitleButtonVisible(Button(5, 2), s));
    EXPECT_FALSE(TitleButtonVisible(Button(5, 3), s));
    EXPECT_FALSE(TitleButtonVisible(Button(7, 100, 100), s));
    s.mdi_frame_child_maximized = true;
    s.menu_height = 19;
    EXPECT_TRUE(TitleButtonVisible(Button(7, 100, 100), s));
}

TEST(SkinTitleButtons, LayoutByAlign) {
    FrameState s;
    std::vector<TDataSkinSysButton> buttons = {Button(0, 0), Button(5, 0), Button(5, 0), Button(3, 0), Button(5, 0)};
    buttons[0].Xcoord = 24;
    buttons[0].Ycoord = 3;
    buttons[1].Align = 2;
    buttons[1].Xcoord = 4;
    buttons[2].Align = 3;
    buttons[2].Xcoord = 4;
    buttons[3].Align = 0;
    buttons[3].Xcoord = 5;
    buttons[3].Bitmap.Clear();  // the icon button has no image of its own
    buttons[4].Align = 1;
    buttons[4].Visibility = 1;
    buttons[4].Xcoord = 44;
    TitleLayoutInput in;
    in.window_width = 300;
    in.caption = {100, 2, 180, 20};
    in.icon_size = 16;
    int right_max = 0;
    const auto places = LayoutTitleButtons(buttons, s, in, &right_max);
    EXPECT_EQ(places[0].rect.left, 276);
    EXPECT_EQ(places[0].rect.top, 3);
    EXPECT_EQ(places[0].rect.Width(), 18);
    EXPECT_EQ(places[1].rect.left, 100 - 18 - 4);
    EXPECT_EQ(places[2].rect.left, 184);
    EXPECT_TRUE(places[3].shown);
    EXPECT_EQ(places[3].rect.Width(), 16);
    EXPECT_FALSE(places[4].shown);  // Visibility 1: only when maximized
    EXPECT_EQ(right_max, 276);
}

TEST(SkinTitleButtons, FramesByStateAndActivation) {
    TDataSkinSysButton b = Button(0, 0);
    EXPECT_EQ(TitleButtonFrame(b, 1, true), 1);
    EXPECT_EQ(TitleButtonFrame(b, 2, true), 2);
    EXPECT_EQ(TitleButtonFrame(b, 3, true), 3);
    EXPECT_EQ(TitleButtonFrame(b, 1, false), 1);  // 3 frames: no inactive frame
    b.FrameCount = 4;
    EXPECT_EQ(TitleButtonFrame(b, 1, false), 4);
}

TEST(SkinCaption, PlacementAndSpaces) {
    EXPECT_EQ(CaptionText(L"abc"), L"  abc");
    TDataSkinTitle title;
    title.LeftWidth = 22;   // TextShift
    title.TopHeight = 4;    // TextShiftVert
    title.RightWidth = 72;  // TextRightClip
    const SkinRect bar{4, 0, 396, 24};
    SkinRect r = PlaceCaption(title, bar, 40, 14, false, 0);
    EXPECT_EQ(r.left, 26);
    EXPECT_EQ(r.right, 66);
    EXPECT_EQ(r.top, 5 + 2);
    r = PlaceCaption(title, bar, 1000, 14, false, 0);
    EXPECT_EQ(r.right, 396 - 72);  // cut at the right clip
    title.TextAlignment = 1;
    r = PlaceCaption(title, bar, 40, 14, false, 0);
    EXPECT_EQ(r.left, 4 + (392 - 40) / 2);
    // A popup window's caption ends 5 pixels before the right-hand buttons.
    r = PlaceCaption(title, bar, 1000, 14, true, 330);
    EXPECT_EQ(r.right, 325);
}

TEST(SkinColourRef, DirectAndSystemColours) {
    auto system = [](int index) { return static_cast<uint32_t>(0x010000 * index); };
    EXPECT_EQ(SkinColourRef(0x00FF8000, system), 0x00FF8000u);
    EXPECT_EQ(SkinColourRef(kClBtnFace, system), 0x0F0000u);
    EXPECT_EQ(SkinColourRef(-1, system, 7), 7u);
    EXPECT_EQ(SkinColourRef(kTitleColourNotSet, system, 9), 9u);
}
