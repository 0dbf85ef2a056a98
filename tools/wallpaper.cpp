#include "tools/wallpaper.h"

#include <cwchar>

std::wstring WallpaperFileName(const std::wstring& windows_folder, const std::tm& t) {
    wchar_t stamp[32];
    std::swprintf(stamp, 32, L"%04d%02d%02d %02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                  t.tm_min, t.tm_sec);
    return windows_folder + L"\\" + stamp + L".bmp";
}

std::vector<std::pair<std::wstring, std::wstring>> WallpaperValues(int style, const std::wstring& file_name) {
    std::vector<std::pair<std::wstring, std::wstring>> values = {{L"wallpaper", file_name}};
    const wchar_t* tile = nullptr;
    const wchar_t* stretch = nullptr;
    switch (style) {
        case 1: tile = L"0"; stretch = L"0"; break;
        case 2: tile = L"1"; stretch = L"0"; break;
        case 3: tile = L"0"; stretch = L"2"; break;
        default: return values;
    }
    values.emplace_back(L"Tilewallpaper", tile);
    values.emplace_back(L"WallpaperStyle", stretch);
    return values;
}
