// The window modes of the main window (full screen, window, window without
// the control panel) and what every change of its size does.
#include "app/frmmain_win.h"

#include "app/error_box_win.h"
#include "app/main_controls.h"
#include "app/stay_on_top_win.h"
#include "app/window_layout.h"
#include "flash/flash_control_win.h"

#include <commctrl.h>

#include <exception>

namespace {

constexpr LONG_PTR kFrameStyles = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

ScreenSize Screen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

WindowBounds BoundsOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

RECT ClientOf(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

bool Bordered(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }

// A single fixed frame with a caption, or no frame at all. The outer size
// stays; the client area follows the frame.
void SetBordered(HWND window, bool bordered) {
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    LONG_PTR changed = bordered ? ((style & ~static_cast<LONG_PTR>(WS_POPUP)) | kFrameStyles)
                                : ((style & ~kFrameStyles) | WS_POPUP);
    if (changed == style) return;
    SetWindowLongPtrW(window, GWL_STYLE, changed);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetOuterSize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveTo(HWND window, int left, int top) {
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Centre(HWND window) {
    WindowBounds b = BoundsOf(window);
    ScreenSize screen = Screen();
    MoveTo(window, CentredOffset(screen.width, b.width), CentredOffset(screen.height, b.height));
}

}  // namespace

bool Tfrmmain::FocusFlashArea() {
    HWND area = flash_ ? flash_->Window() : nullptr;
    if (!area || !IsWindowVisible(area) || !IsWindowEnabled(area)) return false;
    SetFocus(area);
    return GetFocus() == area;
}

bool Tfrmmain::FocusMainWindow() {
    if (!IsWindowVisible(window_) || !IsWindowEnabled(window_)) return false;
    SetFocus(window_);
    return GetFocus() == window_;
}

void Tfrmmain::ReenableFlash() {
    if (!flash_) return;
    EnableWindow(flash_->Window(), FALSE);
    EnableWindow(flash_->Window(), TRUE);
}

void Tfrmmain::SetFlashArea(int width, int height) {
    Controls().SetRect(ControlIndex(L"flash"), {0, 0, width, height});
}

int Tfrmmain::ShownProgress() const {
    return static_cast<int>(SendMessageW(ControlWindow(L"ProgressBar1"), PBM_GETPOS, 0, 0));
}

void Tfrmmain::ResumeMediaAt(int position) {
    // The file opens anew so that the video is laid out in the new Flash
    // area, then continues where the progress bar stood.
    std::wstring path = ListEntryPath(ListSelection());
    if (path.empty()) path = CurrentFile;
    PlayFile(path);
    try {
        mp.Seek(position);
        mp.Play();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
    }
}

int Tfrmmain::ControlPanelWidth() const {
    // The width the panel is designed with: aligned to the left of the
    // control panel it would be cut to a narrower window's width.
    return controls_.Record(ControlIndex(L"Panel5")).width;
}

void Tfrmmain::N5Click() {
    if (!PictureShown) return;
    int position = ShownProgress();
    Controls().SetVisible(ControlIndex(L"Panel1"), false);
    SetBordered(window_, false);
    WindowBounds full = FullScreenBounds(Screen());
    MoveTo(window_, full.left, full.top);
    SetOuterSize(window_, full.width, full.height);
    RECT client = ClientOf(window_);
    SetFlashArea(client.right, client.bottom);
    ApplyStayOnTop();
    if (MediaMode) ResumeMediaAt(position);
}

void Tfrmmain::N3Click() {
    if (!PictureShown) return;
    int position = ShownProgress();
    SetOuterSize(window_, ControlPanelWidth(), kWindowModeHeight);
    SetBordered(window_, true);
    Centre(window_);

    int panel1 = ControlIndex(L"Panel1");
    Controls().SetVisible(panel1, true);
    Controls().Realign();
    int panel_height = Controls().Rect(ControlIndex(L"Panel5")).height;
    SetFlashArea(ClientOf(window_).right, BoundsOf(window_).height - panel_height);

    ReenableFlash();
    UpdateWindow(flash_ ? flash_->Window() : window_);
    FocusFlashArea();
    FocusFlashArea();
    MakeTopmost(window_);
    ApplyStayOnTop();
    if (MediaMode) ResumeMediaAt(position);
}

void Tfrmmain::N4Click() {
    if (MediaMode) return;
    SetOuterSize(window_, ControlPanelWidth(), kNoPanelWindowHeight);
    SetBordered(window_, true);
    Centre(window_);
    Controls().SetVisible(ControlIndex(L"Panel1"), false);
    SetFlashArea(ClientOf(window_).right, BoundsOf(window_).height);
    ReenableFlash();
    FocusFlashArea();
    UpdateWindow(flash_ ? flash_->Window() : window_);
    FocusFlashArea();
}

void Tfrmmain::FormResize() {
    // Only a change of the outer size counts: not the first showing, not a
    // new frame around the same size, not minimising and restoring.
    if (IsIconic(window_)) return;
    WindowBounds now = BoundsOf(window_);
    if (resized_width_ == 0) {
        RECT design{0, 0, kMainClientWidth, kMainClientHeight};
        AdjustWindowRectEx(&design, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
        resized_width_ = design.right - design.left;
        resized_height_ = design.bottom - design.top;
    }
    if (now.width == resized_width_ && now.height == resized_height_) return;
    resized_width_ = now.width;
    resized_height_ = now.height;
    ResizeState state;
    state.media_mode = MediaMode;
    state.picture_shown = PictureShown;
    state.bordered = Bordered(window_);
    state.window = now;
    state.screen = Screen();
    ResizePlan plan = PlanResize(state);

    if (MediaMode) {
        HWND area = flash_ ? flash_->Window() : nullptr;
        RECT display = area ? ClientOf(area) : RECT{};
        // Without an open device there is nothing to show the picture.
        try {
            mp.SetDisplay(area);
            mp.SetDisplayRect(0, 0, display.right, display.bottom);
        } catch (const std::exception&) {
        }
        if (plan.kind == ResizeKind::Video) {
            Controls().SetVisible(ControlIndex(L"BitBtn1"), true);
        } else if (plan.kind == ResizeKind::AudioShrink) {
            // The size change comes back here and stops at 150 pixels.
            SetOuterSize(window_, plan.bounds.width, plan.bounds.height);
            Controls().SetVisible(ControlIndex(L"BitBtn1"), false);
        }
    } else {
        // Focusing fails while the window is not on screen; the first
        // refusal ends the steps.
        FocusFlashArea();
        (void)(FocusMainWindow() && FocusFlashArea() && FocusMainWindow() && FocusFlashArea());
        MoveTo(window_, plan.bounds.left, plan.bounds.top);
        Controls().SetVisible(ControlIndex(L"BitBtn1"), true);
        int panel4 = ControlIndex(L"Panel4");
        LayoutRect search = Controls().Rect(panel4);
        search.width = plan.bounds.width;
        Controls().SetRect(panel4, search);
        ReenableFlash();
        FocusFlashArea();
        FocusFlashArea();
    }
    ApplyStayOnTop();
}
