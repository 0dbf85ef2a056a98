// The converter and the picture tools against the real platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "tools/capture_win.h"
#include "tools/projector_win.h"

namespace fs = std::filesystem;

namespace {

fs::path ScratchFolder(const char* name) {
    fs::path dir = fs::temp_directory_path() / "corvella-tools-test" / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A window that fills its client area with one colour when asked to print.
LRESULT CALLBACK SolidProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_PRINTCLIENT) {
        RECT r;
        GetClientRect(window, &r);
        HBRUSH brush = CreateSolidBrush(RGB(200, 40, 10));
        FillRect(reinterpret_cast<HDC>(wparam), &r, brush);
        DeleteObject(brush);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

HWND SolidWindow(int width, int height) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = SolidProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CorvellaSolidTest";
    RegisterClassW(&wc);
    RECT r = {0, 0, width, height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowW(L"CorvellaSolidTest", L"solid", WS_OVERLAPPEDWINDOW, 0, 0, r.right - r.left,
                         r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
}

std::wstring ReadDesktopValue(const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, L"control panel\\desktop", name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

}  // namespace

TEST(ProjectorBuild, ProjectorPlusMoviePlusTrailer) {
    fs::path dir = ScratchFolder("build");
    std::string projector(70000, 'P'), swf(10000, 'S');
    projector[0] = 'M';
    WriteAll(dir / "Flash.sys", projector);
    WriteAll(dir / "m.swf", swf);
    WriteAll(dir / "out.exe", std::string(999999, 'x'));  // an existing file is replaced

    BuildProjectorExe((dir / "m.swf").wstring(), (dir / "out.exe").wstring(), (dir / "Flash.sys").wstring());
    std::string out = ReadAll(dir / "out.exe");
    ASSERT_EQ(out.size(), 70000u + 10000u + 8u);
    EXPECT_EQ(out.substr(0, 70000), projector);
    EXPECT_EQ(out.substr(70000, 10000), swf);
    EXPECT_EQ(out.substr(80000), std::string("\x56\x34\x12\xFA\x10\x27\x00\x00", 8));
}

TEST(ProjectorBuild, MissingMovieFailsAndLeavesTheProjectorPart) {
    fs::path dir = ScratchFolder("missing");
    WriteAll(dir / "Flash.sys", "projector");
    EXPECT_THROW(BuildProjectorExe((dir / "none.swf").wstring(), (dir / "out.exe").wstring(),
                                   (dir / "Flash.sys").wstring()),
                 std::runtime_error);
    EXPECT_EQ(ReadAll(dir / "out.exe"), "projector");
}

TEST(ProjectorBuild, MovieHeldOpenByAnotherProgramIsRefused) {
    fs::path dir = ScratchFolder("locked");
    WriteAll(dir / "Flash.sys", "projector");
    WriteAll(dir / "m.swf", "FWS");
    HANDLE holder = CreateFileW((dir / "m.swf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_THROW(BuildProjectorExe((dir / "m.swf").wstring(), (dir / "out.exe").wstring(),
                                   (dir / "Flash.sys").wstring()),
                 std::runtime_error);
    CloseHandle(holder);
}

TEST(ProjectorBuild, CarriedProjectorResourceIsWritten) {
    fs::path dir = ScratchFolder("resource");
    SaveResourceToFile(L"Conver", L"flashsys", (dir / "Flash.sys").wstring());
    EXPECT_GT(fs::file_size(dir / "Flash.sys"), 0u);
    EXPECT_THROW(SaveResourceToFile(L"NoSuch", L"flashsys", (dir / "x").wstring()), std::runtime_error);
}

TEST(Capture, PictureHasTheWindowsClientSizeAndPixels) {
    fs::path dir = ScratchFolder("capture");
    HWND window = SolidWindow(547, 399);
    HBITMAP bitmap = CaptureWindowPicture(window);
    BITMAP info = {};
    GetObjectW(bitmap, sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 547);
    EXPECT_EQ(info.bmHeight, 399);
    SaveBitmapFile(bitmap, (dir / "shot.bmp").wstring());
    DeleteObject(bitmap);
    DestroyWindow(window);

    std::string file = ReadAll(dir / "shot.bmp");
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    auto u32 = [&](size_t at) { return *reinterpret_cast<const uint32_t*>(file.data() + at); };
    auto i32 = [&](size_t at) { return *reinterpret_cast<const int32_t*>(file.data() + at); };
    EXPECT_EQ(u32(2), file.size());
    EXPECT_EQ(i32(18), 547);
    EXPECT_EQ(i32(22), 399);
    const unsigned char* first = reinterpret_cast<const unsigned char*>(file.data() + u32(10));
    EXPECT_EQ(first[0], 10);   // blue
    EXPECT_EQ(first[1], 40);   // green
    EXPECT_EQ(first[2], 200);  // red
}

TEST(Capture, UnwritableFileRaises) {
    HWND window = SolidWindow(20, 10);
    HBITMAP bitmap = CaptureWindowPicture(window);
    EXPECT_THROW(SaveBitmapFile(bitmap, L"C:\\no\\such\\folder\\x.bmp"), std::runtime_error);
    DeleteObject(bitmap);
    DestroyWindow(window);
}

TEST(Wallpaper, EachStyleWritesItsThreeValues) {
    HWND window = SolidWindow(64, 48);
    std::wstring centre = SaveFlashPictureAsWallpaper(window, 1);
    EXPECT_TRUE(fs::exists(centre));
    EXPECT_EQ(ReadDesktopValue(L"wallpaper"), centre);
    EXPECT_EQ(ReadDesktopValue(L"Tilewallpaper"), L"0");
    EXPECT_EQ(ReadDesktopValue(L"WallpaperStyle"), L"0");

    std::wstring tile = SaveFlashPictureAsWallpaper(window, 2);
    EXPECT_EQ(ReadDesktopValue(L"wallpaper"), tile);
    EXPECT_EQ(ReadDesktopValue(L"Tilewallpaper"), L"1");
    EXPECT_EQ(ReadDesktopValue(L"WallpaperStyle"), L"0");

    SaveFlashPictureAsWallpaper(window, 3);
    EXPECT_EQ(ReadDesktopValue(L"Tilewallpaper"), L"0");
    EXPECT_EQ(ReadDesktopValue(L"WallpaperStyle"), L"2");
    DestroyWindow(window);
    // The file name is the Windows folder and a time stamp.
    wchar_t folder[256];
    GetWindowsDirectoryW(folder, 256);
    EXPECT_EQ(tile.rfind(std::wstring(folder) + L"\\", 0), 0u);
    EXPECT_EQ(tile.size(), wcslen(folder) + 1 + 15 + 4);
}
