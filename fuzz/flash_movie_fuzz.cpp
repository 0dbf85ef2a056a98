// The Flash engine on arbitrary movie bytes: load, a few frames with their
// actions, every action list the movie holds run once on the main timeline,
// and one rendered frame.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

#include "flash/canvas.h"
#include "flash/movie_loader.h"
#include "flash/player.h"
#include "flash/renderer.h"
#include "flash/view.h"
#include "flash/avm1/vm.h"

namespace {

void RunList(flash::Player& player, const flash::ActionBytes& bytes, int version) {
    if (!bytes || !player.vm() || !player.Root()) return;
    flash::avm1::Code code;
    code.owner = bytes;
    code.data = bytes->data();
    code.size = bytes->size();
    code.version = version;
    player.vm()->RunActions(code, const_cast<flash::Clip*>(player.Root()));
}

void RunTimeline(flash::Player& player, const flash::Timeline& timeline, int version) {
    for (const flash::Frame& frame : timeline.frames)
        for (const flash::ControlTag& tag : frame.tags) {
            RunList(player, tag.actions, version);
            for (const flash::ClipAction& action : tag.place.clip_actions) RunList(player, action.actions, version);
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::shared_ptr<const flash::Movie> movie;
    try {
        movie = std::make_shared<const flash::Movie>(flash::LoadMovie(data, size));
    } catch (const std::exception&) {
        return 0;
    }
    flash::Player player;
    // Scripts that loop for ever are cut off sooner than in the player.
    player.SetScriptStepLimit(200'000);
    player.Load(movie);
    for (int i = 0; i < 4; ++i) player.Advance();
    RunTimeline(player, movie->timeline, movie->version);
    for (const auto& [id, character] : movie->characters) {
        if (character.sprite) RunTimeline(player, character.sprite->timeline, movie->version);
        if (character.button)
            for (const flash::ButtonAction& action : character.button->actions)
                RunList(player, action.actions, movie->version);
    }
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
