// The MCI back end against real devices: a WAV file the test writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "playback/media_player_win.h"
#include "media_test_support.h"

namespace {

// A tone of the given length in the temporary folder.
std::wstring WriteWave(const wchar_t* name, int milliseconds) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return media_test::WriteFile(std::filesystem::path(std::wstring(dir) + name), media_test::Tone(milliseconds));
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
