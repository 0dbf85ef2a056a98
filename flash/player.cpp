#include "flash/player.h"

#include <algorithm>

namespace flash {

namespace {

// Sprites nested deeper than this, or more sprite instances than this in
// all, are not played: a movie that places a sprite inside itself would
// otherwise never finish building its display list.
constexpr int kMaxNesting = 32;
constexpr int kMaxLiveClips = 20000;
// Frame actions run per tick at most (gotos that call each other forever).
constexpr size_t kMaxActionListsPerTick = 10000;
// Ticks the clock catches up at most after a long pause.
constexpr int kMaxCatchUpTicks = 4;

int Nesting(const Clip* clip) {
    int depth = 0;
    for (; clip; clip = clip->parent) ++depth;
    return depth;
}

bool PlaysTimeline(const Clip* clip, const Timeline* timeline) {
    for (; clip; clip = clip->parent)
        if (clip->timeline == timeline) return true;
    return false;
}

}  // namespace

Clip::Clip(const Timeline* timeline_, Clip* parent_, long born_, int* live_)
    : timeline(timeline_), parent(parent_), born(born_), live(live_) {
    ++*live;
}

Clip::~Clip() { --*live; }

Player::Player() = default;
Player::~Player() = default;

void Player::Load(std::shared_ptr<const Movie> movie) {
    Unload();
    movie_ = std::move(movie);
    if (!movie_) return;
    root_ = std::make_shared<Clip>(&movie_->timeline, nullptr, tick_, &live_clips_);
    RunFrame(*root_, 0, true, nullptr);
    RunQueue();
    if (observer_) observer_->Settled(*this);
}

void Player::Unload() {
    queue_.clear();
    root_.reset();
    movie_.reset();
    pending_ms_ = 0;
    if (observer_) observer_->Settled(*this);
}

int Player::TotalFrames() const { return root_ ? root_->timeline->frame_count : 0; }
int Player::CurrentFrame() const { return root_ ? root_->frame : 0; }
bool Player::IsPlaying() const { return root_ && root_->playing; }

void Player::Play() {
    if (root_) root_->playing = true;
    if (observer_) observer_->Settled(*this);
}

void Player::Stop() {
    if (root_) root_->playing = false;
    if (observer_) observer_->Settled(*this);
}

void Player::GotoFrame(int frame) {
    if (!root_) return;
    Goto(*root_, frame);
    RunQueue();
    if (observer_) observer_->Settled(*this);
}

bool Player::GotoLabel(const std::string& label) {
    if (!root_) return false;
    int frame = root_->timeline->FindLabel(label);
    if (frame < 0) return false;
    GotoFrame(frame);
    return true;
}

double Player::FrameRate() const {
    double rate = movie_ ? movie_->frame_rate : 0;
    if (rate <= 0) return 12;
    return std::clamp(rate, 0.01, 120.0);
}

void Player::Advance() {
    if (!root_) return;
    ++tick_;
    Step(*root_);
    RunQueue();
    if (observer_) observer_->Settled(*this);
}

int Player::AdvanceTime(double milliseconds) {
    if (!root_ || milliseconds <= 0) return 0;
    double interval = 1000.0 / FrameRate();
    pending_ms_ = std::min(pending_ms_ + milliseconds, interval * kMaxCatchUpTicks);
    int ticks = 0;
    while (pending_ms_ >= interval) {
        pending_ms_ -= interval;
        Advance();
        ++ticks;
    }
    return ticks;
}

void Player::Step(Clip& clip) {
    if (clip.playing && clip.timeline->frame_count > 1) {
        int next = clip.frame + 1;
        if (next >= clip.timeline->frame_count)
            Goto(clip, 0);
        else
            Goto(clip, next);
    }
    // Sprites placed in this tick show their first frame before moving on.
    std::vector<std::shared_ptr<Clip>> children;
    for (auto& [depth, instance] : clip.children)
        if (instance.clip && instance.clip->born < tick_) children.push_back(instance.clip);
    for (auto& child : children) Step(*child);
}

void Player::Goto(Clip& clip, int frame) {
    frame = std::clamp(frame, 0, clip.timeline->frame_count - 1);
    if (frame == clip.frame) return;
    if (frame > clip.frame) {
        for (int f = clip.frame + 1; f <= frame; ++f) RunFrame(clip, f, f == frame, nullptr);
    } else {
        // Going back replays the timeline from its start; what stays on the
        // same depth from the same tag is kept, sprites keep playing.
        std::map<int, Instance> old = std::move(clip.children);
        clip.children.clear();
        for (int f = 0; f <= frame; ++f) RunFrame(clip, f, f == frame, &old);
    }
    clip.frame = frame;
}

void Player::RunFrame(Clip& clip, int frame, bool queue_actions, std::map<int, Instance>* reuse) {
    if (queue_actions && observer_) observer_->FrameEntered(clip, frame);
    const Frame* tags = clip.timeline->At(frame);
    if (!tags) return;
    for (const ControlTag& tag : tags->tags) {
        switch (tag.kind) {
        case ControlKind::Place:
            Place(clip, tag.place, reuse);
            break;
        case ControlKind::Remove:
            clip.children.erase(tag.place.depth);
            break;
        case ControlKind::Actions:
            if (queue_actions) queue_.push_back({clip.weak_from_this(), &tag.actions});
            break;
        }
    }
}

void Player::Place(Clip& clip, const PlaceRecord& place, std::map<int, Instance>* reuse) {
    auto found = clip.children.find(place.depth);
    Instance* target = found == clip.children.end() ? nullptr : &found->second;

    if (place.has_character && (!place.move || !target)) {
        auto kept = reuse ? reuse->find(place.depth) : std::map<int, Instance>::iterator{};
        if (reuse && kept != reuse->end() && kept->second.origin == &place) {
            clip.children[place.depth] = std::move(kept->second);
            reuse->erase(kept);
        } else {
            clip.children[place.depth] = Create(clip, place);
        }
        target = &clip.children[place.depth];
    } else if (!target) {
        return;  // moving a depth that holds nothing
    } else if (place.has_character && place.character != target->character) {
        Instance replaced = Create(clip, place);
        replaced.matrix = target->matrix;
        replaced.color = target->color;
        replaced.clip_depth = target->clip_depth;
        replaced.name = target->name;
        *target = std::move(replaced);
    }
    if (place.has_matrix) target->matrix = place.matrix;
    if (place.has_color) target->color = place.color;
    if (place.has_ratio) target->ratio = place.ratio;
    if (place.has_clip_depth) target->clip_depth = place.clip_depth;
    if (!place.name.empty()) target->name = place.name;
}

Instance Player::Create(Clip& parent, const PlaceRecord& place) {
    Instance instance;
    instance.character = place.character;
    instance.definition = movie_->Find(place.character);
    instance.origin = &place;
    if (!instance.definition || !instance.definition->sprite) return instance;
    const Timeline* timeline = &instance.definition->sprite->timeline;
    if (Nesting(&parent) >= kMaxNesting || live_clips_ >= kMaxLiveClips || PlaysTimeline(&parent, timeline)) {
        instance.definition = nullptr;
        return instance;
    }
    instance.clip = std::make_shared<Clip>(timeline, &parent, tick_, &live_clips_);
    RunFrame(*instance.clip, 0, true, nullptr);
    return instance;
}

void Player::RunQueue() {
    for (size_t i = 0; i < queue_.size() && i < kMaxActionListsPerTick; ++i) {
        std::shared_ptr<Clip> clip = queue_[i].clip.lock();
        if (clip) Run(*clip, *queue_[i].actions);
    }
    queue_.clear();
}

namespace {

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

}  // namespace

Clip* Player::Resolve(Clip& from, const std::string& path) {
    Clip* clip = &from;
    size_t pos = 0;
    if (!path.empty() && path[0] == '/') {
        clip = root_.get();
        pos = 1;
    }
    while (clip && pos <= path.size()) {
        size_t end = path.find_first_of("/.:", pos);
        if (end == std::string::npos) end = path.size();
        // ".." is a part of its own, not two separators.
        if (path.compare(pos, 2, "..") == 0) end = pos + 2;
        std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;
        if (part == ".." || SameName(part, "_parent")) {
            clip = clip->parent;
        } else if (SameName(part, "_root") || SameName(part, "_level0")) {
            clip = root_.get();
        } else {
            Clip* child = nullptr;
            for (auto& [depth, instance] : clip->children)
                if (instance.clip && SameName(instance.name, part)) {
                    child = instance.clip.get();
                    break;
                }
            clip = child;
        }
    }
    return clip;
}

void Player::Run(Clip& self, const std::vector<Action>& actions) {
    // The timeline the actions act on; nothing while a target is missing.
    std::shared_ptr<Clip> target = self.shared_from_this();
    for (const Action& action : actions) {
        if (action.kind == ActionKind::SetTarget) {
            Clip* found = action.label.empty() ? &self : Resolve(self, action.label);
            target = found ? found->shared_from_this() : nullptr;
            continue;
        }
        if (!target) continue;
        Clip& clip = *target;
        switch (action.kind) {
        case ActionKind::SetTarget:
            break;
        case ActionKind::Stop:
            clip.playing = false;
            break;
        case ActionKind::Play:
            clip.playing = true;
            break;
        case ActionKind::GotoFrame:
            Goto(clip, action.frame);
            clip.playing = false;
            break;
        case ActionKind::GotoLabel: {
            int frame = clip.timeline->FindLabel(action.label);
            if (frame >= 0) Goto(clip, frame);
            clip.playing = false;
            break;
        }
        case ActionKind::NextFrame:
            Goto(clip, clip.frame + 1);
            clip.playing = false;
            break;
        case ActionKind::PreviousFrame:
            Goto(clip, clip.frame - 1);
            clip.playing = false;
            break;
        }
    }
}

}  // namespace flash
