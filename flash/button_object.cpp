// Buttons on the display list: a button instance is a clip whose children
// are the records of the state it shows (up, over or down). Records that
// stay at the same depth with the same character are kept, so clips in
// them play on; the others are made or removed.
#include "flash/player.h"

#include "flash/avm1/vm.h"

namespace flash {

namespace {

const std::vector<PlaceRecord>& StateRecords(const Button& button, int state) {
    switch (state) {
    case kButtonOver: return button.over;
    case kButtonDown: return button.down;
    default: return button.up;
    }
}

}  // namespace

void Player::SetButtonState(Clip& clip, int state) {
    if (!clip.button || clip.button_state == state) return;
    clip.button_state = state;
    std::map<int, Instance> old = std::move(clip.children);
    clip.children.clear();
    for (const PlaceRecord& record : StateRecords(*clip.button, state)) {
        auto kept = old.find(record.depth);
        if (kept != old.end() && kept->second.character == record.character) {
            Instance& instance = clip.children[record.depth] = std::move(kept->second);
            old.erase(kept);
            if (!instance.scripted) {
                instance.matrix = record.matrix;
                instance.color = record.color;
            }
            continue;
        }
        Instance& instance = clip.children[record.depth] = Create(clip, record);
        instance.matrix = record.matrix;
        instance.color = record.color;
        if (instance.clip) Initialize(*instance.clip, true);
    }
    for (auto& [depth, instance] : old)
        if (instance.clip) {
            instance.clip->removed = true;
            QueueUnload(*instance.clip);
            if (dragged == instance.clip) dragged = nullptr;
        }
}

}  // namespace flash
