// The arithmetic of the main window's presentation modes: where the window
// goes in full screen, in the window mode with and without the control
// panel, and what a change of its size does to it. Sizes are outer window
// sizes in screen pixels.
#pragma once

struct ScreenSize {
    int width = 0;
    int height = 0;
};

struct WindowBounds {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const WindowBounds&) const = default;
};

inline constexpr int kWindowModeHeight = 555;        // window with the control panel
inline constexpr int kNoPanelWindowHeight = 524;     // window without the control panel
inline constexpr int kAudioWindowWidth = 555;        // sound-only window after a size change
inline constexpr int kAudioWindowHeight = 150;
inline constexpr int kAudioTallLimit = 200;          // a sound-only window taller than this shrinks
inline constexpr int kBorderedRaise = 15;            // a bordered window sits this far above centre
inline constexpr int kWideWindowWidth = 600;         // from this width on Ctrl+F leaves full screen
inline constexpr int kEscapeWidthLimit = 700;        // Esc leaves full screen above this width

// (screen − size) div 2, truncated toward zero.
int CentredOffset(int screen, int size);

// Borderless, at 0, 0, the size of the screen.
WindowBounds FullScreenBounds(ScreenSize screen);
// panel_width × 555 (with the control panel) or × 524 (without), centred.
WindowBounds WindowModeBounds(ScreenSize screen, int panel_width);
WindowBounds NoPanelWindowBounds(ScreenSize screen, int panel_width);

// What a change of the window's size leads to.
struct ResizeState {
    bool media_mode = false;     // the media player plays the open file
    bool picture_shown = false;  // the open file has a picture
    bool bordered = true;        // false in full screen
    WindowBounds window;         // the window's place and size now
    ScreenSize screen;
};

enum class ResizeKind {
    Video,        // media with a picture: show the start button
    AudioShrink,  // sound only, too tall: becomes 555 × 150, start button hidden
    AudioKeep,    // sound only, already compact: nothing to do
    Movie,        // a Flash movie or nothing open: re-centre, focus the Flash area
};

struct ResizePlan {
    ResizeKind kind = ResizeKind::Movie;
    // AudioShrink: the new size at the same place. Movie: the new place
    // (centred horizontally; 15 pixels above centre when bordered).
    WindowBounds bounds;
};

ResizePlan PlanResize(const ResizeState& state);
