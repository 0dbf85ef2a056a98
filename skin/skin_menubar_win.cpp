#include "skin/skin_menubar_win.h"

#include <algorithm>
#include <cwctype>

#include "skin/control_geometry.h"
#include "skin/control_paint.h"
#include "skin/skin_gdi_win.h"
#include "skin/skin_manage_win.h"

namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU
constexpr size_t kMaxCaption = 80;

// Collects the visible popup-menu windows of the thread, topmost first
// (EnumThreadWindows callback).
BOOL CALLBACK CollectPopupMenu(HWND window, LPARAM data) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// The innermost open popup-menu window of this thread, or null.
HWND InnermostPopup() {
    std::vector<HWND> popups;
    EnumThreadWindows(GetCurrentThreadId(), CollectPopupMenu, reinterpret_cast<LPARAM>(&popups));
    return popups.empty() ? nullptr : popups.front();
}

// The highlighted item of a menu, or -1.
int HighlightedItem(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++)
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE) return i;
    return -1;
}

// The accelerator of a caption: the character after a single '&'.
wchar_t AcceleratorOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); i++) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            i++;
            continue;
        }
        return caption[i + 1];
    }
    return 0;
}

}  // namespace

TWinSkinMenu* TWinSkinMenu::open_bar_ = nullptr;
HHOOK TWinSkinMenu::hook_ = nullptr;

void TMenuBtn::Paint() { bar_.PaintItem(*this); }

TWinSkinMenu::~TWinSkinMenu() {
    if (open_bar_ == this) open_bar_ = nullptr;
    if (font_) DeleteObject(font_);
}

// --- The items ------------------------------------------------------------------

void TWinSkinMenu::BuildBar() {
    HWND window = form_.Window();
    HMENU menu = GetMenu(window);
    if (!menu) return;
    if (form_.Hot && dynamic_cast<TMenuBtn*>(form_.Hot)) form_.Hot = nullptr;
    items_.clear();
    menu_ = menu;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++) {
        wchar_t text[kMaxCaption + 1] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = kMaxCaption + 1;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        auto item = std::make_unique<TMenuBtn>(form_, *this, static_cast<int>(items_.size()));
        item->Caption = (info.fType & (MFT_SEPARATOR | MFT_BITMAP)) ? L"" : text;
        item->Enabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
        item->SubMenu = info.hSubMenu;
        item->Command = info.wID;
        item->Visible = true;
        items_.push_back(std::move(item));
    }
    SetMenu(window, nullptr);
}

void TWinSkinMenu::GiveBack() {
    if (form_.Hot && dynamic_cast<TMenuBtn*>(form_.Hot)) form_.Hot = nullptr;
    items_.clear();
    if (menu_ && IsWindow(form_.Window()) && IsMenu(menu_)) SetMenu(form_.Window(), menu_);
    menu_ = nullptr;
}

TMenuBtn* TWinSkinMenu::HitItem(POINT p) {
    for (auto& item : items_)
        if (!item->Caption.empty() && item->Rect.Contains(p.x, p.y)) return item.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FindAccelerator(wchar_t key) {
    for (auto& item : items_) {
        const wchar_t own = AcceleratorOf(item->Caption);
        if (item->Enabled && own && towupper(own) == towupper(key)) return item.get();
    }
    return nullptr;
}

// --- Painting -------------------------------------------------------------------

HFONT TWinSkinMenu::Font() const {
    if (!font_) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        font_ = CreateFontIndirectW(&metrics.lfMenuFont);
    }
    return font_;
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& item, const RECT& where) const {
    HGDIOBJ old = SelectObject(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    const COLORREF text = SkinColorRef(skin_->Colours.MenuBarText, GetSysColor(COLOR_MENUTEXT));
    const COLORREF shadow = SkinColorRef(skin_->Colours.ButtonShadow, GetSysColor(COLOR_BTNSHADOW));
    const COLORREF bar = SkinColorRef(skin_->Colours.Menubar, GetSysColor(COLOR_MENU));
    SetTextColor(dc, item.Enabled ? text
                                  : PixelColorRef(LegibleDisabledText(ColorRefPixel(shadow), ColorRefPixel(bar),
                                                                      ColorRefPixel(text))));
    RECT r = where;
    DrawTextW(dc, item.Caption.c_str(), static_cast<int>(item.Caption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (item.State != 1) {
        HBRUSH frame = CreateSolidBrush(SkinColorRef(skin_->Colours.ButtonHilight, GetSysColor(COLOR_BTNHIGHLIGHT)));
        FrameRect(dc, &where, frame);
        DeleteObject(frame);
    }
    SelectObject(dc, old);
}

void TWinSkinMenu::PaintBar(HDC dc, const RECT& rect, bool active) {
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    active_ = active;
    bar_rect_ = rect;
    background_ = RenderMenuBarBack(*skin_, w, h, active, SkinPixel(skin_->Colours.Menubar));
    SkinBitmap bar = background_;
    const bool has_element = skin_->MenuBar && !skin_->MenuBar->Bitmap.Empty();
    int x = MenuBarFirstItemX(has_element, has_element ? skin_->MenuBar->LeftWidth : 0, w);
    DrawWithGdi(bar, [&](HDC mem) {
        HGDIOBJ old = SelectObject(mem, Font());
        for (auto& item : items_) {
            RECT measure{0, 0, 0, 0};
            DrawTextW(mem, item->Caption.c_str(), static_cast<int>(item->Caption.size()), &measure,
                      DT_SINGLELINE | DT_CALCRECT);
            const int width = MenuBarItemWidth(measure.right);
            const RECT local{x, 0, x + width, h - 1};
            item->Rect = {rect.left + x, rect.top, rect.left + x + width, rect.top + h - 1};
            DrawCaption(mem, *item, local);
            x += width;
        }
        SelectObject(mem, old);
    });
    BlitSkinBitmap(dc, rect.left, rect.top, bar);
}

void TWinSkinMenu::PaintItem(const TMenuBtn& item) {
    if (background_.Empty()) return;
    const int x = item.Rect.left - bar_rect_.left, y = item.Rect.top - bar_rect_.top;
    const int w = item.Rect.Width(), h = item.Rect.Height();
    if (w <= 0 || h <= 0) return;
    SkinBitmap piece = background_.Crop(x, y, w, h);
    DrawWithGdi(piece, [&](HDC mem) { DrawCaption(mem, item, {0, 0, w, h}); });
    HDC dc = GetWindowDC(form_.Window());
    BlitSkinBitmap(dc, item.Rect.left, item.Rect.top, piece);
    ReleaseDC(form_.Window(), dc);
}

// --- Opening --------------------------------------------------------------------

void TWinSkinMenu::OpenItem(TMenuBtn& first, bool select_first) {
    HWND window = form_.Window();
    if (!first.SubMenu) {
        if (first.Enabled) PostMessageW(window, WM_COMMAND, first.Command, 0);
        return;
    }
    int index = first.Index;
    bool select = select_first;
    while (index >= 0 && static_cast<size_t>(index) < items_.size()) {
        TMenuBtn& item = *items_[static_cast<size_t>(index)];
        if (!item.SubMenu) break;
        open_index_ = index;
        target_ = -1;
        switching_ = false;
        form_.SkinMenuItems(item.SubMenu);
        TSkinManage::Instance().MenuOpen = true;
        if (form_.Hot && form_.Hot != &item) form_.Hot->MouseLeave();
        form_.Hot = &item;
        item.State = 2;
        PaintItem(item);
        UINT command = 0;
        if (item.Enabled) {
            open_bar_ = this;
            select_first_ = select;
            first_message_ = true;
            GetCursorPos(&last_cursor_);
            hook_ = SetWindowsHookExW(WH_MSGFILTER, FilterProc, nullptr, GetCurrentThreadId());
            RECT frame;
            GetWindowRect(window, &frame);
            command = static_cast<UINT>(TrackPopupMenuEx(item.SubMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                         frame.left + item.Rect.left, frame.top + item.Rect.bottom,
                                                         window, nullptr));
            if (hook_) UnhookWindowsHookEx(hook_);
            hook_ = nullptr;
            if (open_bar_ != this) {  // the bar went while its menu was open
                TSkinManage::Instance().MenuOpen = false;
                return;
            }
            open_bar_ = nullptr;
        }
        item.State = 1;
        if (form_.Hot == &item) form_.Hot = nullptr;
        PaintItem(item);
        if (command) PostMessageW(window, WM_COMMAND, command, 0);
        index = target_;
        select = target_selects_first_;
    }
    open_index_ = -1;
    target_ = -1;
    TSkinManage::Instance().MenuOpen = false;
}

void TWinSkinMenu::SwitchTo(int index, bool select_first) {
    if (index < 0 || index == open_index_) return;
    target_ = index;
    target_selects_first_ = select_first;
    switching_ = true;
    EndMenu();
}

LRESULT CALLBACK TWinSkinMenu::FilterProc(int code, WPARAM wparam, LPARAM lparam) {
    const LRESULT next = CallNextHookEx(nullptr, code, wparam, lparam);
    if (next || code != MSGF_MENU || !open_bar_ || !lparam) return next;
    return open_bar_->Filter(*reinterpret_cast<MSG*>(lparam)) ? 1 : 0;
}

bool TWinSkinMenu::Filter(MSG& msg) {
    if (first_message_) {
        first_message_ = false;
        if (select_first_)
            if (HWND popup = InnermostPopup()) PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
    }
    const int count = static_cast<int>(items_.size());
    switch (msg.message) {
    case WM_KEYDOWN: {
        WPARAM key = msg.wParam;
        if (GetWindowLongPtrW(form_.Window(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) {
            if (key == VK_LEFT)
                key = VK_RIGHT;
            else if (key == VK_RIGHT)
                key = VK_LEFT;
        }
        if (key == VK_RETURN || key == VK_ESCAPE) {
            switching_ = false;
            return false;
        }
        if (key != VK_LEFT && key != VK_RIGHT) return false;
        HWND popup = InnermostPopup();
        HMENU shown = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, kGetMenuHandle, 0, 0)) : nullptr;
        const bool top_level = !shown || shown == items_[static_cast<size_t>(open_index_)]->SubMenu;
        const int current = shown ? HighlightedItem(shown) : -1;
        if (key == VK_LEFT && top_level) {
            SwitchTo(NextBarItem(open_index_, count, false), true);
            return true;
        }
        if (key == VK_RIGHT && ((current < 0 && top_level) || (current >= 0 && !GetSubMenu(shown, current)))) {
            SwitchTo(NextBarItem(open_index_, count, true), true);
            return true;
        }
        return false;
    }
    case WM_SYSKEYDOWN:
        if (msg.wParam == VK_MENU) {
            switching_ = false;
            target_ = -1;
            EndMenu();
            return true;
        }
        return false;
    case WM_MOUSEMOVE: {
        if (msg.pt.x == last_cursor_.x && msg.pt.y == last_cursor_.y) return false;
        last_cursor_ = msg.pt;
        RECT frame;
        GetWindowRect(form_.Window(), &frame);
        TMenuBtn* hit = HitItem({msg.pt.x - frame.left, msg.pt.y - frame.top});
        if (hit && hit->Index != open_index_ && hit->SubMenu) SwitchTo(hit->Index, false);
        return false;
    }
    default:
        return false;
    }
}
