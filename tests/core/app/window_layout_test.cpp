#include "app/window_layout.h"

#include <gtest/gtest.h>

namespace {

constexpr ScreenSize kScreen{1024, 768};

ResizeState Movie(WindowBounds window, bool bordered = true) {
    ResizeState s;
    s.bordered = bordered;
    s.window = window;
    s.screen = kScreen;
    return s;
}

ResizeState Media(WindowBounds window, bool picture) {
    ResizeState s = Movie(window);
    s.media_mode = true;
    s.picture_shown = picture;
    return s;
}

}  // namespace

TEST(WindowLayout, ModesOnATypicalScreen) {
    EXPECT_EQ(FullScreenBounds(kScreen), (WindowBounds{0, 0, 1024, 768}));
    // (768 − 555) / 2 = 106.5: the division truncates.
    EXPECT_EQ(WindowModeBounds(kScreen, 544), (WindowBounds{240, 106, 544, 555}));
    EXPECT_EQ(NoPanelWindowBounds(kScreen, 544), (WindowBounds{240, 122, 544, 524}));
    // The window follows the panel's width.
    EXPECT_EQ(WindowModeBounds({800, 600}, 600).left, 100);
}

TEST(WindowLayout, CentringTruncatesTowardZero) {
    EXPECT_EQ(CentredOffset(1024, 553), 235);
    EXPECT_EQ(CentredOffset(768, 555), 106);
    // A window larger than the screen: −27.5 becomes −27, not −28.
    EXPECT_EQ(CentredOffset(500, 555), -27);
    EXPECT_EQ(WindowModeBounds({640, 480}, 544).top, -37);
}

TEST(WindowLayout, MovieResizeCentresBorderedWindowsFifteenPixelsHigh) {
    ResizePlan plan = PlanResize(Movie({3, 4, 544, 555}));
    EXPECT_EQ(plan.kind, ResizeKind::Movie);
    EXPECT_EQ(plan.bounds, (WindowBounds{240, 91, 544, 555}));

    // Full screen (no border) is centred exactly.
    plan = PlanResize(Movie({17, 9, 1024, 768}, false));
    EXPECT_EQ(plan.bounds, (WindowBounds{0, 0, 1024, 768}));
    plan = PlanResize(Movie({0, 0, 1024, 700}, false));
    EXPECT_EQ(plan.bounds.top, 34);
}

TEST(WindowLayout, SoundOnlyWindowShrinksOnceAndThenStays) {
    ResizePlan plan = PlanResize(Media({100, 50, 1024, 768}, false));
    EXPECT_EQ(plan.kind, ResizeKind::AudioShrink);
    // The size changes, the place does not.
    EXPECT_EQ(plan.bounds, (WindowBounds{100, 50, 555, 150}));

    // The shrink is a size change of its own; the second pass stops.
    EXPECT_EQ(PlanResize(Media(plan.bounds, false)).kind, ResizeKind::AudioKeep);
    // 200 pixels is not taller than the limit; 201 is.
    EXPECT_EQ(PlanResize(Media({0, 0, 555, 200}, false)).kind, ResizeKind::AudioKeep);
    EXPECT_EQ(PlanResize(Media({0, 0, 555, 201}, false)).kind, ResizeKind::AudioShrink);
    // The compact window of an opened sound file is left alone.
    EXPECT_EQ(PlanResize(Media({0, 0, 555, 130}, false)).kind, ResizeKind::AudioKeep);
}

TEST(WindowLayout, VideoIsNeitherMovedNorResized) {
    ResizePlan plan = PlanResize(Media({7, 8, 555, 550}, true));
    EXPECT_EQ(plan.kind, ResizeKind::Video);
    EXPECT_EQ(plan.bounds, (WindowBounds{7, 8, 555, 550}));
    EXPECT_EQ(PlanResize(Media({0, 0, 555, 130}, true)).kind, ResizeKind::Video);
}
