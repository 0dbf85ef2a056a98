// Small movies built with the SWF writer for the engine's tests.
#pragma once

#include "flash/movie_loader.h"
#include "flash/swf_writer.h"

#include <memory>

namespace flash_test {

inline flash::PlaceArgs NewAt(int depth, uint16_t character, double x = 0, double y = 0) {
    flash::PlaceArgs args;
    args.depth = depth;
    args.character = character;
    flash::Matrix m;
    m.tx = x * 20;
    m.ty = y * 20;
    args.matrix = m;
    return args;
}

inline flash::PlaceArgs MoveTo(int depth, double x, double y) {
    flash::PlaceArgs args = NewAt(depth, 0, x, y);
    args.move = true;
    return args;
}

// Defines shape id as a filled rectangle given in pixels.
inline void DefineBox(flash::SwfWriter& movie, uint16_t id, int x, int y, int width, int height, flash::Rgba color) {
    flash::ShapeBuilder box;
    box.Rectangle(x * 20, y * 20, width * 20, height * 20, box.AddSolidFill(color));
    movie.DefineShape(id, box);
}

inline std::shared_ptr<const flash::Movie> Load(const flash::SwfWriter& movie, bool compressed = false) {
    return std::make_shared<flash::Movie>(flash::LoadMovie(movie.Finish(compressed)));
}

}  // namespace flash_test
