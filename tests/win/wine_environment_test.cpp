// Checks that the prefix the Wine tests run in is the one the program is
// meant for: code page 936, a Chinese font substitute that draws captions
// whole, the caption buttons' symbol font, a working desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A caption drawn as a label or button draws it: in a white bitmap of the
// control's size, one line centred from top to bottom. For each row, the
// columns that are inked.
using Rows = std::vector<std::vector<bool>>;

Rows DrawCaption(const LOGFONTW& logfont, const wchar_t* text, int width, int height) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontIndirectW(&logfont);
    HGDIOBJ old_font = SelectObject(dc, font);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old_bitmap = SelectObject(dc, bitmap);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawTextW(dc, text, -1, &all, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    GdiFlush();
    Rows rows(height, std::vector<bool>(width, false));
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) rows[y][x] = (pixels[y * width + x] & 0xFFFFFF) != 0xFFFFFF;
    SelectObject(dc, old_bitmap);
    SelectObject(dc, old_font);
    DeleteObject(bitmap);
    DeleteObject(font);
    DeleteDC(dc);
    return rows;
}

int Count(const std::vector<bool>& row) {
    int inked = 0;
    for (bool pixel : row) inked += pixel;
    return inked;
}

// How much of the width a glyph's ink spans do its top three inked rows
// cover at best: near 1 for a character that begins with a whole
// horizontal stroke (a Song face may raise the stroke's end by a pixel).
double TopStrokeShare(const Rows& rows) {
    int left = INT_MAX, right = -1;
    for (const auto& row : rows)
        for (int x = 0; x < static_cast<int>(row.size()); ++x)
            if (row[x]) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    int best = 0, seen = 0;
    for (const auto& row : rows) {
        if (Count(row) == 0) continue;
        best = std::max(best, Count(row));
        if (++seen == 3) break;
    }
    return right < left ? 0 : double(best) / (right - left + 1);
}

LOGFONTW FaceFont(const wchar_t* face, int height) {
    LOGFONTW font{};
    font.lfHeight = height;
    font.lfCharSet = DEFAULT_CHARSET;
    wcscpy(font.lfFaceName, face);
    return font;
}

// The fonts the program draws Chinese captions in: "宋体" at 11 (about box),
// 12 (extraction window) and 13 pixels (labels), and the system's menu,
// message box and caption fonts.
std::vector<LOGFONTW> CaptionFonts(const wchar_t* face) {
    std::vector<LOGFONTW> fonts = {FaceFont(face, -11), FaceFont(face, -12), FaceFont(face, -13)};
    NONCLIENTMETRICSW system{};
    system.cbSize = sizeof(system);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(system), &system, 0)) {
        fonts.push_back(system.lfMenuFont);
        fonts.push_back(system.lfMessageFont);
        fonts.push_back(system.lfCaptionFont);
    }
    return fonts;
}

// Every caption whole in a 17-pixel label and a 29-pixel button: no ink on
// the top or bottom row, and the characters that begin with a horizontal
// stroke across their width show it.
void ExpectCaptionsWhole(const wchar_t* face) {
    for (const LOGFONTW& font : CaptionFonts(face)) {
        SCOPED_TRACE(::testing::Message() << "font " << font.lfHeight);
        for (int height : {17, 29}) {
            for (const wchar_t* caption : {L"开始", L"导出", L"播放列表", L"帮助", L"音量"}) {
                Rows rows = DrawCaption(font, caption, 120, height);
                EXPECT_EQ(Count(rows.front()), 0) << "top row inked";
                EXPECT_EQ(Count(rows.back()), 0) << "bottom row inked";
                int inked_rows = 0;
                for (const auto& row : rows) inked_rows += Count(row) > 0;
                EXPECT_GE(inked_rows, 8) << "caption not drawn";
            }
        }
        for (const wchar_t* character : {L"开", L"不", L"正", L"王"})
            EXPECT_GE(TopStrokeShare(DrawCaption(font, character, 40, 29)), 0.6) << "top stroke cut";
    }
}

bool FontHasGlyphs(const LOGFONTW& logfont, const wchar_t* text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontIndirectW(&logfont);
    HGDIOBJ old = SelectObject(dc, font);
    std::vector<WORD> glyphs(wcslen(text));
    GetGlyphIndicesW(dc, text, static_cast<int>(glyphs.size()), glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    for (WORD glyph : glyphs)
        if (glyph == 0xFFFF) return false;
    return true;
}

}  // namespace

TEST(WineEnvironment, AnsiCodePageFollowsTheLocale) {
    const char* lang = std::getenv("LANG");
    if (lang && std::string(lang).rfind("zh_CN", 0) == 0)
        EXPECT_EQ(GetACP(), 936u);
    else
        GTEST_SKIP() << "started without the zh_CN locale";
}

TEST(WineEnvironment, ChineseFontIsSubstituted) {
    wchar_t value[128] = {};
    DWORD size = sizeof(value);
    LONG rc = RegGetValueW(HKEY_LOCAL_MACHINE,
                           L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
                           L"宋体", RRF_RT_REG_SZ, nullptr, value, &size);
    ASSERT_EQ(rc, ERROR_SUCCESS);
    EXPECT_STREQ(value, L"AR PL UMing CN");
}

TEST(WineEnvironment, ChineseCaptionsAreDrawnWholeInControlSizedBitmaps) {
    ExpectCaptionsWhole(L"宋体");
    EXPECT_TRUE(FontHasGlyphs(FaceFont(L"宋体", -12), L"开始导出播放列表"));
}

TEST(WineEnvironment, CaptionButtonSymbolFontIsInstalled) {
    LOGFONTW marlett{};
    marlett.lfHeight = -13;
    marlett.lfCharSet = SYMBOL_CHARSET;
    wcscpy(marlett.lfFaceName, L"Marlett");
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontIndirectW(&marlett);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    EXPECT_STREQ(face, L"Marlett");
}

TEST(WineEnvironment, TopLevelWindowCanBeShownAndMadeTopmost) {
    HWND window = CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  10, 10, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(window);
}
