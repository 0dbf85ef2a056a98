// The volume bar and buttons, the channel items, picture quality and zoom
// in the real window.
#include "playback_test_support.h"

#include <mmsystem.h>

using app_test::CapturedErrors;
using playback_test::PlaybackTest;

namespace {

LayoutRect RectOf(Tfrmmain& form, const wchar_t* name) { return form.Controls().Rect(form.ControlIndex(name)); }

// The wave-out volume of device 0, when the platform reports one.
std::optional<DWORD> WaveOutVolume() {
    DWORD volume = 0;
    if (waveOutGetVolume(reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(0)), &volume) != MMSYSERR_NOERROR)
        return std::nullopt;
    return volume;
}

}  // namespace

TEST_F(PlaybackTest, ClickOnTheVolumePictureSetsTheLevel) {
    Tfrmmain& form = MakeForm();
    form.Show();
    EXPECT_EQ(RectOf(form, L"VolLbl").width, 38);
    EXPECT_EQ(form.VolumeLevel, 100);

    form.VolImgMouseDown(20, 5);
    EXPECT_EQ(RectOf(form, L"VolLbl").width, 57);
    EXPECT_EQ(RectOf(form, L"VolLbl").left, 20 + 0 + 432 + 2);
    EXPECT_EQ(form.ControlText(L"Edit1"), L"63.75");
    EXPECT_EQ(form.VolumeLevel, 64);
    if (auto volume = WaveOutVolume()) {
        EXPECT_EQ(*volume, 0x40004000u);
    }

    // The left edge leaves the whole picture covered: no volume.
    form.VolImgMouseDown(0, 5);
    EXPECT_EQ(RectOf(form, L"VolLbl").width, 77);
    EXPECT_EQ(form.VolumeLevel, 0);

    // A click in the overlay moves its left edge there.
    LayoutRect overlay = RectOf(form, L"VolLbl");
    form.Panel10MouseDown(39, 5);
    EXPECT_EQ(RectOf(form, L"VolLbl").left, overlay.left + 39);
    EXPECT_EQ(RectOf(form, L"VolLbl").width, 77 + 0 + 432 - (overlay.left + 39) + 2);
    EXPECT_EQ(form.VolumeLevel, 128);
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(PlaybackTest, VolumeOutsideTheBarsRangeIsLimited) {
    Tfrmmain& form = MakeForm();
    form.Show();
    // An overlay wider than the picture: a negative share, which the edit
    // box turns into 0.
    form.Controls().SetRect(form.ControlIndex(L"VolLbl"), {434, 40, 100, 30});
    form.bylClick();
    EXPECT_EQ(form.ControlText(L"Edit1"), L"0");
    EXPECT_EQ(form.VolumeLevel, 0);

    // A press past the picture's right edge leaves an overlay narrower than
    // nothing: the level stops at 255 and does not spill into the other
    // channel.
    form.VolImgMouseDown(100, 5);
    EXPECT_EQ(form.VolumeLevel, 255);
    if (auto volume = WaveOutVolume()) {
        EXPECT_EQ(*volume, 0xFF00FF00u);
    }
}

TEST_F(PlaybackTest, VolumeButtonsStepByTenInsideTheirLimits) {
    Tfrmmain& form = MakeForm();
    form.Show();
    form.VolumeLevel = 245;
    form.ClickControl(L"SpeedButton9");
    EXPECT_EQ(form.VolumeLevel, 255);
    form.ClickControl(L"SpeedButton9");
    EXPECT_EQ(form.VolumeLevel, 255);
    form.VolumeLevel = 20;
    form.ClickControl(L"SpeedButton10");
    EXPECT_EQ(form.VolumeLevel, 10);
    form.ClickControl(L"SpeedButton10");
    EXPECT_EQ(form.VolumeLevel, 10);
    if (auto volume = WaveOutVolume()) {
        EXPECT_EQ(*volume, 0x0A000A00u);
    }
    EXPECT_EQ(RectOf(form, L"VolLbl").width, 38);   // the bar does not move
}

TEST_F(PlaybackTest, ChannelQualityAndZoomItems) {
    Tfrmmain& form = MakeForm();
    form.Show();
    // No media file open: the channel strings fail inside MCI, unseen.
    form.ClickMenuItem(L"N57");
    EXPECT_TRUE(form.MenuChecked(L"N57"));
    form.ClickMenuItem(L"N58");
    EXPECT_TRUE(form.MenuChecked(L"N58"));
    EXPECT_FALSE(form.MenuChecked(L"N57"));
    form.ClickMenuItem(L"N59");
    EXPECT_TRUE(form.MenuChecked(L"N59"));

    // With a sound file open they reach its device.
    AddEntries(form, {File(L"song.wav", media_test::Tone(500))});
    Play(form, 0);
    form.ClickMenuItem(L"N57");
    form.ClickMenuItem(L"N59");

    EXPECT_TRUE(form.MenuChecked(L"N51"));
    form.ClickMenuItem(L"N52");
    EXPECT_EQ(form.flash()->Quality(), 2);
    EXPECT_TRUE(form.MenuChecked(L"N52"));
    EXPECT_FALSE(form.MenuChecked(L"N51"));
    form.ClickMenuItem(L"N53");
    EXPECT_EQ(form.flash()->Quality(), 0);
    form.ClickMenuItem(L"N51");
    EXPECT_EQ(form.flash()->Quality(), 1);

    for (const wchar_t* item : {L"N60", L"N60", L"N61", L"N62"}) form.ClickMenuItem(item);
    EXPECT_TRUE(CapturedErrors().empty());
}
