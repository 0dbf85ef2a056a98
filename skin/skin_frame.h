// The decisions of the skinned window frame, on plain numbers: frame
// metrics, drawing of the borders, which title buttons show and where, where
// the caption goes, and the window's shape. The platform layer gathers a
// FrameState, asks here and carries the answer out.
#pragma once

#include <functional>
#include <vector>

#include "skin/skin_data.h"
#include "skin/skin_paint.h"

struct SkinRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

enum class FrameKind { Sizeable = 0, CaptionlessPopup = 2, Other = 3 };
enum class WindowState { Normal = 0, Maximized = 1, Minimized = 2 };

// What the frame painter knows about its window.
struct FrameState {
    FrameKind kind = FrameKind::Sizeable;
    WindowState state = WindowState::Normal;
    bool active = true;
    bool has_system_menu = true;
    bool has_minimize_box = true;
    bool has_maximize_box = true;
    bool popup_style = false;         // WS_POPUP
    bool mdi_frame_child_maximized = false;
    int menu_height = 0;
};

struct FrameMetrics {
    int LeftWidth = 0;
    int TitleHeight = 0;
    int RightWidth = 0;
    int BottomHeight = 0;
    int MenuHeight = 0;   // the skinned menu bar under the title bar, 0 without
};

// Title bar = Top image height / its frames; sides = Left and Right widths /
// their frames; bottom = Bottom height / its frames. A captionless popup
// has no frame.
FrameMetrics ComputeFrameMetrics(const TSkinData& skin, FrameKind kind);

// Border `index` rendered w x h: frame 1 when active or when the border
// has one frame, else 2; Top and Bottom frames stacked, Left and Right side
// by side; centre stretched when Tile is 1, else tiled.
SkinBitmap RenderBorder(const TSkinData& skin, SkinBorderIndex index, int w, int h, bool active);

// The title bar of a w x h window without caption and buttons: the tops
// of the Left and Right borders at its ends and the Top border between.
SkinBitmap TitleBarBase(const TSkinData& skin, const FrameMetrics& m, int w, int h, bool active);

// The strip behind the caption (the title's TextBack image, frame 1 active,
// 2 inactive, stacked), key colour transparent; nothing without an image.
void DrawCaptionBack(SkinBitmap& bar, const TDataSkinTitle& title, SkinRect caption, bool active);

// --- Title buttons ----------------------------------------------------------

bool TitleButtonVisible(const TDataSkinSysButton& button, const FrameState& state);

// Where one title button is drawn; `hit` is false for negative Actions.
struct TitleButtonPlace {
    bool shown = false;
    SkinRect rect;
};

struct TitleLayoutInput {
    int window_width = 0;
    SkinRect caption;                 // the caption rectangle of this layout
    FrameMetrics metrics;
    int icon_size = 16;               // Action 3 and 11 buttons show the icon
    int menu_bar_tile_left = -1;      // TileLeftMenu of the MenuBar element, -1 without
};

// One place per button of skin.TitleButtons, in order. right_max receives
// the greatest left edge of the Align 1 buttons (0 without any).
std::vector<TitleButtonPlace> LayoutTitleButtons(const std::vector<TDataSkinSysButton>& buttons,
                                                 const FrameState& state, const TitleLayoutInput& in,
                                                 int* right_max);

// The frame of a title button to draw: 1 normal, 2 pressed, 3 hot; an
// inactive window shows frame 4 of buttons that have at least 4.
int TitleButtonFrame(const TDataSkinSysButton& button, int object_state, bool active);

// Draws the shown buttons into the title bar, key colour transparent.
// states holds each button's object state (1 normal, 2 pressed, 3 hot);
// icon is the window icon for Action 3 and 11 buttons (left out when empty).
void DrawTitleButtons(SkinBitmap& bar, const std::vector<TDataSkinSysButton>& buttons,
                      const std::vector<TitleButtonPlace>& places, const std::vector<int>& states, bool active,
                      const SkinBitmap& icon);

// --- Caption ----------------------------------------------------------------

// Places a caption measured text_width x text_height in the title rectangle.
// right_max is the greatest left edge of the right-aligned buttons of the
// previous layout (0 when unknown).
SkinRect PlaceCaption(const TDataSkinTitle& title, SkinRect title_rect, int text_width, int text_height,
                      bool popup_style, int right_max);

// "  " + the window text: the caption as it is drawn and measured.
std::wstring CaptionText(const std::wstring& window_text);

// --- Shape ------------------------------------------------------------------

// A one-pixel-high run of kept pixels, in window coordinates.
struct PixelRun {
    int x = 0;
    int y = 0;
    int width = 0;
};

constexpr size_t kRegionBatch = 2000;
using RunBatchSink = std::function<void(const std::vector<PixelRun>&)>;

// Scans `strip`, placed at (ox, oy), row by row from the left; every run of
// pixels that are not the region key becomes a PixelRun; runs are handed on
// in batches of at most kRegionBatch.
void ScanRegionRuns(const SkinBitmap& strip, int ox, int oy, const RunBatchSink& sink);

// The window's shape as runs and whole rectangles. `rectangular` is true
// when no border is shaped (no Trans) and the whole window is the region.
struct WindowShape {
    bool rectangular = true;
    std::vector<SkinRect> rects;      // the inner rectangle and unshaped strips
};
// title_bar: the last composed title bar (W x TitleHeight), or null.
WindowShape ShapeWindow(const TSkinData& skin, const FrameMetrics& m, FrameKind kind, int w, int h, bool active,
                        const SkinBitmap* title_bar, const RunBatchSink& sink);

// --- Colours ----------------------------------------------------------------

// A skin colour as 0x00BBGGRR: direct colours as they are, system colours
// (0x80000000 + index) through `system` (the platform's colour of that
// index), anything else (-1, unset) as `fallback`.
uint32_t SkinColourRef(SkinColour colour, const std::function<uint32_t(int index)>& system, uint32_t fallback = 0);
