// Frames per second of playing and drawing the start-up movie at the size
// of the main window's Flash area (547 x 399), at each quality.
//
// usage: render_bench [MOVIE.swf] [SECONDS]
#include "flash/movie_loader.h"
#include "flash/player.h"
#include "flash/renderer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : CORVELLA_STARTUP_MOVIE;
    double seconds = argc > 2 ? std::atof(argv[2]) : 2.0;
    flash::Player player;
    try {
        player.Load(std::make_shared<flash::Movie>(flash::LoadMovieFile(path)));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "render_bench: %s: %s\n", path, error.what());
        return 1;
    }
    flash::Canvas canvas;
    canvas.Resize(547, 399);
    flash::Renderer renderer;
    const struct {
        const char* name;
        flash::Quality quality;
    } levels[] = {{"low", flash::Quality::Low}, {"medium", flash::Quality::Medium}, {"high", flash::Quality::High}};
    for (const auto& level : levels) {
        using Clock = std::chrono::steady_clock;
        auto start = Clock::now();
        int frames = 0;
        double elapsed = 0;
        while (elapsed < seconds) {
            player.Advance();
            renderer.Render(player, flash::View{}, level.quality, canvas);
            ++frames;
            elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        }
        std::printf("%-6s %4d x %d  %8.1f frames per second\n", level.name, canvas.width, canvas.height, frames / elapsed);
    }
    return 0;
}
