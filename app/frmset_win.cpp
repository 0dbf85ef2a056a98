#include "app/frmset_win.h"

#include "app/config.h"
#include "app/forms_win.h"
#include "app/frmmain_win.h"
#include "app/secondary_window_win.h"
#include "app/stay_on_top_win.h"
#include "app/utf8.h"

#include <commctrl.h>

#include <climits>
#include <string>

namespace {

enum ControlId : int {
    kCheckBox1 = 101,
    kSpinEdit1 = 102,
    kSpinEdit2 = 103,
    kBitBtn1 = 104,
    kBitBtn2 = 105,
    kSpinButtonOffset = 100,   // the arrows of a number field: its id + this
};

constexpr int kLabelLeft = 20;
constexpr int kFieldLeft = 230;
constexpr int kFieldWidth = 90;
constexpr int kFieldHeight = 22;

std::wstring TextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

int32_t FieldValue(HWND edit) { return SpinEditValue(Utf8FromWide(TextOf(edit))); }

void SetFieldValue(HWND edit, int32_t value) { SetWindowTextW(edit, std::to_wstring(value).c_str()); }

}  // namespace

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
    if (window_) CreateControls();
}

HWND Tfrmset::AddControl(const wchar_t* window_class, const wchar_t* text, DWORD style, int left, int top, int width,
                         int height, int id) {
    HWND control = CreateWindowExW(0, window_class, text, WS_CHILD | WS_VISIBLE | style, left, top, width, height,
                                   window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
}

// A number field: an edit box with up and down arrows. The field has no
// bounds, so the arrows step the text themselves (see Step).
HWND Tfrmset::AddSpinEdit(int top, int id) {
    HWND edit = AddControl(L"EDIT", L"0", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kFieldLeft, top, kFieldWidth,
                           kFieldHeight, id);
    HWND arrows = AddControl(UPDOWN_CLASSW, L"", UDS_ALIGNRIGHT | UDS_ARROWKEYS, 0, 0, 0, 0,
                             id + kSpinButtonOffset);
    SendMessageW(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    SendMessageW(arrows, UDM_SETRANGE32, static_cast<WPARAM>(INT_MIN), static_cast<LPARAM>(INT_MAX));
    return edit;
}

void Tfrmset::CreateControls() {
    check_box1_ = AddControl(L"BUTTON", L"自动跳过（如有的Flash文件开始的\"Play\"）",
                             BS_AUTOCHECKBOX | WS_TABSTOP, kLabelLeft, 24, 346, 20, kCheckBox1);
    AddControl(L"STATIC", L"在结尾时差多少帧即播放下一首", SS_LEFT, kLabelLeft, 77, 205, 16, 0);
    spin_edit1_ = AddSpinEdit(74, kSpinEdit1);
    AddControl(L"STATIC", L"帧", SS_LEFT, kFieldLeft + kFieldWidth + 8, 77, 20, 16, 0);
    AddControl(L"STATIC", L"快进快退时每点击一下所进退的帧数", SS_LEFT, kLabelLeft, 127, 205, 16, 0);
    spin_edit2_ = AddSpinEdit(124, kSpinEdit2);
    AddControl(L"STATIC", L"帧", SS_LEFT, kFieldLeft + kFieldWidth + 8, 127, 20, 16, 0);
    bit_btn1_ = AddControl(L"BUTTON", L"设置", BS_PUSHBUTTON | WS_TABSTOP, 80, 196, 90, 30, kBitBtn1);
    bit_btn2_ = AddControl(L"BUTTON", L"返回", BS_PUSHBUTTON | WS_TABSTOP, 216, 196, 90, 30, kBitBtn2);
}

void Tfrmset::Step(HWND edit, int delta) {
    int64_t value = int64_t(FieldValue(edit)) + delta;
    if (value > INT32_MAX) value = INT32_MAX;
    if (value < INT32_MIN) value = INT32_MIN;
    SetFieldValue(edit, static_cast<int32_t>(value));
}

LRESULT CALLBACK Tfrmset::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = SecondaryWindowOwner<Tfrmset>(window, message, lparam);
    if (!self) return DefWindowProcW(window, message, wparam, lparam);
    switch (message) {
    case WM_SHOWWINDOW:
        if (wparam) self->FormShow();
        break;
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == kBitBtn1) self->BitBtn1Click();
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == kBitBtn2) self->BitBtn2Click();
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lparam);
        if (header->code == UDN_DELTAPOS) {
            auto* change = reinterpret_cast<NMUPDOWN*>(lparam);
            int field = static_cast<int>(header->idFrom) - kSpinButtonOffset;
            if (field == kSpinEdit1) self->Step(self->spin_edit1_, change->iDelta);
            if (field == kSpinEdit2) self->Step(self->spin_edit2_, change->iDelta);
            return TRUE;   // the arrows keep no position of their own
        }
        break;
    }
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        self->FormClose();
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool Tfrmset::SkipChecked() const { return SendMessageW(check_box1_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Tfrmset::SetSkipChecked(bool checked) {
    SendMessageW(check_box1_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Tfrmset::FormShow() {
    Tfrmmain* main = Forms().frmmain;
    if (!main) return;
    SetSkipChecked(main->SkipPlay);
    SetFieldValue(spin_edit1_, main->NearEndFrames);
    SetFieldValue(spin_edit2_, main->StepFrames);
}

void Tfrmset::BitBtn1Click() {
    if (Tfrmmain* main = Forms().frmmain) {
        PlaybackSettings settings{SkipChecked(), FieldValue(spin_edit1_), FieldValue(spin_edit2_)};
        // A change of the main window's check box saves "AutoSkip" at once.
        main->SetControlChecked(L"CheckBox3", settings.skip_play);
        main->NearEndFrames = settings.near_end_frames;
        main->SkipPlay = settings.skip_play;
        main->StepFrames = settings.step_frames;
        if (main->Config) WriteDialogSettings(*main->Config, settings);
    }
    SendMessageW(window_, WM_CLOSE, 0, 0);
}

void Tfrmset::BitBtn2Click() { SendMessageW(window_, WM_CLOSE, 0, 0); }

void Tfrmset::FormClose() {
    Tfrmmain* main = Forms().frmmain;
    if (!main || !main->Window()) return;
    MakeTopmost(main->Window());
    MakeNotTopmost(main->Window());
    main->ApplyStayOnTop();
}
