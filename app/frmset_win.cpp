#include "app/frmset_win.h"

#include "app/forms_win.h"
#include "app/frmmain_win.h"
#include "app/secondary_window_win.h"
#include "app/stay_on_top_win.h"

Tfrmset::~Tfrmset() {
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void Tfrmset::Create() {
    SecondaryWindowSpec spec{kClassName, L"系统设置", kClientWidth, kClientHeight, 0, GetSysColor(COLOR_BTNFACE),
                             WindowProc};
    window_ = CreateSecondaryWindow(spec, this);
}

LRESULT CALLBACK Tfrmset::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = SecondaryWindowOwner<Tfrmset>(window, message, lparam);
    if (self && message == WM_CLOSE) {
        ShowWindow(window, SW_HIDE);
        self->FormClose();
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void Tfrmset::FormClose() {
    Tfrmmain* main = Forms().frmmain;
    if (!main || !main->Window()) return;
    MakeTopmost(main->Window());
    MakeNotTopmost(main->Window());
    main->ApplyStayOnTop();
}
