// TWinSkinPopMenu: one popup-menu window ("#32768") in the skin's look.
// Its background and border are the MenuBackground element rendered over
// the whole window; the owner-drawn items draw over that background at
// their place. The border is painted on WM_NCPAINT and, because some
// platforms draw a popup's border inside the client area during WM_PAINT,
// again after every WM_PAINT through the window's own DC.
#pragma once

#include <windows.h>

#include "skin/skin_data.h"

class TWinSkinPopMenu {
public:
    // Width of the border strips copied from the background.
    static constexpr int kBorder = 3;

    TWinSkinPopMenu(HWND window, TSkinData& skin);
    ~TWinSkinPopMenu() { Release(); }
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    // Gives the window procedure back and forgets the background.
    void Release();
    HWND Window() const { return window_; }
    TSkinData& Skin() const { return *skin_; }
    // The menu the window shows (asked of the window each time).
    HMENU Menu() const;
    // True when the skin has a MenuBackground element to draw.
    bool HasBackground() const;
    // The background rendered for the window's present size.
    const SkinBitmap& Background();
    // Where the client area (the item rectangles' origin) lies in the window.
    POINT ClientOffset() const;

private:
    static LRESULT CALLBACK PopProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void PaintBorder(HDC window_dc);

    HWND window_;
    TSkinData* skin_;
    SkinBitmap background_;
    bool attached_ = false;
};

// The popup-menu skinner of a window, or null.
TWinSkinPopMenu* PopMenuSkinnerOf(HWND window);
