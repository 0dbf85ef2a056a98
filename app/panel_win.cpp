#include "app/panel_win.h"

#include "skin/skin_controls_win.h"

namespace {

PanelStyle* StyleOf(HWND window) {
    return reinterpret_cast<PanelStyle*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Paint(HWND window, PanelStyle* style) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    const COLORREF color = !style ? GetSysColor(COLOR_BTNFACE) : style->skinned ? style->skin_color : style->color;
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    if (style && style->bevel) {
        RECT edge = client;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
    if (style && style->paint) style->paint(dc, client);
    EndPaint(window, &ps);
}

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    PanelStyle* style = StyleOf(window);
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        break;
    }
    case WM_ERASEBKGND:
        return 1;
    case kSkinSetColour:
        if (style) {
            style->skinned = lparam != 0;
            style->skin_color = static_cast<COLORREF>(wparam);
        }
        return 0;
    case WM_PAINT:
        Paint(window, style);
        return 0;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CONTEXTMENU:
    case WM_HSCROLL:
    case WM_VSCROLL:
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wparam, lparam);
    case WM_SETCURSOR:
        // The top-level window knows which controls have their own cursor.
        if (SendMessageW(GetAncestor(window, GA_ROOT), message, wparam, lparam)) return TRUE;
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        if (style && style->mouse) {
            style->mouse(message, static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)),
                         wparam);
            // The default handling of the right button's release asks for
            // the context menu.
            if (message != WM_RBUTTONUP) return 0;
        }
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void RegisterPanelClass() {
    static bool registered = [] {
        WNDCLASSW wc{};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kPanelClassName;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

HWND CreatePanel(HWND parent, int id, int left, int top, int width, int height, DWORD extra_style,
                 PanelStyle* style) {
    RegisterPanelClass();
    return CreateWindowExW(0, kPanelClassName, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | extra_style,
                           left, top, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), style);
}
