#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "skin/control_paint.h"
#include "skin/skin_controls_win.h"
#include "skin/skin_gdi_win.h"
#include "skin/win_skin_form_win.h"

namespace {

SkinRect ToSkin(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool PaintsItself(UINT message, WPARAM wparam, HWND control, TSkinControl& self, LRESULT& result) {
    if (message == WM_ERASEBKGND) {
        result = 1;
        return true;
    }
    if (message != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = wparam ? reinterpret_cast<HDC>(wparam) : BeginPaint(control, &ps);
    self.PaintOver(dc);
    if (!wparam) EndPaint(control, &ps);
    result = 0;
    return true;
}

COLORREF TextColour(const TSkinData& skin) { return SkinColorRef(skin.Colours.ButtonText, GetSysColor(COLOR_BTNTEXT)); }

HFONT FontOf(HWND control) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void DrawCaption(SkinBitmap& bitmap, HFONT font, COLORREF colour, const std::wstring& text, RECT r, UINT format) {
    if (text.empty()) return;
    DrawWithGdi(bitmap, [&](HDC mem) {
        HGDIOBJ old = SelectObject(mem, font);
        SetBkMode(mem, TRANSPARENT);
        SetTextColor(mem, colour);
        DrawTextW(mem, text.c_str(), static_cast<int>(text.size()), &r, format | DT_SINGLELINE | DT_VCENTER);
        SelectObject(mem, old);
    });
}

}  // namespace

// --- TSkinProgress --------------------------------------------------------------

void TSkinProgress::AttachProgress(HWND control) {
    PBRANGE range{};
    SendMessageW(control, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    Lower = range.iLow;
    Upper = range.iHigh;
    AttachHandle(control);
}

bool TSkinProgress::BeforeMessage(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
    if (!skin_->Progress || skin_->Progress->Bitmap.Empty()) return true;
    return !PaintsItself(message, wparam, control_, *this, result);
}

void TSkinProgress::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == PBM_SETRANGE) {
        Lower = LOWORD(lparam);
        Upper = HIWORD(lparam);
    } else if (message == PBM_SETRANGE32) {
        Lower = static_cast<int>(wparam);
        Upper = static_cast<int>(lparam);
    }
    if (message == WM_PAINT) return;
    TSkinControl::AfterMessage(message, wparam, lparam);
}

void TSkinProgress::Draw(HDC dc, const RECT& rect) {
    if (!skin_->Progress || skin_->Progress->Bitmap.Empty()) return;
    const TDataSkinBorder& e = *skin_->Progress;
    RECT client;
    GetClientRect(control_, &client);
    const int w = client.right, h = client.bottom;
    SkinBitmap bar = FaceBitmap(*skin_, w, h);
    if (bar.Empty()) return;
    const int pos = static_cast<int>(SendMessageW(control_, PBM_GETPOS, 0, 0));
    if (e.Style == 1) {
        DrawElement(bar, e, 1, 1, {0, 0, w, h});
        const int left = e.LeftWidth;
        const int fill = ProgressFillRight(0, w - e.LeftWidth - e.RightWidth, pos - Lower, Upper - Lower);
        if (!e.Bitmap2.Empty())
            for (int x = 0; x < fill; x += e.Bitmap2.width) {
                SkinBitmap chunk = e.Bitmap2.Crop(0, 0, std::min(e.Bitmap2.width, fill - x), e.Bitmap2.height);
                DrawBitmap(bar, left + x, (h - chunk.height) / 2, chunk, true);
            }
    } else {
        DrawElement(bar, e, 1, 2, {0, 0, w, h});
        const int fill = ProgressFillRight(0, w, pos - Lower, Upper - Lower);
        if (fill > 0) {
            const SkinBitmap frame = CutFrame(e.Bitmap, 2, 2, FrameAxis::SideBySide);
            const SliceMargins m{e.LeftWidth, e.TopHeight, e.RightWidth, e.BottomHeight};
            DrawBitmap(bar, 0, 0, NineSlice(frame, m, fill, h, e.Tile != 0), true);
        }
    }
    BlitSkinBitmap(dc, rect.left, rect.top, bar);
}

// --- TSkinTrackBar --------------------------------------------------------------

void TSkinTrackBar::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    TSkinControl::AfterMessage(message, wparam, lparam);
    switch (message) {
    case TBM_SETPOS:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
        PaintOver(nullptr);
        break;
    case WM_MOUSEMOVE:
        BecomeHot();
        PaintOver(nullptr);
        break;
    default:
        break;
    }
}

void TSkinTrackBar::Draw(HDC dc, const RECT&) {
    RECT channel{}, thumb{};
    SendMessageW(control_, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageW(control_, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    HBRUSH shadow = CreateSolidBrush(SkinColorRef(skin_->Colours.ButtonShadow, GetSysColor(COLOR_BTNSHADOW)));
    ::FillRect(dc, &channel, shadow);
    DeleteObject(shadow);
    const int w = thumb.right - thumb.left, h = thumb.bottom - thumb.top;
    SkinBitmap face = FaceBitmap(*skin_, w, h);
    if (face.Empty() || skin_->Buttons.Bitmap.Empty()) return;
    const bool pressed = GetCapture() == control_;
    DrawElement(face, skin_->Buttons, ButtonFaceFrame(pressed, false, Hot, Enabled), ElementFrames(skin_->Buttons, 5),
                {0, 0, w, h});
    BlitSkinBitmap(dc, thumb.left, thumb.top, face);
}

// --- TSkinUpDown ----------------------------------------------------------------

bool TSkinUpDown::BeforeMessage(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
    return !PaintsItself(message, wparam, control_, *this, result);
}

void TSkinUpDown::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        RECT client;
        GetClientRect(control_, &client);
        const bool horizontal = (GetWindowLongPtrW(control_, GWL_STYLE) & UDS_HORZ) != 0;
        const UpDownHalves halves = SplitUpDown(client.right, client.bottom, horizontal, InsideEdit);
        pressed_half_ = halves.second.Contains(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)) ? 1 : 0;
        Pressed = true;
        Repaint();
        break;
    }
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        Pressed = false;
        pressed_half_ = -1;
        Repaint();
        break;
    case WM_MOUSEMOVE:
        BecomeHot();
        Repaint();
        break;
    case WM_PAINT:
        break;
    default:
        TSkinControl::AfterMessage(message, wparam, lparam);
        break;
    }
}

void TSkinUpDown::Draw(HDC dc, const RECT& rect) {
    RECT client;
    GetClientRect(control_, &client);
    const int w = client.right, h = client.bottom;
    SkinBitmap face = FaceBitmap(*skin_, w, h);
    if (face.Empty()) return;
    const bool horizontal = (GetWindowLongPtrW(control_, GWL_STYLE) & UDS_HORZ) != 0;
    const UpDownHalves halves = SplitUpDown(w, h, horizontal, InsideEdit);
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(control_, &cursor);
    const TDataSkinBorder* e = horizontal ? skin_->UpDownHorz.get() : skin_->UpDownVert.get();
    for (int half = 0; half < 2; half++) {
        const SkinRect r = half ? halves.second : halves.first;
        const bool hot = Hot && r.Contains(cursor.x, cursor.y);
        const int frame = UpDownFrame(half == 1, pressed_half_ == half, hot, Enabled);
        if (e && !e->Bitmap.Empty()) {
            DrawElement(face, *e, frame, ElementFrames(*e, 8), r);
            DrawCentredFrame(face, e->Bitmap2, frame, 8, r, true);
        } else {
            // A plain button in the skin's colours.
            const uint32_t shadow = SkinPixel(skin_->Colours.ButtonShadow);
            const uint32_t dark = SkinPixel(skin_->Colours.ButtonDkShadow);
            FillSkinRect(face, {r.left, r.bottom - 1, r.right, r.bottom}, dark);
            FillSkinRect(face, {r.right - 1, r.top, r.right, r.bottom}, dark);
            FillSkinRect(face, {r.left + 1, r.bottom - 2, r.right - 1, r.bottom - 1}, shadow);
            FillSkinRect(face, {r.right - 2, r.top + 1, r.right - 1, r.bottom - 1}, shadow);
        }
    }
    BlitSkinBitmap(dc, rect.left, rect.top, face);
}

// --- TSkinEdit ------------------------------------------------------------------

void TSkinEdit::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    TSkinControl::AfterMessage(message, wparam, lparam);
    if (message == WM_NCPAINT) PaintBorder(nullptr);
    if (message == WM_PRINT && (lparam & PRF_NONCLIENT)) PaintBorder(reinterpret_cast<HDC>(wparam));
}

void TSkinEdit::Draw(HDC, const RECT&) {
    if (!looked_for_updown_) {
        looked_for_updown_ = true;
        for (HWND child = GetWindow(control_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            GetClassNameW(child, name, 32);
            if (lstrcmpiW(name, L"msctls_updown32") != 0 && lstrcmpiW(name, L"TSpinButton") != 0) continue;
            has_updown_ = true;
            if (form_.ControlFor(child)) continue;
            auto updown = std::make_unique<TSkinUpDown>(form_, *skin_);
            updown->InsideEdit = true;
            updown->AttachHandle(child);
            form_.AdoptControl(std::move(updown));
        }
    }
    PaintBorder(nullptr);
}

void TSkinEdit::PaintBorder(HDC given) {
    const LONG_PTR style = GetWindowLongPtrW(control_, GWL_STYLE);
    const LONG_PTR ex = GetWindowLongPtrW(control_, GWL_EXSTYLE);
    if (!(style & WS_BORDER) && !(ex & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE))) return;
    HDC dc = given ? given : GetWindowDC(control_);
    RECT r;
    GetWindowRect(control_, &r);
    OffsetRect(&r, -r.left, -r.top);
    const bool plain = (style & ES_READONLY) || !IsWindowEnabled(control_);
    HBRUSH back = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control_), plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                         reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control_)));
    if (!back) back = GetSysColorBrush(plain ? COLOR_BTNFACE : COLOR_WINDOW);
    RECT ring = r;
    const int rings = has_updown_ ? 1 : 2;
    for (int i = 0; i < rings; i++) {
        InflateRect(&ring, -1, -1);
        FrameRect(dc, &ring, back);
    }
    HBRUSH shadow = CreateSolidBrush(SkinColorRef(skin_->Colours.ButtonShadow, GetSysColor(COLOR_BTNSHADOW)));
    FrameRect(dc, &r, shadow);
    DeleteObject(shadow);
    if (!given) ReleaseDC(control_, dc);
}

// --- TSkinComBox ----------------------------------------------------------------

void TSkinComBox::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    TSkinControl::AfterMessage(message, wparam, lparam);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case CB_SETCURSEL:
    case CB_SHOWDROPDOWN:
        PaintOver(nullptr);
        break;
    case WM_MOUSEMOVE:
        if (BecomeHot()) PaintOver(nullptr);
        break;
    default:
        break;
    }
}

void TSkinComBox::Draw(HDC dc, const RECT& rect) {
    if (!skin_->ComboButton || skin_->ComboButton->Bitmap.Empty()) return;
    const TDataSkinObject& button = *skin_->ComboButton;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    const bool dropped = SendMessageW(control_, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const int frame = !Enabled ? 3 : dropped ? 2 : (Focused || Hot) ? 4 : 1;
    const int bw = GetSystemMetrics(SM_CXVSCROLL) + 2;
    const int inset = button.Style == 1 ? 1 : 0;
    SkinRect area{w - bw - inset, inset, w - inset, h - inset};
    SkinBitmap part = FaceBitmap(*skin_, area.Width(), area.Height());
    if (part.Empty()) return;
    const SkinRect whole{0, 0, area.Width(), area.Height()};
    if (button.Style == 1)
        DrawElement(part, button, frame, ElementFrames(button, 4), whole);
    else
        DrawImageFrame(part, button.Bitmap, frame, ElementFrames(button, 4), whole, true);
    if (skin_->ExtraImages) DrawCentredFrame(part, skin_->ExtraImages->Bitmap, frame, ElementFrames(*skin_->ExtraImages, 5), whole, true);
    BlitSkinBitmap(dc, rect.left + area.left, rect.top + area.top, part);
    // The border: flat in ButtonShadow, the ring inside it cleared.
    RECT outer = rect;
    HBRUSH shadow = CreateSolidBrush(SkinColorRef(skin_->Colours.ButtonShadow, GetSysColor(COLOR_BTNSHADOW)));
    FrameRect(dc, &outer, shadow);
    DeleteObject(shadow);
    RECT ring{outer.left + 1, outer.top + 1, outer.right - bw - inset, outer.bottom - 1};
    HBRUSH back = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(control_), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(control_)));
    FrameRect(dc, &ring, back ? back : GetSysColorBrush(COLOR_WINDOW));
}

// --- TSkinHeader ----------------------------------------------------------------

bool TSkinHeader::BeforeMessage(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
    if (!skin_->Headerbar || skin_->Headerbar->Bitmap.Empty()) return true;
    return !PaintsItself(message, wparam, control_, *this, result);
}

void TSkinHeader::Draw(HDC dc, const RECT& rect) {
    const TDataSkinObject& e = *skin_->Headerbar;
    RECT client;
    GetClientRect(control_, &client);
    SkinBitmap bar = FaceBitmap(*skin_, client.right, client.bottom);
    if (bar.Empty()) return;
    const int frames = ElementFrames(e, 5);
    const int count = static_cast<int>(SendMessageW(control_, HDM_GETITEMCOUNT, 0, 0));
    int right = 0;
    std::vector<std::pair<RECT, std::wstring>> captions;
    for (int i = 0; i < count; i++) {
        RECT r{};
        if (!SendMessageW(control_, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
        wchar_t text[128] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(control_, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        DrawElement(bar, e, 1, frames, ToSkin(r));
        captions.push_back({r, text});
        right = std::max<int>(right, r.right);
    }
    DrawElement(bar, e, 1, frames, {right, 0, static_cast<int>(client.right), static_cast<int>(client.bottom)});
    for (auto& [r, text] : captions) {
        RECT t{r.left + 6, r.top, r.right - 4, r.bottom};
        DrawCaption(bar, FontOf(control_), TextColour(*skin_), text, t, DT_LEFT | DT_END_ELLIPSIS);
    }
    BlitSkinBitmap(dc, rect.left, rect.top, bar);
}

// --- TSkinStatusBar -------------------------------------------------------------

bool TSkinStatusBar::BeforeMessage(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
    if (!skin_->StatusBarEdges || skin_->StatusBarEdges->Bitmap.Empty()) return true;
    return !PaintsItself(message, wparam, control_, *this, result);
}

void TSkinStatusBar::Draw(HDC dc, const RECT& rect) {
    const TDataSkinObject& e = *skin_->StatusBarEdges;
    RECT client;
    GetClientRect(control_, &client);
    SkinBitmap bar = FaceBitmap(*skin_, client.right, client.bottom);
    if (bar.Empty()) return;
    const int frames = ElementFrames(e, 3);
    const int parts = std::max<int>(1, static_cast<int>(SendMessageW(control_, SB_GETPARTS, 0, 0)));
    std::vector<std::pair<RECT, std::wstring>> captions;
    for (int i = 0; i < parts; i++) {
        RECT r{};
        SendMessageW(control_, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
        DrawElement(bar, e, 1, frames, ToSkin(r));
        const int length = LOWORD(SendMessageW(control_, SB_GETTEXTLENGTHW, i, 0));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(control_, SB_GETTEXTW, i, reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        captions.push_back({r, text});
    }
    if (GetWindowLongPtrW(control_, GWL_STYLE) & SBARS_SIZEGRIP) {
        const int g = client.bottom;
        DrawImageFrame(bar, e.Bitmap, 3, frames, {client.right - g, 0, static_cast<int>(client.right), g}, true);
    }
    for (auto& [r, text] : captions) {
        RECT t{r.left + 4, r.top, r.right - 2, r.bottom};
        DrawCaption(bar, FontOf(control_), TextColour(*skin_), text, t, DT_LEFT | DT_END_ELLIPSIS);
    }
    BlitSkinBitmap(dc, rect.left, rect.top, bar);
}

// --- TSkinTab and TSkinTab31 ----------------------------------------------------

void TSkinTab::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    TSkinControl::AfterMessage(message, wparam, lparam);
    if (message == TCM_SETCURSEL || message == WM_LBUTTONDOWN || message == kSkinReapply) PaintOver(nullptr);
    if (message == WM_MOUSEMOVE) {
        BecomeHot();
        PaintOver(nullptr);
    }
}

void TSkinTab::Draw(HDC dc, const RECT& rect) {
    if (!skin_->Tabs || skin_->Tabs->Bitmap.Empty()) return;
    const TDataSkinBorder& e = *skin_->Tabs;
    RECT client;
    GetClientRect(control_, &client);
    SkinBitmap face = FaceBitmap(*skin_, client.right, client.bottom);
    if (face.Empty()) return;
    RECT page = client;
    SendMessageW(control_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    RECT border{client.left, page.top - 2, client.right, client.bottom};
    DrawImageFrame(face, e.Bitmap2, 1, 1, ToSkin(border), e.Trans == 1, true, &e);
    const int count = static_cast<int>(SendMessageW(control_, TCM_GETITEMCOUNT, 0, 0));
    const int selected = static_cast<int>(SendMessageW(control_, TCM_GETCURSEL, 0, 0));
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(control_, &cursor);
    std::vector<std::tuple<RECT, std::wstring, int>> captions;
    for (int i = 0; i < count; i++) {
        RECT r{};
        SendMessageW(control_, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        const int frame = !Enabled ? 3 : i == selected ? 2 : (Hot && PtInRect(&r, cursor)) ? 4 : 1;
        if (i == selected) InflateRect(&r, 2, 2);
        DrawElement(face, e, frame, ElementFrames(e, 5), ToSkin(r));
        wchar_t text[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(control_, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        captions.push_back({r, text, frame});
    }
    for (auto& [r, text, frame] : captions) {
        const SkinColour pick = frame == 4 ? e.MouseOverColour2 : frame == 2 ? e.PressedColour2 : e.NormalColour2;
        DrawCaption(face, FontOf(control_), SkinColorRef(pick, TextColour(*skin_)), text, r, DT_CENTER);
    }
    // Only the tabs and the page's edge: the page's inside stays the control's.
    HRGN clip = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    HRGN inner = CreateRectRgn(page.left, page.top, page.right, page.bottom);
    CombineRgn(clip, clip, inner, RGN_DIFF);
    SelectClipRgn(dc, clip);
    BlitSkinBitmap(dc, rect.left, rect.top, face);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
    DeleteObject(inner);
}

void TSkinTab31::Draw(HDC dc, const RECT& rect) { TSkinTab::Draw(dc, rect); }

// --- The control-table registry -------------------------------------------------

namespace {
std::vector<std::pair<HWND, std::vector<SkinTableRow>>>& Tables() {
    static std::vector<std::pair<HWND, std::vector<SkinTableRow>>> tables;
    return tables;
}
}  // namespace

void SetSkinControlTable(HWND form, std::vector<SkinTableRow> rows) {
    for (auto& [window, table] : Tables())
        if (window == form) {
            table = std::move(rows);
            return;
        }
    Tables().emplace_back(form, std::move(rows));
}

const std::vector<SkinTableRow>* SkinControlTable(HWND form) {
    for (auto& [window, table] : Tables())
        if (window == form) return &table;
    return nullptr;
}
