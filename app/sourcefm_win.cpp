#include "app/sourcefm_win.h"

#include "app/secondary_window_win.h"

Tsourcefm::~Tsourcefm() {
    if (window_) DestroyWindow(window_);
}

void Tsourcefm::Create() {
    SecondaryWindowSpec spec{kClassName, L"提取资源", kClientWidth, kClientHeight, WS_MINIMIZEBOX,
                             RGB(70, 197, 243), WindowProc};
    window_ = CreateSecondaryWindow(spec, this);
}

LRESULT CALLBACK Tsourcefm::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CLOSE) {
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}
