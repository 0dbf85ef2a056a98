#include "app/frmmain_win.h"

#include "app/application_win.h"
#include "app/frmmain_dispatch_win.h"
#include "app/stay_on_top_win.h"
#include "flash/flash_control_win.h"

#include <commctrl.h>

#include <stdexcept>

namespace {

constexpr UINT_PTR kControlSubclassId = 1;

HBRUSH SkyBlueBrush() {
    static HBRUSH brush = CreateSolidBrush(ColorValue(kColorSkyBlue));
    return brush;
}

void RegisterMainWindowClass(WNDPROC proc) {
    static bool registered = [proc] {
        WNDCLASSW wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = SkyBlueBrush();
        wc.lpszClassName = Tfrmmain::kClassName;
        return RegisterClassW(&wc) != 0;
    }();
    (void)registered;
}

constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace

unsigned CurrentKeyShift() {
    unsigned shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= kKeyShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= kKeyCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= kKeyAlt;
    return shift;
}

Tfrmmain::Tfrmmain(Options options)
    : options_(std::move(options)), controls_(MainWindowControls(), kFirstControlId) {}

Tfrmmain::~Tfrmmain() {
    SetMessageFilter({});
    SetMessagePreview({});
    if (window_) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
}

void Tfrmmain::Create() {
    RegisterMainWindowClass(WindowProc);
    RECT outer{0, 0, kMainClientWidth, kMainClientHeight};
    AdjustWindowRectEx(&outer, kMainStyle, FALSE, 0);
    int width = outer.right - outer.left, height = outer.bottom - outer.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    // Owned by the application window, which is the task bar button.
    window_ = CreateWindowExW(0, kClassName, L"Corvella3.0", kMainStyle, left, top, width, height,
                              ApplicationWindow(), nullptr, GetModuleHandleW(nullptr), this);
    if (!window_) throw std::runtime_error("Cannot create the main window.");

    controls_.Create(
        window_,
        [this](HWND parent, int id, const ControlRecord& r) -> HWND {
            flash_ = FlashControl::Create(parent, id, r.left, r.top, r.width, r.height);
            return flash_ ? flash_->Window() : nullptr;
        },
        [this](int index, UINT message, int x, int y) { OnMouse(index, message, x, y); });
    for (const wchar_t* name : {L"ListBox1", L"ProgressBar1"})
        if (HWND control = controls_.Window(name))
            SetWindowSubclass(control, ControlSubclass, kControlSubclassId, reinterpret_cast<DWORD_PTR>(this));

    menu1_ = std::make_unique<PopupMenu>(PopupMenu1Items(), kFirstMenu1Id);
    menu2_ = std::make_unique<PopupMenu>(PopupMenu2Items(), kFirstMenu2Id);
    std::vector<ACCEL> accelerators = menu1_->Accelerators();
    if (!accelerators.empty())
        accelerators_ = CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));

    for (const TimerRecord& timer : MainWindowTimers()) {
        timers_enabled_.push_back(false);
        SetTimerEnabled(timer.name, timer.enabled);
    }
    FormCreate();
}

void Tfrmmain::Show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

LRESULT CALLBACK Tfrmmain::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Tfrmmain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->window_) return DefWindowProcW(window, message, wparam, lparam);
    return self->HandleMessage(message, wparam, lparam);
}

LRESULT Tfrmmain::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
        return 0;
    case WM_DRAWITEM:
        controls_.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (HBRUSH brush = controls_.ControlColor(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wparam), static_cast<short>(LOWORD(lparam)),
                      static_cast<short>(HIWORD(lparam)));
        return 0;
    case WM_SETCURSOR:
        if (HCURSOR cursor = controls_.CursorFor(reinterpret_cast<HWND>(wparam))) {
            SetCursor(cursor);
            return TRUE;
        }
        // A child asks on its way up: let it set its own cursor.
        if (reinterpret_cast<HWND>(wparam) != window_) return FALSE;
        break;
    case WM_TIMER:
        OnTimer(static_cast<int>(wparam));
        return 0;
    case WM_SIZE:
        if (menu1_) {
            // A minimised window has no client area to lay the panels out in.
            if (wparam != SIZE_MINIMIZED) controls_.Realign();
            FormResize();
        }
        break;
    case WM_SHOWWINDOW:
        if (wparam) FormShow();
        break;
    case WM_ACTIVATE:
        // A hint of ours must not stay on screen over another window or a menu.
        if (LOWORD(wparam) == WA_INACTIVE) controls_.HideHint();
        break;
    case WM_ENTERMENULOOP:
        controls_.HideHint();
        break;
    case WM_SYSCOMMAND:
        // With the task bar button shown, minimising is the application's.
        if ((wparam & 0xFFF0) == SC_MINIMIZE && IsWindowVisible(ApplicationWindow())) {
            MinimizeApplication();
            return 0;
        }
        break;
    case WM_CLOSE:
        FormClose();
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        for (const TimerRecord& timer : MainWindowTimers()) KillTimer(window_, static_cast<UINT_PTR>(timer.id));
        if (options_.ends_program) PostQuitMessage(0);
        window_ = nullptr;
        return 0;
    }
    return DefWindowProcW(window_, message, wparam, lparam);
}

LRESULT CALLBACK Tfrmmain::ControlSubclass(HWND control, UINT message, WPARAM wparam, LPARAM lparam,
                                           UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Tfrmmain*>(data);
    int index = self->controls_.IndexOfWindow(control);
    const std::wstring& name = self->controls_.Record(index).name;
    if (message == WM_KEYDOWN && name == L"ListBox1") {
        WORD key = static_cast<WORD>(wparam);
        self->ListBox1KeyDown(key, CurrentKeyShift());
        if (!key) return 0;
        wparam = key;
    }
    // Any mouse button seeks; the seek comes before the right button's
    // context menu.
    bool button_up = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
    if (button_up && name == L"ProgressBar1")
        self->ProgressBar1MouseUp(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
    LRESULT result = DefSubclassProc(control, message, wparam, lparam);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, ControlSubclass, kControlSubclassId);
    return result;
}

void Tfrmmain::OnCommand(int id, int code, HWND control) {
    if (!control) {
        int index = menu1_->IndexOfCommand(id);
        if (index >= 0) {
            RunMenuHandler(*this, menu1_->Record(index).name);
            return;
        }
        index = menu2_->IndexOfCommand(id);
        if (index >= 0) RunMenuHandler(*this, menu2_->Record(index).name);
        return;
    }
    int index = controls_.IndexOfId(id);
    if (index < 0) return;
    const ControlRecord& r = controls_.Record(index);
    switch (r.kind) {
    case ControlKind::RadioButton:
        if (code == BN_CLICKED) SetControlChecked(r.name, true);
        break;
    case ControlKind::SpeedButton:
        // A flat button keeps no focus: the keys go back to the Flash area.
        if (code == BN_CLICKED) {
            RunControlHandler(index);
            FocusFlashArea();
        }
        break;
    case ControlKind::BitBtn:
    case ControlKind::CheckBox:
        if (code == BN_CLICKED) RunControlHandler(index);
        break;
    case ControlKind::ListBox:
        if (code == LBN_SELCHANGE) RunControlHandler(index);
        break;
    case ControlKind::Edit:
        if (code == EN_CHANGE) RunControlHandler(index);
        break;
    default: break;
    }
}

void Tfrmmain::RunControlHandler(int index) { RunControlClick(*this, controls_.Record(index).name); }

void Tfrmmain::OnContextMenu(HWND source, int x, int y) {
    // The nearest of our controls at or above the source window.
    int index = -1;
    for (HWND w = source; w && w != window_ && index < 0; w = GetParent(w)) index = controls_.IndexOfWindow(w);
    if (index < 0) return;
    if (x == -1 && y == -1) {
        RECT r;
        GetWindowRect(controls_.Window(index), &r);
        x = r.left;
        y = r.top;
    }
    if (controls_.Record(index).name == L"ListBox1")
        menu2_->Popup(window_, x, y);
    else if (controls_.IsInside(index, controls_.Index(L"Panel5")))
        menu1_->Popup(window_, x, y);
}

void Tfrmmain::OnTimer(int id) {
    for (const TimerRecord& timer : MainWindowTimers())
        if (timer.id == id) RunTimerHandler(*this, timer.name);
}

void Tfrmmain::OnMouse(int index, UINT message, int x, int y) {
    const std::wstring& name = controls_.Record(index).name;
    if (message != WM_LBUTTONDOWN) return;
    if (name == L"VolImg") VolImgMouseDown(x, y);
    if (name == L"VolLbl") Panel10MouseDown(x, y);
}

int Tfrmmain::ControlIndex(const std::wstring& name) const {
    int index = controls_.Index(name);
    if (index < 0) throw std::out_of_range("no such control");
    return index;
}

HWND Tfrmmain::ControlWindow(const std::wstring& name) const { return controls_.Window(ControlIndex(name)); }

std::wstring Tfrmmain::ControlText(const std::wstring& name) const { return controls_.Text(ControlIndex(name)); }

void Tfrmmain::SetControlText(const std::wstring& name, const std::wstring& text) {
    controls_.SetText(ControlIndex(name), text);
}

bool Tfrmmain::ControlChecked(const std::wstring& name) const { return controls_.Checked(ControlIndex(name)); }

void Tfrmmain::SetControlChecked(const std::wstring& name, bool checked) {
    int index = ControlIndex(name);
    if (controls_.Checked(index) == checked) return;
    controls_.SetCheckState(index, checked);
    const ControlRecord& r = controls_.Record(index);
    if (r.kind == ControlKind::RadioButton) {
        if (!checked) return;
        // A radio button clears the others of its panel.
        for (int i = 0; i < controls_.Count(); ++i)
            if (i != index && controls_.Parent(i) == controls_.Parent(index) &&
                controls_.Record(i).kind == ControlKind::RadioButton)
                controls_.SetCheckState(i, false);
    }
    RunControlHandler(index);
}

void Tfrmmain::ClickControl(const std::wstring& name) {
    const ControlRecord& r = controls_.Record(ControlIndex(name));
    if (r.kind == ControlKind::CheckBox)
        SetControlChecked(name, !ControlChecked(name));
    else if (r.kind == ControlKind::RadioButton)
        SetControlChecked(name, true);
    else
        RunControlClick(*this, name);
}

bool Tfrmmain::MenuChecked(const std::wstring& name) const {
    if (int i = menu1_->Index(name); i >= 0) return menu1_->Checked(i);
    if (int i = menu2_->Index(name); i >= 0) return menu2_->Checked(i);
    throw std::out_of_range("no such menu item");
}

void Tfrmmain::SetMenuChecked(const std::wstring& name, bool checked) {
    if (int i = menu1_->Index(name); i >= 0) return menu1_->SetChecked(i, checked);
    if (int i = menu2_->Index(name); i >= 0) return menu2_->SetChecked(i, checked);
    throw std::out_of_range("no such menu item");
}

void Tfrmmain::ClickMenuItem(const std::wstring& name) {
    if (menu1_->Index(name) < 0 && menu2_->Index(name) < 0) throw std::out_of_range("no such menu item");
    RunMenuHandler(*this, name);
}

namespace {

const TimerRecord& FindTimer(const std::wstring& name, size_t* index) {
    const std::vector<TimerRecord>& timers = MainWindowTimers();
    for (size_t i = 0; i < timers.size(); ++i)
        if (timers[i].name == name) {
            *index = i;
            return timers[i];
        }
    throw std::out_of_range("no such timer");
}

}  // namespace

bool Tfrmmain::TimerEnabled(const std::wstring& name) const {
    size_t index = 0;
    FindTimer(name, &index);
    return timers_enabled_[index];
}

void Tfrmmain::SetTimerEnabled(const std::wstring& name, bool enabled) {
    size_t index = 0;
    const TimerRecord& timer = FindTimer(name, &index);
    timers_enabled_[index] = enabled;
    if (enabled)
        SetTimer(window_, static_cast<UINT_PTR>(timer.id), static_cast<UINT>(timer.intervalMs), nullptr);
    else
        KillTimer(window_, static_cast<UINT_PTR>(timer.id));
}

int Tfrmmain::TimerInterval(const std::wstring& name) const {
    size_t index = 0;
    return FindTimer(name, &index).intervalMs;
}

bool Tfrmmain::TranslateShortcut(MSG& msg) {
    if (!window_ || !accelerators_) return false;
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    // Only the controls of the control panel carry the menu.
    int index = -1;
    for (HWND w = msg.hwnd; w && w != window_ && index < 0; w = GetParent(w)) index = controls_.IndexOfWindow(w);
    if (index < 0 || !controls_.IsInside(index, controls_.Index(L"Panel5"))) return false;
    return TranslateAcceleratorW(window_, accelerators_, &msg) != 0;
}

bool Tfrmmain::PreviewKey(MSG& msg) {
    if (!window_) return false;
    bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    if (!down && !up) return false;
    if (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)) return false;
    unsigned shift = CurrentKeyShift();
    WORD key = static_cast<WORD>(msg.wParam);
    if (down)
        FormKeyDown(key, shift);
    else
        FormKeyUp(key, shift);
    if (!key) return true;
    msg.wParam = key;
    return false;
}

void Tfrmmain::ApplyStayOnTop() { ::ApplyStayOnTop(window_, MenuChecked(L"N18")); }
