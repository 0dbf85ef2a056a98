#include "playback/continuous_play.h"

int RandomGenerator::Pick(int count) {
    seed_ = seed_ * 134775813u + 1u;
    if (count <= 0) return 0;
    return int((uint64_t(seed_) * uint64_t(count)) >> 32);
}

bool FlashMovieFinished(int current_frame, int near_end_frames, int total_frames) {
    return int64_t(current_frame) + near_end_frames >= total_frames;
}

int AutoSkipFrame(const PlaybackSnapshot& state) {
    if (state.skip_play && !state.is_playing && int64_t(state.current_frame) + 1 < state.total_frames)
        return state.current_frame + 1;
    return -1;
}

namespace {

// The frame that the finished test sees after the skip of this tick.
int FrameAfterSkip(const PlaybackSnapshot& state, const FlashTickActions& actions) {
    return actions.skip_to_frame >= 0 ? actions.skip_to_frame : state.current_frame;
}

bool HasNextEntry(const PlaybackSnapshot& state) {
    return int64_t(state.selection) + 1 < state.entry_count;
}

}  // namespace

FlashTickActions Timer2Tick(const PlaybackSnapshot& state, RandomGenerator& random) {
    FlashTickActions actions;
    if (state.entry_count <= 0 || state.media_mode) return actions;
    actions.write_progress = true;
    if (state.selection < 0 || !state.flash_armed) return actions;
    actions.skip_to_frame = AutoSkipFrame(state);
    const bool finished =
        FlashMovieFinished(FrameAfterSkip(state, actions), state.near_end_frames, state.total_frames);
    if (state.mode == ContinuousMode::kInOrder) {
        if (HasNextEntry(state) && finished) actions.play_entry = state.selection + 1;
    } else if (state.mode == ContinuousMode::kRandom && finished) {
        actions.reset_frame = true;
        actions.play_entry = random.Pick(state.entry_count);
    }
    return actions;
}

FlashTickActions Timer3Tick(const PlaybackSnapshot& state) {
    FlashTickActions actions;
    if (state.selection < 0 || state.media_mode || !state.flash_armed) return actions;
    actions.skip_to_frame = AutoSkipFrame(state);
    const bool finished =
        FlashMovieFinished(FrameAfterSkip(state, actions), state.near_end_frames, state.total_frames);
    if (state.loop && finished && state.selection < state.entry_count) {
        actions.reset_frame = true;
        actions.play_entry = state.selection;
    }
    actions.write_progress = true;
    return actions;
}

MediaEndActions Timer5Tick(const PlaybackSnapshot& state) {
    MediaEndActions actions;
    if (!state.media_mode) return actions;
    actions.active = true;
    actions.media_at_end = state.media_position == state.bar_max;
    return actions;
}

MediaTickActions Timer4Tick(const PlaybackSnapshot& state, RandomGenerator& random) {
    MediaTickActions actions;
    if (!state.media_mode) return actions;
    actions.active = true;
    if (!state.media_at_end) return actions;
    if (state.loop) {
        actions.restart = true;
        return actions;
    }
    if (state.mode == ContinuousMode::kInOrder) {
        if (HasNextEntry(state)) actions.play_entry = state.selection + 1;
    } else if (state.mode == ContinuousMode::kRandom && state.entry_count > 0) {
        actions.play_entry = random.Pick(state.entry_count);
    }
    return actions;
}
