// Shared set-up of the playback tests: movies and sound files written into
// the test's folder, playlist entries and a message pump.
#pragma once

#include "app_test_support.h"
#include "media_test_support.h"

#include "app/frmmain_playback_win.h"
#include "flash/flash_control_win.h"

#include <cstdint>
#include <string>
#include <vector>

namespace playback_test {

inline void Pump(DWORD milliseconds) {
    ULONGLONG end = GetTickCount64() + milliseconds;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount64() < end);
}

class PlaybackTest : public app_test::MainWindowTest {
protected:
    // Writes a file into the test's folder and returns its path.
    std::wstring File(const std::wstring& name, const std::vector<uint8_t>& bytes) {
        std::filesystem::path path = folder_ / name;
        return media_test::WriteFile(path, bytes);
    }
    std::wstring MissingFile(const std::wstring& name) { return (folder_ / name).wstring(); }

    static void AddEntries(Tfrmmain& form, const std::vector<std::wstring>& paths) {
        for (const std::wstring& path : paths) form.AppendEntry(path);
    }

    // Selects the entry and plays it, as a click in the playlist does.
    void Play(Tfrmmain& form, int entry) {
        playback::SelectPlaylistEntry(form, entry);
        form.ListBox1Click();
    }

    static SIZE OuterSize(HWND window) {
        RECT r = WindowRect(window);
        return {r.right - r.left, r.bottom - r.top};
    }

    static int64_t BarMax(Tfrmmain& form) { return playback::ProgressRange(form).max; }
    static int64_t BarPosition(Tfrmmain& form) { return playback::ProgressPosition(form); }
};

}  // namespace playback_test
