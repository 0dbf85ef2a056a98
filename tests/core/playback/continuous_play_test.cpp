#include "playback/continuous_play.h"

#include <gtest/gtest.h>

namespace {

// A 100-frame Flash movie playing entry 2 of 5, continuous play in order.
PlaybackSnapshot FlashPlaying() {
    PlaybackSnapshot state;
    state.entry_count = 5;
    state.selection = 2;
    state.flash_armed = true;
    state.is_playing = true;
    state.mode = ContinuousMode::kInOrder;
    state.near_end_frames = 8;
    state.current_frame = 50;
    state.total_frames = 100;
    return state;
}

PlaybackSnapshot MediaAtEnd() {
    PlaybackSnapshot state;
    state.entry_count = 5;
    state.selection = 2;
    state.media_mode = true;
    state.media_at_end = true;
    state.mode = ContinuousMode::kInOrder;
    return state;
}

}  // namespace

TEST(RandomGenerator, SameSequenceEveryRun) {
    RandomGenerator random;
    std::vector<int> picks;
    for (int i = 0; i < 6; ++i) picks.push_back(random.Pick(10));
    EXPECT_EQ(picks, (std::vector<int>{0, 0, 8, 2, 2, 6}));
    for (int i = 0; i < 1000; ++i) {
        int pick = random.Pick(3);
        ASSERT_GE(pick, 0);
        ASSERT_LT(pick, 3);
    }
}

TEST(ContinuousPlay, FlashMovieFinishesNearItsEnd) {
    EXPECT_FALSE(FlashMovieFinished(91, 8, 100));
    EXPECT_TRUE(FlashMovieFinished(92, 8, 100));
    // With no frames before the end the last frame never reaches the count.
    EXPECT_FALSE(FlashMovieFinished(99, 0, 100));
    EXPECT_TRUE(FlashMovieFinished(0, 2147483647, 100));
}

TEST(ContinuousPlay, Timer2InOrder) {
    RandomGenerator random;
    PlaybackSnapshot state = FlashPlaying();
    FlashTickActions actions = Timer2Tick(state, random);
    EXPECT_TRUE(actions.write_progress);
    EXPECT_EQ(actions.play_entry, -1);

    state.current_frame = 92;
    EXPECT_EQ(Timer2Tick(state, random).play_entry, 3);

    // The last entry goes on playing.
    state.selection = 4;
    EXPECT_EQ(Timer2Tick(state, random).play_entry, -1);

    // Continuous play off, or after pause: progress only.
    state = FlashPlaying();
    state.current_frame = 99;
    state.mode = ContinuousMode::kOff;
    EXPECT_EQ(Timer2Tick(state, random).play_entry, -1);
    state.mode = ContinuousMode::kInOrder;
    state.flash_armed = false;
    actions = Timer2Tick(state, random);
    EXPECT_TRUE(actions.write_progress);
    EXPECT_EQ(actions.play_entry, -1);

    // Nothing at all with an empty playlist or in media mode.
    state = FlashPlaying();
    state.media_mode = true;
    EXPECT_FALSE(Timer2Tick(state, random).write_progress);
    state = FlashPlaying();
    state.entry_count = 0;
    state.selection = -1;
    EXPECT_FALSE(Timer2Tick(state, random).write_progress);
    EXPECT_EQ(random.Seed(), 0u);
}

TEST(ContinuousPlay, Timer2RandomPicksOnlyWhenFinished) {
    RandomGenerator random;
    PlaybackSnapshot state = FlashPlaying();
    state.entry_count = 10;
    state.mode = ContinuousMode::kRandom;
    EXPECT_EQ(Timer2Tick(state, random).play_entry, -1);
    EXPECT_EQ(random.Seed(), 0u);

    state.current_frame = 95;
    std::vector<int> picks;
    for (int i = 0; i < 3; ++i) {
        FlashTickActions actions = Timer2Tick(state, random);
        EXPECT_TRUE(actions.reset_frame);
        picks.push_back(actions.play_entry);
    }
    EXPECT_EQ(picks, (std::vector<int>{0, 0, 8}));
}

TEST(ContinuousPlay, AutomaticSkip) {
    RandomGenerator random;
    PlaybackSnapshot state = FlashPlaying();
    state.skip_play = true;
    state.is_playing = false;
    state.total_frames = 10;
    state.near_end_frames = 0;
    state.current_frame = 0;
    EXPECT_EQ(Timer2Tick(state, random).skip_to_frame, 1);
    EXPECT_EQ(Timer3Tick(state).skip_to_frame, 1);
    state.current_frame = 9;
    EXPECT_EQ(Timer2Tick(state, random).skip_to_frame, -1);
    state.current_frame = 0;
    state.is_playing = true;
    EXPECT_EQ(Timer2Tick(state, random).skip_to_frame, -1);
    state.is_playing = false;
    state.skip_play = false;
    EXPECT_EQ(Timer2Tick(state, random).skip_to_frame, -1);

    // The end test sees the frame the skip went to.
    state = FlashPlaying();
    state.skip_play = true;
    state.is_playing = false;
    state.current_frame = 91;
    FlashTickActions actions = Timer2Tick(state, random);
    EXPECT_EQ(actions.skip_to_frame, 92);
    EXPECT_EQ(actions.play_entry, 3);
}

TEST(ContinuousPlay, Timer3LoopsTheSameMovie) {
    PlaybackSnapshot state = FlashPlaying();
    state.loop = true;
    state.selection = 4;  // the last entry loops too
    state.current_frame = 95;
    FlashTickActions actions = Timer3Tick(state);
    EXPECT_TRUE(actions.reset_frame);
    EXPECT_EQ(actions.play_entry, 4);
    EXPECT_TRUE(actions.write_progress);

    state.current_frame = 10;
    EXPECT_EQ(Timer3Tick(state).play_entry, -1);
    state.flash_armed = false;
    EXPECT_FALSE(Timer3Tick(state).write_progress);
}

TEST(ContinuousPlay, MediaEndAndNextEntry) {
    PlaybackSnapshot state = MediaAtEnd();
    state.media_position = 1000;
    state.bar_max = 1000;
    EXPECT_TRUE(Timer5Tick(state).media_at_end);
    state.media_position = 999;
    EXPECT_FALSE(Timer5Tick(state).media_at_end);
    state.media_mode = false;
    EXPECT_FALSE(Timer5Tick(state).active);

    RandomGenerator random;
    state = MediaAtEnd();
    EXPECT_EQ(Timer4Tick(state, random).play_entry, 3);
    state.selection = 4;
    EXPECT_EQ(Timer4Tick(state, random).play_entry, -1);

    // The loop comes first.
    state.loop = true;
    MediaTickActions actions = Timer4Tick(state, random);
    EXPECT_TRUE(actions.restart);
    EXPECT_EQ(actions.play_entry, -1);

    state = MediaAtEnd();
    state.media_at_end = false;
    actions = Timer4Tick(state, random);
    EXPECT_TRUE(actions.active);
    EXPECT_EQ(actions.play_entry, -1);

    state = MediaAtEnd();
    state.entry_count = 10;
    state.mode = ContinuousMode::kRandom;
    EXPECT_EQ(Timer4Tick(state, random).play_entry, 0);
    EXPECT_EQ(Timer4Tick(state, random).play_entry, 0);
    EXPECT_EQ(Timer4Tick(state, random).play_entry, 8);

    // A playlist cleared while the last file stands at its end.
    state.entry_count = 0;
    state.selection = -1;
    EXPECT_EQ(Timer4Tick(state, random).play_entry, -1);
    state.mode = ContinuousMode::kInOrder;
    EXPECT_EQ(Timer4Tick(state, random).play_entry, -1);
}
