// Draws the bitmaps of our own skins. Usage: make_skins NAME OUTDIR
// writes every .bmp file that skins/NAME/skin.ini names into OUTDIR.
// Magenta (0xFF00FF) marks the pixels left out where an element is drawn
// transparent: rounded window corners, button corners, glyph backgrounds.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "skin/bitmap.h"

namespace {

constexpr uint32_t kKey = 0xFF00FF;

// The colours one skin is drawn in (0xRRGGBB).
struct Palette {
    uint32_t title_top, title_bottom;        // active title bar gradient
    uint32_t idle_top, idle_bottom;          // inactive title bar gradient
    uint32_t frame, frame_idle;              // side and bottom borders
    uint32_t face, light, shadow, dark;      // control faces and bevels
    uint32_t hot, pressed;                   // control faces under the mouse / pressed
    uint32_t accent;                         // progress fill, selection
    uint32_t glyph, glyph_off;               // glyphs and disabled glyphs
    uint32_t menu, menu_select;              // menu background and selected item
    bool round_buttons;                      // key-coloured button corners
    bool caption_plate;                      // a strip behind the caption text
    int corner_top, corner_bottom;           // radius of the window's rounded corners, 0: small cut
};

const Palette kGraphite = {
    0x4A5560, 0x2C333A, 0x5A636C, 0x454C53, 0x2C333A, 0x5E666E, 0xD4D6D8, 0xF4F5F6, 0x8E9399,
    0x4A4E53, 0xE4E8EC, 0xB8BDC2, 0x3E7CB1, 0x23272B, 0x9AA0A6, 0xECEDEE, 0x3E7CB1, false, false, 0, 0,
};

const Palette kHarbor = {
    0x2F6F9F, 0x1B4668, 0x5A7890, 0x45627A, 0x1B4668, 0x6F8BA3, 0xDCE6EE, 0xFFFFFF, 0x8AA2B6,
    0x3B5568, 0xEAF3FA, 0xB9CFE0, 0x2E9E8F, 0x16324A, 0x9DB0C0, 0xF2F6F9, 0x2F6F9F, true, true, 0, 0,
};

// Obsidian: near-black frame with an amber accent, wide rounded corners.
const Palette kObsidian = {
    0x2A2D33, 0x141619, 0x34373C, 0x24262A, 0x141619, 0x24262A, 0x3A3E45, 0x565B63, 0x23262B,
    0x0B0C0E, 0x4A4F57, 0x2A2D32, 0xE0902A, 0xE8EAED, 0x7C818A, 0x2E3136, 0xE0902A, true, false, 7, 4,
};

uint32_t Mix(uint32_t a, uint32_t b, int num, int den) {
    if (den <= 0) return a;
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        out |= static_cast<uint32_t>(ca + (cb - ca) * num / den) << shift;
    }
    return out;
}

void Fill(SkinBitmap& b, int x, int y, int w, int h, uint32_t c) {
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            if (i >= 0 && j >= 0 && i < b.width && j < b.height) b.Set(i, j, c);
}

void VerticalGradient(SkinBitmap& b, int x, int y, int w, int h, uint32_t top, uint32_t bottom) {
    for (int j = 0; j < h; j++) Fill(b, x, y + j, w, 1, Mix(top, bottom, j, h - 1));
}

void HorizontalGradient(SkinBitmap& b, int x, int y, int w, int h, uint32_t left, uint32_t right) {
    for (int i = 0; i < w; i++) Fill(b, x + i, y, 1, h, Mix(left, right, i, w - 1));
}

// A one-pixel raised (or sunken) edge around the rectangle.
void Bevel(SkinBitmap& b, int x, int y, int w, int h, uint32_t light, uint32_t shadow) {
    Fill(b, x, y, w, 1, light);
    Fill(b, x, y, 1, h, light);
    Fill(b, x, y + h - 1, w, 1, shadow);
    Fill(b, x + w - 1, y, 1, h, shadow);
}

void Frame(SkinBitmap& b, int x, int y, int w, int h, uint32_t c) { Bevel(b, x, y, w, h, c, c); }

// Key-coloured corners of radius 2 or 3 on the rectangle.
void RoundCorners(SkinBitmap& b, int x, int y, int w, int h, int radius) {
    static const int kCut[2][3] = {{2, 1, 0}, {3, 1, 1}};
    const int* cut = kCut[radius >= 3 ? 1 : 0];
    for (int row = 0; row < 3; row++) {
        const int n = cut[row];
        Fill(b, x, y + row, n, 1, kKey);
        Fill(b, x + w - n, y + row, n, 1, kKey);
        Fill(b, x, y + h - 1 - row, n, 1, kKey);
        Fill(b, x + w - n, y + h - 1 - row, n, 1, kKey);
    }
}

// A glyph drawn from rows of text: '#' is the colour, anything else is
// left as it is. The glyph is centred in the rectangle.
void Glyph(SkinBitmap& b, int x, int y, int w, int h, const char* const* rows, int count, uint32_t c) {
    int width = 0;
    for (int r = 0; r < count; r++) width = std::max<int>(width, static_cast<int>(std::string(rows[r]).size()));
    const int left = x + (w - width) / 2, top = y + (h - count) / 2;
    for (int r = 0; r < count; r++)
        for (int i = 0; rows[r][i]; i++)
            if (rows[r][i] == '#') Fill(b, left + i, top + r, 1, 1, c);
}

const char* const kCloseGlyph[] = {"##    ##", "###  ###", " ###### ", "  ####  ", "  ####  ", " ###### ", "###  ###", "##    ##"};
const char* const kMaxGlyph[] = {"########", "########", "#      #", "#      #", "#      #", "#      #", "#      #", "########"};
const char* const kRestoreGlyph[] = {"  ######", "  ######", "  #    #", "###### #", "###### #", "#    ###", "#    #  ", "######  "};
const char* const kMinGlyph[] = {"        ", "        ", "        ", "        ", "        ", "        ", "########", "########"};
const char* const kCheckGlyph[] = {"      #", "     ##", "#   ###", "## ### ", "#####  ", " ###   ", "  #    "};
const char* const kDotGlyph[] = {" ### ", "#####", "#####", "#####", " ### "};
const char* const kArrowDown[] = {"#######", " ##### ", "  ###  ", "   #   "};
const char* const kArrowUp[] = {"   #   ", "  ###  ", " ##### ", "#######"};
const char* const kArrowLeft[] = {"   #", "  ##", " ###", "####", " ###", "  ##", "   #"};
const char* const kArrowRight[] = {"#   ", "##  ", "### ", "####", "### ", "##  ", "#   "};
const char* const kGrip[] = {"# # #", "     ", "# # #", "     ", "# # #"};

// Frame states drawn by the helpers below, in the order most strips use.
enum State { kNormal, kPressed, kDisabled, kHot, kFocused };

uint32_t FaceOf(const Palette& p, State s) {
    switch (s) {
    case kPressed: return p.pressed;
    case kHot: return p.hot;
    case kDisabled: return Mix(p.face, p.light, 1, 2);
    default: return p.face;
    }
}

// A push-button face in the given state.
void ButtonFace(SkinBitmap& b, const Palette& p, int x, int y, int w, int h, State s) {
    const uint32_t face = FaceOf(p, s);
    VerticalGradient(b, x, y, w, h, Mix(face, p.light, 1, 2), face);
    Frame(b, x, y, w, h, s == kDisabled ? p.shadow : p.dark);
    if (s == kPressed)
        Bevel(b, x + 1, y + 1, w - 2, h - 2, p.shadow, face);
    else
        Bevel(b, x + 1, y + 1, w - 2, h - 2, p.light, p.shadow);
    if (s == kFocused) Frame(b, x + 2, y + 2, w - 4, h - 4, p.accent);
    if (p.round_buttons) RoundCorners(b, x, y, w, h, 2);
}

struct Writer {
    std::string folder;
    bool ok = true;

    void Save(const std::string& name, const SkinBitmap& bitmap) {
        const std::vector<uint8_t> bytes = EncodeBmp24(bitmap);
        std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.good()) {
            std::fprintf(stderr, "make_skins: cannot write %s/%s\n", folder.c_str(), name.c_str());
            ok = false;
        }
    }
};

SkinBitmap New(int w, int h, uint32_t fill = kKey) {
    SkinBitmap b;
    b.Resize(w, h, fill);
    return b;
}

// Window borders. The title bar is 24 pixels high, the sides and the
// bottom 4 pixels; frame 1 is active, frame 2 inactive. The side images
// carry the title bar's ends in their top 24 pixels.
constexpr int kTitle = 24, kEdge = 4;

// True for a pixel (x, y) from the corner that lies outside the quarter
// circle of radius r.
bool OutsideCorner(int x, int y, int r) {
    if (r <= 0 || x >= r || y >= r) return false;
    const double dx = r - x - 0.5, dy = r - y - 0.5;
    return dx * dx + dy * dy > static_cast<double>(r) * r;
}

void DrawBorders(Writer& out, const Palette& p) {
    SkinBitmap top = New(120, 2 * kTitle);
    for (int f = 0; f < 2; f++) {
        const uint32_t a = f ? p.idle_top : p.title_top, z = f ? p.idle_bottom : p.title_bottom;
        VerticalGradient(top, 0, f * kTitle, 120, kTitle, a, z);
        Fill(top, 0, f * kTitle, 120, 1, Mix(a, 0xFFFFFF, 1, 3));
    }
    if (p.corner_top > 0)
        for (int f = 0; f < 2; f++)
            for (int y = 0; y < kTitle; y++)
                for (int i = 0; i < 8; i++) {
                    if (OutsideCorner(kEdge + i, y, p.corner_top)) Fill(top, i, f * kTitle + y, 1, 1, kKey);
                    if (OutsideCorner(kEdge + i, y, p.corner_top)) Fill(top, 119 - i, f * kTitle + y, 1, 1, kKey);
                }
    out.Save("top.bmp", top);

    for (int side = 0; side < 2; side++) {
        SkinBitmap edge = New(2 * kEdge, 64);
        for (int f = 0; f < 2; f++) {
            const int x = f * kEdge;
            const uint32_t a = f ? p.idle_top : p.title_top, z = f ? p.idle_bottom : p.title_bottom;
            const uint32_t frame = f ? p.frame_idle : p.frame;
            VerticalGradient(edge, x, 0, kEdge, kTitle, a, z);
            Fill(edge, x, kTitle, kEdge, 64 - kTitle, frame);
            Fill(edge, side ? x + kEdge - 1 : x, 0, 1, 64, p.dark);
            Fill(edge, x, 0, kEdge, 1, side ? p.dark : Mix(a, 0xFFFFFF, 1, 3));
            Fill(edge, x, 63, kEdge, 1, p.dark);
            if (p.corner_top > 0) {
                // Wide rounded corners, top and bottom; the top ones go on
                // into the ends of the Top image.
                for (int y = 0; y < 64; y++)
                    for (int i = 0; i < kEdge; i++) {
                        const int wx = side ? kEdge - 1 - i : i;
                        if (OutsideCorner(wx, y, p.corner_top) || OutsideCorner(wx, 63 - y, p.corner_bottom))
                            Fill(edge, x + i, y, 1, 1, kKey);
                    }
                continue;
            }
            // Rounded top corner: left of the left image, right of the right.
            const int outer = side ? x + kEdge - 1 : x, step = side ? -1 : 1;
            Fill(edge, outer, 0, 1, 3, kKey);
            Fill(edge, outer + step, 0, 1, 1, kKey);
            Fill(edge, outer + 2 * step, 0, 1, 1, kKey);
            Fill(edge, outer + step, 1, 1, 1, kKey);
        }
        out.Save(side ? "right.bmp" : "left.bmp", edge);
    }

    SkinBitmap bottom = New(40, 2 * kEdge);
    for (int f = 0; f < 2; f++) {
        Fill(bottom, 0, f * kEdge, 40, kEdge, f ? p.frame_idle : p.frame);
        Fill(bottom, 0, f * kEdge + kEdge - 1, 40, 1, p.dark);
    }
    out.Save("bottom.bmp", bottom);
}

// Title-bar buttons: 4 frames of 18 x 18 (normal, pressed, hot, inactive).
void DrawTitleButton(Writer& out, const Palette& p, const std::string& name, const char* const* glyph,
                     bool danger) {
    SkinBitmap b = New(72, 18);
    for (int f = 0; f < 4; f++) {
        const int x = f * 18;
        uint32_t face = Mix(p.title_top, 0xFFFFFF, 1, 5);
        if (f == 1) face = danger ? 0x8E2A2A : Mix(p.title_bottom, 0, 1, 4);
        if (f == 2) face = danger ? 0xC8433C : Mix(p.title_top, 0xFFFFFF, 2, 5);
        if (f == 3) face = Mix(p.idle_top, 0xFFFFFF, 1, 6);
        VerticalGradient(b, x, 0, 18, 18, Mix(face, 0xFFFFFF, 1, 4), face);
        Frame(b, x, 0, 18, 18, Mix(p.title_bottom, 0, 1, 3));
        RoundCorners(b, x, 0, 18, 18, 2);
        Glyph(b, x + (f == 1), 1 + (f == 1), 18, 18, glyph, 8, f == 3 ? Mix(0xFFFFFF, p.idle_top, 1, 3) : 0xFFFFFF);
    }
    out.Save(name, b);
}

// The buttons of a maximized child window in the menu bar: close,
// restore and minimize in one strip of 12 frames of 16 x 16, 4 frames
// each (normal, pressed, hot, inactive).
void DrawMdiControls(Writer& out, const Palette& p) {
    const char* const* glyphs[3] = {kMinGlyph, kRestoreGlyph, kCloseGlyph};
    SkinBitmap b = New(192, 16);
    for (int button = 0; button < 3; button++)
        for (int f = 0; f < 4; f++) {
            const int x = (button * 4 + f) * 16;
            const State s = f == 1 ? kPressed : f == 2 ? kHot : f == 3 ? kDisabled : kNormal;
            ButtonFace(b, p, x, 0, 16, 16, s);
            Glyph(b, x, 0, 16, 16, glyphs[button], 8, s == kDisabled ? p.glyph_off : p.glyph);
        }
    out.Save("mdicontrols.bmp", b);
}

// The strip behind the caption text: 3 parts, 2 frames stacked.
void DrawTextBack(Writer& out, const Palette& p) {
    SkinBitmap b = New(40, 2 * 18);
    for (int f = 0; f < 2; f++) {
        const uint32_t c = Mix(f ? p.idle_bottom : p.title_bottom, 0, 1, 4);
        Fill(b, 0, f * 18, 40, 18, c);
        RoundCorners(b, 0, f * 18, 40, 18, 3);
    }
    out.Save("textback.bmp", b);
}

// Push buttons: 5 frames of 24 x 22 (normal, pressed, disabled, hot,
// focused). Check and radio glyphs: 4 frames of 13 x 13.
void DrawButtons(Writer& out, const Palette& p) {
    SkinBitmap b = New(120, 22);
    for (int f = 0; f < 5; f++) ButtonFace(b, p, f * 24, 0, 24, 22, static_cast<State>(f));
    out.Save("button.bmp", b);

    SkinBitmap check = New(52, 13);
    for (int f = 0; f < 4; f++) {
        const int x = f * 13;
        const bool off = f == 2, checked = f == 1 || f == 3;
        Fill(check, x, 0, 13, 13, off ? p.face : 0xFFFFFF);
        Bevel(check, x, 0, 13, 13, p.shadow, p.light);
        Frame(check, x + 1, 1, 11, 11, off ? p.shadow : p.dark);
        if (f == 3) Fill(check, x + 2, 2, 9, 9, p.hot);
        if (checked) Glyph(check, x, 0, 13, 13, kCheckGlyph, 7, p.accent);
    }
    out.Save("check.bmp", check);

    SkinBitmap radio = New(52, 13);
    for (int f = 0; f < 4; f++) {
        const int x = f * 13;
        const bool off = f >= 2, checked = f == 1 || f == 3;
        Fill(radio, x + 1, 1, 11, 11, off ? p.face : 0xFFFFFF);
        Frame(radio, x + 1, 1, 11, 11, off ? p.shadow : p.dark);
        RoundCorners(radio, x + 1, 1, 11, 11, 3);
        if (checked) Glyph(radio, x, 0, 13, 13, kDotGlyph, 5, off ? p.glyph_off : p.accent);
    }
    out.Save("radio.bmp", radio);
}

// Progress bar: 2 frames of 40 x 14 (track, fill); the chunk for the
// chunked style.
void DrawProgress(Writer& out, const Palette& p) {
    SkinBitmap b = New(80, 14);
    Fill(b, 0, 0, 40, 14, Mix(p.face, 0xFFFFFF, 1, 2));
    Bevel(b, 0, 0, 40, 14, p.shadow, p.light);
    VerticalGradient(b, 40, 0, 40, 14, Mix(p.accent, 0xFFFFFF, 1, 2), p.accent);
    Frame(b, 40, 0, 40, 14, Mix(p.accent, 0, 1, 3));
    if (p.round_buttons) {
        RoundCorners(b, 0, 0, 40, 14, 2);
        RoundCorners(b, 40, 0, 40, 14, 2);
    }
    out.Save("progress.bmp", b);

    SkinBitmap chunk = New(8, 10);
    VerticalGradient(chunk, 0, 0, 6, 10, Mix(p.accent, 0xFFFFFF, 1, 2), p.accent);
    out.Save("chunk.bmp", chunk);
}

// Scroll bars: 23 frames of 16 x 16: left, right, up and down arrows with
// 4 frames each (normal, pressed, hot, disabled), the corner (17), then
// horizontal (18-20) and vertical (21-23) thumbs (normal, pressed, hot).
void DrawScrollbars(Writer& out, const Palette& p) {
    const char* const* arrows[4] = {kArrowLeft, kArrowRight, kArrowUp, kArrowDown};
    const int arrow_rows[4] = {7, 7, 4, 4};
    SkinBitmap b = New(23 * 16, 16);
    for (int a = 0; a < 4; a++)
        for (int f = 0; f < 4; f++) {
            const int x = (a * 4 + f) * 16;
            const State s = f == 1 ? kPressed : f == 2 ? kHot : f == 3 ? kDisabled : kNormal;
            ButtonFace(b, p, x, 0, 16, 16, s);
            Glyph(b, x, 0, 16, 16, arrows[a], arrow_rows[a], s == kDisabled ? p.glyph_off : p.glyph);
        }
    Fill(b, 16 * 16, 0, 16, 16, p.face);
    Glyph(b, 16 * 16 + 4, 4, 12, 12, kGrip, 5, p.shadow);
    for (int f = 0; f < 6; f++) {
        const State s = f % 3 == 1 ? kPressed : f % 3 == 2 ? kHot : kNormal;
        ButtonFace(b, p, (17 + f) * 16, 0, 16, 16, s);
    }
    out.Save("scrollbar.bmp", b);

    // Tracks: 4 frames each (normal, pressed, hot, disabled).
    SkinBitmap horz = New(4 * 32, 16), vert = New(4 * 16, 32);
    for (int f = 0; f < 4; f++) {
        const uint32_t track = f == 1 ? p.shadow : f == 2 ? Mix(p.face, p.hot, 1, 2) : Mix(p.face, p.shadow, 1, 4);
        Fill(horz, f * 32, 0, 32, 16, track);
        Fill(horz, f * 32, 0, 32, 1, p.shadow);
        Fill(vert, f * 16, 0, 16, 32, track);
        Fill(vert, f * 16, 0, 1, 32, p.shadow);
    }
    out.Save("horzscroll.bmp", horz);
    out.Save("vertscroll.bmp", vert);

    // Thumbs: 3 frames (normal, pressed, hot) with a grip in the middle.
    SkinBitmap hthumb = New(3 * 32, 16), vthumb = New(3 * 16, 32);
    for (int f = 0; f < 3; f++) {
        const State s = f == 1 ? kPressed : f == 2 ? kHot : kNormal;
        ButtonFace(hthumb, p, f * 32, 0, 32, 16, s);
        Glyph(hthumb, f * 32, 0, 32, 16, kGrip, 5, p.shadow);
        ButtonFace(vthumb, p, f * 16, 0, 16, 32, s);
        Glyph(vthumb, f * 16, 0, 16, 32, kGrip, 5, p.shadow);
    }
    out.Save("horzthumb.bmp", hthumb);
    out.Save("vertthumb.bmp", vthumb);
}

// Combo box: the drop-down button (4 frames of 17 x 20: normal, pressed,
// disabled, hot), the sunken edge (4 frames of 20 x 20) and the arrow
// glyphs (5 frames of 9 x 6).
void DrawCombo(Writer& out, const Palette& p) {
    const State states[4] = {kNormal, kPressed, kDisabled, kHot};
    SkinBitmap button = New(4 * 17, 20), sunk = New(4 * 20, 20), arrows = New(5 * 9, 6);
    for (int f = 0; f < 4; f++) {
        ButtonFace(button, p, f * 17, 0, 17, 20, states[f]);
        Fill(sunk, f * 20, 0, 20, 20, f == 2 ? p.face : 0xFFFFFF);
        Frame(sunk, f * 20, 0, 20, 20, f == 3 ? p.accent : p.shadow);
        Bevel(sunk, f * 20 + 1, 1, 18, 18, Mix(p.shadow, p.face, 1, 2), p.light);
    }
    for (int f = 0; f < 5; f++) Glyph(arrows, f * 9, 1, 9, 4, kArrowDown, 4, f == 2 ? p.glyph_off : p.glyph);
    out.Save("combo.bmp", button);
    out.Save("sunkedge.bmp", sunk);
    out.Save("comboarrow.bmp", arrows);
}

// Tabs: 5 frames of 40 x 22 (normal, selected, disabled, hot, focused)
// and the page border.
void DrawTabs(Writer& out, const Palette& p) {
    SkinBitmap tabs = New(5 * 40, 22);
    for (int f = 0; f < 5; f++) {
        const int x = f * 40;
        const bool selected = f == 1;
        const uint32_t face = selected ? p.face : f == 3 ? p.hot : f == 2 ? Mix(p.face, p.shadow, 1, 3) : Mix(p.face, p.shadow, 1, 6);
        const int y = selected ? 0 : 2;
        VerticalGradient(tabs, x, y, 40, 22 - y, Mix(face, 0xFFFFFF, 1, 2), face);
        Fill(tabs, x, y, 40, 1, p.dark);
        Fill(tabs, x, y, 1, 22 - y, p.dark);
        Fill(tabs, x + 39, y, 1, 22 - y, p.dark);
        if (selected) Fill(tabs, x + 1, 1, 38, 2, p.accent);
        if (!selected) Fill(tabs, x, 21, 40, 1, p.dark);
        if (f == 4) Frame(tabs, x + 3, y + 3, 34, 22 - y - 6, p.accent);
        Fill(tabs, x, y, 2, 1, kKey);
        Fill(tabs, x + 38, y, 2, 1, kKey);
        Fill(tabs, x, y + 1, 1, 1, kKey);
        Fill(tabs, x + 39, y + 1, 1, 1, kKey);
    }
    out.Save("tabs.bmp", tabs);

    SkinBitmap page = New(20, 20, p.face);
    Frame(page, 0, 0, 20, 20, p.dark);
    Bevel(page, 1, 1, 18, 18, p.light, p.shadow);
    out.Save("tabborder.bmp", page);
}

// Menus: the bar (2 frames of 40 x 20 stacked: active, inactive), the
// items (5 frames of 40 x 20: normal, separator, disabled, selected,
// spare) and the popup background.
void DrawMenus(Writer& out, const Palette& p) {
    SkinBitmap bar = New(40, 40);
    VerticalGradient(bar, 0, 0, 40, 20, Mix(p.face, 0xFFFFFF, 1, 2), p.face);
    VerticalGradient(bar, 0, 20, 40, 20, Mix(p.face, 0xFFFFFF, 2, 3), Mix(p.face, 0xFFFFFF, 1, 3));
    Fill(bar, 0, 19, 40, 1, p.shadow);
    Fill(bar, 0, 39, 40, 1, p.shadow);
    out.Save("menubar.bmp", bar);

    SkinBitmap item = New(5 * 40, 20);
    Fill(item, 40 + 4, 18, 32, 1, p.shadow);
    Fill(item, 40 + 4, 19, 32, 1, p.light);
    VerticalGradient(item, 120, 0, 40, 20, Mix(p.menu_select, 0xFFFFFF, 1, 3), p.menu_select);
    Frame(item, 120, 0, 40, 20, Mix(p.menu_select, 0, 1, 3));
    RoundCorners(item, 120, 0, 40, 20, 2);
    Frame(item, 160, 0, 40, 20, p.menu_select);
    out.Save("menuitem.bmp", item);

    SkinBitmap back = New(30, 30, p.menu);
    Frame(back, 0, 0, 30, 30, p.dark);
    Bevel(back, 1, 1, 28, 28, p.light, p.shadow);
    HorizontalGradient(back, 2, 2, 4, 26, Mix(p.menu, p.accent, 1, 3), p.menu);
    out.Save("menuback.bmp", back);
}

// Up-down buttons: 8 frames per direction, the first half's 4 (normal,
// pressed, disabled, hot) then the second half's; glyphs likewise.
void DrawUpDown(Writer& out, const Palette& p) {
    const State states[4] = {kNormal, kPressed, kDisabled, kHot};
    for (int vertical = 0; vertical < 2; vertical++) {
        const int w = vertical ? 16 : 12, h = vertical ? 12 : 16;
        SkinBitmap faces = New(8 * w, h), glyphs = New(8 * 7, 7);
        for (int f = 0; f < 8; f++) {
            const State s = states[f % 4];
            ButtonFace(faces, p, f * w, 0, w, h, s);
            const bool first = f < 4;
            const char* const* glyph = vertical ? (first ? kArrowUp : kArrowDown) : (first ? kArrowLeft : kArrowRight);
            Glyph(glyphs, f * 7, 0, 7, 7, glyph, vertical ? 4 : 7, s == kDisabled ? p.glyph_off : p.glyph);
        }
        out.Save(vertical ? "updownv.bmp" : "updownh.bmp", faces);
        out.Save(vertical ? "updownvglyph.bmp" : "updownhglyph.bmp", glyphs);
    }
}

// Header bar: 5 frames of 40 x 20 (normal, pressed, disabled, hot,
// spare); group box edge (2 frames), tool bar (5 frames) and status bar
// panels (3 frames).
void DrawPanels(Writer& out, const Palette& p) {
    SkinBitmap header = New(5 * 40, 20);
    for (int f = 0; f < 5; f++) {
        const State s = f == 1 ? kPressed : f == 2 ? kDisabled : f == 3 ? kHot : kNormal;
        VerticalGradient(header, f * 40, 0, 40, 20, Mix(FaceOf(p, s), 0xFFFFFF, 1, 2), FaceOf(p, s));
        Fill(header, f * 40, 19, 40, 1, p.shadow);
        Fill(header, f * 40 + 39, 3, 1, 14, p.shadow);
        if (f == 3) Fill(header, f * 40, 18, 40, 2, p.accent);
    }
    out.Save("header.bmp", header);

    SkinBitmap group = New(2 * 20, 20, kKey);
    for (int f = 0; f < 2; f++) {
        Frame(group, f * 20, 0, 20, 20, f ? p.shadow : p.dark);
        Frame(group, f * 20 + 1, 1, 18, 18, p.light);
    }
    out.Save("groupbox.bmp", group);

    SkinBitmap toolbar = New(5 * 24, 24);
    for (int f = 0; f < 5; f++) ButtonFace(toolbar, p, f * 24, 0, 24, 24, static_cast<State>(f));
    out.Save("toolbar.bmp", toolbar);

    SkinBitmap status = New(3 * 20, 20, p.face);
    Bevel(status, 0, 0, 20, 20, p.shadow, p.light);
    Bevel(status, 20, 0, 20, 20, p.light, p.shadow);
    Glyph(status, 40, 0, 20, 20, kGrip, 5, p.shadow);
    out.Save("statusbar.bmp", status);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: make_skins graphite|harbor|obsidian OUTDIR\n", stderr);
        return 2;
    }
    const std::string name = argv[1];
    const Palette* palette = name == "graphite"   ? &kGraphite
                             : name == "harbor"   ? &kHarbor
                             : name == "obsidian" ? &kObsidian
                                                  : nullptr;
    if (!palette) {
        std::fprintf(stderr, "make_skins: unknown skin %s\n", name.c_str());
        return 2;
    }
    Writer out{argv[2]};
    const Palette& p = *palette;
    DrawBorders(out, p);
    DrawTitleButton(out, p, "close.bmp", kCloseGlyph, true);
    DrawTitleButton(out, p, "maximize.bmp", kMaxGlyph, false);
    DrawTitleButton(out, p, "restore.bmp", kRestoreGlyph, false);
    DrawTitleButton(out, p, "minimize.bmp", kMinGlyph, false);
    DrawMdiControls(out, p);
    if (p.caption_plate) DrawTextBack(out, p);
    DrawButtons(out, p);
    DrawProgress(out, p);
    DrawScrollbars(out, p);
    DrawCombo(out, p);
    DrawTabs(out, p);
    DrawMenus(out, p);
    DrawUpDown(out, p);
    DrawPanels(out, p);
    return out.ok ? 0 : 1;
}
