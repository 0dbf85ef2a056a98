// The about box: the product information above a bottom panel with the
// close button, which stays centred whenever the box changes size.
#pragma once

#include "app/panel_win.h"
#include "app/secondary_window_win.h"

#include <windows.h>

class Tfrmabout {
public:
    static constexpr const wchar_t* kClassName = L"Tfrmabout";
    static constexpr int kClientWidth = 483;
    static constexpr int kClientHeight = 452;
    static constexpr int kPanelHeight = 84;
    static constexpr int kButtonId = 101;

    Tfrmabout();
    ~Tfrmabout();
    Tfrmabout(const Tfrmabout&) = delete;
    Tfrmabout& operator=(const Tfrmabout&) = delete;

    void Create();   // hidden
    HWND Window() const { return window_; }
    HWND Text() const { return text_; }
    HWND Panel() const { return panel_; }
    HWND BitBtn1() const { return button_; }

    void FormResize();
    void FormClose();
    void BitBtn1Click();

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

    HWND window_ = nullptr;
    HWND text_ = nullptr;
    HWND panel_ = nullptr;
    HWND button_ = nullptr;
    HFONT font_ = nullptr;
    PanelStyle panel_style_;
};
