#include "app/application_win.h"

#include <utility>

namespace {

MessageFilter g_filter;
MessagePreview g_preview;

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

HWND ApplicationWindow() {
    static HWND window = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ApplicationWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CorvellaApplication";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, kApplicationTitle, WS_POPUP, 0, 0, 0, 0,
                               nullptr, nullptr, wc.hInstance, nullptr);
    }();
    return window;
}

void SetMessageFilter(MessageFilter filter) { g_filter = std::move(filter); }

void SetMessagePreview(MessagePreview preview) { g_preview = std::move(preview); }

void ProcessMessage(MSG& msg) {
    if (g_filter) {
        bool handled = false;
        g_filter(msg, handled);
        if (handled) return;
    }
    if (g_preview && g_preview(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void ProcessPendingMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ProcessMessage(msg);
    }
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) ProcessMessage(msg);
    return static_cast<int>(msg.wParam);
}
