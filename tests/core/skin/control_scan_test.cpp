#include <gtest/gtest.h>

#include <memory>

#include "skin/control_geometry.h"
#include "skin/control_paint.h"
#include "skin/control_scan.h"
#include "skin/skin_data.h"

namespace {

SkinnerKind Choose(ScanKind kind, TSkinControls members = TSkinControls::All(), int tag = 0, bool tabs = true) {
    return ChooseSkinner({kind, tag, false}, members, tabs);
}

TSkinControls Without(TSkinControlType member) {
    TSkinControls all = TSkinControls::All();
    all.Exclude(member);
    return all;
}

TEST(ControlScan, KindsOfOurFormsGetTheirSkinners) {
    EXPECT_EQ(Choose(ScanKind::SpeedButton), SkinnerKind::SpeedButton);
    EXPECT_EQ(Choose(ScanKind::BitBtn), SkinnerKind::BitButton);
    EXPECT_EQ(Choose(ScanKind::Panel), SkinnerKind::Box);
    EXPECT_EQ(Choose(ScanKind::CheckBox), SkinnerKind::CheckBox);
    EXPECT_EQ(Choose(ScanKind::RadioButton), SkinnerKind::RadioButton);
    EXPECT_EQ(Choose(ScanKind::ProgressBar), SkinnerKind::Progress);
    EXPECT_EQ(Choose(ScanKind::ListBox), SkinnerKind::ScrollBar);
    EXPECT_EQ(Choose(ScanKind::Memo), SkinnerKind::ScrollBar);
    EXPECT_EQ(Choose(ScanKind::ListView), SkinnerKind::ListView);
    EXPECT_EQ(Choose(ScanKind::UpDown), SkinnerKind::UpDown);
    EXPECT_EQ(Choose(ScanKind::Edit), SkinnerKind::Edit);
    EXPECT_EQ(Choose(ScanKind::ComboBox), SkinnerKind::ComBox);
    EXPECT_EQ(Choose(ScanKind::PushButton), SkinnerKind::Button);
    EXPECT_EQ(Choose(ScanKind::ToolBar), SkinnerKind::None);
}

TEST(ControlScan, AMissingMemberLetsTheSearchGoOnDownTheTable) {
    // A check box without xcCheckBox matches no later row: unskinned.
    EXPECT_EQ(Choose(ScanKind::CheckBox, Without(xcCheckBox)), SkinnerKind::None);
    // A combo box with scroll bars but without xcCombo falls to the scrolling row.
    EXPECT_EQ(ChooseSkinner({ScanKind::ComboBox, 0, true}, Without(xcCombo), true), SkinnerKind::ScrollBar);
    // A tab control needs the Tabs element as well.
    EXPECT_EQ(Choose(ScanKind::Tab, TSkinControls::All(), 0, false), SkinnerKind::None);
    // Tag 95 makes an edit a combo box; without xcCombo the edit row takes it.
    EXPECT_EQ(Choose(ScanKind::Edit, TSkinControls::All(), 95), SkinnerKind::ComBox);
    EXPECT_EQ(Choose(ScanKind::Edit, Without(xcCombo), 195), SkinnerKind::Edit);
    // Tag 55 and 96 make any control a scrolling one.
    EXPECT_EQ(Choose(ScanKind::Other, TSkinControls::All(), 55), SkinnerKind::ScrollBar);
    EXPECT_EQ(Choose(ScanKind::Other, TSkinControls::All(), 155), SkinnerKind::None);
    EXPECT_EQ(Choose(ScanKind::PushButton, TSkinControls::All(), 96), SkinnerKind::ScrollBar);
    EXPECT_EQ(Choose(ScanKind::Other, TSkinControls::All(), 97), SkinnerKind::Edit);
    EXPECT_EQ(Choose(ScanKind::Memo, Without(xcScrollbar)), SkinnerKind::None);
}

TEST(ControlScan, DisableTagCountsModuloHundred) {
    EXPECT_TRUE(DisabledByTag(199, 99));
    EXPECT_TRUE(DisabledByTag(99, 99));
    EXPECT_FALSE(DisabledByTag(98, 99));
    EXPECT_FALSE(DisabledByTag(0, 99));
}

TEST(ControlScan, PlainDialogButtonsByStyle) {
    const TSkinControls all = TSkinControls::All();
    EXPECT_EQ(ChooseDialogSkinner("button", 0x50010000, all), SkinnerKind::Button);
    EXPECT_EQ(ChooseDialogSkinner("button", 1, all), SkinnerKind::Button);
    EXPECT_EQ(ChooseDialogSkinner("button", 3, all), SkinnerKind::CheckBox);
    EXPECT_EQ(ChooseDialogSkinner("button", 5, all), SkinnerKind::CheckBox);
    EXPECT_EQ(ChooseDialogSkinner("button", 6, all), SkinnerKind::CheckBox);
    EXPECT_EQ(ChooseDialogSkinner("button", 9, all), SkinnerKind::RadioButton);
    EXPECT_EQ(ChooseDialogSkinner("button", 4, all), SkinnerKind::RadioButton);
    EXPECT_EQ(ChooseDialogSkinner("button", 7, all), SkinnerKind::None);   // group box
    EXPECT_EQ(ChooseDialogSkinner("button", 11, all), SkinnerKind::None);  // owner-drawn is no check box
    EXPECT_EQ(ChooseDialogSkinner("button", 3, Without(xcCheckBox)), SkinnerKind::None);
    EXPECT_EQ(ChooseDialogSkinner("combobox", 1, all), SkinnerKind::None);  // simple
    EXPECT_EQ(ChooseDialogSkinner("combobox", 3, all), SkinnerKind::ComBox);
    EXPECT_EQ(ChooseDialogSkinner("scrollbar", 0, all), SkinnerKind::Sizer);
    EXPECT_EQ(ChooseDialogSkinner("systabcontrol32", 0x2000, all), SkinnerKind::None);
    EXPECT_EQ(ChooseDialogSkinner("systabcontrol32", 0, all), SkinnerKind::Tab);
    EXPECT_EQ(ChooseDialogSkinner("edit", 0, all), SkinnerKind::Edit);
    EXPECT_EQ(ChooseDialogSkinner("static", 0, all), SkinnerKind::None);
}

TEST(ControlScan, WindowClassesOfOurForms) {
    EXPECT_EQ(KindFromWindowClass("edit", 0x4), ScanKind::Memo);
    EXPECT_EQ(KindFromWindowClass("edit", 0x80), ScanKind::Edit);
    EXPECT_EQ(KindFromWindowClass("button", 11), ScanKind::BitBtn);
    EXPECT_EQ(KindFromWindowClass("button", 7), ScanKind::GroupBox);
    EXPECT_EQ(KindFromWindowClass("syslistview32", 0), ScanKind::ListView);
    EXPECT_EQ(KindFromWindowClass("msctls_updown32", 0), ScanKind::UpDown);
    EXPECT_EQ(KindFromWindowClass("corvellapanel", 0), ScanKind::Panel);  // scanned into
    EXPECT_EQ(KindFromWindowClass("static", 0), ScanKind::Other);
}

TEST(ControlGeometry, ButtonAndGlyphFrames) {
    EXPECT_EQ(ButtonFaceFrame(true, true, true, true), 2);
    EXPECT_EQ(ButtonFaceFrame(false, true, false, true), 4);
    EXPECT_EQ(ButtonFaceFrame(false, false, false, true), 1);
    EXPECT_EQ(ButtonFaceFrame(true, false, false, false), 3);
    EXPECT_EQ(SpeedButtonFaceFrame(false, true, false, false), 2);  // down wins over disabled
    EXPECT_EQ(SpeedButtonFaceFrame(true, false, true, false), 3);
    EXPECT_EQ(SpeedButtonFaceFrame(false, false, true, true), 4);
    EXPECT_EQ(CheckGlyphFrame(true, true), 2);
    EXPECT_EQ(CheckGlyphFrame(false, true), 1);
    EXPECT_EQ(CheckGlyphFrame(true, false), 3);
    EXPECT_EQ(RadioGlyphFrame(false, true), 1);
    EXPECT_EQ(RadioGlyphFrame(true, true), 2);
    EXPECT_EQ(RadioGlyphFrame(false, false), 3);
    EXPECT_EQ(RadioGlyphFrame(true, false), 4);
}

TEST(ControlGeometry, CheckGlyphSitsLeftOrRightAndCentred) {
    const SkinRect left = CheckGlyphPlace(75, 17, 13, 13, false);
    EXPECT_EQ(left.left, 0);
    EXPECT_EQ(left.top, 2);
    EXPECT_EQ(CheckGlyphPlace(75, 17, 11, 11, false).left, 1);
    EXPECT_EQ(CheckGlyphPlace(75, 17, 11, 11, true).right, 74);
    EXPECT_EQ(CheckGlyphPlace(75, 17, 16, 16, false).left, 0);
}

TEST(ControlGeometry, ProgressFill) {
    EXPECT_EQ(ProgressFillRight(0, 200, 0, 100), 0);
    EXPECT_EQ(ProgressFillRight(0, 200, 50, 100), 100);
    EXPECT_EQ(ProgressFillRight(3, 200, 100, 100), 203);
    EXPECT_EQ(ProgressFillRight(0, 200, 150, 100), 200);   // never past the bar
    EXPECT_EQ(ProgressFillRight(0, 200, 50, 0), 0);
    EXPECT_EQ(ProgressFillRight(0, 200, -5, 100), 0);
    EXPECT_EQ(ProgressFillRight(0, 400, 2000000000, 2000000000), 400);  // no overflow
}

TEST(ControlGeometry, UpDownHalvesAndFrames) {
    UpDownHalves v = SplitUpDown(16, 22, false, false);
    EXPECT_EQ(v.first.bottom, 11);
    EXPECT_EQ(v.second.top, 11);
    EXPECT_EQ(v.second.bottom, 22);
    UpDownHalves h = SplitUpDown(30, 16, true, true);
    EXPECT_EQ(h.first.left, 1);
    EXPECT_EQ(h.first.right, 15);
    EXPECT_EQ(h.second.right, 29);
    EXPECT_EQ(h.first.top, 1);
    EXPECT_EQ(UpDownFrame(false, false, false, true), 1);
    EXPECT_EQ(UpDownFrame(true, true, false, true), 6);
    EXPECT_EQ(UpDownFrame(true, false, true, true), 8);
    EXPECT_EQ(UpDownFrame(false, true, true, false), 3);
}

TEST(ControlGeometry, ScrollBarLayoutHitAndDrag) {
    // 50 entries of which 6 show, in a 100-pixel bar with 16-pixel arrows.
    const ScrollInfo info{0, 49, 6, 0};
    ScrollLayout l = LayoutScrollBar(100, 16, info);
    EXPECT_EQ(l.track_start, 16);
    EXPECT_EQ(l.track_end, 84);
    ASSERT_TRUE(l.has_thumb);
    EXPECT_EQ(l.thumb_start, 16);
    EXPECT_EQ(l.thumb_end - l.thumb_start, 8);
    EXPECT_EQ(ScrollPartAt(l, 5), ScrollPart::LineUp);
    EXPECT_EQ(ScrollPartAt(l, 20), ScrollPart::Thumb);
    EXPECT_EQ(ScrollPartAt(l, 60), ScrollPart::PageDown);
    EXPECT_EQ(ScrollPartAt(l, 90), ScrollPart::LineDown);
    EXPECT_EQ(ScrollPartAt(l, 100), ScrollPart::None);
    // The thumb at the end of the track is the last position, and back.
    EXPECT_EQ(ScrollPosForThumb(l, info, 76), 44);
    EXPECT_EQ(ScrollPosForThumb(l, info, 500), 44);
    EXPECT_EQ(ScrollPosForThumb(l, info, -3), 0);
    ScrollLayout end = LayoutScrollBar(100, 16, {0, 49, 6, 44});
    EXPECT_EQ(end.thumb_end, 84);
    // Arrows never take more than half; a list that fits has no thumb.
    EXPECT_EQ(LayoutScrollBar(20, 16, info).arrow, 10);
    EXPECT_FALSE(LayoutScrollBar(100, 16, {0, 5, 6, 0}).has_thumb);
    EXPECT_EQ(ScrollPartAt(LayoutScrollBar(100, 16, {0, 5, 6, 0}), 50), ScrollPart::None);
}

TEST(ControlGeometry, ScrollBarFrames) {
    EXPECT_EQ(ScrollArrowFrame(false, false, false, false, true), 1);
    EXPECT_EQ(ScrollArrowFrame(false, false, true, false, true), 2);
    EXPECT_EQ(ScrollArrowFrame(false, true, true, false, true), 6);
    EXPECT_EQ(ScrollArrowFrame(true, false, true, false, true), 10);
    EXPECT_EQ(ScrollArrowFrame(true, true, false, false, true), 13);
    EXPECT_EQ(ScrollArrowFrame(true, true, true, false, true), 14);
    EXPECT_EQ(ScrollArrowFrame(true, true, false, true, false), 16);
    EXPECT_EQ(ScrollThumbFrame(true, true), 2);
    EXPECT_EQ(ScrollThumbFrame(false, true), 3);
}

TEST(ControlPaint, DisabledCaptionsStayVisible) {
    // A shadow far from the background stays; one close to it gives way to
    // the colour halfway to the text.
    EXPECT_EQ(LegibleDisabledText(0x808080, 0xF0F0F0, 0x000000), 0x808080u);
    EXPECT_EQ(LegibleDisabledText(0x23262B, 0x2E3136, 0xE8EAED), 0x8B8D91u);
}

TEST(ControlPaint, MenuBarBackgroundFollowsActivation) {
    TSkinData skin;
    EXPECT_EQ(RenderMenuBarBack(skin, 10, 4, true, 0x123456).At(5, 2), 0x123456u);  // no element: the colour
    skin.MenuBar = std::make_unique<TDataSkinObject>();
    SkinBitmap& image = skin.MenuBar->Bitmap;  // two frames stacked: 0x111111 over 0x222222
    image.Resize(6, 8, 0x111111);
    for (int y = 4; y < 8; y++)
        for (int x = 0; x < 6; x++) image.Set(x, y, 0x222222);
    skin.MenuBar->LeftWidth = skin.MenuBar->RightWidth = 1;
    for (int tile : {0, 1}) {
        skin.MenuBar->Tile = tile;
        const SkinBitmap active = RenderMenuBarBack(skin, 40, 6, true, 0);
        const SkinBitmap inactive = RenderMenuBarBack(skin, 40, 6, false, 0);
        ASSERT_EQ(active.width, 40);
        EXPECT_EQ(active.At(20, 5), 0x111111u);
        EXPECT_EQ(inactive.At(20, 0), 0x222222u);
    }
}

TEST(ControlGeometry, MenuItemsAndBar) {
    EXPECT_EQ(MeasureMenuItem(40, 12, false, false).width, 66);
    EXPECT_EQ(MeasureMenuItem(40, 12, false, false).height, 16);
    EXPECT_EQ(MeasureMenuItem(0, 12, true, false).height, 8);
    EXPECT_EQ(MeasureMenuItem(40, 12, false, true).height, 20);
    EXPECT_EQ(MeasurePopupComponentItem(40, 12, false, false).width, 68);
    EXPECT_EQ(MeasurePopupComponentItem(40, 12, false, true).height, 16);
    EXPECT_EQ(MeasurePopupComponentItem(40, 12, true, true).height, 12);
    EXPECT_EQ(MenuBarFirstItemX(true, 4, 300), 8);
    EXPECT_EQ(MenuBarFirstItemX(true, 20, 10), 12);
    EXPECT_EQ(MenuBarFirstItemX(false, 20, 300), 6);
    EXPECT_EQ(NextBarItem(2, 3, true), 0);
    EXPECT_EQ(NextBarItem(0, 3, false), 2);
    EXPECT_EQ(NextBarItem(0, 3, true), 1);
}

}  // namespace
