#include <gtest/gtest.h>

#include "skin/skin_data.h"
#include "skin_test_util.h"

using namespace skintest;

namespace {

// Loads a definition text with bitmaps into a fresh component.
struct Loaded {
    TSkinData data;
    bool ok;
    Loaded(const std::string& ini, const std::vector<BitmapSpec>& bitmaps = {}) {
        data.SetPackage(SkinPackage(ini, bitmaps));
        ok = data.LoadPackage();
    }
};

}  // namespace

TEST(SkinRgbText, Rule) {
    const SkinColour fallback = 0x1234;
    EXPECT_EQ(ParseRgbText("0 128 255", fallback), 0x00FF8000);
    EXPECT_EQ(ParseRgbText("0,128,255", fallback), 0x00FF8000);
    EXPECT_EQ(ParseRgbText("  10;20;30  ", fallback), 0x001E140A);
    EXPECT_EQ(ParseRgbText("12 34", fallback), 0x0000000C);  // a trailing second number is dropped
    EXPECT_EQ(ParseRgbText("255", fallback), 0);
    EXPECT_EQ(ParseRgbText("1 2 3 ", fallback), 0x00030201);
    EXPECT_EQ(ParseRgbText("1 2 3,", fallback), 0x00030201);
    EXPECT_EQ(ParseRgbText("256 257 300", fallback), 0x002C0100);  // each taken modulo 256
    EXPECT_EQ(ParseRgbText("99999999999999999999 0 1", fallback), 0x000100FF);
    EXPECT_EQ(ParseRgbText("1 2 3 4 5", fallback), 0x00030201);  // numbers past the third are ignored
    EXPECT_EQ(ParseRgbText("red", fallback), 0);
    EXPECT_EQ(ParseRgbText("", fallback), fallback);
    EXPECT_EQ(ParseRgbText("   ", fallback), fallback);
}

// A definition with no sections at all takes every default.
TEST(SkinDefinition, Defaults) {
    Loaded skin("; nothing\r\n");
    ASSERT_TRUE(skin.ok);
    const TSkinData& d = skin.data;
    EXPECT_FALSE(d.Empty());
    EXPECT_EQ(d.SkinName, "");

    for (const TDataSkinBorder& b : d.Borders) {
        EXPECT_TRUE(b.Bitmap.Empty()) << b.Name;
        EXPECT_EQ(b.FrameCount, 1) << b.Name;
        EXPECT_EQ(b.Tile, 1) << b.Name;
        EXPECT_EQ(b.Trans, 1) << b.Name;
        EXPECT_EQ(b.LeftWidth + b.TopHeight + b.RightWidth + b.BottomHeight, 0) << b.Name;
    }
    EXPECT_EQ(d.Borders[kBorderTop].Name, "Top");

    const SkinColours& c = d.Colours;
    EXPECT_EQ(c.WindowText, static_cast<SkinColour>(0x80000008u));
    EXPECT_EQ(c.ButtonFace, static_cast<SkinColour>(0x8000000Fu));
    EXPECT_EQ(c.Scrollbar, static_cast<SkinColour>(0x80000000u));
    EXPECT_EQ(c.HilightText, static_cast<SkinColour>(0x8000000Eu));
    EXPECT_EQ(c.Hilight, static_cast<SkinColour>(0x8000000Du));
    EXPECT_EQ(c.Menubar, static_cast<SkinColour>(0x8000000Fu));
    EXPECT_EQ(c.Menu, static_cast<SkinColour>(0x80000004u));
    EXPECT_EQ(c.MenuText, static_cast<SkinColour>(0x80000007u));
    EXPECT_EQ(c.ButtonText, static_cast<SkinColour>(0x80000012u));
    EXPECT_EQ(c.ButtonHilight, static_cast<SkinColour>(0x80000014u));
    EXPECT_EQ(c.Buttonlight, static_cast<SkinColour>(0x80000014u));
    EXPECT_EQ(c.ButtonShadow, static_cast<SkinColour>(0x80000010u));
    EXPECT_EQ(c.ButtonDkShadow, static_cast<SkinColour>(0x80000010u));
    EXPECT_EQ(c.MenuBarText, static_cast<SkinColour>(0x80000007u));
    EXPECT_EQ(c.TitleTextActive, static_cast<SkinColour>(0x80000009u));
    EXPECT_EQ(c.TitleTextNoActive, static_cast<SkinColour>(0x80000013u));
    EXPECT_TRUE(d.ExtraColours.empty());

    EXPECT_EQ(d.Title.FontHeight, 14);
    EXPECT_EQ(d.Title.FrameCount, 2);
    EXPECT_EQ(d.Title.ActiveText, 0x1FFFFFFF);
    EXPECT_EQ(d.Title.InActiveText, 0x1FFFFFFF);
    EXPECT_EQ(d.Buttons.FrameCount, 5);
    EXPECT_EQ(d.Buttons.NormalColour, -1);
    EXPECT_EQ(d.Buttons.PressedColour2, static_cast<SkinColour>(0x80000012u));
    EXPECT_EQ(d.Buttons.RadioButtonFrame, 4);
    EXPECT_EQ(d.Buttons.CheckButtonFrame, 4);

    EXPECT_FALSE(d.Progress || d.MenuBar || d.GroupBoxEdge || d.Toolbars || d.Tabs || d.StatusBarEdges ||
                 d.ComboButton || d.SunkEdge || d.ExtraImages || d.Headerbar || d.MenuItem || d.MenuBackground ||
                 d.Scrollbar || d.HorzScroll || d.VertScroll || d.HorzScrollThumb || d.VertScrollThumb ||
                 d.UpDownHorz || d.UpDownVert);

    // Only the three generated child-window buttons, with empty images.
    ASSERT_EQ(d.TitleButtons.size(), 3u);
    for (int i = 0; i < 3; i++) {
        const TDataSkinSysButton& b = d.TitleButtons[i];
        EXPECT_EQ(b.Action, 7 + i);
        EXPECT_EQ(b.Align, 100);
        EXPECT_EQ(b.Visibility, 100);
        EXPECT_EQ(b.Visibility1, 100);
        EXPECT_EQ(b.FrameCount, 4);
        EXPECT_TRUE(b.Bitmap.Empty());
    }
}

TEST(SkinDefinition, BordersTitleAndColours) {
    Loaded skin(
        "[TitlebarSkin]\nSkinName=Test\n"
        "[Personality]\nTop=top.bmp\nTopTopHeight=8\nTopBotHeight=9\nTopFrame=2\nTopStretch=0\nTopTrans=0\n"
        "Left=left.bmp\nLeftTopHeight=24\nLeftBotHeight=4\nLeftFrame=0\n"
        "TextShift=5\nTextShiftVert=6\nTextRightClip=7\nTextAlignment=1\nTXTBackleft=2\nTXTBackRight=3\n"
        "ActiveTextR=256\nActiveTextG=1\nActiveTextB=2\nInActiveTextR=1\nInActiveTextG=-1\nInActiveTextB=1\n"
        "TextBack=back.bmp\n"
        "[Fonts]\nFontHeight=$10\n"
        "[Colours]\nButtonFace=1 2 3\nButtonText=4,5,6\nMenu=\n"
        "[Colour1]\ncolor=9 9 9\n[COLOURS2]\n[colours]\n[Colour.x]\ncolor=1 0 0\n",
        {{"top.bmp", 30, 48}, {"left.bmp", 8, 60}, {"back.bmp", 10, 4}});
    ASSERT_TRUE(skin.ok);
    const TSkinData& d = skin.data;
    EXPECT_EQ(d.SkinName, "Test");
    const TDataSkinBorder& top = d.Borders[kBorderTop];
    EXPECT_EQ(top.Bitmap.height, 48);
    EXPECT_EQ(top.LeftWidth, 8);
    EXPECT_EQ(top.RightWidth, 9);
    EXPECT_EQ(top.TopHeight, 0);
    EXPECT_EQ(top.FrameCount, 2);
    EXPECT_EQ(top.Tile, 0);
    EXPECT_EQ(top.Trans, 0);
    const TDataSkinBorder& left = d.Borders[kBorderLeft];
    EXPECT_EQ(left.TopHeight, 24);
    EXPECT_EQ(left.BottomHeight, 4);
    EXPECT_EQ(left.LeftWidth, 0);
    EXPECT_EQ(left.FrameCount, 1);  // a frame count of 0 would divide by zero

    EXPECT_EQ(d.Title.TextShift(), 5);
    EXPECT_EQ(d.Title.TextShiftVert(), 6);
    EXPECT_EQ(d.Title.TextRightClip(), 7);
    EXPECT_EQ(d.Title.BottomHeight, 0);
    EXPECT_EQ(d.Title.TextAlignment, 1);
    EXPECT_EQ(d.Title.TXTBackRight, 3);
    EXPECT_EQ(d.Title.FontHeight, 16);
    EXPECT_EQ(d.Title.Bitmap.width, 10);
    EXPECT_EQ(d.Title.ActiveText, 0x00020100);
    EXPECT_EQ(d.Title.InActiveText, 0x1FFFFFFF);

    EXPECT_EQ(d.Colours.ButtonFace, 0x030201);
    EXPECT_EQ(d.Colours.Menubar, 0x030201);  // follows ButtonFace
    EXPECT_EQ(d.Colours.Menu, static_cast<SkinColour>(0x80000004u));
    EXPECT_EQ(d.Buttons.NormalColour2, 0x060504);
    EXPECT_EQ(d.ExtraColours, (std::vector<SkinColour>{0x090909, static_cast<SkinColour>(0x80000008u), 1}));
}

TEST(SkinDefinition, TitleButtons) {
    Loaded skin(
        "[Buttons]\n[Button.Radio]\n[BUTTON.CHECKBOX]\n[BUTTONS]\n"
        "[Button0]\nButtonImage=wide.bmp\nAction=0\nAlign=1\nXcoord=20\nYcoord=3\n"
        "[BUTTONX]\nButtonImage=narrow.bmp\n"
        "[buttonclose]\nButtonImage=wide.bmp\nframe=2\n"
        "[ButtonNeg]\nButtonImage=narrow.bmp\nAction=-1\n"
        "[ButtonIcon]\nButtonImage=narrow.bmp\nAction=3\n"
        "[ButtonIconFramed]\nButtonImage=narrow.bmp\nAction=11\nframe=3\n"
        "[ButtonNoImage]\nCombineOp=5\n"
        "[MDICONTROLS]\nImage=mdi.bmp\n",
        {{"narrow.bmp", 60, 20}, {"wide.bmp", 126, 18}, {"mdi.bmp", 200, 16}});
    ASSERT_TRUE(skin.ok);
    const std::vector<TDataSkinSysButton>& b = skin.data.TitleButtons;
    ASSERT_EQ(b.size(), 7u + 3u);
    EXPECT_EQ(b[0].Name, "BUTTON0");
    EXPECT_EQ(b[0].FrameCount, 6);  // 126 x 18
    EXPECT_EQ(b[0].Align, 1);
    EXPECT_EQ(b[0].Xcoord, 20);
    EXPECT_EQ(b[0].CombineOp, -1);
    EXPECT_EQ(b[1].Name, "BUTTONX");
    EXPECT_EQ(b[1].FrameCount, 3);  // 60 x 20
    EXPECT_EQ(b[2].FrameCount, 2);  // stated
    EXPECT_EQ(b[3].FrameCount, 6);  // negative action
    EXPECT_EQ(b[4].FrameCount, 3);
    EXPECT_TRUE(b[4].Bitmap.Empty());  // shows the window icon
    EXPECT_EQ(b[5].FrameCount, 3);
    EXPECT_FALSE(b[5].Bitmap.Empty());  // a stated frame count keeps the image
    EXPECT_EQ(b[6].FrameCount, 6);
    EXPECT_EQ(b[6].CombineOp, 5);

    // 200 / 12 = 16: each generated button takes a 64-pixel part.
    for (int i = 0; i < 3; i++) {
        const TDataSkinSysButton& m = b[7 + i];
        EXPECT_EQ(m.Action, 7 + i);
        EXPECT_EQ(m.Bitmap.width, 64);
        EXPECT_EQ(m.Bitmap.height, 16);
        EXPECT_EQ(m.Xcoord, 20 * (3 - i));
    }
}

TEST(SkinDefinition, ButtonGlyphFrames) {
    struct Case {
        int width, height, frames;
    } cases[] = {{64, 16, 4}, {39, 13, 4}, {80, 16, 5}, {65, 13, 5}, {96, 15, 7}};
    for (const Case& c : cases) {
        Loaded skin("[Buttons]\nRadioButton=r.bmp\nCheckButton=c.bmp\n",
                    {{"r.bmp", c.width, c.height}, {"c.bmp", c.width, c.height}});
        ASSERT_TRUE(skin.ok);
        EXPECT_EQ(skin.data.Buttons.RadioButtonFrame, c.frames) << c.width << "x" << c.height;
        EXPECT_EQ(skin.data.Buttons.CheckButtonFrame, c.frames) << c.width << "x" << c.height;
    }
    Loaded stated("[Buttons]\nRadioButton=r.bmp\nRadioButtonFrame=2\nCheckButtonFrame=-3\n", {{"r.bmp", 64, 16}});
    EXPECT_EQ(stated.data.Buttons.RadioButtonFrame, 2);
    EXPECT_EQ(stated.data.Buttons.CheckButtonFrame, 1);
}

TEST(SkinDefinition, BitmapNames) {
    Loaded skin(
        "[Personality]\nTop=title.bmp\nBottom=img\\bottom.bmp\nLeft=LEFT.BMP\nRight=c:right.bmp\n"
        "[Progress]\nBitmap=missing.bmp\n[Tabs]\nImage=tabs.bmp\nBorder=tabs.bmp\nStyle=4\n"
        "[MenuItem]\nImage=\n[ComboButton]\nImage=combo.bmp\nStyle=1\nNormalColour=255\nMouseOverColour2=1 2 3\n",
        {{"Title.BMP", 2, 2}, {"bottom.bmp", 3, 3}, {"left.bmp", 4, 4}, {"right.bmp", 5, 5}, {"tabs.bmp", 6, 6},
         {"combo.bmp", 7, 7}});
    ASSERT_TRUE(skin.ok);
    const TSkinData& d = skin.data;
    EXPECT_EQ(d.Borders[kBorderTop].Bitmap.width, 2);     // entry names are found regardless of case
    EXPECT_EQ(d.Borders[kBorderBottom].Bitmap.width, 3);  // the folder part is dropped
    EXPECT_TRUE(d.Borders[kBorderLeft].Bitmap.Empty());   // ".BMP" in the value does not qualify
    EXPECT_EQ(d.Borders[kBorderRight].Bitmap.width, 5);

    // An element exists when its key names an image, found or not.
    ASSERT_TRUE(d.Progress);
    EXPECT_TRUE(d.Progress->Bitmap.Empty());
    EXPECT_EQ(d.Progress->FrameCount, 2);
    ASSERT_TRUE(d.Tabs);
    EXPECT_EQ(d.Tabs->Bitmap2.width, 6);
    EXPECT_EQ(d.Tabs->Style, 0);  // not read for bordered elements
    EXPECT_EQ(d.Tabs->FrameCount, 5);
    EXPECT_FALSE(d.MenuItem);
    ASSERT_TRUE(d.ComboButton);
    EXPECT_EQ(d.ComboButton->Style, 1);
    EXPECT_EQ(d.ComboButton->NormalColour, 255);
    EXPECT_EQ(d.ComboButton->PressedColour, -1);
    EXPECT_EQ(d.ComboButton->MouseOverColour2, 0x030201);
    EXPECT_EQ(d.ComboButton->NormalColour2, static_cast<SkinColour>(0x80000012u));
    EXPECT_EQ(d.ComboButton->FrameCount, 4);
}

TEST(SkinDefinition, MenuBarThumbsAndReload) {
    TSkinData d;
    d.SetPackage(SkinPackage(
        "[Personality]\nmenuBar=bar.bmp\nTileMenu=1\n[HorzScrollThumb]\nImage=t.bmp\nFrameCount=5\n"
        "[VertScrollThumb]\nImage=t.bmp\nFrameCount=0\n[Scrollbar]\nImage=t.bmp\n[Progress]\nBitmap=t.bmp\n",
        {{"bar.bmp", 4, 4}, {"t.bmp", 4, 4}}));
    ASSERT_TRUE(d.LoadPackage());
    ASSERT_TRUE(d.MenuBar);
    EXPECT_EQ(d.MenuBar->Tile, 1);
    EXPECT_EQ(d.MenuBar->LeftWidth, 1);
    EXPECT_EQ(d.MenuBar->RightWidth, 1);
    EXPECT_EQ(d.MenuBar->FrameCount, 2);
    EXPECT_EQ(d.HorzScrollThumb->FrameCount, 5);
    EXPECT_EQ(d.VertScrollThumb->FrameCount, 1);
    EXPECT_EQ(d.Scrollbar->FrameCount, 23);

    // A new skin replaces the old one wholesale.
    d.SetPackage(SkinPackage("[Personality]\nTopFrame=3\n"));
    ASSERT_TRUE(d.LoadPackage());
    EXPECT_FALSE(d.MenuBar);
    EXPECT_FALSE(d.Progress);
    EXPECT_FALSE(d.Scrollbar);
    EXPECT_EQ(d.Borders[kBorderTop].FrameCount, 3);
}
