// The two popup menus of the main window as data: every item, separator,
// shortcut and radio group, in menu order. The Win32 layer builds the menus
// and the accelerator table from these records.
#pragma once

#include <string>
#include <vector>

struct MenuItemRecord {
    std::wstring name;      // empty for a separator
    std::wstring caption;   // "-" for a separator
    int shortcut = 0;       // encoded as in app/shortcut.h, 0 for none
    int depth = 0;          // 0 top level, 1 inside the submenu above it
    int radioGroup = 0;     // items of one submenu with the same non-zero group are exclusive
    bool checked = false;
    bool hidden = false;

    bool IsSeparator() const { return name.empty(); }
};

// The context menu of the control panel (and the start button's menu).
const std::vector<MenuItemRecord>& PopupMenu1Items();
// The context menu of the playlist.
const std::vector<MenuItemRecord>& PopupMenu2Items();

// Index of the item called name in items, or -1.
int FindMenuItem(const std::vector<MenuItemRecord>& items, const std::wstring& name);
// True when the item at index opens a submenu (the next item is one level deeper).
bool HasSubmenu(const std::vector<MenuItemRecord>& items, int index);
// Indices of the items that share index's radio group inside the same
// submenu, index included; just index for an item without a group.
std::vector<int> RadioGroupMembers(const std::vector<MenuItemRecord>& items, int index);
// Indices of the items that sit directly in the submenu opened by the item
// at parent (parent = -1: the top level), separators included.
std::vector<int> MenuChildren(const std::vector<MenuItemRecord>& items, int parent);
