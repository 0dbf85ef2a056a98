// Which part of the stage is shown and how it maps onto a target of a given
// size: the visible part is scaled to fit the target with its aspect kept and
// centred, the rest of the target showing the background ("show all").
#pragma once

#include "flash/movie.h"

namespace flash {

class View {
public:
    // The whole stage again.
    void Reset() { whole_ = true; }
    bool Whole() const { return whole_; }
    // factor percent of the current view's size around its centre: 50 shows
    // half as much (zoom in), 200 twice as much; 0 or less the whole stage.
    void Zoom(const Movie& movie, int factor);
    // Stage twips to target pixels.
    Matrix StageToTarget(const Movie& movie, int width, int height) const;

private:
    bool whole_ = true;
    double centre_x_ = 0, centre_y_ = 0, width_ = 0, height_ = 0;   // twips
};

}  // namespace flash
