// The Flash engine on arbitrary movie bytes: load, a few frames with their
// actions, and one rendered frame.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

#include "flash/canvas.h"
#include "flash/movie_loader.h"
#include "flash/player.h"
#include "flash/renderer.h"
#include "flash/view.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::shared_ptr<const flash::Movie> movie;
    try {
        movie = std::make_shared<const flash::Movie>(flash::LoadMovie(data, size));
    } catch (const std::exception&) {
        return 0;
    }
    flash::Player player;
    player.Load(movie);
    for (int i = 0; i < 4; ++i) player.Advance();
    player.GotoFrame(player.TotalFrames() / 2);
    player.GotoFrame(0);
    flash::View view;
    view.Zoom(*movie, 50);
    flash::Canvas canvas;
    canvas.Resize(64, 48);
    flash::Renderer renderer;
    renderer.Render(player, view, flash::Quality::High, canvas);
    return 0;
}
