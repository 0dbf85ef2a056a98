#include "app/window_layout.h"

int CentredOffset(int screen, int size) { return (screen - size) / 2; }

WindowBounds FullScreenBounds(ScreenSize screen) { return {0, 0, screen.width, screen.height}; }

namespace {

WindowBounds Centred(ScreenSize screen, int width, int height) {
    return {CentredOffset(screen.width, width), CentredOffset(screen.height, height), width, height};
}

}  // namespace

WindowBounds WindowModeBounds(ScreenSize screen, int panel_width) {
    return Centred(screen, panel_width, kWindowModeHeight);
}

WindowBounds NoPanelWindowBounds(ScreenSize screen, int panel_width) {
    return Centred(screen, panel_width, kNoPanelWindowHeight);
}

ResizePlan PlanResize(const ResizeState& state) {
    ResizePlan plan;
    plan.bounds = state.window;
    if (state.media_mode) {
        if (state.picture_shown) {
            plan.kind = ResizeKind::Video;
        } else if (state.window.height > kAudioTallLimit) {
            plan.kind = ResizeKind::AudioShrink;
            plan.bounds.width = kAudioWindowWidth;
            plan.bounds.height = kAudioWindowHeight;
        } else {
            plan.kind = ResizeKind::AudioKeep;
        }
        return plan;
    }
    plan.kind = ResizeKind::Movie;
    plan.bounds.left = CentredOffset(state.screen.width, state.window.width);
    plan.bounds.top = CentredOffset(state.screen.height, state.window.height);
    if (state.bordered) plan.bounds.top -= kBorderedRaise;
    return plan;
}
