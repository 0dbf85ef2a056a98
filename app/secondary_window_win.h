// Creation of the secondary windows: a fixed, non-resizable frame with the
// given client size, centred on the screen, hidden, owned by the hidden
// application window.
#pragma once

#include <windows.h>

struct SecondaryWindowSpec {
    const wchar_t* class_name;
    const wchar_t* caption;
    int client_width;
    int client_height;
    DWORD style;              // frame buttons besides the system menu
    COLORREF background;
    WNDPROC proc;
};

// The window's GWLP_USERDATA holds self from WM_NCCREATE on.
HWND CreateSecondaryWindow(const SecondaryWindowSpec& spec, void* self);

// The object stored by CreateSecondaryWindow.
template <typename T>
T* SecondaryWindowOwner(HWND window, UINT message, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}
