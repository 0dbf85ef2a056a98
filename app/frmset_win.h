// The settings dialog. Its controls come with the settings code; this is
// the window: created hidden at start, hidden again when closed, and on
// closing it gives the main window its z-order back.
#pragma once

#include <windows.h>

class Tfrmset {
public:
    static constexpr const wchar_t* kClassName = L"Tfrmset";
    static constexpr int kClientWidth = 386;
    static constexpr int kClientHeight = 258;

    Tfrmset() = default;
    ~Tfrmset();
    Tfrmset(const Tfrmset&) = delete;
    Tfrmset& operator=(const Tfrmset&) = delete;

    void Create();   // hidden
    HWND Window() const { return window_; }
    void FormClose();

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

    HWND window_ = nullptr;
};
