// Pictures of the Flash area: a bitmap of a window's client size in the
// screen's format into which the window paints itself, written as BMP.
#pragma once

#include <windows.h>

#include <string>

// A screen-compatible bitmap of window's client size holding what the window
// paints (WM_PRINTCLIENT) with its top-left corner at 0, 0. Caller deletes it.
HBITMAP CaptureWindowPicture(HWND window);

// Writes bitmap as a BMP file in its own bit depth (24 or 32 bits; other
// depths are written as 24). Throws std::runtime_error on failure.
void SaveBitmapFile(HBITMAP bitmap, const std::wstring& path);

// The wallpaper operation: the picture of window saved under a time-stamped
// name in the Windows folder, the values of the style written under
// HKCU\control panel\desktop and the desktop told to take them. Returns the
// file name written.
std::wstring SaveFlashPictureAsWallpaper(HWND window, int style);
