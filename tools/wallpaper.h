// Wallpaper file names and the registry values of the three styles.
#pragma once

#include <ctime>
#include <string>
#include <utility>
#include <vector>

// windows_folder + "\" + "YYYYMMdd HHmmss" + ".bmp" for the given local time.
std::wstring WallpaperFileName(const std::wstring& windows_folder, const std::tm& local_time);

// The string values written under "control panel\desktop" for a style code:
// 1 centre, 2 tile, 3 stretch; any other code writes only "wallpaper".
std::vector<std::pair<std::wstring, std::wstring>> WallpaperValues(int style, const std::wstring& file_name);
