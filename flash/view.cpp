#include "flash/view.h"

#include <algorithm>

namespace flash {

namespace {

// Limits of the visible width relative to the stage, so that repeated
// zooming stays within what the arithmetic can draw.
constexpr double kMinShare = 1.0 / 4096;
constexpr double kMaxShare = 4096;

}  // namespace

namespace {

// The stage as players show it: whole pixels from its top left corner.
double StageWidth(const Movie& movie) { return std::max(movie.StageWidth(), 1) * 20.0; }
double StageHeight(const Movie& movie) { return std::max(movie.StageHeight(), 1) * 20.0; }

}  // namespace

void View::Zoom(const Movie& movie, int factor) {
    if (factor <= 0) {
        Reset();
        return;
    }
    double stage_width = StageWidth(movie);
    double stage_height = StageHeight(movie);
    if (whole_) {
        centre_x_ = movie.xmin + stage_width / 2;
        centre_y_ = movie.ymin + stage_height / 2;
        width_ = stage_width;
        height_ = stage_height;
        whole_ = false;
    }
    double share = std::clamp(width_ * factor / 100.0 / stage_width, kMinShare, kMaxShare);
    width_ = stage_width * share;
    height_ = stage_height * share;
}

Matrix View::StageToTarget(const Movie& movie, int width, int height) const {
    double cx = whole_ ? movie.xmin + StageWidth(movie) / 2 : centre_x_;
    double cy = whole_ ? movie.ymin + StageHeight(movie) / 2 : centre_y_;
    double vw = whole_ ? StageWidth(movie) : width_;
    double vh = whole_ ? StageHeight(movie) : height_;
    Matrix m;
    if (vw <= 0 || vh <= 0 || width <= 0 || height <= 0) return m;
    double scale = std::min(width / vw, height / vh);
    m.a = m.d = scale;
    m.tx = width / 2.0 - cx * scale;
    m.ty = height / 2.0 - cy * scale;
    return m;
}

}  // namespace flash
