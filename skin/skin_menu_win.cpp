#include "skin/skin_menu_win.h"

#include <algorithm>

#include "skin/control_geometry.h"
#include "skin/control_paint.h"
#include "skin/skin_gdi_win.h"
#include "skin/skin_manage_win.h"
#include "skin/skin_popmenu_win.h"

namespace {

HFONT MenuFont(bool bold) {
    static HFONT normal = nullptr, heavy = nullptr;
    HFONT& font = bold ? heavy : normal;
    if (!font) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        if (bold) metrics.lfMenuFont.lfWeight = FW_BOLD;
        font = CreateFontIndirectW(&metrics.lfMenuFont);
    }
    return font;
}

// The item's place in the skinned popup window's background, or an empty
// bitmap when no skinned window with a background shows the menu.
SkinBitmap PopupBackgroundAt(HDC dc, HMENU menu, const RECT& item) {
    TWinSkinPopMenu* popup = PopMenuSkinnerOf(WindowFromDC(dc));
    if (!popup) popup = TSkinManage::Instance().PopMenuShowing(menu);
    if (!popup || !popup->HasBackground()) return {};
    const SkinBitmap& back = popup->Background();
    const POINT offset = popup->ClientOffset();
    const int x = item.left + offset.x, y = item.top + offset.y;
    const int w = item.right - item.left, h = item.bottom - item.top;
    if (x < 0 || y < 0 || x + w > back.width || y + h > back.height) return {};
    return back.Crop(x, y, w, h);
}

// A small right-pointing triangle at the right end of an item w x h.
void DrawSubmenuArrow(HDC dc, int w, int h, COLORREF colour) {
    const int size = 4, x = w - 10, y = h / 2;
    const POINT points[3] = {{x, y - size}, {x + size, y}, {x, y + size}};
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old_brush = SelectObject(dc, brush), old_pen = SelectObject(dc, pen);
    Polygon(dc, points, 3);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(brush);
    DeleteObject(pen);
}

bool Win95Family() { return (GetVersion() & 0x80000000u) != 0; }

// The item's text as the menu holds it now (a caption may have changed
// since the item was marked), or the text it had then.
std::wstring LiveText(HMENU menu, UINT position, const std::wstring& stored) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 255;
    if (GetMenuItemInfoW(menu, position, TRUE, &info) && text[0]) return text;
    return stored;
}

}  // namespace

void TSkinMenuItems::Prepare(HMENU menu) {
    // Records of items the menu no longer holds (it was rebuilt) go.
    items_.remove_if([](const Item& item) {
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_DATA;
        return !IsMenu(item.menu) || !GetMenuItemInfoW(item.menu, item.position, TRUE, &info) ||
               info.dwItemData != reinterpret_cast<ULONG_PTR>(&item);
    });
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 255;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fType & (MFT_OWNERDRAW | MFT_BITMAP)) continue;
        if (info.dwItemData == kKeepLook) continue;
        Item item;
        item.menu = menu;
        item.position = static_cast<UINT>(i);
        item.id = info.wID;
        item.text = text;
        item.separator = (info.fType & MFT_SEPARATOR) != 0;
        item.original_type = info.fType;
        item.original_data = info.dwItemData;
        items_.push_back(item);
        MENUITEMINFOW mark{sizeof(mark)};
        mark.fMask = MIIM_FTYPE | MIIM_DATA;
        mark.fType = (info.fType & ~MFT_SEPARATOR) | MFT_OWNERDRAW;
        mark.dwItemData = reinterpret_cast<ULONG_PTR>(&items_.back());
        SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mark);
    }
}

bool TSkinMenuItems::Measure(MEASUREITEMSTRUCT& m) {
    if (m.CtlType != ODT_MENU) return false;
    const Item* item = nullptr;
    for (const Item& it : items_)
        if (reinterpret_cast<ULONG_PTR>(&it) == m.itemData) item = &it;
    if (!item) return false;
    SIZE size{0, 0};
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, MenuFont(false));
    const std::wstring live = LiveText(item->menu, item->position, item->text);
    std::wstring shown = live;
    std::replace(shown.begin(), shown.end(), L'\t', L' ');
    if (!shown.empty()) GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    else GetTextExtentPoint32W(dc, L"M", 1, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const MenuItemSize s = MeasureMenuItem(size.cx + (live.find(L'\t') != std::wstring::npos ? 16 : 0),
                                           size.cy, item->separator, Win95Family());
    m.itemWidth = static_cast<UINT>(s.width);
    m.itemHeight = static_cast<UINT>(s.height);
    return true;
}

bool TSkinMenuItems::Draw(const DRAWITEMSTRUCT& d) {
    if (d.CtlType != ODT_MENU) return false;
    const Item* item = nullptr;
    for (const Item& it : items_)
        if (reinterpret_cast<ULONG_PTR>(&it) == d.itemData) item = &it;
    if (!item) return false;
    const int w = d.rcItem.right - d.rcItem.left, h = d.rcItem.bottom - d.rcItem.top;
    if (w <= 0 || h <= 0) return true;
    SkinBitmap face = PopupBackgroundAt(d.hDC, item->menu, d.rcItem);
    if (face.Empty()) face.Resize(w, h, SkinPixel(skin_.Colours.Menu));
    const TDataSkinObject* e = skin_.MenuItem.get();
    const bool selected = (d.itemState & ODS_SELECTED) != 0;
    const bool disabled = (d.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    const bool checked = (d.itemState & ODS_CHECKED) != 0;
    const bool submenu = GetSubMenu(item->menu, static_cast<int>(item->position)) != nullptr;
    if (item->separator) {
        if (e && !e->Bitmap.Empty()) {
            const SkinBitmap frame = CutFrame(e->Bitmap, 2, ElementFrames(*e, 5), FrameAxis::SideBySide);
            const int rows = std::min(frame.height, 2);
            const SkinBitmap line = frame.Crop(0, frame.height - rows, frame.width, rows);
            // The ends copied, the middle stretched: one unbroken line.
            DrawBitmap(face, 0, (h - rows) / 2, NineSlice(line, {e->LeftWidth, 0, e->RightWidth, 0}, w, rows, false),
                       true);
        } else {
            FillSkinRect(face, {2, h / 2 - 1, w - 2, h / 2}, SkinPixel(skin_.Colours.ButtonShadow));
            FillSkinRect(face, {2, h / 2, w - 2, h / 2 + 1}, SkinPixel(skin_.Colours.ButtonHilight));
        }
        BlitSkinBitmap(d.hDC, d.rcItem.left, d.rcItem.top, face);
        return true;
    }
    if (e && !e->Bitmap.Empty()) DrawElement(face, *e, selected && !disabled ? 4 : 1, ElementFrames(*e, 5), {0, 0, w, h});
    const COLORREF menu_text = SkinColorRef(skin_.Colours.MenuText, GetSysColor(COLOR_MENUTEXT));
    COLORREF colour = selected ? SkinColorRef(skin_.Colours.HilightText, GetSysColor(COLOR_HIGHLIGHTTEXT)) : menu_text;
    if (disabled) {
        const COLORREF shadow = SkinColorRef(skin_.Colours.ButtonShadow, GetSysColor(COLOR_BTNSHADOW));
        colour = shadow == menu_text ? GetSysColor(COLOR_BTNSHADOW) : shadow;
        const COLORREF menu = SkinColorRef(skin_.Colours.Menu, GetSysColor(COLOR_MENU));
        colour = PixelColorRef(LegibleDisabledText(ColorRefPixel(colour), ColorRefPixel(menu), ColorRefPixel(menu_text)));
    }
    const std::wstring text = LiveText(item->menu, item->position, item->text);
    const size_t tab = text.find(L'\t');
    const std::wstring caption = text.substr(0, tab);
    const std::wstring shortcut = tab == std::wstring::npos ? L"" : text.substr(tab + 1);
    const bool bold = (d.itemState & ODS_DEFAULT) != 0;
    const bool hide_prefix = (d.itemState & ODS_NOACCEL) != 0;
    DrawWithGdi(face, [&](HDC mem) {
        HGDIOBJ old = SelectObject(mem, MenuFont(bold));
        SetBkMode(mem, TRANSPARENT);
        SetTextColor(mem, colour);
        if (checked) {
            RECT box{1, (h - 16) / 2, 17, (h - 16) / 2 + 16};
            DrawTextW(mem, L"\u221A", 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
        RECT r{20, 0, w - 6, h};
        const UINT prefix = hide_prefix ? DT_HIDEPREFIX : 0;
        DrawTextW(mem, caption.c_str(), static_cast<int>(caption.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix);
        if (!shortcut.empty())
            DrawTextW(mem, shortcut.c_str(), static_cast<int>(shortcut.size()), &r, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | prefix);
        if (submenu) DrawSubmenuArrow(mem, w, h, colour);
        SelectObject(mem, old);
    });
    BlitSkinBitmap(d.hDC, d.rcItem.left, d.rcItem.top, face);
    // The platform draws its own arrow after this over a popup item, in its
    // own colour: the item is kept out of its reach.
    if (submenu) ExcludeClipRect(d.hDC, d.rcItem.left, d.rcItem.top, d.rcItem.right, d.rcItem.bottom);
    return true;
}

void TSkinMenuItems::Restore() {
    for (Item& item : items_) {
        if (!IsMenu(item.menu)) continue;
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        if (!GetMenuItemInfoW(item.menu, item.position, TRUE, &info)) continue;
        if (info.dwItemData != reinterpret_cast<ULONG_PTR>(&item)) continue;
        std::wstring text = LiveText(item.menu, item.position, item.text);
        MENUITEMINFOW back{sizeof(back)};
        back.fMask = MIIM_FTYPE | MIIM_DATA | (item.separator ? 0 : MIIM_STRING);
        back.fType = item.original_type;
        back.dwItemData = item.original_data;
        back.dwTypeData = text.data();
        SetMenuItemInfoW(item.menu, item.position, TRUE, &back);
    }
    items_.clear();
}
