// TWinSkinMenu: a skinned window's menu bar, taken from the platform and
// drawn by the frame skinner in the strip under the title bar. Each
// top-level item is a TMenuBtn; an item with a submenu opens the platform's
// popup menu (its items owner-drawn in the skin's look), and a message
// filter hook moves between the bar's items while a popup is open: the
// arrow keys past the ends of a popup and the mouse over another item.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/skin_data.h"
#include "skin/win_skin_form_win.h"

class TWinSkinMenu;

// One item of the bar.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm& owner, TWinSkinMenu& bar, int index) : TNCObject(owner), Index(index), bar_(bar) {}
    void Paint() override;

    int Index;
    std::wstring Caption;     // at most 80 characters
    bool Enabled = true;
    HMENU SubMenu = nullptr;  // none for a command item
    UINT Command = 0;

private:
    TWinSkinMenu& bar_;
};

class TWinSkinMenu {
public:
    TWinSkinMenu(TWinSkinForm& form, TSkinData& skin) : form_(form), skin_(&skin) {}
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // Reads the window's menu into the items and takes it from the window.
    void BuildBar();
    // Gives the menu back to the window.
    void GiveBack();
    bool HasMenu() const { return menu_ != nullptr; }
    HMENU Menu() const { return menu_; }

    // Draws the bar into `rect` (window coordinates) of the window DC.
    void PaintBar(HDC window_dc, const RECT& rect, bool active);
    // Redraws one item in its present state.
    void PaintItem(const TMenuBtn& item);
    // The item at a point in window coordinates with a caption, or null.
    TMenuBtn* HitItem(POINT window_point);
    // Runs the item: a command item posts its command; an item with a
    // submenu shows it under the item until it closes (switching to other
    // items as the hook asks). `select_first` selects the popup's first
    // item (opened from the keyboard).
    void OpenItem(TMenuBtn& item, bool select_first = false);
    // The first enabled item whose caption has `key` as its accelerator.
    TMenuBtn* FindAccelerator(wchar_t key);
    size_t Count() const { return items_.size(); }
    TMenuBtn& Item(size_t index) { return *items_[index]; }
    // The item whose popup is open, or -1.
    int OpenIndex() const { return open_index_; }

private:
    static LRESULT CALLBACK FilterProc(int code, WPARAM wparam, LPARAM lparam);
    bool Filter(MSG& msg);
    void SwitchTo(int index, bool select_first);
    HFONT Font() const;
    void DrawCaption(HDC dc, const TMenuBtn& item, const RECT& where) const;

    TWinSkinForm& form_;
    TSkinData* skin_;
    HMENU menu_ = nullptr;
    std::vector<std::unique_ptr<TMenuBtn>> items_;
    RECT bar_rect_{};            // window coordinates
    SkinBitmap background_;      // the bar's background as last drawn
    bool active_ = true;

    // While a popup is open.
    int open_index_ = -1;
    int target_ = -1;            // the item to open next
    bool target_selects_first_ = false;
    bool first_message_ = false;
    bool select_first_ = false;
    POINT last_cursor_{};
    bool switching_ = false;
    mutable HFONT font_ = nullptr;
    static HHOOK hook_;
    static TWinSkinMenu* open_bar_;
};
