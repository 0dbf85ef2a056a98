// The skin model: the objects a skin definition is read into and that the
// painters draw from.
#pragma once

#include <cstdint>
#include <string>

#include "skin/bitmap.h"

// 32-bit colour numbers: 0x00BBGGRR for a direct colour, 0x80000000 plus a
// system colour index for a system colour, -1 where a colour is not set.
using SkinColour = int32_t;

constexpr SkinColour SystemColour(int index) { return static_cast<SkinColour>(0x80000000u + index); }
constexpr SkinColour kClScrollBar = SystemColour(0);
constexpr SkinColour kClMenu = SystemColour(4);
constexpr SkinColour kClMenuText = SystemColour(7);
constexpr SkinColour kClWindowText = SystemColour(8);
constexpr SkinColour kClCaptionText = SystemColour(9);
constexpr SkinColour kClHighlight = SystemColour(13);
constexpr SkinColour kClHighlightText = SystemColour(14);
constexpr SkinColour kClBtnFace = SystemColour(15);
constexpr SkinColour kClBtnShadow = SystemColour(16);
constexpr SkinColour kClBtnText = SystemColour(18);
constexpr SkinColour kClInactiveCaptionText = SystemColour(19);
constexpr SkinColour kClBtnHighlight = SystemColour(20);
constexpr SkinColour kTitleColourNotSet = 0x1FFFFFFF;

// The key colour: pixels of this colour are left out where an element is
// drawn transparent.
constexpr uint32_t kSkinKeyColour = 0xFF00FF;

// One skin element.
class TDataSkinObject {
public:
    virtual ~TDataSkinObject() = default;

    int32_t LeftWidth = 0;
    int32_t TopHeight = 0;
    int32_t RightWidth = 0;
    int32_t BottomHeight = 0;
    SkinBitmap Bitmap;  // all frames side by side or stacked
    int32_t Trans = 0;  // 1: drawn with the key colour left out
    int32_t Tile = 0;
    std::string Name;
    int32_t FrameCount = 0;
    int32_t Style = 0;
    SkinColour NormalColour = 0;
    SkinColour MouseOverColour = 0;
    SkinColour PressedColour = 0;
    SkinColour NormalColour2 = 0;
    SkinColour MouseOverColour2 = 0;
    SkinColour PressedColour2 = 0;
};

// An element with a second image: the Border of tabs, the GlyphImage of
// up-down buttons, the Chunk of progress bars; also the four window borders.
class TDataSkinBorder : public TDataSkinObject {
public:
    SkinBitmap Bitmap2;
};

// Push buttons, check boxes and radio buttons.
class TDataSkinButton : public TDataSkinObject {
public:
    SkinBitmap CheckBitmap;
    SkinBitmap RadioBitmap;
    int32_t RadioButtonFrame = 0;
    int32_t CheckButtonFrame = 0;
};

// One title-bar button.
class TDataSkinSysButton : public TDataSkinObject {
public:
    int32_t Action = 0;
    int32_t Align = 0;
    int32_t Xcoord = 0;
    int32_t Ycoord = 0;
    int32_t CombineOp = 0;
    int32_t Visibility = 0;
    int32_t Visibility1 = 0;
};

// The title text style. The four slicing fields hold TextShift,
// TextShiftVert, TextRightClip and 0; Bitmap is the text background.
class TDataSkinTitle : public TDataSkinObject {
public:
    int32_t TextShift() const { return LeftWidth; }
    int32_t TextShiftVert() const { return TopHeight; }
    int32_t TextRightClip() const { return RightWidth; }

    int32_t TextAlignment = 0;
    int32_t Textbackground = 0;
    int32_t FontHeight = 0;
    int32_t TXTBackleft = 0;
    int32_t TXTBackRight = 0;
    SkinColour ActiveText = kTitleColourNotSet;
    SkinColour InActiveText = kTitleColourNotSet;
};

// The colour scheme of a skin.
struct SkinColours {
    SkinColour WindowText = kClWindowText;
    SkinColour ButtonFace = kClBtnFace;
    SkinColour Scrollbar = kClScrollBar;
    SkinColour HilightText = kClHighlightText;
    SkinColour Hilight = kClHighlight;
    SkinColour Menubar = kClBtnFace;
    SkinColour Menu = kClMenu;
    SkinColour MenuText = kClMenuText;
    SkinColour ButtonText = kClBtnText;
    SkinColour ButtonHilight = kClBtnHighlight;
    SkinColour Buttonlight = kClBtnHighlight;
    SkinColour ButtonShadow = kClBtnShadow;
    SkinColour ButtonDkShadow = kClBtnShadow;
    SkinColour MenuBarText = kClMenuText;
    SkinColour TitleTextActive = kClCaptionText;
    SkinColour TitleTextNoActive = kClInactiveCaptionText;
};

// The colour of an RGB text ("0 128 255", "0,128,255"): red, green and blue
// as decimal numbers; see the rule beside the code.
SkinColour ParseRgbText(const std::string& text, SkinColour fallback);
