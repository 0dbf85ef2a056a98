#include "playback/transport.h"

#include <cmath>

double RoundHalfEven(double value) {
    double floor = std::floor(value);
    double diff = value - floor;
    if (diff > 0.5) return floor + 1;
    if (diff < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::optional<int64_t> FlashForwardFrame(int64_t bar_position, int64_t bar_max, int64_t step) {
    if (bar_position + step < bar_max) return bar_position + step;
    return std::nullopt;
}

std::optional<int64_t> FlashBackFrame(int64_t bar_position, int64_t step) {
    if (step < bar_position) return bar_position - step;
    return std::nullopt;
}

int64_t ClampToBar(int64_t position, int64_t bar_min, int64_t bar_max) {
    if (position > bar_max) position = bar_max;
    if (position < bar_min) position = bar_min;
    return position;
}

std::optional<int64_t> SeekPositionFromClick(int64_t bar_min, int64_t bar_max, int x, int bar_width) {
    if (bar_width <= 0) return std::nullopt;
    double p = RoundHalfEven(double(bar_max) * (double(x) / double(bar_width)));
    if (p >= double(bar_max)) return ClampToBar(bar_max, bar_min, bar_max);
    if (p <= double(bar_min)) return ClampToBar(bar_min, bar_min, bar_max);
    return ClampToBar(int64_t(p), bar_min, bar_max);
}
