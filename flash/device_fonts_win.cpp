#include "flash/device_fonts_win.h"

#include "flash/device_fonts.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace flash {

namespace {

std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(std::max(length, 0)), L'\0');
    if (length > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
    return out;
}

// The file of the face GDI picks for the name: a collection whole (the
// reader takes its first face), else the font's own tables.
std::vector<uint8_t> ReadSystemFont(const std::string& face, bool bold, bool italic) {
    std::wstring name = Wide(face).substr(0, LF_FACESIZE - 1);
    HFONT font = CreateFontW(-64, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name.c_str());
    if (!font) return {};
    std::vector<uint8_t> bytes;
    HDC dc = CreateCompatibleDC(nullptr);
    if (dc) {
        HGDIOBJ old = SelectObject(dc, font);
        const DWORD collection = 0x66637474;   // 'ttcf', as GDI spells table tags
        DWORD table = collection;
        DWORD size = GetFontData(dc, table, 0, nullptr, 0);
        if (size == GDI_ERROR || size == 0) table = 0, size = GetFontData(dc, 0, 0, nullptr, 0);
        if (size != GDI_ERROR && size > 0) {
            bytes.resize(size);
            if (GetFontData(dc, table, 0, bytes.data(), size) != size) bytes.clear();
        }
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    DeleteObject(font);
    return bytes;
}

}  // namespace

void InstallWindowsFonts() { SetFontFileReader(ReadSystemFont); }

}  // namespace flash
