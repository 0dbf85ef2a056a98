#include "app/secondary_window_win.h"

#include "app/application_win.h"

HWND CreateSecondaryWindow(const SecondaryWindowSpec& spec, void* self) {
    WNDCLASSW wc{};
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!GetClassInfoW(instance, spec.class_name, &wc)) {
        wc = {};
        wc.lpfnWndProc = spec.proc;
        wc.hInstance = instance;
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = CreateSolidBrush(spec.background);
        wc.lpszClassName = spec.class_name;
        RegisterClassW(&wc);
    }
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | spec.style;
    RECT outer{0, 0, spec.client_width, spec.client_height};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return CreateWindowExW(0, spec.class_name, spec.caption, style, left, top, width, height, ApplicationWindow(),
                           nullptr, instance, self);
}
