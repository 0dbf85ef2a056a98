// The arithmetic of the transport commands and the seek by click on the
// progress bar. Bar positions and steps are frames for Flash movies and the
// media device's position unit for media files. Sums are taken in 64 bits,
// so a very large step cannot overflow.
#pragma once

#include <cstdint>
#include <optional>

// Rounds to the nearest integer, halves to the even neighbour.
double RoundHalfEven(double value);

// Flash fast forward: bar position + step when that is below the bar's
// maximum; otherwise nothing.
std::optional<int64_t> FlashForwardFrame(int64_t bar_position, int64_t bar_max, int64_t step);

// Flash fast back: bar position − step when the step is below the bar's
// position; otherwise nothing.
std::optional<int64_t> FlashBackFrame(int64_t bar_position, int64_t step);

// Media fast forward starts from the player's own position, fast back from
// the bar's; the device refuses a target outside the media.
inline int64_t MediaForwardTarget(int64_t player_position, int64_t step) { return player_position + step; }
inline int64_t MediaBackTarget(int64_t bar_position, int64_t step) { return bar_position - step; }

// The bar's position after a click at `x` pixels from its left edge:
// bar_max × (x ÷ bar_width), rounded half to even, clamped to the bar's
// range. Nothing for a bar without width.
std::optional<int64_t> SeekPositionFromClick(int64_t bar_min, int64_t bar_max, int x, int bar_width);

// What the progress bar does with a position written to it.
int64_t ClampToBar(int64_t position, int64_t bar_min, int64_t bar_max);
