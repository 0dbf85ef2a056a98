// The decisions of the playback timers: the progress text, the automatic
// "Play" skip, the end of a Flash movie or a media file, and which entry
// plays next. Each tick function reads a snapshot of the state and returns
// what the timer is to do; the caller carries it out in the order of the
// fields.
#pragma once

#include <cstdint>

// The program's own pseudo-random generator: a 32-bit seed, 0 at start and
// never reseeded; each pick steps seed := seed × 134775813 + 1 and gives
// floor(n × seed ÷ 2^32), so every run picks the same sequence.
class RandomGenerator {
public:
    int Pick(int count);
    uint32_t Seed() const { return seed_; }

private:
    uint32_t seed_ = 0;
};

// Continuous play as the two radio menu items set it.
enum class ContinuousMode {
    kOff,
    kInOrder,  // "顺序连续播放" ticked
    kRandom,   // "随机连续播放" ticked
};

struct PlaybackSnapshot {
    int entry_count = 0;
    int selection = -1;  // selected entry, -1 for none
    bool media_mode = false;
    bool flash_armed = false;
    bool skip_play = false;     // automatic "Play" skip
    bool loop = false;          // "单曲循环" ticked
    ContinuousMode mode = ContinuousMode::kOff;
    int near_end_frames = 0;
    // Flash control
    bool is_playing = false;
    int current_frame = 0;
    int total_frames = 0;
    // Media player
    bool media_at_end = false;
    int64_t media_position = 0;
    int64_t bar_max = 0;  // the progress bar's maximum: the media length
};

// A Flash movie counts as finished when frame + near-end frames reaches the
// frame count.
bool FlashMovieFinished(int current_frame, int near_end_frames, int total_frames);

// The automatic skip: a movie stopped by itself on any frame but its last
// is moved one frame on and played. Returns the frame to go to, or -1.
int AutoSkipFrame(const PlaybackSnapshot& state);

struct FlashTickActions {
    bool write_progress = false;  // the Flash progress text to both labels
    int skip_to_frame = -1;       // GotoFrame(frame), then Play()
    bool reset_frame = false;     // FrameNum := 0 before playing the entry
    int play_entry = -1;          // select this entry and PlayFile its path
};

// Timer2: Flash movie, loop clear. Write the progress with the title.
FlashTickActions Timer2Tick(const PlaybackSnapshot& state, RandomGenerator& random);

// Timer3: Flash movie, loop ticked; the progress text (without the title)
// comes after the other actions.
FlashTickActions Timer3Tick(const PlaybackSnapshot& state);

struct MediaEndActions {
    bool active = false;       // MediaMode: the tick does anything at all
    bool media_at_end = false; // MediaAtEnd := this; then the media progress text
};

// Timer5: media end detection (position = bar maximum) and progress text.
MediaEndActions Timer5Tick(const PlaybackSnapshot& state);

struct MediaTickActions {
    bool active = false;            // MediaMode: set the bar to the player's position
    bool restart = false;           // loop: play again from the start
    int play_entry = -1;            // select this entry and PlayFile its path
};

// Timer4: media progress bar and continuous play.
MediaTickActions Timer4Tick(const PlaybackSnapshot& state, RandomGenerator& random);
