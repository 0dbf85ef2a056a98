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
    PlaceInBand(window, HWND_NOTOPMOST);
}

void ApplyStayOnTop(HWND window, bool stay_on_top) {
    if (stay_on_top)
        MakeTopmost(window);
    else
        MakeNotTopmost(window);
}
