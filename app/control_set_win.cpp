#include "app/control_set_win.h"

#include "app/application_win.h"
#include "app/glyphs_win.h"
#include "skin/control_scan.h"
#include "skin/skin_controls_win.h"

#include <commctrl.h>

#include <algorithm>

COLORREF ColorValue(uint32_t color) {
    if (color & kSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

namespace {

HFONT MakeFont(const wchar_t* face, int height) {
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

RECT ToRect(const LayoutRect& r) { return {r.left, r.top, r.left + r.width, r.top + r.height}; }

}  // namespace

ControlSet::ControlSet(const std::vector<ControlRecord>& records, int first_id) : first_id_(first_id) {
    entries_.resize(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        Entry& e = entries_[i];
        e.record = &records[i];
        e.parent = records[i].parent.empty() ? -1 : Index(records[i].parent);
        e.text = records[i].text;
        e.rect = {records[i].left, records[i].top, records[i].width, records[i].height};
        e.visible = !records[i].Has(kHidden);
    }
}

ControlSet::~ControlSet() {
    if (tooltip_) DestroyWindow(tooltip_);
    if (default_font_) DeleteObject(default_font_);
    if (label_font_) DeleteObject(label_font_);
    for (auto& [color, brush] : brushes_) DeleteObject(brush);
}

int ControlSet::Index(const std::wstring& name) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].record && entries_[i].record->name == name) return static_cast<int>(i);
    return -1;
}

int ControlSet::IndexOfWindow(HWND window) const {
    if (!window) return -1;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].window == window) return static_cast<int>(i);
    return -1;
}

int ControlSet::IndexOfId(int id) const {
    int index = id - first_id_;
    return index >= 0 && index < Count() ? index : -1;
}

bool ControlSet::IsInside(int index, int ancestor) const {
    for (int i = index; i >= 0; i = entries_[i].parent)
        if (i == ancestor) return true;
    return false;
}

HWND ControlSet::Window(const std::wstring& name) const {
    int index = Index(name);
    return index < 0 ? nullptr : entries_[index].window;
}

HWND ControlSet::HostWindow(int index) const {
    if (index < 0) return form_;
    if (entries_[index].window) return entries_[index].window;
    return HostWindow(entries_[index].parent);
}

void ControlSet::Create(HWND form, const WindowFactory& make_flash, MouseHandler mouse) {
    form_ = form;
    mouse_ = std::move(mouse);
    default_font_ = MakeFont(L"MS Sans Serif", -11);
    label_font_ = MakeFont(L"宋体", -13);
    for (int i = 0; i < Count(); ++i) {
        if (!Record(i).HasWindow()) continue;
        HWND parent = HostWindow(entries_[i].parent);
        entries_[i].window = CreateWindowFor(i, parent, make_flash);
        if (!entries_[i].window) continue;
        // Later controls lie above earlier ones.
        SetWindowPos(entries_[i].window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    AddHints();
    RegisterSkinTable();
}

namespace {

ScanKind ScanKindOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Panel: return ScanKind::Panel;
    case ControlKind::BitBtn: return ScanKind::BitBtn;
    case ControlKind::SpeedButton: return ScanKind::SpeedButton;
    case ControlKind::ListBox: return ScanKind::ListBox;
    case ControlKind::CheckBox: return ScanKind::CheckBox;
    case ControlKind::RadioButton: return ScanKind::RadioButton;
    case ControlKind::ProgressBar: return ScanKind::ProgressBar;
    case ControlKind::Edit: return ScanKind::Edit;
    case ControlKind::Memo: return ScanKind::Memo;
    default: return ScanKind::Other;
    }
}

}  // namespace

// The table as the skin engine's control scan reads it, in the table's order.
void ControlSet::RegisterSkinTable() {
    std::vector<SkinTableRow> rows;
    for (int i = 0; i < Count(); ++i) {
        if (!entries_[i].window) continue;
        const ControlRecord& r = Record(i);
        SkinTableRow row{entries_[i].window, static_cast<int>(ScanKindOf(r.kind)), 0, nullptr};
        if (r.glyph != ControlGlyph::None && (r.kind == ControlKind::SpeedButton || r.kind == ControlKind::BitBtn)) {
            const ControlGlyph glyph = r.glyph;
            row.glyph = [glyph](HDC dc, const RECT& rect, bool enabled) {
                RECT box = rect;
                DrawGlyph(dc, glyph, box, enabled);
            };
        }
        rows.push_back(std::move(row));
    }
    SetSkinControlTable(form_, std::move(rows));
}

HWND ControlSet::CreateWindowFor(int index, HWND parent, const WindowFactory& make_flash) {
    const ControlRecord& r = Record(index);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    DWORD common = WS_CHILD | WS_CLIPSIBLINGS;
    if (!r.Has(kHidden)) common |= WS_VISIBLE;
    if (r.Has(kDisabled)) common |= WS_DISABLED;
    HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdOf(index)));

    if (r.kind == ControlKind::Flash) {
        HWND window = make_flash ? make_flash(parent, IdOf(index), r) : nullptr;
        if (window && r.Has(kHidden)) ShowWindow(window, SW_HIDE);
        return window;
    }
    if (r.kind == ControlKind::Panel) {
        auto style = std::make_unique<PanelStyle>();
        style->color = ColorValue(r.color);
        style->bevel = r.Has(kBevel);
        style->paint = [this, index](HDC dc, const RECT&) { PaintPanel(index, dc); };
        style->mouse = [this, index](UINT message, int x, int y, WPARAM) { PanelMouse(index, message, x, y); };
        entries_[index].panel = std::move(style);
        return CreatePanel(parent, IdOf(index), r.left, r.top, r.width, r.height,
                           common & ~(WS_CHILD | WS_CLIPSIBLINGS), entries_[index].panel.get());
    }

    const wchar_t* window_class = L"BUTTON";
    DWORD style = common;
    DWORD ex_style = 0;
    switch (r.kind) {
    case ControlKind::BitBtn: style |= BS_OWNERDRAW | WS_TABSTOP; break;
    case ControlKind::SpeedButton: style |= BS_OWNERDRAW; break;
    case ControlKind::CheckBox: style |= BS_AUTOCHECKBOX | WS_TABSTOP; break;
    case ControlKind::RadioButton: style |= BS_RADIOBUTTON | WS_TABSTOP; break;
    case ControlKind::ListBox:
        window_class = L"LISTBOX";
        style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
        ex_style = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::ProgressBar: window_class = PROGRESS_CLASSW; break;
    case ControlKind::Edit:
        window_class = L"EDIT";
        style |= ES_AUTOHSCROLL | WS_TABSTOP;
        ex_style = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::Memo:
        window_class = L"EDIT";
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP;
        if (r.Has(kReadOnly)) style |= ES_READONLY;
        if (r.Has(kVerticalScroll)) style |= WS_VSCROLL;
        if (!r.Has(kNoBorder)) ex_style = WS_EX_CLIENTEDGE;
        break;
    default: return nullptr;
    }
    HWND window = CreateWindowExW(ex_style, window_class, r.text.c_str(), style, r.left, r.top, r.width,
                                  r.height, parent, id, instance, nullptr);
    if (!window) return nullptr;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(default_font_), FALSE);
    if (r.kind == ControlKind::ProgressBar) SendMessageW(window, PBM_SETRANGE32, 0, r.rangeMax);
    if (r.Has(kChecked)) SendMessageW(window, BM_SETCHECK, BST_CHECKED, 0);
    if (r.kind == ControlKind::SpeedButton)
        SetWindowSubclass(window, FlatButtonProc, static_cast<UINT_PTR>(index), reinterpret_cast<DWORD_PTR>(this));
    return window;
}

// A flat button shows its frame only while the mouse is over it.
LRESULT CALLBACK ControlSet::FlatButtonProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                            UINT_PTR index, DWORD_PTR data) {
    auto* self = reinterpret_cast<ControlSet*>(data);
    Entry& entry = self->entries_[index];
    if (message == WM_MOUSEMOVE && !entry.hot) {
        entry.hot = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
        InvalidateRect(window, nullptr, FALSE);
    } else if (message == WM_MOUSELEAVE) {
        entry.hot = false;
        InvalidateRect(window, nullptr, FALSE);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, FlatButtonProc, index);
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

void ControlSet::AddHints() {
    // Owned by the hidden application window: a tooltip owned by the form
    // would keep the form out of the topmost band under Wine.
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, ApplicationWindow(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!tooltip_) return;
    for (int i = 0; i < Count(); ++i) {
        const ControlRecord& r = Record(i);
        if (r.hint.empty() || r.Has(kHintHidden)) continue;
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.lpszText = const_cast<wchar_t*>(r.hint.c_str());
        if (entries_[i].window) {
            tool.uFlags |= TTF_IDISHWND;
            tool.hwnd = GetParent(entries_[i].window);
            tool.uId = reinterpret_cast<UINT_PTR>(entries_[i].window);
        } else {
            tool.hwnd = HostWindow(i);
            tool.uId = static_cast<UINT_PTR>(IdOf(i));
            tool.rect = ToRect(entries_[i].rect);
        }
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void ControlSet::HideHint() const {
    if (tooltip_) SendMessageW(tooltip_, TTM_POP, 0, 0);
}

std::wstring ControlSet::Text(int index) const {
    HWND window = entries_[index].window;
    if (!window) return entries_[index].text;
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

void ControlSet::SetText(int index, const std::wstring& text) {
    Entry& e = entries_[index];
    if (e.window) {
        SetWindowTextW(e.window, text.c_str());
        return;
    }
    e.text = text;
    RECT r = ToRect(e.rect);
    InvalidateRect(HostWindow(index), &r, TRUE);
}

LayoutRect ControlSet::Rect(int index) const {
    const Entry& e = entries_[index];
    if (!e.window) return e.rect;
    RECT r;
    GetWindowRect(e.window, &r);
    MapWindowPoints(nullptr, GetParent(e.window), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void ControlSet::SetRect(int index, const LayoutRect& rect) {
    Entry& e = entries_[index];
    if (e.window) {
        MoveWindow(e.window, rect.left, rect.top, rect.width, rect.height, TRUE);
        return;
    }
    HWND host = HostWindow(index);
    RECT old_rect = ToRect(e.rect);
    InvalidateRect(host, &old_rect, TRUE);
    e.rect = rect;
    RECT new_rect = ToRect(rect);
    InvalidateRect(host, &new_rect, TRUE);
}

bool ControlSet::Visible(int index) const {
    const Entry& e = entries_[index];
    if (!e.window) return e.visible;
    return (GetWindowLongPtrW(e.window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void ControlSet::SetVisible(int index, bool visible) {
    Entry& e = entries_[index];
    if (e.window) {
        ShowWindow(e.window, visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    e.visible = visible;
    RECT r = ToRect(e.rect);
    InvalidateRect(HostWindow(index), &r, TRUE);
}

bool ControlSet::Enabled(int index) const {
    HWND window = entries_[index].window;
    return window ? (GetWindowLongPtrW(window, GWL_STYLE) & WS_DISABLED) == 0 : true;
}

void ControlSet::SetEnabled(int index, bool enabled) {
    if (HWND window = entries_[index].window) EnableWindow(window, enabled);
}

bool ControlSet::Checked(int index) const {
    HWND window = entries_[index].window;
    return window && SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ControlSet::SetCheckState(int index, bool checked) {
    if (HWND window = entries_[index].window)
        SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

RECT ControlSet::InnerRect(int index) const {
    RECT r{};
    GetClientRect(HostWindow(index), &r);
    if (index >= 0 && Record(index).Has(kBevel)) InflateRect(&r, -1, -1);
    return r;
}

void ControlSet::Realign() {
    // Parents come before their children in the table, so a panel has its
    // new size by the time its own children are placed.
    for (int parent = -1; parent < Count(); ++parent) {
        if (parent >= 0 && Record(parent).kind != ControlKind::Panel) continue;
        std::vector<int> members;
        std::vector<AlignedChild> children;
        for (int i = 0; i < Count(); ++i) {
            if (entries_[i].parent != parent || Record(i).align == ControlAlign::None) continue;
            members.push_back(i);
            children.push_back({Record(i).align, Visible(i), Rect(i)});
        }
        if (members.empty()) continue;
        RECT inner = InnerRect(parent);
        AlignChildren({inner.left, inner.top, inner.right - inner.left, inner.bottom - inner.top}, children);
        for (size_t k = 0; k < members.size(); ++k)
            if (!(children[k].rect == Rect(members[k]))) SetRect(members[k], children[k].rect);
    }
}

void ControlSet::PaintPanel(int panel, HDC dc) const {
    for (int i = 0; i < Count(); ++i)
        if (entries_[i].parent == panel && !entries_[i].window && entries_[i].visible) PaintGraphic(i, dc);
}

void ControlSet::PaintGraphic(int index, HDC dc) const {
    const ControlRecord& r = Record(index);
    const Entry& e = entries_[index];
    RECT rect = ToRect(e.rect);
    switch (r.kind) {
    case ControlKind::Image:
        DrawGlyph(dc, r.glyph, rect, true);
        break;
    case ControlKind::Shape: {
        HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        HGDIOBJ old_pen = SelectObject(dc, GetStockObject(BLACK_PEN));
        int corner = std::min(e.rect.width, e.rect.height) / 4;
        RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
        SelectObject(dc, old_pen);
        SelectObject(dc, old_brush);
        break;
    }
    case ControlKind::Label: {
        HGDIOBJ old_font = SelectObject(dc, r.Has(kLabelFont) ? label_font_ : default_font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorValue(r.fontColor));
        DrawTextW(dc, e.text.c_str(), static_cast<int>(e.text.size()), &rect, DT_LEFT | DT_TOP | DT_EXPANDTABS);
        SelectObject(dc, old_font);
        break;
    }
    default: break;
    }
}

void ControlSet::PanelMouse(int panel, UINT message, int x, int y) {
    if (!mouse_) return;
    // A picture inside the panel takes the click when it lies under the mouse;
    // the one drawn last is on top.
    int target = panel;
    for (int i = 0; i < Count(); ++i) {
        const Entry& e = entries_[i];
        if (e.parent != panel || e.window || !e.visible) continue;
        if (x >= e.rect.left && x < e.rect.left + e.rect.width && y >= e.rect.top && y < e.rect.top + e.rect.height)
            target = i;
    }
    if (target != panel) {
        x -= entries_[target].rect.left;
        y -= entries_[target].rect.top;
    }
    mouse_(target, message, x, y);
}

void ControlSet::DrawItem(const DRAWITEMSTRUCT& item) const {
    int index = IndexOfWindow(item.hwndItem);
    if (index < 0) return;
    const ControlRecord& r = Record(index);
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    bool enabled = (item.itemState & ODS_DISABLED) == 0;
    RECT rect = item.rcItem;
    HDC dc = item.hDC;
    std::wstring text = Text(index);

    if (r.kind == ControlKind::BitBtn) {
        DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    } else {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
        if (pressed)
            DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
        else if (entries_[index].hot && enabled)
            DrawEdge(dc, &rect, BDR_RAISEDINNER, BF_RECT);
    }
    if (pressed) OffsetRect(&rect, 1, 1);

    RECT text_rect = rect;
    if (r.glyph != ControlGlyph::None && r.kind == ControlKind::SpeedButton) text.clear();
    if (r.glyph != ControlGlyph::None) {
        int size = 16;
        int glyph_left = text.empty() ? (rect.left + rect.right - size) / 2 : rect.left + 12;
        int glyph_top = (rect.top + rect.bottom - size) / 2;
        RECT glyph{glyph_left, glyph_top, glyph_left + size, glyph_top + size};
        DrawGlyph(dc, r.glyph, glyph, enabled);
        text_rect.left = glyph.right + 4;
        text_rect.right -= 8;
    }
    if (!text.empty()) {
        HGDIOBJ old_font = SelectObject(dc, default_font_);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old_font);
    }
    if ((item.itemState & ODS_FOCUS) && r.kind == ControlKind::BitBtn) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

HBRUSH ControlSet::BrushFor(COLORREF color) {
    for (auto& [c, brush] : brushes_)
        if (c == color) return brush;
    HBRUSH brush = CreateSolidBrush(color);
    brushes_.emplace_back(color, brush);
    return brush;
}

HBRUSH ControlSet::ControlColor(HWND control, HDC dc) {
    int index = IndexOfWindow(control);
    if (index < 0) return nullptr;
    const ControlRecord& r = Record(index);
    uint32_t color = r.color;
    // Check boxes and radio buttons show their parent's colour.
    if (r.kind == ControlKind::CheckBox || r.kind == ControlKind::RadioButton)
        color = Parent(index) >= 0 ? Record(Parent(index)).color : kColorSkyBlue;
    if (color == kColorWindow) return nullptr;
    COLORREF value = ColorValue(color);
    SetBkColor(dc, value);
    return BrushFor(value);
}

HCURSOR ControlSet::CursorFor(HWND control) const {
    int index = IndexOfWindow(control);
    if (index < 0) return nullptr;
    switch (Record(index).cursor) {
    case ControlCursor::Hand: return LoadCursorW(nullptr, IDC_HAND);
    case ControlCursor::HorizontalSplit: return LoadCursorW(nullptr, IDC_SIZEWE);
    default: return nullptr;
    }
}
