#include "skin/skin_popmenu_win.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/control_paint.h"
#include "skin/skin_gdi_win.h"
#include "skin/skin_manage_win.h"
#include "skin/win_skin_form_win.h"

namespace {

constexpr UINT_PTR kPopSubclassId = 0x534B504D;
constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU
const wchar_t* const kPopProp = L"CorvellaSkinPopMenu";

SIZE WindowSize(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

TWinSkinPopMenu* PopMenuSkinnerOf(HWND window) {
    return window ? static_cast<TWinSkinPopMenu*>(GetPropW(window, kPopProp)) : nullptr;
}

TWinSkinPopMenu::TWinSkinPopMenu(HWND window, TSkinData& skin) : window_(window), skin_(&skin) {
    SetPropW(window_, kPopProp, this);
    attached_ = SetWindowSubclass(window_, PopProc, kPopSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void TWinSkinPopMenu::Release() {
    if (attached_ && IsWindow(window_)) RemoveWindowSubclass(window_, PopProc, kPopSubclassId);
    if (IsWindow(window_) && GetPropW(window_, kPopProp) == this) RemovePropW(window_, kPopProp);
    attached_ = false;
    background_.Clear();
}

HMENU TWinSkinPopMenu::Menu() const {
    return reinterpret_cast<HMENU>(SendMessageW(window_, kGetMenuHandle, 0, 0));
}

bool TWinSkinPopMenu::HasBackground() const {
    return !skin_->Empty() && skin_->MenuBackground && !skin_->MenuBackground->Bitmap.Empty();
}

const SkinBitmap& TWinSkinPopMenu::Background() {
    const SIZE size = WindowSize(window_);
    if (!HasBackground() || size.cx <= 0 || size.cy <= 0) {
        background_.Clear();
        return background_;
    }
    if (background_.width == size.cx && background_.height == size.cy) return background_;
    background_.Resize(size.cx, size.cy, SkinPixel(skin_->Colours.Menu));
    DrawElement(background_, *skin_->MenuBackground, 1, 1, {0, 0, size.cx, size.cy});
    return background_;
}

POINT TWinSkinPopMenu::ClientOffset() const {
    RECT window;
    GetWindowRect(window_, &window);
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    return {origin.x - window.left, origin.y - window.top};
}

void TWinSkinPopMenu::PaintBorder(HDC dc) {
    const SkinBitmap& back = Background();
    if (back.Empty()) return;
    const int w = back.width, h = back.height, b = std::min({kBorder, w / 2, h / 2});
    BlitSkinBitmap(dc, 0, 0, back.Crop(0, 0, w, b));
    BlitSkinBitmap(dc, 0, h - b, back.Crop(0, h - b, w, b));
    BlitSkinBitmap(dc, 0, b, back.Crop(0, b, b, h - 2 * b));
    BlitSkinBitmap(dc, w - b, b, back.Crop(w - b, b, b, h - 2 * b));
}

LRESULT CALLBACK TWinSkinPopMenu::PopProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* self = reinterpret_cast<TWinSkinPopMenu*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, PopProc, kPopSubclassId);
        self->attached_ = false;
        return DefSubclassProc(window, message, wparam, lparam);
    }
    return self->HandleMessage(message, wparam, lparam);
}

LRESULT TWinSkinPopMenu::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (!TSkinManage::Instance().Enabled()) return DefSubclassProc(window_, message, wparam, lparam);
    switch (message) {
    case kSkinQuery:
        return 1;
    case WM_DESTROY: {
        HWND window = window_;
        Release();
        return DefSubclassProc(window, message, wparam, lparam);
    }
    case WM_NCPAINT: {
        if (!HasBackground()) break;
        HDC dc = GetWindowDC(window_);
        PaintBorder(dc);
        ReleaseDC(window_, dc);
        return 0;
    }
    case WM_PRINT: {
        if (!HasBackground()) break;
        HDC dc = reinterpret_cast<HDC>(wparam);
        const SkinBitmap& back = Background();
        BlitSkinBitmap(dc, 0, 0, back);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, kBorder, kBorder, back.width - kBorder, back.height - kBorder);
        const LRESULT result = DefSubclassProc(window_, message, wparam, lparam & ~static_cast<LPARAM>(PRF_NONCLIENT));
        RestoreDC(dc, saved);
        return result;
    }
    case WM_PAINT: {
        const LRESULT result = DefSubclassProc(window_, message, wparam, lparam);
        if (HasBackground()) {
            // Where the border lies inside the client area it was just drawn
            // over; the window's own DC reaches it on every platform.
            HDC dc = GetWindowDC(window_);
            PaintBorder(dc);
            ReleaseDC(window_, dc);
        }
        return result;
    }
    default:
        break;
    }
    return DefSubclassProc(window_, message, wparam, lparam);
}
