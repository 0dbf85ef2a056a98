// The pictures of the main window that are drawn by code: the glyphs of the
// start button and the transport buttons, the background picture of the
// control panel and the volume gradient.
#pragma once

#include "app/main_controls.h"

#include <windows.h>

void DrawGlyph(HDC dc, ControlGlyph glyph, const RECT& rect, bool enabled);
