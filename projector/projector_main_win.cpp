// The stand-alone projector: a small player that plays the movie appended to
// its own executable (projector bytes, SWF bytes, marker 0xFA123456, SWF
// size). The converter of the main program copies this file and appends a
// movie to the copy.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "flash/flash_control_win.h"
#include "flash/movie_loader.h"
#include "tools/projector_trailer.h"

namespace {

const wchar_t kWindowClass[] = L"CorvellaProjector";
const wchar_t kCaption[] = L"Corvella Projector";
FlashControl* g_flash = nullptr;

void Tell(const wchar_t* text) { MessageBoxW(nullptr, text, kCaption, MB_OK | MB_ICONINFORMATION); }

// The appended movie of our own file, or an empty vector.
std::vector<uint8_t> ReadAppendedMovie() {
    wchar_t self[MAX_PATH * 4];
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH * 4)) return {};
    std::ifstream file(self, std::ios::binary | std::ios::ate);
    if (!file) return {};
    uint64_t size = static_cast<uint64_t>(file.tellg());
    if (size < kProjectorTrailerSize) return {};
    unsigned char trailer[kProjectorTrailerSize];
    file.seekg(static_cast<std::streamoff>(size - kProjectorTrailerSize));
    file.read(reinterpret_cast<char*>(trailer), kProjectorTrailerSize);
    auto movie = FindAppendedMovie(trailer, size);
    if (!file || !movie) return {};
    std::vector<uint8_t> bytes(movie->size);
    file.seekg(static_cast<std::streamoff>(movie->offset));
    file.read(reinterpret_cast<char*>(bytes.data()), movie->size);
    if (!file) return {};
    return bytes;
}

// The control loads movies from files: the movie goes to a temporary file
// that is removed again at exit.
std::wstring WriteTemporaryMovie(const std::vector<uint8_t>& bytes) {
    wchar_t folder[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    if (!GetTempFileNameW(folder, L"cvp", 0, path)) return {};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out ? path : L"";
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_SIZE:
            if (g_flash) MoveWindow(g_flash->Window(), 0, 0, LOWORD(lparam), HIWORD(lparam), TRUE);
            return 0;
        case WM_SETFOCUS:
            if (g_flash) SetFocus(g_flash->Window());
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    std::vector<uint8_t> bytes = ReadAppendedMovie();
    if (bytes.empty()) {
        Tell(L"No movie is attached to this player.");
        return 1;
    }
    int width = 0, height = 0;
    try {
        flash::Movie movie = flash::LoadMovie(bytes);
        width = movie.StageWidth();
        height = movie.StageHeight();
    } catch (const std::exception&) {
        Tell(L"The movie attached to this player cannot be played.");
        return 1;
    }
    std::wstring movie_path = WriteTemporaryMovie(bytes);
    if (movie_path.empty()) {
        Tell(L"The movie cannot be unpacked into the temporary folder.");
        return 1;
    }

    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
    const DWORD style = WS_OVERLAPPEDWINDOW;
    RECT frame = {0, 0, width > 0 ? width : 550, height > 0 ? height : 400};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowW(kWindowClass, kCaption, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                nullptr);
    RECT client;
    GetClientRect(window, &client);
    g_flash = FlashControl::Create(window, 1, 0, 0, client.right, client.bottom);
    g_flash->SetMovie(movie_path);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DeleteFileW(movie_path.c_str());
    return 0;
}
