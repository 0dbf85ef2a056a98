// A popup menu built from menu item records: the platform menu, the state
// of each item (caption, check mark, hidden) and the accelerators of its
// shortcuts. Item i has the command id first_id + i.
#pragma once

#include "app/main_menus.h"

#include <windows.h>

#include <string>
#include <vector>

class PopupMenu {
public:
    PopupMenu(const std::vector<MenuItemRecord>& items, int first_id);
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    HMENU Handle() const { return menu_; }
    int Count() const { return static_cast<int>(items_.size()); }
    int Index(const std::wstring& name) const { return FindMenuItem(items_, name); }
    int IndexOfCommand(int id) const;           // -1 when not ours
    int CommandOf(int index) const { return first_id_ + index; }
    const MenuItemRecord& Record(int index) const { return items_[index]; }

    std::wstring Caption(int index) const { return captions_[index]; }
    void SetCaption(int index, const std::wstring& caption);
    bool Checked(int index) const { return checked_[index]; }
    // Checking a radio item clears the other items of its group.
    void SetChecked(int index, bool checked);
    bool Hidden(int index) const { return hidden_[index]; }
    void SetHidden(int index, bool hidden);

    // Accelerator entries for the items with a shortcut.
    std::vector<ACCEL> Accelerators() const;
    // Opens the menu at a screen position; commands go to owner as WM_COMMAND.
    void Popup(HWND owner, int x, int y) const;

private:
    void Build();
    HMENU BuildLevel(int parent);
    std::wstring MenuText(int index) const;

    std::vector<MenuItemRecord> items_;
    int first_id_;
    HMENU menu_ = nullptr;
    std::vector<std::wstring> captions_;
    std::vector<bool> checked_;
    std::vector<bool> hidden_;
};
