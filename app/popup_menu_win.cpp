#include "app/popup_menu_win.h"

#include "app/shortcut.h"

PopupMenu::PopupMenu(const std::vector<MenuItemRecord>& items, int first_id) : items_(items), first_id_(first_id) {
    for (const MenuItemRecord& item : items_) {
        captions_.push_back(item.caption);
        checked_.push_back(item.checked);
        hidden_.push_back(item.hidden);
    }
    Build();
}

PopupMenu::~PopupMenu() {
    if (menu_) DestroyMenu(menu_);
}

int PopupMenu::IndexOfCommand(int id) const {
    int index = id - first_id_;
    return index >= 0 && index < Count() ? index : -1;
}

std::wstring PopupMenu::MenuText(int index) const {
    std::wstring text = captions_[index];
    if (items_[index].shortcut) text += L"\t" + ShortcutText(items_[index].shortcut);
    return text;
}

void PopupMenu::Build() {
    if (menu_) DestroyMenu(menu_);
    menu_ = BuildLevel(-1);
}

HMENU PopupMenu::BuildLevel(int parent) {
    HMENU menu = CreatePopupMenu();
    UINT position = 0;
    for (int i : MenuChildren(items_, parent)) {
        if (hidden_[i]) continue;
        const MenuItemRecord& item = items_[i];
        std::wstring text = MenuText(i);
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE;
        info.wID = static_cast<UINT>(CommandOf(i));
        if (item.IsSeparator()) {
            info.fType = MFT_SEPARATOR;
        } else {
            info.fMask |= MIIM_STRING;
            info.fType = MFT_STRING | (item.radioGroup ? MFT_RADIOCHECK : 0);
            info.dwTypeData = text.data();
            info.fState = checked_[i] ? MFS_CHECKED : MFS_UNCHECKED;
            if (HasSubmenu(items_, i)) {
                info.fMask |= MIIM_SUBMENU;
                info.hSubMenu = BuildLevel(i);
            }
        }
        InsertMenuItemW(menu, position++, TRUE, &info);
    }
    return menu;
}

void PopupMenu::SetCaption(int index, const std::wstring& caption) {
    captions_[index] = caption;
    std::wstring text = MenuText(index);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text.data();
    SetMenuItemInfoW(menu_, static_cast<UINT>(CommandOf(index)), FALSE, &info);
}

void PopupMenu::SetChecked(int index, bool checked) {
    if (checked && items_[index].radioGroup) {
        std::vector<int> group = RadioGroupMembers(items_, index);
        for (int member : group) checked_[member] = member == index;
        CheckMenuRadioItem(menu_, static_cast<UINT>(CommandOf(group.front())),
                           static_cast<UINT>(CommandOf(group.back())), static_cast<UINT>(CommandOf(index)),
                           MF_BYCOMMAND);
        return;
    }
    checked_[index] = checked;
    CheckMenuItem(menu_, static_cast<UINT>(CommandOf(index)), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void PopupMenu::SetHidden(int index, bool hidden) {
    if (hidden_[index] == hidden) return;
    hidden_[index] = hidden;
    Build();
}

std::vector<ACCEL> PopupMenu::Accelerators() const {
    std::vector<ACCEL> accelerators;
    for (int i = 0; i < Count(); ++i) {
        if (!items_[i].shortcut) continue;
        ShortcutParts parts = DecodeShortcut(items_[i].shortcut);
        ACCEL accel{};
        accel.fVirt = FVIRTKEY | (parts.ctrl ? FCONTROL : 0) | (parts.alt ? FALT : 0) | (parts.shift ? FSHIFT : 0);
        accel.key = static_cast<WORD>(parts.key);
        accel.cmd = static_cast<WORD>(CommandOf(i));
        accelerators.push_back(accel);
    }
    return accelerators;
}

void PopupMenu::Popup(HWND owner, int x, int y) const {
    TrackPopupMenuEx(menu_, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, owner, nullptr);
}
