#include "playback/sound_settings.h"

#include <gtest/gtest.h>

TEST(Volume, BarShareToLevel) {
    EXPECT_EQ(VolumePercent(kVolumeImageWidth, kVolumeOverlayWidth), 50);
    EXPECT_EQ(VolumeLevelFromBar(kVolumeImageWidth, kVolumeOverlayWidth), 128);

    // A click 20 pixels into the picture.
    OverlayPlace place = OverlayAfterImageClick(20, 4, 77, 10);
    EXPECT_EQ(place.width, 57);
    EXPECT_EQ(place.left, 36);
    EXPECT_EQ(VolumePercent(77, place.width), 25);
    EXPECT_EQ(VolumeLevelFromPercent(25), 64);
    EXPECT_EQ(WaveOutVolume(64), 0x40004000u);

    // Halves go to the even neighbour.
    EXPECT_EQ(VolumeLevelFromPercent(10), 26);
    EXPECT_EQ(VolumeLevelFromPercent(30), 76);
    EXPECT_EQ(VolumeLevelFromPercent(50), 128);
    EXPECT_EQ(VolumeLevelFromPercent(70), 178);
    EXPECT_EQ(VolumeLevelFromPercent(90), 230);

    // Right edge: 100 %; left edge: nothing selected; an overlay wider than
    // the picture: a negative share and level 0.
    EXPECT_EQ(VolumeLevelFromBar(77, OverlayAfterImageClick(77, 4, 77, 10).width), 255);
    EXPECT_EQ(VolumeLevelFromBar(77, OverlayAfterImageClick(0, 4, 77, 10).width), 0);
    EXPECT_EQ(VolumePercent(77, 90), -16);
    EXPECT_EQ(VolumeLevelFromBar(77, 90), 0);
    EXPECT_EQ(VolumePercent(0, 10), 0);
}

TEST(Volume, OverlayClickKeepsTheRightEdge) {
    // The overlay's right edge stays at image_left + panel_left + width + 2.
    OverlayPlace place = OverlayAfterOverlayClick(5, 36, 4, 77, 10);
    EXPECT_EQ(place.left, 41);
    EXPECT_EQ(place.left + place.width, 4 + 10 + 77 + 2);
}

TEST(Volume, WaveOutValueAndSteps) {
    EXPECT_EQ(WaveOutVolume(255), 0xFF00FF00u);
    EXPECT_EQ(WaveOutVolume(100), 0x64006400u);
    EXPECT_EQ(WaveOutVolume(0), 0u);
    // An over-wide share is limited to the loudest level rather than
    // spilling into the left channel.
    EXPECT_EQ(VolumeLevelFromBar(77, -77), 255);
    EXPECT_EQ(WaveOutVolume(510), 0xFF00FF00u);
    EXPECT_EQ(VolumeLevelText(-16), "-40.8");
    EXPECT_EQ(VolumeLevelFromText("-40.8"), 0);
    EXPECT_EQ(VolumeLevelFromText("0"), 0);
    EXPECT_EQ(VolumeLevelFromText("127.5"), 128);
    EXPECT_EQ(VolumeLevelFromText("1e300"), 255);
    EXPECT_EQ(WaveOutVolume(-3), 0u);

    EXPECT_EQ(VolumeUp(245), 255);
    EXPECT_EQ(VolumeUp(250), 250);
    EXPECT_EQ(VolumeDown(10), 10);
    EXPECT_EQ(VolumeDown(11), 1);
}
