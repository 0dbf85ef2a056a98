// Owner-drawn menu items in the skin's look: every popup the skinned
// window opens has its items marked owner-drawn when it is about to show
// (so the marks come back after the menu was rebuilt), measured and drawn
// from the MenuItem element and the menu colours. Items are given back
// their text and look when skinning ends.
#pragma once

#include <windows.h>

#include <list>
#include <string>

#include "skin/skin_data.h"

class TSkinMenuItems {
public:
    explicit TSkinMenuItems(TSkinData& skin) : skin_(skin) {}
    ~TSkinMenuItems() { Restore(); }
    TSkinMenuItems(const TSkinMenuItems&) = delete;
    TSkinMenuItems& operator=(const TSkinMenuItems&) = delete;

    // WM_INITMENUPOPUP: marks the popup's items.
    void Prepare(HMENU menu);
    // WM_MEASUREITEM and WM_DRAWITEM for menus; false when the item is not ours.
    bool Measure(MEASUREITEMSTRUCT& item);
    bool Draw(const DRAWITEMSTRUCT& item);
    // Gives every marked item its text and platform look back.
    void Restore();

    // Items with this data keep the platform look.
    static constexpr ULONG_PTR kKeepLook = 999;

private:
    struct Item {
        HMENU menu = nullptr;
        UINT id = 0;              // command, or the submenu handle for a popup item
        bool by_position = false;
        UINT position = 0;
        std::wstring text;
        bool separator = false;
        UINT original_type = 0;
        ULONG_PTR original_data = 0;
    };
    TSkinData& skin_;
    std::list<Item> items_;
};
