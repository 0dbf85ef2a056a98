#include "app/stay_on_top_win.h"

#include "app/trace.h"

namespace {

void PlaceInBand(HWND window, HWND band) {
    RECT r{};
    GetWindowRect(window, &r);
    SetWindowPos(window, band, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOSIZE);
}

}  // namespace

void MakeTopmost(HWND window) {
    TraceStep("topmost");
    PlaceInBand(window, HWND_TOPMOST);
}

void MakeNotTopmost(HWND window) {
    TraceStep("not topmost");
    // Wine puts an owned window that leaves the topmost band right after the
    // window above its owner, which is the window itself while the owner
    // lies directly below it, so it would stay topmost: the owner (the
    // hidden application window) goes to the bottom first.
    if (HWND owner = GetWindow(window, GW_OWNER))
        SetWindowPos(owner, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    PlaceInBand(window, HWND_NOTOPMOST);
}

void ApplyStayOnTop(HWND window, bool stay_on_top) {
    if (stay_on_top)
        MakeTopmost(window);
    else
        MakeNotTopmost(window);
}
