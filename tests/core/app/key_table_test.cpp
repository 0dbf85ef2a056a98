#include "app/key_table.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

constexpr unsigned kCtrl = kModifierCtrl;
constexpr unsigned kAlt = kModifierAlt;
constexpr unsigned kShift = kModifierShift;

KeyContext Movie(int window_width = 553) {
    KeyContext c;
    c.picture_shown = true;
    c.window_width = window_width;
    c.overlay_width = kVolumeOverlayWidth;
    return c;
}

}  // namespace

TEST(KeyTable, EachKeyAndModifierHasOneRow) {
    // The rows are tested one after another; a key must not reach two of them.
    std::set<std::pair<int, KeyModifier>> seen;
    for (const KeyRow& row : KeyDownTable()) EXPECT_TRUE(seen.insert({row.key, row.modifier}).second) << row.key;
    std::set<int> keys;
    for (const KeyRow& row : KeyDownTable()) EXPECT_TRUE(keys.insert(row.key).second) << row.key;
}

TEST(KeyTable, WindowKeysNeedAPicture) {
    KeyContext c = Movie();
    EXPECT_EQ(KeyDownCommand('F', kCtrl, c), KeyCommand::FullScreen);
    EXPECT_EQ(KeyDownCommand('1', kCtrl, c), KeyCommand::FullScreen);
    EXPECT_EQ(KeyDownCommand('2', kCtrl, c), KeyCommand::WindowThenFocus);
    EXPECT_EQ(KeyDownCommand(0x0D, kAlt, c), KeyCommand::WindowThenFocus);

    c.picture_shown = false;   // a sound file, or nothing played yet
    for (int key : {'F', '1', '2'}) EXPECT_EQ(KeyDownCommand(key, kCtrl, c), KeyCommand::None) << key;
    EXPECT_EQ(KeyDownCommand(0x0D, kAlt, c), KeyCommand::None);
}

TEST(KeyTable, CtrlFTogglesByWindowWidth) {
    EXPECT_EQ(KeyDownCommand('F', kCtrl, Movie(599)), KeyCommand::FullScreen);
    EXPECT_EQ(KeyDownCommand('F', kCtrl, Movie(600)), KeyCommand::Window);
    EXPECT_EQ(KeyDownCommand('F', kCtrl, Movie(1024)), KeyCommand::Window);
}

TEST(KeyTable, ModifiersAreLookedAtOnlyWhereARowAsks) {
    KeyContext c = Movie();
    // Shift is ignored: Ctrl+Shift+P is Ctrl+P.
    EXPECT_EQ(KeyDownCommand('P', kCtrl | kShift, c), KeyCommand::Play);
    EXPECT_EQ(KeyDownCommand('P', 0, c), KeyCommand::None);
    EXPECT_EQ(KeyDownCommand('S', kAlt, c), KeyCommand::None);
    // Enter needs Alt; Ctrl alone does not do.
    EXPECT_EQ(KeyDownCommand(0x0D, 0, c), KeyCommand::None);
    EXPECT_EQ(KeyDownCommand(0x0D, kCtrl, c), KeyCommand::None);
    // Keys without a modifier in the table act whatever is held.
    EXPECT_EQ(KeyDownCommand(0x77, kCtrl | kAlt, c), KeyCommand::ToggleContinuous);
    EXPECT_EQ(KeyDownCommand(0x78, 0, c), KeyCommand::ToggleSkipPlay);
    EXPECT_EQ(KeyDownCommand(0x70, kShift, c), KeyCommand::Help);
    EXPECT_EQ(KeyDownCommand(0x74, 0, c), KeyCommand::Start);
    // Navigation keys without Ctrl are left to the focused control.
    for (int key : {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28})
        EXPECT_EQ(KeyDownCommand(key, kShift, c), KeyCommand::None) << key;
    EXPECT_EQ(KeyDownCommand('A', kCtrl, c), KeyCommand::None);
}

TEST(KeyTable, CaptureOnlyWithoutMedia) {
    KeyContext c = Movie();
    EXPECT_EQ(KeyDownCommand(0x7B, 0, c), KeyCommand::Capture);
    c.media_mode = true;
    EXPECT_EQ(KeyDownCommand(0x7B, 0, c), KeyCommand::None);
}

TEST(KeyTable, PlaylistStepsStopAtTheEnds) {
    KeyContext c = Movie();
    c.entry_count = 3;
    c.selection = 1;
    EXPECT_EQ(KeyDownCommand(0x28, kCtrl, c), KeyCommand::NextEntry);
    EXPECT_EQ(KeyDownCommand(0x26, kCtrl, c), KeyCommand::PreviousEntry);
    c.selection = 2;
    EXPECT_EQ(KeyDownCommand(0x28, kCtrl, c), KeyCommand::None);
    c.selection = 0;
    EXPECT_EQ(KeyDownCommand(0x26, kCtrl, c), KeyCommand::None);

    EXPECT_EQ(EntryBelow(-1, 3), 0);   // nothing selected: the first entry follows
    EXPECT_EQ(EntryBelow(-1, 0), -1);
    EXPECT_EQ(EntryBelow(0, 1), -1);
    EXPECT_EQ(EntryAbove(-1, 3), -1);
    EXPECT_EQ(EntryAbove(1, 2), 0);
    EXPECT_EQ(EntryAbove(1, 1), -1);   // a stale selection past a single entry
}

TEST(KeyTable, VolumeKeysWalkTheOverlayToItsLimits) {
    KeyContext c = Movie();
    OverlayPlace overlay{472, kVolumeOverlayWidth};
    int presses = 0;
    for (c.overlay_width = overlay.width; KeyDownCommand(0x27, kCtrl, c) == KeyCommand::VolumeUp;
         c.overlay_width = overlay.width) {
        overlay = OverlayNarrowed(overlay);
        ++presses;
    }
    EXPECT_EQ(presses, 19);
    EXPECT_EQ(overlay.width, 0);
    EXPECT_EQ(overlay.left, 472 + 38);
    EXPECT_EQ(VolumeLevelFromBar(kVolumeImageWidth, overlay.width), 255);

    overlay = {472, kVolumeOverlayWidth};
    presses = 0;
    for (c.overlay_width = overlay.width; KeyDownCommand(0x25, kCtrl, c) == KeyCommand::VolumeDown;
         c.overlay_width = overlay.width) {
        overlay = OverlayWidened(overlay);
        ++presses;
    }
    // 76 is still narrower than the picture, so the last step overshoots to 78.
    EXPECT_EQ(presses, 20);
    EXPECT_EQ(overlay.width, 78);
    EXPECT_EQ(overlay.left, 432);
    EXPECT_EQ(VolumeLevelFromBar(kVolumeImageWidth, overlay.width), 0);
}

TEST(KeyTable, EscapeLeavesOnlyWideWindows) {
    EXPECT_TRUE(KeyUpRunsWindowCommand(0x1B, 1024));
    EXPECT_TRUE(KeyUpRunsWindowCommand(0x1B, 701));
    EXPECT_FALSE(KeyUpRunsWindowCommand(0x1B, 700));
    EXPECT_FALSE(KeyUpRunsWindowCommand(0x1B, 547));
    EXPECT_FALSE(KeyUpRunsWindowCommand(0x0D, 1024));
}
