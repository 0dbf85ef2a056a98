#include "skin/win_skin_form_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "skin/skin_control_win.h"
#include "skin/skin_controls_win.h"
#include "skin/skin_gdi_win.h"
#include "skin/skin_manage_win.h"
#include "skin/skin_menu_win.h"
#include "skin/skin_menubar_win.h"

namespace {

constexpr UINT_PTR kFrameSubclassId = 0x534B4E46;
constexpr UINT_PTR kHoverTimer = 0x3505;
constexpr LONG_PTR kCaptionButtonBits = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
const wchar_t* const kSkinnerProp = L"CorvellaSkinForm";

SkinRect RectOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::string ClassNameUpper(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    std::string out;
    for (const wchar_t* p = name; *p; p++) out += static_cast<char>(*p < 128 ? towupper(*p) : '?');
    return out;
}

bool IsEditWindow(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpiW(name, L"Edit") == 0;
}

}  // namespace

TWinSkinForm* FrameSkinnerOf(HWND window) {
    return static_cast<TWinSkinForm*>(GetPropW(window, kSkinnerProp));
}

// --- Non-client objects -------------------------------------------------------

void TNCObject::MouseDown() {
    owner_.Hot = this;
    State = 2;
    Paint();
}

void TNCObject::MouseUp() {
    State = 3;
    Paint();
}

void TNCObject::MouseEnter() {
    if (owner_.Hot == this && State != 1) return;
    if (owner_.Hot && owner_.Hot != this) owner_.Hot->MouseLeave();
    owner_.Hot = this;
    State = 3;
    Paint();
}

void TNCObject::MouseLeave() {
    if (owner_.Hot == this) owner_.Hot = nullptr;
    State = 1;
    Paint();
}

void TWinSysButton::Paint() { owner_.PaintTitleBar(); }

// --- Attaching ----------------------------------------------------------------

TWinSkinForm::TWinSkinForm(HWND window, TSkinData& skin, bool toolkit_form)
    : window_(window), skin_(&skin), toolkit_form_(toolkit_form) {}

TWinSkinForm::~TWinSkinForm() {
    if (StartState != kNotStarted || GetPropW(window_, kSkinnerProp) == this) Detach();
    if (caption_font_) DeleteObject(caption_font_);
}

void TWinSkinForm::AttachWindow() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        caption_font_ = CreateFontIndirectW(&metrics.lfCaptionFont);
    ReadStyle();
    ReadWindowState();
    RenderIcon();
    RECT client;
    GetClientRect(window_, &client);
    client_at_attach_ = {client.right, client.bottom};
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    if (GetMenu(window_) && !(style & WS_CHILD) && kind_ != FrameKind::CaptionlessPopup) {
        menu_bar_ = std::make_unique<TWinSkinMenu>(*this, *skin_);
        menu_bar_->BuildBar();
    }
    SetPropW(window_, kSkinnerProp, this);
    SetWindowSubclass(window_, FrameProc, kFrameSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (kind_ != FrameKind::CaptionlessPopup) StripCaptionButtons();
    ComputeFrame();
    SkinControls();
    InvalidateRect(window_, nullptr, TRUE);
}

void TWinSkinForm::ReadStyle() {
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    const LONG_PTR ex = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    // The caption-button bits are stripped while skinned; a style without
    // them keeps the buttons the window had.
    if (style & kCaptionButtonBits) {
        has_system_menu_ = (style & WS_SYSMENU) != 0;
        has_minimize_box_ = (style & WS_MINIMIZEBOX) != 0;
        has_maximize_box_ = (style & WS_MAXIMIZEBOX) != 0;
    }
    popup_style_ = (style & WS_POPUP) != 0;
    sizeable_border_ = (style & WS_THICKFRAME) != 0;
    if ((style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION)
        kind_ = FrameKind::CaptionlessPopup;
    else if ((ex & WS_EX_WINDOWEDGE) || (style & WS_THICKFRAME))
        kind_ = FrameKind::Sizeable;
    else
        kind_ = FrameKind::Other;
    // A window that lost its whole frame (full screen without WS_POPUP).
    if ((style & WS_CAPTION) == 0 && (style & WS_THICKFRAME) == 0) kind_ = FrameKind::CaptionlessPopup;
}

void TWinSkinForm::SetStyleQuietly(LONG_PTR style) {
    changing_style_ = true;
    SetWindowLongPtrW(window_, GWL_STYLE, style);
    changing_style_ = false;
}

void TWinSkinForm::StripCaptionButtons() {
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    if (style & kCaptionButtonBits) SetStyleQuietly(style & ~kCaptionButtonBits);
}

void TWinSkinForm::PutCaptionButtonsBack() {
    LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    if (has_system_menu_) style |= WS_SYSMENU;
    if (has_minimize_box_) style |= WS_MINIMIZEBOX;
    if (has_maximize_box_) style |= WS_MAXIMIZEBOX;
    if (style != GetWindowLongPtrW(window_, GWL_STYLE)) SetStyleQuietly(style);
}

void TWinSkinForm::ReadWindowState() {
    if (IsIconic(window_))
        window_state_ = WindowState::Minimized;
    else if (IsZoomed(window_))
        window_state_ = WindowState::Maximized;
    else
        window_state_ = WindowState::Normal;
}

void TWinSkinForm::ComputeMetrics() {
    metrics_ = ComputeFrameMetrics(*skin_, kind_);
    if (menu_bar_ && menu_bar_->HasMenu() && kind_ != FrameKind::CaptionlessPopup)
        metrics_.MenuHeight = GetSystemMetrics(SM_CYMENU);
}

void TWinSkinForm::ComputeFrame() {
    ComputeMetrics();
    ReloadButtons();
}

void TWinSkinForm::SkinMenuItems(HMENU menu) {
    if (!menu_items_) menu_items_ = std::make_unique<TSkinMenuItems>(*skin_);
    menu_items_->Prepare(menu);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++)
        if (HMENU sub = GetSubMenu(menu, i)) SkinMenuItems(sub);
}

void TWinSkinForm::ReloadButtons() {
    if (Hot) Hot = nullptr;
    buttons_.clear();
    for (size_t i = 0; i < skin_->TitleButtons.size(); i++) buttons_.push_back(std::make_unique<TWinSysButton>(*this, i));
    title_bar_.Clear();
}

void TWinSkinForm::RenderIcon() {
    const int size = GetSystemMetrics(SM_CXSMICON);
    HICON icon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_SMALL, 0));
    if (!icon) icon = reinterpret_cast<HICON>(SendMessageW(window_, WM_GETICON, ICON_BIG, 0));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICON));
    if (!icon && GetWindow(window_, GW_OWNER)) {
        HWND owner = GetWindow(window_, GW_OWNER);
        icon = reinterpret_cast<HICON>(SendMessageW(owner, WM_GETICON, ICON_SMALL, 0));
        if (!icon) icon = reinterpret_cast<HICON>(GetClassLongPtrW(owner, GCLP_HICONSM));
    }
    (void)size;
    if (!icon && skin_->IconBitmap.Empty()) icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    icon_handle_ = icon;
    icon_ = icon ? SkinBitmap{} : skin_->IconBitmap;
}

void TWinSkinForm::DeferredStart() {
    if (StartState != kNotStarted) return;
    if (window_state_ == WindowState::Minimized || kind_ == FrameKind::CaptionlessPopup) {
        StartState = kRunning;
        return;
    }
    StartState = kStarting;
    KeepClientSize(false);
    BuildRegion(true);
    StartState = kRunning;
    if (active_) {
        SetTimer(window_, kHoverTimer, 250, nullptr);
        timer_on_ = true;
    }
    SendMessageW(window_, kSkinRepaintFrame, 0, 0);
}

void TWinSkinForm::KeepClientSize(bool add_menu) {
    if (window_state_ == WindowState::Maximized) {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    RECT client;
    GetClientRect(window_, &client);
    int cw = client.right, ch = client.bottom;
    // Taking the menu from the window made its client area taller: the
    // size it had before is kept.
    if (!add_menu && menu_bar_) {
        cw = client_at_attach_.cx;
        ch = client_at_attach_.cy;
    }
    const int w = cw + metrics_.LeftWidth + metrics_.RightWidth;
    const int h = ch + metrics_.TitleHeight + metrics_.MenuHeight + metrics_.BottomHeight;
    SetWindowPos(window_, nullptr, 0, 0, w, h, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinSkinForm::Reapply() {
    if (StartState == kDestroying) return;
    StartState = kReapplying;
    ComputeFrame();
    RenderIcon();
    ReleaseControls();
    SkinControls();
    if (window_state_ != WindowState::Minimized && kind_ != FrameKind::CaptionlessPopup) KeepClientSize(true);
    BuildRegion(true);
    StartState = kRunning;
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TWinSkinForm::Detach() {
    const bool destroying = StartState == kDestroying;
    const bool was_started = StartState != kNotStarted;
    if (timer_on_) KillTimer(window_, kHoverTimer);
    timer_on_ = false;
    ReleaseControls();
    if (!IsWindow(window_)) return;
    RECT client;
    GetClientRect(window_, &client);
    RemoveWindowSubclass(window_, FrameProc, kFrameSubclassId);
    RemovePropW(window_, kSkinnerProp);
    if (kind_ != FrameKind::CaptionlessPopup) PutCaptionButtonsBack();
    if (menu_bar_) {
        menu_bar_->GiveBack();
        Hot = nullptr;
        menu_bar_.reset();
    }
    StartState = kNotStarted;
    if (!destroying && was_started && kind_ != FrameKind::CaptionlessPopup && !IsIconic(window_) && !IsZoomed(window_)) {
        RECT outer{0, 0, client.right, client.bottom};
        AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
                           GetMenu(window_) != nullptr, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
        SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else if (!destroying) {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RemoveRegion();
}

void TWinSkinForm::SkinControls() {
    // Our forms describe their controls in a table: it is walked first, in
    // its order; child windows it does not name are taken by class.
    if (const std::vector<SkinTableRow>* table = SkinControlTable(window_)) {
        for (const SkinTableRow& row : *table) {
            if (!row.window || !IsWindow(row.window) || ControlFor(row.window)) continue;
            if (DisabledByTag(row.tag, skin_->DisableTag)) continue;
            if (skin_->OnSkinControl) {
                void* skinned = nullptr;
                const std::string name = ClassNameUpper(row.window);
                skin_->OnSkinControl(*skin_, window_, row.window, name, skinned);
                if (skinned) {
                    std::unique_ptr<TSkinControl> own(static_cast<TSkinControl*>(skinned));
                    own->AttachHandle(row.window);
                    controls_.push_back(std::move(own));
                    continue;
                }
            }
            const LONG_PTR style = GetWindowLongPtrW(row.window, GWL_STYLE);
            const ScanControl control{static_cast<ScanKind>(row.kind), row.tag,
                                      (style & (WS_VSCROLL | WS_HSCROLL)) != 0};
            SkinControl(row.window, ChooseSkinner(control, skin_->SkinControls, skin_->Tabs != nullptr), row.glyph);
        }
    }
    SkinChildWindows(window_, ClassNameUpper(window_) == "#32770");
}

void TWinSkinForm::SkinChildWindows(HWND parent, bool dialog) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (!(style & WS_CHILD)) continue;
        const int tag = static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(child, L"Tag")));
        if (!ControlFor(child) && !DisabledByTag(tag, skin_->DisableTag)) {
            std::string lower = ClassNameUpper(child);
            for (char& c : lower) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
            HWND target = child;
            SkinnerKind kind;
            if (dialog) {
                kind = ChooseDialogSkinner(lower, static_cast<uint32_t>(style), skin_->SkinControls);
                if (kind != SkinnerKind::None && lower == "comboboxex32") target = GetWindow(child, GW_CHILD);
            } else {
                const ScanControl control{KindFromWindowClass(lower, static_cast<uint32_t>(style)), tag,
                                          (style & (WS_VSCROLL | WS_HSCROLL)) != 0};
                kind = ChooseSkinner(control, skin_->SkinControls, skin_->Tabs != nullptr);
            }
            if (target && !ControlFor(target)) SkinControl(target, kind, nullptr);
        }
        // Containers: the scan goes into panels and group boxes.
        if (!dialog && dynamic_cast<TSkinBox*>(ControlFor(child))) SkinChildWindows(child, false);
    }
}

void TWinSkinForm::SkinControl(HWND control, SkinnerKind kind,
                               const std::function<void(HDC, const RECT&, bool)>& glyph) {
    std::unique_ptr<TSkinControl> skinner;
    switch (kind) {
    case SkinnerKind::None: return;
    case SkinnerKind::Button:
        if (!IsSkinnablePushButton(control)) return;
        skinner = std::make_unique<TSkinButton>(*this, *skin_);
        break;
    case SkinnerKind::BitButton: skinner = std::make_unique<TSkinBitButton>(*this, *skin_); break;
    case SkinnerKind::SpeedButton: skinner = std::make_unique<TSkinSpeedButton>(*this, *skin_); break;
    case SkinnerKind::CheckBox: skinner = std::make_unique<TSkinCheckBox>(*this, *skin_); break;
    case SkinnerKind::RadioButton: skinner = std::make_unique<TSkinRadioButton>(*this, *skin_); break;
    case SkinnerKind::Box:
    case SkinnerKind::RadioGroup: {
        auto box = std::make_unique<TSkinBox>(*this, *skin_);
        TSkinBox* raw = box.get();
        controls_.push_back(std::move(box));
        raw->Attach(control);
        return;
    }
    case SkinnerKind::StatusBar: skinner = std::make_unique<TSkinStatusBar>(*this, *skin_); break;
    case SkinnerKind::Tab: skinner = std::make_unique<TSkinTab>(*this, *skin_); break;
    case SkinnerKind::Tab31: skinner = std::make_unique<TSkinTab31>(*this, *skin_); break;
    case SkinnerKind::TrackBar: skinner = std::make_unique<TSkinTrackBar>(*this, *skin_); break;
    case SkinnerKind::UpDown: skinner = std::make_unique<TSkinUpDown>(*this, *skin_); break;
    case SkinnerKind::Progress: {
        auto progress = std::make_unique<TSkinProgress>(*this, *skin_);
        TSkinProgress* raw = progress.get();
        controls_.push_back(std::move(progress));
        raw->AttachProgress(control);
        return;
    }
    case SkinnerKind::Edit: skinner = std::make_unique<TSkinEdit>(*this, *skin_); break;
    case SkinnerKind::ComBox: skinner = std::make_unique<TSkinComBox>(*this, *skin_); break;
    case SkinnerKind::ScrollBar: skinner = std::make_unique<TSkinScrollBar>(*this, *skin_); break;
    case SkinnerKind::ListView: {
        auto list = std::make_unique<TSkinListView>(*this, *skin_);
        TSkinListView* raw = list.get();
        controls_.push_back(std::move(list));
        raw->AttachListView(control);
        SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        return;
    }
    case SkinnerKind::ScControl: skinner = std::make_unique<TSkinScControl>(*this, *skin_); break;
    case SkinnerKind::Sizer: skinner = std::make_unique<TSkinSizer>(*this, *skin_); break;
    case SkinnerKind::Header: skinner = std::make_unique<TSkinHeader>(*this, *skin_); break;
    }
    // Listed before it attaches: attaching repaints the control, and an
    // owner-drawn control's drawing is found through the list.
    skinner->Glyph = glyph;
    TSkinControl* raw = skinner.get();
    controls_.push_back(std::move(skinner));
    raw->AttachHandle(control);
    if (kind == SkinnerKind::ScrollBar)
        SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

TSkinControl* TWinSkinForm::ControlFor(HWND control) const {
    for (const auto& c : controls_)
        if (c->Handle() == control) return c.get();
    return nullptr;
}

void TWinSkinForm::AdoptControl(std::unique_ptr<TSkinControl> control) { controls_.push_back(std::move(control)); }

void TWinSkinForm::ReleaseControls() {
    HotControl = nullptr;
    controls_.clear();
    menu_items_.reset();
}

void TWinSkinForm::SetHotControl(TSkinControl* control) {
    if (HotControl && HotControl != control) HotControl->MouseLeave();
    HotControl = control;
}

// --- Region -------------------------------------------------------------------

void TWinSkinForm::RemoveRegion() {
    if (!region_ && region_width_ < 0) return;
    SetWindowRgn(window_, nullptr, TRUE);  // the system deletes the old region
    region_ = nullptr;
    region_width_ = region_height_ = -1;
}

void TWinSkinForm::BuildRegion(bool force) {
    RECT r;
    GetWindowRect(window_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (!force && w == region_width_ && h == region_height_ && active_ == region_active_) return;
    if (kind_ == FrameKind::CaptionlessPopup || window_state_ == WindowState::Minimized) {
        RemoveRegion();
        return;
    }
    HRGN region = nullptr;
    if (title_bar_.width != w) title_bar_ = ComposeTitleBar(w, h);
    const WindowShape shape = ShapeWindow(*skin_, metrics_, kind_, w, h, active_, &title_bar_,
                                          [&](const std::vector<PixelRun>& runs) { AddRunsToRegion(region, runs); });
    if (shape.rectangular) {
        if (region) DeleteObject(region);
        region = CreateRectRgn(0, 0, w, h);
    } else {
        for (const SkinRect& rect : shape.rects) AddRectToRegion(region, rect);
    }
    region_width_ = w;
    region_height_ = h;
    region_active_ = active_;
    region_ = region;
    SetWindowRgn(window_, region, TRUE);  // owned by the system from here
}

// --- Painting -----------------------------------------------------------------

bool TWinSkinForm::Painted() const {
    return Started() && !skin_->Empty() && kind_ != FrameKind::CaptionlessPopup &&
           window_state_ != WindowState::Minimized;
}

FrameState TWinSkinForm::CurrentFrameState() const {
    FrameState s;
    s.kind = kind_;
    s.state = window_state_;
    s.active = active_;
    s.has_system_menu = has_system_menu_;
    s.has_minimize_box = has_minimize_box_;
    s.has_maximize_box = has_maximize_box_;
    s.popup_style = popup_style_;
    return s;
}

SkinBitmap TWinSkinForm::ComposeTitleBar(int w, int h) {
    SkinBitmap bar = TitleBarBase(*skin_, metrics_, w, h, active_);
    if (bar.Empty()) return bar;
    const FrameState state = CurrentFrameState();
    const SkinRect title{metrics_.LeftWidth, 0, w - metrics_.RightWidth, metrics_.TitleHeight};

    // Caption text.
    const int length = GetWindowTextLengthW(window_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(InternalGetWindowText(window_, text.data(), length + 1)));
    const std::wstring caption = CaptionText(text);
    SIZE extent{0, 0};
    {
        HDC screen = GetDC(nullptr);
        HGDIOBJ old = SelectObject(screen, caption_font_ ? caption_font_ : GetStockObject(DEFAULT_GUI_FONT));
        RECT measure{0, 0, 0, 0};
        DrawTextW(screen, caption.c_str(), static_cast<int>(caption.size()), &measure, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
        extent = {measure.right, measure.bottom};
        SelectObject(screen, old);
        ReleaseDC(nullptr, screen);
    }
    const TDataSkinTitle& style = skin_->Title;
    const SkinRect place = PlaceCaption(style, title, extent.cx, extent.cy, popup_style_, right_max_);
    DrawCaptionBack(bar, style, place, active_);
    const COLORREF colour =
        SkinColorRef(active_ ? skin_->Colours.TitleTextActive : skin_->Colours.TitleTextNoActive);
    HFONT font = caption_font_;
    DrawWithGdi(bar, [&](HDC dc) {
        HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colour);
        RECT r{place.left + style.TXTBackleft, place.top, place.right - style.TXTBackRight, place.bottom};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r,
                  DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_VCENTER);
        SelectObject(dc, old);
    });

    // Title buttons.
    TitleLayoutInput in;
    in.window_width = w;
    in.caption = place;
    in.metrics = metrics_;
    in.icon_size = GetSystemMetrics(SM_CXSMICON);
    in.menu_bar_tile_left = skin_->MenuBar ? skin_->MenuBar->LeftWidth : -1;
    const auto places = LayoutTitleButtons(skin_->TitleButtons, state, in, &right_max_);
    std::vector<int> states;
    for (size_t i = 0; i < buttons_.size() && i < places.size(); i++) {
        buttons_[i]->Visible = places[i].shown;
        buttons_[i]->Rect = places[i].rect;
        if (!places[i].shown && Hot == buttons_[i].get()) Hot = nullptr;
        states.push_back(buttons_[i]->State);
    }
    DrawTitleButtons(bar, skin_->TitleButtons, places, states, active_, icon_handle_ ? SkinBitmap{} : icon_);
    if (icon_handle_) {
        // The icon is blended over the title bar itself.
        DrawWithGdi(bar, [&](HDC dc) {
            for (size_t i = 0; i < places.size(); i++) {
                const int action = skin_->TitleButtons[i].Action;
                if (!places[i].shown || (action != 3 && action != 11)) continue;
                DrawIconEx(dc, places[i].rect.left, places[i].rect.top, icon_handle_, places[i].rect.Width(),
                           places[i].rect.Height(), 0, nullptr, DI_NORMAL);
            }
        });
    }
    return bar;
}

void TWinSkinForm::PaintTitleBar() {
    if (!Painted()) return;
    RECT r;
    GetWindowRect(window_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    title_bar_ = ComposeTitleBar(w, h);
    HDC dc = GetWindowDC(window_);
    BlitSkinBitmap(dc, 0, 0, title_bar_);
    ReleaseDC(window_, dc);
}

void TWinSkinForm::PaintFrame(HRGN) {
    if (!Painted()) return;
    try {
        RECT r;
        GetWindowRect(window_, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        const FrameMetrics& m = metrics_;
        HDC dc = GetWindowDC(window_);
        const int side_h = h - m.TitleHeight;
        if (side_h > 0) {
            // The sides are rendered at full height so that their ends match the
            // title bar, and copied below it.
            BlitSkinBitmap(dc, 0, m.TitleHeight,
                           RenderBorder(*skin_, kBorderLeft, m.LeftWidth, h, active_).Crop(0, m.TitleHeight, m.LeftWidth, side_h));
            BlitSkinBitmap(dc, w - m.RightWidth, m.TitleHeight,
                           RenderBorder(*skin_, kBorderRight, m.RightWidth, h, active_)
                               .Crop(0, m.TitleHeight, m.RightWidth, side_h));
        }
        BlitSkinBitmap(dc, m.LeftWidth, h - m.BottomHeight,
                       RenderBorder(*skin_, kBorderBottom, w - m.LeftWidth - m.RightWidth, m.BottomHeight, active_));
        title_bar_ = ComposeTitleBar(w, h);
        BlitSkinBitmap(dc, 0, 0, title_bar_);
        if (menu_bar_ && m.MenuHeight > 0)
            menu_bar_->PaintBar(dc, {m.LeftWidth, m.TitleHeight, w - m.RightWidth, m.TitleHeight + m.MenuHeight}, active_);
        ReleaseDC(window_, dc);
    } catch (...) {
    }
}

// --- Mouse --------------------------------------------------------------------

POINT TWinSkinForm::ToWindow(POINT screen) const {
    RECT r;
    GetWindowRect(window_, &r);
    return {screen.x - r.left, screen.y - r.top};
}

TNCObject* TWinSkinForm::ObjectAt(POINT p) {
    for (auto& b : buttons_) {
        if (!b->Visible || b->Index >= skin_->TitleButtons.size()) continue;
        if (skin_->TitleButtons[b->Index].Action < 0) continue;
        if (b->Rect.Contains(p.x, p.y)) return b.get();
    }
    if (menu_bar_ && metrics_.MenuHeight > 0) return menu_bar_->HitItem(p);
    return nullptr;
}

LRESULT TWinSkinForm::HitTest(POINT screen) {
    const POINT p = ToWindow(screen);
    RECT r;
    GetWindowRect(window_, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const FrameMetrics& m = metrics_;
    if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h) return HTNOWHERE;
    if (p.x >= m.LeftWidth && p.x < w - m.RightWidth && p.y >= m.TitleHeight + m.MenuHeight && p.y < h - m.BottomHeight)
        return HTCLIENT;
    if (m.MenuHeight > 0 && p.x >= m.LeftWidth && p.x < w - m.RightWidth && p.y >= m.TitleHeight &&
        p.y < m.TitleHeight + m.MenuHeight)
        return ObjectAt(p) ? HTOBJECT : HTMENU;
    if (ObjectAt(p)) return HTOBJECT;
    const bool sizeable = sizeable_border_ && window_state_ == WindowState::Normal;
    if (sizeable) {
        const int grip = 4;
        const bool left = p.x < std::max(m.LeftWidth, grip) && p.x < grip;
        const bool right = p.x >= w - grip;
        const bool top = p.y < grip;
        const bool bottom = p.y >= h - std::max(m.BottomHeight, 1);
        if (top && left) return HTTOPLEFT;
        if (top && right) return HTTOPRIGHT;
        if (bottom && left) return HTBOTTOMLEFT;
        if (bottom && right) return HTBOTTOMRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }
    if (p.y < m.TitleHeight) return HTCAPTION;
    return HTBORDER;
}

void TWinSkinForm::ShowSystemMenu(POINT screen) {
    const DWORD now = GetTickCount();
    if (icon_clicked_ && now - last_icon_click_ <= GetDoubleClickTime()) {
        icon_clicked_ = false;
        if (timer_on_) KillTimer(window_, kHoverTimer);
        timer_on_ = false;
        PostMessageW(window_, WM_CLOSE, 0, 0);
        return;
    }
    icon_clicked_ = true;
    last_icon_click_ = now;
    HMENU menu = GetSystemMenu(window_, FALSE);
    if (!menu) return;
    const bool max = window_state_ == WindowState::Maximized, min = window_state_ == WindowState::Minimized;
    EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | ((max || min) ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | (has_maximize_box_ && !max ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (has_minimize_box_ && !min ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | (sizeable_border_ && !max ? MF_ENABLED : MF_GRAYED));
    EnableMenuItem(menu, SC_MOVE, MF_BYCOMMAND | (!max ? MF_ENABLED : MF_GRAYED));
    // The menu opens without notices, so its items are marked here.
    if (TSkinManage::Instance().Enabled() && skin_->SkinControls.Has(xcPopupMenu)) {
        if (!menu_items_) menu_items_ = std::make_unique<TSkinMenuItems>(*skin_);
        menu_items_->Prepare(menu);
    }
    const UINT command = static_cast<UINT>(TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                                          screen.x, screen.y, 0, window_, nullptr));
    if (command) PostMessageW(window_, WM_SYSCOMMAND, command, 0);
}

void TWinSkinForm::PerformAction(const TWinSysButton& button, POINT screen) {
    const TDataSkinSysButton& b = skin_->TitleButtons[button.Index];
    switch (b.Action) {
    case 0:
        if (timer_on_) KillTimer(window_, kHoverTimer);
        timer_on_ = false;
        PostMessageW(window_, WM_CLOSE, 0, 0);
        break;
    case 1:
    case 22:
        if (window_state_ == WindowState::Maximized) {
            PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            window_state_ = WindowState::Maximized;
            PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        break;
    case 2:
    case 23:
        if (window_state_ == WindowState::Minimized) {
            PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            window_state_ = WindowState::Minimized;
            PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        }
        break;
    case 3:
    case 11:
    case 12:
        ShowSystemMenu({screen.x + 1, screen.y + 1});
        break;
    default:
        PostMessageW(window_, kSkinQuery, static_cast<WPARAM>(b.Action), 0);
        break;
    }
}

void TWinSkinForm::OnHoverTimer() {
    POINT cursor;
    GetCursorPos(&cursor);
    if (Hot && GetCapture() == nullptr && !TSkinManage::Instance().MenuOpen) {
        const POINT p = ToWindow(cursor);
        if (!Hot->Rect.Contains(p.x, p.y)) Hot->MouseLeave();
    }
    if (HotControl) {
        RECT r;
        GetWindowRect(HotControl->Handle(), &r);
        if (!PtInRect(&r, cursor) && GetCapture() != HotControl->Handle()) {
            TSkinControl* control = HotControl;
            HotControl = nullptr;
            control->MouseLeave();
        }
    }
}

// --- The frame procedure ------------------------------------------------------

LRESULT TWinSkinForm::Previous(UINT message, WPARAM wparam, LPARAM lparam) {
    return DefSubclassProc(window_, message, wparam, lparam);
}

LRESULT TWinSkinForm::PreviousHidden(UINT message, WPARAM wparam, LPARAM lparam) {
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    if (!(style & WS_VISIBLE)) return Previous(message, wparam, lparam);
    SetStyleQuietly(style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    const LRESULT result = Previous(message, wparam, lparam);
    SetStyleQuietly(GetWindowLongPtrW(window_, GWL_STYLE) | WS_VISIBLE);
    return result;
}

LRESULT CALLBACK TWinSkinForm::FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                         DWORD_PTR data) {
    auto* self = reinterpret_cast<TWinSkinForm*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, FrameProc, kFrameSubclassId);
        RemovePropW(window, kSkinnerProp);
        return DefSubclassProc(window, message, wparam, lparam);
    }
    return self->HandleMessage(message, wparam, lparam);
}

LRESULT TWinSkinForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case kSkinQuery:
        if (wparam == 0) return 1;
        return Previous(message, wparam, lparam);
    case kSkinDeferredStart:
        if (lparam == 1000) {
            DeferredStart();
            return 0;
        }
        break;
    case kSkinReapply:
        Reapply();
        return 0;
    case kSkinRepaintFrame:
        PaintFrame(nullptr);
        return 0;
    case WM_STYLECHANGING:
        if (changing_style_) return Previous(message, wparam, lparam);
        break;
    case WM_STYLECHANGED: {
        const LRESULT result = Previous(message, wparam, lparam);
        if (changing_style_ || wparam != static_cast<WPARAM>(GWL_STYLE)) return result;
        const FrameKind old_kind = kind_;
        ReadStyle();
        if (kind_ != FrameKind::CaptionlessPopup) StripCaptionButtons();
        ComputeMetrics();
        title_bar_.Clear();
        if (old_kind != kind_) region_width_ = -2;  // a new shape is due
        if (Started()) BuildRegion(true);
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = Previous(message, wparam, lparam);
        window_state_ = wparam == SIZE_MINIMIZED   ? WindowState::Minimized
                        : wparam == SIZE_MAXIMIZED ? WindowState::Maximized
                                                   : WindowState::Normal;
        if (window_state_ == WindowState::Minimized) {
            PutCaptionButtonsBack();
            RemoveRegion();
        } else if (Started()) {
            if (kind_ != FrameKind::CaptionlessPopup) StripCaptionButtons();
            BuildRegion(false);
        }
        return result;
    }
    case WM_ACTIVATE:
        active_ = LOWORD(wparam) != WA_INACTIVE;
        return Previous(message, wparam, lparam);
    case WM_NCACTIVATE: {
        active_ = wparam != FALSE;
        if (!Started()) break;
        if (active_ && !timer_on_) {
            SetTimer(window_, kHoverTimer, 250, nullptr);
            timer_on_ = true;
        }
        if (!active_ && HotControl) SetHotControl(nullptr);
        if (!Painted()) break;
        // Default handling would paint the platform's caption.
        PreviousHidden(message, wparam, -1);
        PaintFrame(nullptr);
        return TRUE;
    }
    case WM_SETTEXT:
    case WM_SETICON: {
        if (!Painted()) break;
        const LRESULT result = PreviousHidden(message, wparam, lparam);
        if (message == WM_SETICON) RenderIcon();
        PaintTitleBar();
        return result;
    }
    case WM_TIMER:
        if (wparam == kHoverTimer) {
            OnHoverTimer();
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        // The form's colour is the skin's ButtonFace while skinned.
        if (Started()) {
            RECT r;
            GetClientRect(window_, &r);
            FillRect(reinterpret_cast<HDC>(wparam), &r, TSkinManage::Instance().ButtonFaceBrush(*skin_));
            return 1;
        }
        break;
    case WM_INITMENUPOPUP: {
        const LRESULT result = Previous(message, wparam, lparam);
        if (Started() && TSkinManage::Instance().Enabled() && skin_->SkinControls.Has(xcPopupMenu)) {
            if (!menu_items_) menu_items_ = std::make_unique<TSkinMenuItems>(*skin_);
            menu_items_->Prepare(reinterpret_cast<HMENU>(wparam));
        }
        return result;
    }
    case WM_MEASUREITEM:
        if (menu_items_ && menu_items_->Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lparam))) return TRUE;
        break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        if (menu_items_ && item && menu_items_->Draw(*item)) return TRUE;
        // Controls are skinned from the moment the frame skinner attaches,
        // before its deferred start: their first paint is already the skin's.
        if (item && item->CtlType == ODT_BUTTON && TSkinManage::Instance().Enabled())
            if (TSkinControl* control = ControlFor(item->hwndItem); control && control->DrawItem(*item)) return TRUE;
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (TSkinManage::Instance().Enabled()) {
            TSkinControl* control = ControlFor(reinterpret_cast<HWND>(lparam));
            if (control && control->SetsColour()) {
                Previous(message, wparam, lparam);
                HDC dc = reinterpret_cast<HDC>(wparam);
                SetBkMode(dc, TRANSPARENT);
                SetBkColor(dc, SkinColorRef(skin_->Colours.ButtonFace, GetSysColor(COLOR_BTNFACE)));
                SetTextColor(dc, SkinColorRef(skin_->Colours.ButtonText, GetSysColor(COLOR_BTNTEXT)));
                return reinterpret_cast<LRESULT>(TSkinManage::Instance().ButtonFaceBrush(*skin_));
            }
        }
        if (message == WM_CTLCOLORBTN) {
            const LRESULT result = Previous(message, wparam, lparam);
            SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
            return result;
        }
        // Labels take the form's new colour; read-only edits keep their own.
        if (Started() && !IsEditWindow(reinterpret_cast<HWND>(lparam))) {
            HDC dc = reinterpret_cast<HDC>(wparam);
            Previous(message, wparam, lparam);
            SetBkMode(dc, TRANSPARENT);
            // A label in the platform's text colour would be lost on a dark
            // ButtonFace; one the form coloured itself keeps its colour.
            const COLORREF text = GetTextColor(dc);
            if (text == GetSysColor(COLOR_WINDOWTEXT) || text == GetSysColor(COLOR_BTNTEXT))
                SetTextColor(dc, SkinColorRef(skin_->Colours.ButtonText, GetSysColor(COLOR_BTNTEXT)));
            return reinterpret_cast<LRESULT>(TSkinManage::Instance().ButtonFaceBrush(*skin_));
        }
        break;
    case WM_SYSCOMMAND: {
        const UINT command = static_cast<UINT>(wparam & 0xFFF0);
        if (command == SC_KEYMENU && lparam == 0 && GetCapture() == nullptr) return 1;
        if (command == SC_KEYMENU && lparam != L' ' && lparam != L'-' && menu_bar_ && Painted() &&
            !TSkinManage::Instance().MenuOpen && GetCapture() == nullptr)
            if (TMenuBtn* item = menu_bar_->FindAccelerator(static_cast<wchar_t>(lparam))) {
                menu_bar_->OpenItem(*item, true);
                return 0;
            }
        if (command == SC_MINIMIZE) window_state_ = WindowState::Minimized;
        if (command == SC_MAXIMIZE) window_state_ = WindowState::Maximized;
        if (command == SC_RESTORE) window_state_ = WindowState::Normal;
        return Previous(message, wparam, lparam);
    }
    case WM_WINDOWPOSCHANGED:
        ReadWindowState();
        break;
    default:
        break;
    }

    if (!Painted()) return Previous(message, wparam, lparam);

    switch (message) {
    case WM_NCCALCSIZE: {
        auto* rect = reinterpret_cast<RECT*>(lparam);
        // rgrc[0] (and the plain RECT for wparam FALSE) holds the proposed
        // window rectangle.
        const RECT proposed = *rect;
        RECT client{proposed.left + metrics_.LeftWidth, proposed.top + metrics_.TitleHeight + metrics_.MenuHeight,
                    proposed.right - metrics_.RightWidth, proposed.bottom - metrics_.BottomHeight};
        if (client.right < client.left) client.right = client.left;
        if (client.bottom < client.top) client.bottom = client.top;
        if (!wparam) {
            *rect = client;
            return 0;
        }
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
        params->rgrc[0] = client;
        params->rgrc[1] = client;
        return WVR_VALIDRECTS;
    }
    case WM_NCHITTEST:
        return HitTest({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
    case WM_NCPAINT:
        PaintFrame(nullptr);
        return 0;
    case WM_NCMOUSEMOVE: {
        if (!active_) break;
        const POINT p = ToWindow({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
        TNCObject* object = ObjectAt(p);
        if (object) {
            object->MouseEnter();
            return 0;
        }
        if (Hot && Hot->State != 2) Hot->MouseLeave();
        break;
    }
    case WM_NCLBUTTONDOWN:
    {
        const POINT screen{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        TNCObject* object = ObjectAt(ToWindow(screen));
        if (wparam == HTMENU && !object) return 0;
        if (auto* item = dynamic_cast<TMenuBtn*>(object)) {
            if (GetActiveWindow() != window_) SetActiveWindow(window_);
            menu_bar_->OpenItem(*item);
            return 0;
        }
        if (object) {
            if (GetActiveWindow() != window_) SetActiveWindow(window_);
            object->MouseDown();
            SetCapture(window_);
            return 0;
        }
        if (wparam == HTCAPTION && window_state_ == WindowState::Maximized && active_)
            return Previous(message, HTMENU, lparam);
        break;
    }
    case WM_NCRBUTTONDOWN:
        if (wparam == HTCAPTION) {
            icon_clicked_ = false;
            ShowSystemMenu({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
            return 0;
        }
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wparam == HTCAPTION) {
            if (window_state_ != WindowState::Normal)
                PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
            else if (has_maximize_box_)
                PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
            return 0;
        }
        if (wparam == HTOBJECT) return HandleMessage(WM_NCLBUTTONDOWN, wparam, lparam);
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        // While a title button holds the mouse.
        if (GetCapture() == window_ && Hot && Hot->State == 2 && dynamic_cast<TWinSysButton*>(Hot)) {
            POINT client{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            ClientToScreen(window_, &client);
            const POINT p = ToWindow(client);
            auto* button = static_cast<TWinSysButton*>(Hot);
            if (message == WM_LBUTTONUP) {
                ReleaseCapture();
                if (button->Rect.Contains(p.x, p.y)) {
                    button->MouseUp();
                    PerformAction(*button, client);
                } else {
                    button->MouseLeave();
                }
            }
            return 0;
        }
        break;
    case WM_NCLBUTTONUP: {
        const POINT screen{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        TNCObject* object = ObjectAt(ToWindow(screen));
        if (object && object == Hot && dynamic_cast<TWinSysButton*>(object)) {
            if (GetCapture() == window_) ReleaseCapture();
            object->MouseUp();
            PerformAction(*static_cast<TWinSysButton*>(object), screen);
            return 0;
        }
        if (object) return 0;
        break;
    }
    default:
        break;
    }
    return Previous(message, wparam, lparam);
}
