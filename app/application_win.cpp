#include "app/application_win.h"

#include <utility>
#include <vector>

namespace {

MessageFilter g_filter;
MessagePreview g_preview;
// The windows MinimizeApplication hid, shown again by RestoreApplication.
std::vector<HWND> g_hidden;
HWND g_last_active = nullptr;

BOOL CALLBACK CollectOwnedWindow(HWND window, LPARAM owner) {
    if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) && IsWindowVisible(window))
        g_hidden.push_back(window);
    return TRUE;
}

// The window that takes the activation in the application's place.
void ActivateLastActive(HWND application) {
    HWND last = GetLastActivePopup(application);
    if (last == application || !IsWindowVisible(last) || !IsWindowEnabled(last)) return;
    SetActiveWindow(last);
}

LRESULT CALLBACK ApplicationWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wparam) != WA_INACTIVE && !IsIconic(window)) ActivateLastActive(window);
        return 0;
    case WM_SYSCOMMAND:
        if ((wparam & 0xFFF0) == SC_MINIMIZE) {
            MinimizeApplication();
            return 0;
        }
        if ((wparam & 0xFFF0) == SC_RESTORE) {
            RestoreApplication();
            return 0;
        }
        break;
    case WM_CLOSE:
        // Closing the task bar button closes the windows it stands for.
        if (HWND last = GetLastActivePopup(window); last != window) PostMessageW(last, WM_CLOSE, 0, 0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

HWND ApplicationWindow() {
    static HWND window = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ApplicationWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        wc.lpszClassName = L"CorvellaApplication";
        RegisterClassW(&wc);
        return CreateWindowExW(0, wc.lpszClassName, kApplicationTitle,
                               WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr,
                               wc.hInstance, nullptr);
    }();
    return window;
}

void ShowApplicationButton(bool shown) {
    HWND application = ApplicationWindow();
    if (shown)
        SetWindowPos(application, nullptr, 0, 0, 0, 0,
                     SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    else
        ShowWindow(application, SW_HIDE);
}

void MinimizeApplication() {
    HWND application = ApplicationWindow();
    if (IsIconic(application)) return;
    g_last_active = GetLastActivePopup(application);
    g_hidden.clear();
    EnumThreadWindows(GetCurrentThreadId(), CollectOwnedWindow, reinterpret_cast<LPARAM>(application));
    for (HWND window : g_hidden) ShowWindow(window, SW_HIDE);
    ShowWindow(application, SW_MINIMIZE);
}

void RestoreApplication() {
    HWND application = ApplicationWindow();
    if (IsIconic(application)) ShowWindow(application, SW_RESTORE);
    for (HWND window : g_hidden)
        if (IsWindow(window)) ShowWindow(window, SW_SHOWNA);
    g_hidden.clear();
    if (g_last_active && IsWindow(g_last_active) && IsWindowVisible(g_last_active)) {
        SetForegroundWindow(g_last_active);
        SetActiveWindow(g_last_active);
    }
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
