// How much of one processor core the Flash control uses while it plays a
// movie in the main window's 547 x 399 area. Plays the start-up movie
// (12 frames per second) for ten seconds and prints the process's CPU time
// as a share of the wall time, and how many wave-out devices there are (a
// movie with sound is mixed only when there is one). A movie with an MP3
// stream comes from bench/make_stream_movie.py.
//   flash_cpu_bench.exe [MOVIE.swf] [SECONDS]
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

#include "flash/flash_control_win.h"
#include "tools/projector_win.h"

namespace {

double Seconds(FILETIME t) {
    ULARGE_INTEGER v;
    v.LowPart = t.dwLowDateTime;
    v.HighPart = t.dwHighDateTime;
    return static_cast<double>(v.QuadPart) / 1e7;
}

double ProcessCpuSeconds() {
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
    std::wstring movie;
    if (argc > 1) {
        movie.assign(argv[1], argv[1] + std::strlen(argv[1]));
        if (GetFileAttributesW(movie.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::fprintf(stderr, "flash_cpu_bench: cannot find %s\n", argv[1]);
            return 1;
        }
    } else {
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        movie = std::wstring(folder) + L"corvella-bench.swf";
        try {
            SaveResourceToFile(L"FLASH", L"SWFFILE", movie);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "flash_cpu_bench: %s\n", e.what());
            return 1;
        }
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 10;

    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"CorvellaBench";
    RegisterClassW(&wc);
    RECT frame = {0, 0, 547, 399};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowW(L"CorvellaBench", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                wc.hInstance, nullptr);
    FlashControl* flash = FlashControl::Create(window, 1, 0, 0, 547, 399);
    flash->SetMovie(movie);
    int frames_at_start = flash->CurrentFrame();

    // Let the first frames settle, then measure.
    const DWORD settle = GetTickCount() + 1000;
    MSG msg;
    while (GetTickCount() < settle && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    double cpu_start = ProcessCpuSeconds();
    DWORD wall_start = GetTickCount();
    frames_at_start = flash->CurrentFrame();
    const UINT_PTR stop = SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000), nullptr);
    long ticks = 0;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == stop) break;
        if (msg.message == WM_TIMER) ++ticks;
        DispatchMessageW(&msg);
    }
    double cpu = ProcessCpuSeconds() - cpu_start;
    double wall = (GetTickCount() - wall_start) / 1000.0;
    std::printf("flash playback, %d x %d, %d frames (frame %d to %d), %.1f s: %.2f %% of one core"
                " (%u wave-out devices)\n", 547, 399, static_cast<int>(ticks), frames_at_start,
                flash->CurrentFrame(), wall, 100.0 * cpu / wall, waveOutGetNumDevs());
    DestroyWindow(window);
    return 0;
}
