// The control tree of the main window as data: one record per control, in
// creation order (a parent before its children; later siblings lie above
// earlier ones). Positions are in the parent's client pixels at the design
// size; aligned controls are placed again by AlignChildren on every resize.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class ControlKind {
    Flash,        // the Flash control
    Panel,        // container with a background colour, optional raised bevel
    BitBtn,       // push button with a glyph left of its caption
    SpeedButton,  // flat button, caption or drawn glyph
    ListBox,
    Label,        // drawn by its parent panel, no window of its own
    Shape,        // rounded rectangle outline, drawn by its parent
    Image,        // picture drawn by its parent
    CheckBox,
    RadioButton,
    ProgressBar,
    Edit,
    Memo,
};

enum class ControlAlign { None, Bottom, Left, Client };

// Flat buttons with a glyph show the glyph in place of their caption.
enum class ControlGlyph { None, Start, Play, Pause, First, Back, Forward, Last, Gradient, VolumeGradient };

enum class ControlCursor { Default, Hand, HorizontalSplit };

// Colours in the platform's 0x00BBGGRR layout; kSystemColor plus an index
// names one of the system colours.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr uint32_t kSystemColor = 0xFF000000;
constexpr uint32_t kColorBtnFace = kSystemColor | 15;
constexpr uint32_t kColorWindow = kSystemColor | 5;
constexpr uint32_t kColorDesktop = kSystemColor | 1;
constexpr uint32_t kColorGradientActiveCaption = kSystemColor | 27;
constexpr uint32_t kColorWindowText = kSystemColor | 8;
constexpr uint32_t kColorSkyBlue = Rgb(0xA6, 0xCA, 0xF0);
constexpr uint32_t kColorAqua = Rgb(0x00, 0xFF, 0xFF);
constexpr uint32_t kColorBlue = Rgb(0x00, 0x00, 0xFF);
constexpr uint32_t kColorNavy = Rgb(0x00, 0x00, 0x80);
constexpr uint32_t kColorBlack = Rgb(0, 0, 0);

enum ControlFlags : unsigned {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kChecked = 1u << 2,
    kBevel = 1u << 3,         // panel with a raised one-pixel bevel
    kReadOnly = 1u << 4,
    kNoBorder = 1u << 5,
    kHintHidden = 1u << 6,    // has a hint that is not shown
    kLabelFont = 1u << 7,     // "宋体", height 13
    kTransparent = 1u << 8,
    kWantTabs = 1u << 9,
    kVerticalScroll = 1u << 10,
};

struct ControlRecord {
    std::wstring name;
    ControlKind kind;
    std::wstring parent;          // empty: the window itself
    int left, top, width, height;
    std::wstring text;
    std::wstring hint;
    unsigned flags = 0;
    ControlAlign align = ControlAlign::None;
    uint32_t color = kColorBtnFace;      // background
    uint32_t fontColor = kColorWindowText;
    ControlGlyph glyph = ControlGlyph::None;
    ControlCursor cursor = ControlCursor::Default;
    int rangeMax = 0;             // progress bars: range 0 to rangeMax

    bool Has(unsigned flag) const { return (flags & flag) != 0; }
    bool HasWindow() const {
        return kind != ControlKind::Label && kind != ControlKind::Shape && kind != ControlKind::Image;
    }
};

// Client size of the main window at the design size.
constexpr int kMainClientWidth = 547;
constexpr int kMainClientHeight = 519;

const std::vector<ControlRecord>& MainWindowControls();
// Index of the control called name, or -1.
int FindControl(const std::vector<ControlRecord>& controls, const std::wstring& name);

struct LayoutRect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const LayoutRect&) const = default;
};

struct AlignedChild {
    ControlAlign align = ControlAlign::None;
    bool visible = true;
    LayoutRect rect;          // current place; its width or height is kept as the align says
};

// Places the aligned children inside area the way the design aligns them:
// in order, bottom- and left-aligned children take a strip of their height
// or width from what is left, a client-aligned child takes the rest.
// Hidden and unaligned children keep their rectangles.
void AlignChildren(const LayoutRect& area, std::vector<AlignedChild>& children);
