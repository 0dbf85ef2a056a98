#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "skin/control_paint.h"
#include "skin/skin_controls_win.h"
#include "skin/skin_gdi_win.h"
#include "skin/win_skin_form_win.h"

namespace {

constexpr UINT_PTR kRepeatTimer = 0x3508;
constexpr int kMaxPaintedSide = 10000;

bool SameInfo(const ScrollInfo& a, const ScrollInfo& b) {
    return a.min == b.min && a.max == b.max && a.page == b.page && a.pos == b.pos;
}

ScrollInfo InfoOf(HWND control, int bar) {
    SCROLLINFO si{sizeof(si), SIF_ALL};
    if (!GetScrollInfo(control, bar, &si)) return {};
    return {si.nMin, si.nMax, static_cast<int>(si.nPage), si.nPos};
}

std::wstring LowerClass(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    CharLowerW(name);
    return name;
}

WPARAM CodeFor(ScrollPart part) {
    switch (part) {
    case ScrollPart::LineUp: return SB_LINEUP;
    case ScrollPart::PageUp: return SB_PAGEUP;
    case ScrollPart::PageDown: return SB_PAGEDOWN;
    case ScrollPart::LineDown: return SB_LINEDOWN;
    default: return SB_ENDSCROLL;
    }
}

// Controls whose position the skinner sets with their own messages; the
// others are sent thumb-track notices.
bool ScrollsDirectly(HWND control, bool vertical) {
    const std::wstring cls = LowerClass(control);
    return cls == L"syslistview32" || (vertical && (cls == L"listbox" || cls == L"edit"));
}

}  // namespace

TSkinScrollBar::Bar TSkinScrollBar::ReadBar(bool vertical) const {
    Bar bar;
    bar.vertical = vertical;
    SCROLLBARINFO sbi{sizeof(sbi)};
    if (!GetScrollBarInfo(control_, vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &sbi)) return bar;
    if (sbi.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)) return bar;
    RECT window;
    GetWindowRect(control_, &window);
    bar.rect = sbi.rcScrollBar;
    OffsetRect(&bar.rect, -window.left, -window.top);
    if (bar.rect.right <= bar.rect.left || bar.rect.bottom <= bar.rect.top) return bar;
    bar.shown = true;
    bar.enabled = !(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) && IsWindowEnabled(control_);
    bar.info = InfoOf(control_, vertical ? SB_VERT : SB_HORZ);
    const int length = vertical ? bar.rect.bottom - bar.rect.top : bar.rect.right - bar.rect.left;
    const int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    bar.layout = LayoutScrollBar(length, arrow, bar.info);
    return bar;
}

SkinBitmap TSkinScrollBar::RenderBar(const Bar& bar) const {
    ScrollBarLook look;
    look.vertical = bar.vertical;
    look.enabled = bar.enabled;
    if (pressed_vertical_ == bar.vertical) look.pressed = pressed_part_;
    if (hot_vertical_ == bar.vertical) look.hot = hot_part_;
    look.track_pixel = SkinPixel(skin_->Colours.Scrollbar);
    const int thickness = bar.vertical ? bar.rect.right - bar.rect.left : bar.rect.bottom - bar.rect.top;
    return RenderScrollBar(*skin_, bar.layout, thickness, look);
}

void TSkinScrollBar::PaintBars(HDC window_dc) {
    if (!control_) return;
    RECT window;
    GetWindowRect(control_, &window);
    if (window.right - window.left > kMaxPaintedSide || window.bottom - window.top > kMaxPaintedSide) return;
    HDC dc = window_dc ? window_dc : GetWindowDC(control_);
    const Bar v = ReadBar(true), h = ReadBar(false);
    for (const Bar* bar : {&v, &h})
        if (bar->shown) BlitSkinBitmap(dc, bar->rect.left, bar->rect.top, RenderBar(*bar));
    if (v.shown && h.shown) {
        RECT corner{v.rect.left, h.rect.top, v.rect.right, h.rect.bottom};
        HBRUSH brush = CreateSolidBrush(SkinColorRef(skin_->Colours.ButtonFace, GetSysColor(COLOR_BTNFACE)));
        ::FillRect(dc, &corner, brush);
        DeleteObject(brush);
    }
    last_v_ = v.info;
    last_h_ = h.info;
    if (!window_dc) ReleaseDC(control_, dc);
}

void TSkinScrollBar::NoteScrollState() {
    if (refresh_posted_) return;
    const ScrollInfo v = InfoOf(control_, SB_VERT), h = InfoOf(control_, SB_HORZ);
    if (SameInfo(v, last_v_) && SameInfo(h, last_h_)) return;
    refresh_posted_ = true;
    PostMessageW(control_, kSkinScrollRefresh, 0, 0);
}

bool TSkinScrollBar::BeforeMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    switch (message) {
    case kSkinScrollRefresh:
        refresh_posted_ = false;
        PaintBars(nullptr);
        result = 0;
        return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        if (wparam != HTVSCROLL && wparam != HTHSCROLL) return true;
        {
            RECT window;
            GetWindowRect(control_, &window);
            StartTracking(wparam == HTVSCROLL, {GET_X_LPARAM(lparam) - window.left, GET_Y_LPARAM(lparam) - window.top});
        }
        result = 0;
        return false;
    case WM_NCMOUSEMOVE: {
        ScrollPart part = ScrollPart::None;
        const bool vertical = wparam == HTVSCROLL;
        if (wparam == HTVSCROLL || wparam == HTHSCROLL) {
            RECT window;
            GetWindowRect(control_, &window);
            const Bar bar = ReadBar(vertical);
            const int offset = vertical ? GET_Y_LPARAM(lparam) - window.top - bar.rect.top
                                        : GET_X_LPARAM(lparam) - window.left - bar.rect.left;
            part = ScrollPartAt(bar.layout, offset);
            BecomeHot();
        }
        if (part != hot_part_ || vertical != hot_vertical_) {
            hot_part_ = part;
            hot_vertical_ = vertical;
            PaintBars(nullptr);
        }
        return true;
    }
    default:
        return true;
    }
}

void TSkinScrollBar::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_NCPAINT:
        PaintBars(nullptr);
        return;
    case WM_PRINT:
        if (lparam & PRF_NONCLIENT) PaintBars(reinterpret_cast<HDC>(wparam));
        return;
    case WM_NCDESTROY:
        return;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case WM_ENABLE:
    case WM_SETREDRAW:
        TSkinControl::AfterMessage(message, wparam, lparam);
        if (!refresh_posted_) {
            refresh_posted_ = true;
            PostMessageW(control_, kSkinScrollRefresh, 0, 0);
        }
        return;
    case WM_PAINT:
        // The scroll bars are non-client: nothing to paint over the client.
        NoteScrollState();
        return;
    default:
        TSkinControl::AfterMessage(message, wparam, lparam);
        if (control_) NoteScrollState();
        return;
    }
}

void TSkinScrollBar::Scroll(bool vertical, ScrollPart part) {
    SendMessageW(control_, vertical ? WM_VSCROLL : WM_HSCROLL, CodeFor(part), 0);
}

void TSkinScrollBar::ScrollTo(bool vertical, int pos) {
    const std::wstring cls = LowerClass(control_);
    const int current = InfoOf(control_, vertical ? SB_VERT : SB_HORZ).pos;
    if (pos == current) return;
    if (vertical && cls == L"listbox") {
        SendMessageW(control_, LB_SETTOPINDEX, pos, 0);
    } else if (vertical && cls == L"edit") {
        SendMessageW(control_, EM_LINESCROLL, 0, pos - current);
    } else if (cls == L"syslistview32") {
        int unit = 1;
        if (vertical) {
            RECT item{LVIR_BOUNDS};
            if (SendMessageW(control_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)))
                unit = std::max<int>(1, item.bottom - item.top);
            if ((GetWindowLongPtrW(control_, GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT) unit = 1;
        }
        SendMessageW(control_, LVM_SCROLL, vertical ? 0 : pos - current, vertical ? (pos - current) * unit : 0);
    } else {
        const UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
        SendMessageW(control_, message, MAKEWPARAM(SB_THUMBTRACK, pos), 0);
        SendMessageW(control_, message, MAKEWPARAM(SB_THUMBPOSITION, pos), 0);
    }
}

void TSkinScrollBar::StartTracking(bool vertical, POINT point) {
    const Bar bar = ReadBar(vertical);
    if (!bar.shown || !bar.enabled) return;
    const int offset = vertical ? point.y - bar.rect.top : point.x - bar.rect.left;
    const ScrollPart part = ScrollPartAt(bar.layout, offset);
    if (part == ScrollPart::None) return;
    TrackLoop(vertical, part, part == ScrollPart::Thumb ? offset - bar.layout.thumb_start : 0);
}

void TSkinScrollBar::TrackLoop(bool vertical, ScrollPart part, int grab) {
    HWND control = control_;
    pressed_part_ = part;
    pressed_vertical_ = vertical;
    PaintBars(nullptr);
    SetCapture(control);
    if (part != ScrollPart::Thumb) {
        Scroll(vertical, part);
        PaintBars(nullptr);
        SetTimer(control, kRepeatTimer, 300, nullptr);
    }
    bool over = true;
    MSG msg;
    while (GetCapture() == control && GetMessageW(&msg, nullptr, 0, 0)) {
        const bool release = msg.hwnd == control && msg.message == WM_LBUTTONUP;
        if (release && part != ScrollPart::Thumb) break;
        // The thumb follows every move, and the release where it happens.
        if (msg.hwnd == control && (msg.message == WM_MOUSEMOVE || release)) {
            POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            ClientToScreen(control, &p);
            RECT window;
            GetWindowRect(control, &window);
            const Bar bar = ReadBar(vertical);
            const int offset = vertical ? p.y - window.top - bar.rect.top : p.x - window.left - bar.rect.left;
            if (part == ScrollPart::Thumb) {
                ScrollTo(vertical, ScrollPosForThumb(bar.layout, bar.info, offset - grab));
                PaintBars(nullptr);
                if (release) break;
            } else {
                const bool now_over = ScrollPartAt(bar.layout, offset) == part;
                if (now_over != over) {
                    over = now_over;
                    pressed_part_ = over ? part : ScrollPart::None;
                    PaintBars(nullptr);
                }
            }
            continue;
        }
        if (msg.hwnd == control && msg.message == WM_TIMER && msg.wParam == kRepeatTimer) {
            SetTimer(control, kRepeatTimer, 50, nullptr);
            if (over && part != ScrollPart::Thumb) {
                Scroll(vertical, part);
                const Bar bar = ReadBar(vertical);
                // Paging stops once the thumb reaches the cursor.
                POINT p;
                GetCursorPos(&p);
                RECT window;
                GetWindowRect(control, &window);
                const int offset = vertical ? p.y - window.top - bar.rect.top : p.x - window.left - bar.rect.left;
                if (ScrollPartAt(bar.layout, offset) != part) over = false;
                PaintBars(nullptr);
            }
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    KillTimer(control, kRepeatTimer);
    if (GetCapture() == control) ReleaseCapture();
    if (!IsWindow(control) || control_ != control) return;
    const UINT message = vertical ? WM_VSCROLL : WM_HSCROLL;
    // A control that reads the track position from its scroll bar would
    // take a stale one from a thumb-position notice: those set directly get
    // none.
    if (part == ScrollPart::Thumb && !ScrollsDirectly(control, vertical)) {
        const int pos = InfoOf(control, vertical ? SB_VERT : SB_HORZ).pos;
        SendMessageW(control, message, MAKEWPARAM(SB_THUMBPOSITION, pos & 0xFFFF), 0);
    }
    SendMessageW(control, message, SB_ENDSCROLL, 0);
    pressed_part_ = ScrollPart::None;
    PaintBars(nullptr);
}

void TSkinListView::AttachListView(HWND control) {
    AttachHandle(control);
    HWND header = reinterpret_cast<HWND>(SendMessageW(control, LVM_GETHEADER, 0, 0));
    if (header && !form_.ControlFor(header)) {
        auto skinner = std::make_unique<TSkinHeader>(form_, *skin_);
        skinner->AttachHandle(header);
        form_.AdoptControl(std::move(skinner));
    }
}

// --- TSkinScControl -------------------------------------------------------------

bool TSkinScControl::BeforeMessage(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
    if (message == WM_NCMOUSEMOVE && (wparam == HTHSCROLL || wparam == HTVSCROLL)) {
        result = 0;
        return false;
    }
    return true;
}

void TSkinScControl::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    TSkinControl::AfterMessage(message, wparam, lparam);
    switch (message) {
    case SBM_SETPOS:
    case SBM_SETRANGE:
    case SBM_SETSCROLLINFO:
    case SBM_SETRANGEREDRAW:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_TIMER:
        if (message == WM_MOUSEMOVE && !(wparam & MK_LBUTTON)) break;
        PaintOver(nullptr);
        break;
    default:
        break;
    }
}

void TSkinScControl::Draw(HDC dc, const RECT& rect) {
    const bool vertical = (GetWindowLongPtrW(control_, GWL_STYLE) & SBS_VERT) != 0;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    SCROLLINFO si{sizeof(si), SIF_ALL | SIF_TRACKPOS};
    GetScrollInfo(control_, SB_CTL, &si);
    ScrollInfo info{si.nMin, si.nMax, static_cast<int>(si.nPage), GetCapture() == control_ ? si.nTrackPos : si.nPos};
    const int length = vertical ? h : w;
    const int thickness = vertical ? w : h;
    ScrollLayout layout = LayoutScrollBar(length, thickness, info);
    ScrollBarLook look;
    look.vertical = vertical;
    look.enabled = Enabled;
    look.track_pixel = SkinPixel(skin_->Colours.Scrollbar);
    BlitSkinBitmap(dc, rect.left, rect.top, RenderScrollBar(*skin_, layout, thickness, look));
}

// --- TSkinSizer -------------------------------------------------------------------

bool TSkinSizer::BeforeMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(control_, &ps);
        EndPaint(control_, &ps);
        result = 0;
        return false;
    }
    if (message == WM_ERASEBKGND) {
        result = 1;
        return false;
    }
    return true;
}
