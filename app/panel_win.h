// A plain container window: fills itself with a colour, may draw a raised
// one-pixel bevel, lets its owner draw more on top (pictures and texts that
// have no window of their own), and passes its children's notifications on
// to the top-level window, which handles them all.
#pragma once

#include <windows.h>

#include <functional>

struct PanelStyle {
    COLORREF color = 0;
    // The skin's colour while the panel is skinned.
    bool skinned = false;
    COLORREF skin_color = 0;
    bool bevel = false;
    // Draws on the panel after the background; client is the panel's client rect.
    std::function<void(HDC dc, const RECT& client)> paint;
    // Mouse buttons pressed or released on the panel itself (client coordinates).
    std::function<void(UINT message, int x, int y, WPARAM keys)> mouse;
};

inline constexpr const wchar_t* kPanelClassName = L"CorvellaPanel";

// style must live as long as the window.
HWND CreatePanel(HWND parent, int id, int left, int top, int width, int height, DWORD extra_style,
                 PanelStyle* style);
