// The z-order steps of the main window: each one places the window into the
// topmost or the not-topmost band at its current position and size, so it
// never moves or resizes it.
#pragma once

#include <windows.h>

void MakeTopmost(HWND window);
void MakeNotTopmost(HWND window);
// Topmost when stay_on_top, otherwise not topmost.
void ApplyStayOnTop(HWND window, bool stay_on_top);
