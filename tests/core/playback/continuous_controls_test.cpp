#include "playback/continuous_controls.h"

#include <gtest/gtest.h>

TEST(ContinuousControls, OffAtStart) {
    ContinuousControls controls;
    EXPECT_FALSE(controls.Continuous());
    EXPECT_FALSE(controls.RadiosEnabled());
    EXPECT_TRUE(controls.InOrderRadio());
    EXPECT_EQ(controls.Mode(), ContinuousMode::kOff);
}

TEST(ContinuousControls, MenuItemTicksTheCheckBoxAndRadio) {
    ContinuousControls controls;
    controls.ClickRandomItem();
    EXPECT_TRUE(controls.Continuous());
    EXPECT_TRUE(controls.RadiosEnabled());
    EXPECT_TRUE(controls.RandomRadio());
    EXPECT_TRUE(controls.RandomItem());
    EXPECT_FALSE(controls.InOrderItem());
    EXPECT_EQ(controls.Mode(), ContinuousMode::kRandom);

    controls.ClickInOrderItem();
    EXPECT_TRUE(controls.InOrderRadio());
    EXPECT_EQ(controls.Mode(), ContinuousMode::kInOrder);
}

TEST(ContinuousControls, ClearingKeepsTheRadioForLater) {
    ContinuousControls controls;
    controls.ClickContinuous();
    EXPECT_EQ(controls.Mode(), ContinuousMode::kInOrder);
    controls.ClickRandomRadio();
    EXPECT_EQ(controls.Mode(), ContinuousMode::kRandom);

    controls.ClickContinuous();
    EXPECT_FALSE(controls.RadiosEnabled());
    EXPECT_FALSE(controls.RandomItem());
    EXPECT_FALSE(controls.InOrderItem());
    EXPECT_TRUE(controls.RandomRadio());

    controls.ClickContinuous();
    EXPECT_EQ(controls.Mode(), ContinuousMode::kRandom);
}

TEST(ContinuousControls, LoopSwitchesTheFlashTimer) {
    EXPECT_TRUE(FlashTimersForLoop(true).timer3);
    EXPECT_FALSE(FlashTimersForLoop(true).timer2);
    EXPECT_TRUE(FlashTimersForLoop(false).timer2);
}
