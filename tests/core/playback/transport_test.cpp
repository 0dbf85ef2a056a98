#include "playback/progress_text.h"
#include "playback/transport.h"

#include <gtest/gtest.h>

TEST(ProgressText, FlashAndMediaTexts) {
    EXPECT_EQ(FlashProgressText(kTitleText, L"D:\\m\\intro.swf", 12, 100), L"Corvella3.0  intro --- 12/99");
    EXPECT_EQ(FlashProgressText(L"", L"D:\\m\\intro.swf", 0, 1), L"intro --- 0/0");
    EXPECT_EQ(MediaProgressText(kTitleText, L"C:song.mpeg"), L"Corvella3.0  ---song.");
    // Nothing is trimmed; a short name gives an empty stem.
    EXPECT_EQ(ProgressStem(L"D:\\ a b .mp3"), L" a b ");
    EXPECT_EQ(ProgressStem(L"D:\\abcd"), L"");
    EXPECT_EQ(ProgressStem(L""), L"");
}

TEST(Transport, FlashStepsStayInsideTheMovie) {
    // 100-frame movie, bar maximum 99, step 8.
    EXPECT_FALSE(FlashForwardFrame(95, 99, 8));
    EXPECT_FALSE(FlashForwardFrame(91, 99, 8));
    EXPECT_EQ(FlashForwardFrame(90, 99, 8), 98);
    EXPECT_FALSE(FlashBackFrame(5, 8));
    EXPECT_FALSE(FlashBackFrame(8, 8));
    EXPECT_EQ(FlashBackFrame(9, 8), 1);
    // Steps from the settings may be negative or huge.
    EXPECT_FALSE(FlashForwardFrame(10, 99, 2147483647));
    EXPECT_EQ(FlashBackFrame(10, -5), 15);
    EXPECT_EQ(MediaForwardTarget(2147483647, 8), 2147483655LL);
    EXPECT_EQ(MediaBackTarget(3, 8), -5);
}

TEST(Transport, SeekByClickRoundsHalfToEven) {
    // Middle of a 340-pixel bar on a 101-frame movie.
    EXPECT_EQ(SeekPositionFromClick(0, 100, 170, 340), 50);
    EXPECT_EQ(SeekPositionFromClick(0, 1, 1, 2), 0);  // 0.5
    EXPECT_EQ(SeekPositionFromClick(0, 3, 1, 2), 2);  // 1.5
    EXPECT_EQ(SeekPositionFromClick(0, 5, 1, 2), 2);  // 2.5
    EXPECT_EQ(SeekPositionFromClick(0, 99, 339, 340), 99);
    // The bar clamps what is written to it.
    EXPECT_EQ(SeekPositionFromClick(0, 99, 500, 340), 99);
    EXPECT_EQ(SeekPositionFromClick(0, 99, -20, 340), 0);
    EXPECT_FALSE(SeekPositionFromClick(0, 99, 10, 0));

    EXPECT_EQ(RoundHalfEven(63.75), 64);
    EXPECT_EQ(RoundHalfEven(76.5), 76);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
}
