// A small skin for the Win32 skin tests: a frame (24-pixel title bar,
// 4-pixel sides and bottom), check and radio glyphs, a progress bar, a
// scroll bar, a menu bar, menu items and a menu background, each frame of
// a plain colour that a pixel probe can tell apart.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/bitmap.h"
#include "skin/skin_package_writer.h"

namespace skin_test {

// Colours of the glyph frames 1..4, the progress frames 1..2, the menu
// background's border and centre, and the menu bar.
constexpr uint32_t kGlyph[4] = {0x201000, 0x402000, 0x603000, 0x804000};
constexpr uint32_t kRadio[4] = {0x002010, 0x004020, 0x006030, 0x008040};
constexpr uint32_t kProgressBack = 0x0000A0;
constexpr uint32_t kProgressFill = 0x00A000;
constexpr uint32_t kMenuBorder = 0xC00000;
constexpr uint32_t kMenuCentre = 0xE0E0E0;
constexpr uint32_t kMenuBar = 0x30A030;

inline std::vector<uint8_t> Plain(int w, int h, uint32_t colour) {
    SkinBitmap b;
    b.Resize(w, h, colour);
    return EncodeBmp24(b);
}

// `count` frames of w x h side by side, frame i in colours[i].
inline std::vector<uint8_t> Strip(int w, int h, const uint32_t* colours, int count) {
    SkinBitmap b;
    b.Resize(w * count, h, 0);
    for (int f = 0; f < count; f++)
        for (int y = 0; y < h; y++)
            for (int x = 0; x < w; x++) b.Set(f * w + x, y, colours[f]);
    return EncodeBmp24(b);
}

inline std::vector<uint8_t> Package() {
    const std::string ini =
        "[Personality]\nLeft=l.bmp\nLeftFrame=2\nLeftTopHeight=24\nRight=r.bmp\nRightFrame=2\nRightTopHeight=24\n"
        "Top=t.bmp\nTopFrame=2\nTopTopHeight=4\nTopBotHeight=4\nBottom=b.bmp\nBottomFrame=2\nBottomTrans=0\n"
        "menuBar=menubar.bmp\nTileMenu=1\nTileLeftMenu=4\nTileRightMenu=4\n"
        "[Colours]\nButtonFace=200 200 200\nButtonText=0 0 0\nMenu=224 224 224\nMenuText=0 0 0\nMenuBarText=0 0 0\n"
        "[ButtonClose]\nAction=0\nAlign=1\nXcoord=24\nYcoord=3\nframe=4\nButtonImage=close.bmp\n"
        "[Buttons]\nBitmap=button.bmp\nLeftWidth=3\nRightWidth=3\nTopHeight=3\nBottomHeight=3\n"
        "CheckButton=check.bmp\nCheckButtonFrame=4\nRadioButton=radio.bmp\nRadioButtonFrame=4\n"
        "[Progress]\nBitmap=progress.bmp\nStyle=0\n"
        "[Scrollbar]\nImage=scroll.bmp\n"
        "[MenuItem]\nImage=menuitem.bmp\nLeftWidth=2\nRightWidth=2\nTopHeight=2\nBottomHeight=2\n"
        "[MenuBackground]\nImage=menuback.bmp\nLeftWidth=3\nRightWidth=3\nTopHeight=3\nBottomHeight=3\n";
    const uint32_t progress[2] = {kProgressBack, kProgressFill};
    const uint32_t items[5] = {0xE0E0E0, 0xB0B0F0, 0xA0A0A0, 0x9090E0, 0xC0C0C0};
    uint32_t scroll[23];
    for (int i = 0; i < 23; i++) scroll[i] = 0x505050 + static_cast<uint32_t>(i) * 0x020202;
    SkinBitmap back;
    back.Resize(12, 12, kMenuBorder);
    for (int y = 3; y < 9; y++)
        for (int x = 3; x < 9; x++) back.Set(x, y, kMenuCentre);
    const uint32_t bar[2] = {kMenuBar, 0x208020};
    SkinBitmap menubar;
    menubar.Resize(16, 40, bar[0]);
    for (int y = 20; y < 40; y++)
        for (int x = 0; x < 16; x++) menubar.Set(x, y, bar[1]);
    return BuildSkinPackage({{"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())},
                             {"l.bmp", Plain(8, 64, 0x404040)},
                             {"r.bmp", Plain(8, 64, 0x404040)},
                             {"t.bmp", Plain(60, 48, 0x305070)},
                             {"b.bmp", Plain(20, 8, 0x404040)},
                             {"close.bmp", Plain(72, 18, 0xC04040)},
                             {"button.bmp", Plain(120, 22, 0x808080)},
                             {"check.bmp", Strip(13, 13, kGlyph, 4)},
                             {"radio.bmp", Strip(13, 13, kRadio, 4)},
                             {"progress.bmp", Strip(20, 12, progress, 2)},
                             {"scroll.bmp", Strip(16, 16, scroll, 23)},
                             {"menuitem.bmp", Strip(10, 10, items, 5)},
                             {"menuback.bmp", EncodeBmp24(back)},
                             {"menubar.bmp", EncodeBmp24(menubar)}});
}

// A COLORREF read off the screen as a 0x00RRGGBB pixel.
inline uint32_t AsPixel(unsigned long colorref) {
    return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}

}  // namespace skin_test
