#include "skin/skin_control_win.h"

#include <commctrl.h>

#include "skin/skin_gdi_win.h"
#include "skin/skin_manage_win.h"
#include "skin/win_skin_form_win.h"

namespace {

constexpr UINT_PTR kControlSubclassId = 0x534B4E43;

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

}  // namespace

TSkinControl::~TSkinControl() { Release(); }

void TSkinControl::AttachHandle(HWND control) {
    control_ = control;
    Enabled = IsWindowEnabled(control) != FALSE;
    Focused = GetFocus() == control;
    Text = WindowText(control);
    SetWindowSubclass(control, ControlProc, kControlSubclassId, reinterpret_cast<DWORD_PTR>(this));
    Repaint();
}

void TSkinControl::Release() {
    if (!control_) return;
    if (form_.HotControl == this) form_.HotControl = nullptr;
    RemoveWindowSubclass(control_, ControlProc, kControlSubclassId);
    if (IsWindow(control_)) InvalidateRect(control_, nullptr, TRUE);
    control_ = nullptr;
}

bool TSkinControl::BecomeHot() {
    if (Hot) return false;
    form_.SetHotControl(this);
    Hot = true;
    return true;
}

void TSkinControl::Repaint() {
    if (!control_) return;
    RedrawWindow(control_, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
}

void TSkinControl::MouseLeave() {
    Hot = false;
    Pressed = false;
    Repaint();
}

bool TSkinControl::BeforeMessage(UINT, WPARAM, LPARAM, LRESULT&) { return true; }

void TSkinControl::AfterMessage(UINT message, WPARAM, LPARAM) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
        Repaint();
        break;
    case WM_SETTEXT:
        Text = WindowText(control_);
        Repaint();
        break;
    case WM_PAINT:
        PaintOver(nullptr);
        break;
    default:
        break;
    }
}

void TSkinControl::PaintOver(HDC dc) {
    if (!control_) return;
    RECT r;
    GetWindowRect(control_, &r);
    OffsetRect(&r, -r.left, -r.top);
    Focused = GetFocus() == control_;
    Enabled = IsWindowEnabled(control_) != FALSE;
    HDC own = dc ? dc : GetDC(control_);
    try {
        Draw(own, r);
    } catch (...) {
    }
    if (!dc) ReleaseDC(control_, own);
}

LRESULT CALLBACK TSkinControl::ControlProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                           DWORD_PTR data) {
    auto* self = reinterpret_cast<TSkinControl*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, ControlProc, kControlSubclassId);
        self->control_ = nullptr;
        return DefSubclassProc(window, message, wparam, lparam);
    }
    if (!TSkinManage::Instance().Enabled()) return DefSubclassProc(window, message, wparam, lparam);
    LRESULT result = 0;
    if (!self->BeforeMessage(message, wparam, lparam, result)) return result;
    result = DefSubclassProc(window, message, wparam, lparam);
    self->AfterMessage(message, wparam, lparam);
    return result;
}

// --- TSkinButton ---------------------------------------------------------------

bool TSkinButton::BeforeMessage(UINT message, WPARAM wparam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = wparam ? reinterpret_cast<HDC>(wparam) : BeginPaint(control_, &ps);
        PaintOver(dc);
        if (!wparam) EndPaint(control_, &ps);
        result = 0;
        return false;
    }
    case WM_ERASEBKGND:
        result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (GetFocus() != control_) SetFocus(control_);
        SetCapture(control_);
        Pressed = true;
        Repaint();
        result = 0;
        return false;
    default:
        return true;
    }
}

void TSkinButton::AfterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_KEYDOWN:
        if (wparam == VK_SPACE) {
            Pressed = true;
            Repaint();
        }
        break;
    case WM_KEYUP:
        if (wparam == VK_SPACE) {
            Pressed = false;
            Repaint();
        }
        break;
    case WM_MOUSEMOVE:
        if (BecomeHot()) Repaint();
        break;
    case WM_LBUTTONUP:
        if (GetCapture() == control_) ReleaseCapture();
        if (Pressed) {
            Pressed = false;
            Repaint();
            const int id = GetDlgCtrlID(control_);
            PostMessageW(GetParent(control_), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control_));
        }
        break;
    default:
        TSkinControl::AfterMessage(message, wparam, lparam);
        break;
    }
}

void TSkinButton::Draw(HDC dc, const RECT& rect) {
    const TDataSkinButton& element = skin_->Buttons;
    if (element.Bitmap.Empty() || skin_->Empty()) return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    int frame = Pressed ? 2 : (Focused || Hot) ? 4 : 1;
    if (!Enabled) frame = 3;
    SkinBitmap face;
    face.Resize(w, h, SkinPixel(skin_->Colours.ButtonFace));
    const SkinBitmap part = CutFrame(element.Bitmap, frame, 5, FrameAxis::SideBySide);
    DrawBitmap(face,  0, 0,
               NineSlice(part, {element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight}, w, h,
                         element.Tile != 0),
               element.Trans == 1);
    SkinColour text_colour = frame == 4 ? element.MouseOverColour2 : frame == 2 ? element.PressedColour2 : element.NormalColour2;
    COLORREF colour = Enabled ? SkinColorRef(text_colour, SkinColorRef(skin_->Colours.ButtonText))
                              : GetSysColor(COLOR_BTNSHADOW);
    const std::wstring text = Text;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control_, WM_GETFONT, 0, 0));
    DrawWithGdi(face, [&](HDC mem) {
        HGDIOBJ old = SelectObject(mem, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(mem, TRANSPARENT);
        SetTextColor(mem, colour);
        RECT r{0, 0, w, h};
        if (frame == 2) OffsetRect(&r, 1, 1);
        DrawTextW(mem, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(mem, old);
    });
    BlitSkinBitmap(dc, rect.left, rect.top, face);
}

bool IsSkinnablePushButton(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    if (lstrcmpiW(name, L"button") != 0) return false;
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    const LONG_PTR type = style & BS_TYPEMASK;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON) return false;
    return (style & (BS_BITMAP | BS_ICON)) == 0;
}
