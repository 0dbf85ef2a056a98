#include "tools/capture_win.h"

#include <ctime>
#include <stdexcept>
#include <vector>

#include "tools/wallpaper.h"
#include "tools/win_error_win.h"

HBITMAP CaptureWindowPicture(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void SaveBitmapFile(HBITMAP bitmap, const std::wstring& path) {
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    const int bits = info.bmBitsPixel == 32 ? 32 : 24;
    const int stride = ((info.bmWidth * bits + 31) / 32) * 4;
    std::vector<unsigned char> pixels(static_cast<size_t>(stride) * info.bmHeight);

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;  // bottom-up, as BMP files store it
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(pixels.size());
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
                         DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) throw std::runtime_error("Cannot read the picture's pixels");

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;

    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) ThrowLastError(L"Cannot create file \"" + path + L"\"");
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) &&
              WriteFile(out, &header, sizeof(header), &written, nullptr) &&
              WriteFile(out, pixels.data(), header.biSizeImage, &written, nullptr) && written == header.biSizeImage;
    DWORD error = GetLastError();
    CloseHandle(out);
    if (!ok) ThrowLastError(L"Write error", error);
}

std::wstring SaveFlashPictureAsWallpaper(HWND window, int style) {
    wchar_t folder[256] = {};
    GetWindowsDirectoryW(folder, 256);
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    std::wstring name = WallpaperFileName(folder, local);

    HBITMAP bitmap = CaptureWindowPicture(window);
    try {
        SaveBitmapFile(bitmap, name);
    } catch (...) {
        DeleteObject(bitmap);
        throw;
    }
    DeleteObject(bitmap);

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"control panel\\desktop", 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        for (const auto& [value_name, value] : WallpaperValues(style, name))
            RegSetValueExW(key, value_name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, nullptr, SPIF_SENDWININICHANGE);
        RegCloseKey(key);
    }
    return name;
}
