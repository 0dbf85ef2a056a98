// Shared set-up of the playback tests: movies and sound files written into
// the test's folder, playlist entries and a message pump.
#pragma once

#include "app_test_support.h"

#include "app/frmmain_playback_win.h"
#include "flash/flash_control_win.h"
#include "flash/swf_writer.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace playback_test {

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A movie of `frames` frames at 12 frames a second; with stop_frame >= 0 the
// movie stops itself on that frame.
inline std::vector<uint8_t> Movie(int frames, int stop_frame = -1) {
    flash::SwfWriter movie(6, 200, 100, 12);
    movie.SetBackgroundColor({0, 0, 255, 255});
    flash::ShapeBuilder square;
    square.Rectangle(1000, 500, 1000, 500, square.AddSolidFill({255, 0, 0, 255}));
    movie.DefineShape(1, square);
    for (int f = 0; f < frames; ++f) {
        flash::PlaceArgs place;
        place.depth = 1;
        place.character = f == 0 ? 1 : 0;
        place.move = f > 0;
        place.matrix = flash::Matrix{};
        movie.PlaceObject(place);
        if (f == stop_frame) movie.DoAction({flash::Action{flash::ActionKind::Stop, 0, ""}});
        movie.ShowFrame();
    }
    return movie.Finish();
}

// 8 kHz mono 8-bit PCM of the given length.
inline std::vector<uint8_t> Wave(int milliseconds) {
    const uint32_t rate = 8000, samples = rate * static_cast<uint32_t>(milliseconds) / 1000;
    std::vector<uint8_t> bytes(44 + samples);
    size_t at = 0;
    auto text = [&](const char* t) { for (int i = 0; i < 4; ++i) bytes[at++] = static_cast<uint8_t>(t[i]); };
    auto u32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) bytes[at++] = static_cast<uint8_t>(v >> (8 * i)); };
    auto u16 = [&](uint16_t v) { for (int i = 0; i < 2; ++i) bytes[at++] = static_cast<uint8_t>(v >> (8 * i)); };
    text("RIFF"); u32(36 + samples); text("WAVE"); text("fmt ");
    u32(16); u16(1); u16(1); u32(rate); u32(rate); u16(1); u16(8);
    text("data"); u32(samples);
    for (uint32_t i = 0; i < samples; ++i) bytes[at++] = static_cast<uint8_t>((i / 8) % 2 ? 148 : 108);
    return bytes;
}

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
        WriteBytes(path, bytes);
        return path.wstring();
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
