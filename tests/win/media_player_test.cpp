// The MCI back end against real devices: a WAV file the test writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "playback/media_player_win.h"

namespace {

// One second of 8 kHz mono 8-bit silence-ish tone.
std::wstring WriteWave(const wchar_t* name, int milliseconds) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + name;
    const uint32_t rate = 8000, samples = rate * milliseconds / 1000;
    std::vector<uint8_t> data(samples);
    for (uint32_t i = 0; i < samples; ++i) data[i] = static_cast<uint8_t>(128 + ((i / 8) % 2 ? 20 : -20));
    auto u32 = [](std::ofstream& f, uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](std::ofstream& f, uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
    std::ofstream f(std::filesystem::path(path), std::ios::binary);
    f.write("RIFF", 4); u32(f, 36 + samples); f.write("WAVEfmt ", 8);
    u32(f, 16); u16(f, 1); u16(f, 1); u32(f, rate); u32(f, rate); u16(f, 1); u16(f, 8);
    f.write("data", 4); u32(f, samples);
    f.write(reinterpret_cast<const char*>(data.data()), samples);
    return path;
}

std::string ErrorOf(void (*call)(MediaPlayer&), MediaPlayer& player) {
    try {
        call(player);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(MediaPlayer, EveryCommandButPositionNeedsAnOpenDevice) {
    MediaPlayer player;
    EXPECT_EQ(player.Position(), 0);
    EXPECT_EQ(ErrorOf([](MediaPlayer& p) { p.Play(); }, player), "No MCI device open");
    EXPECT_EQ(ErrorOf([](MediaPlayer& p) { p.Stop(); }, player), "No MCI device open");
    EXPECT_EQ(ErrorOf([](MediaPlayer& p) { p.Close(); }, player), "No MCI device open");
    EXPECT_EQ(ErrorOf([](MediaPlayer& p) { p.Seek(0); }, player), "No MCI device open");
    EXPECT_EQ(ErrorOf([](MediaPlayer& p) { (void)p.Length(); }, player), "No MCI device open");
}

TEST(MediaPlayer, OpenFailureCarriesMciText) {
    MediaPlayer player;
    player.SetFileName(L"C:\\no\\such\\file.wav");
    std::string error = ErrorOf([](MediaPlayer& p) { p.Open(); }, player);
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(player.IsOpen());
}

TEST(MediaPlayer, WaveFileOpensSeeksAndPlays) {
    MediaPlayer player;
    player.SetFileName(WriteWave(L"corvella-mp-test.wav", 1000));
    ASSERT_NO_THROW(player.Open());
    EXPECT_NEAR(player.Length(), 1000, 2);
    player.Seek(500);
    EXPECT_NEAR(player.Position(), 500, 2);
    Sleep(100);
    EXPECT_NEAR(player.Position(), 500, 2) << "a seek leaves the device stopped";

    // From the end, play starts again at the beginning.
    player.Seek(player.Length());
    player.Play();
    long position = player.Position();
    EXPECT_LT(position, 1000);
    player.Stop();
    // Display commands are refused by wave devices without raising.
    EXPECT_NO_THROW(player.SetDisplay(GetDesktopWindow()));
    EXPECT_NO_THROW(player.SetDisplayRect(0, 0, 547, 399));
    player.Close();
    EXPECT_FALSE(player.IsOpen());
}

TEST(MediaPlayer, OpeningAgainClosesTheDeviceBefore) {
    MediaPlayer player;
    player.SetFileName(WriteWave(L"corvella-mp-a.wav", 300));
    player.Open();
    player.SetFileName(WriteWave(L"corvella-mp-b.wav", 600));
    player.Open();
    EXPECT_NEAR(player.Length(), 600, 2);
}
