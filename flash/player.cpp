#include "flash/player.h"

#include "flash/avm1/classes/classes.h"
#include "flash/avm1/vm.h"
#include "flash/drawing.h"
#include "flash/text_field.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace flash {

namespace {

// Sprites nested deeper than this, or more sprite instances than this in
// all, are not played: a movie that places a sprite inside itself would
// otherwise never finish building its display list.
constexpr int kMaxNesting = 32;
constexpr int kMaxLiveClips = 20000;
// Queued action lists run per tick at most (gotos that call each other forever).
constexpr size_t kMaxActionListsPerTick = 10000;
// Timer rounds one frame runs at most (intervals far shorter than a frame).
constexpr int kMaxTimerRounds = 100;
// Ticks the clock catches up at most after a long pause.
constexpr int kMaxCatchUpTicks = 4;
// Objects made since the last collection before the next one runs.
constexpr size_t kCollectEvery = 20000;

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

// Whether the clip or one it is inside waits at its unload depth.
bool InUnloadingClip(const Clip* clip) {
    for (; clip; clip = clip->parent)
        if (clip->unloading) return true;
    return false;
}

bool SameName(const std::string& a, const std::string& b, bool case_sensitive) {
    if (a.size() != b.size()) return false;
    if (case_sensitive) return a == b;
    return avm1::FoldCase(a) == avm1::FoldCase(b);
}

avm1::Code CodeOf(const ActionBytes& bytes, int version) {
    avm1::Code code;
    code.owner = bytes;
    code.data = bytes ? bytes->data() : nullptr;
    code.size = bytes ? bytes->size() : 0;
    code.version = version;
    return code;
}

// What a timeline shows at a depth at some frame: the tag that made it, in
// which frame, and its character and ratio then.
struct TimelineObject {
    const PlaceRecord* creator = nullptr;
    int frame = 0;
    uint16_t character = 0;
    int ratio = 0;
    bool has_ratio = false;          // a tag gave the ratio (else 0)
};

std::map<int, TimelineObject> TimelineAt(const Timeline& timeline, int last) {
    std::map<int, TimelineObject> shown;
    for (int f = 0; f <= last; ++f) {
        const Frame* tags = timeline.At(f);
        if (!tags) continue;
        for (const ControlTag& tag : tags->tags) {
            const PlaceRecord& place = tag.place;
            if (tag.kind == ControlKind::Remove) {
                shown.erase(place.depth);
                continue;
            }
            if (tag.kind != ControlKind::Place) continue;
            auto found = shown.find(place.depth);
            if (place.has_character && (!place.move || found == shown.end())) {
                shown[place.depth] =
                    TimelineObject{&place, f, place.character, place.has_ratio ? place.ratio : 0, place.has_ratio};
                continue;
            }
            if (found == shown.end()) continue;
            if (place.has_character) found->second.character = place.character;
            if (place.has_ratio) {
                found->second.ratio = place.ratio;
                found->second.has_ratio = true;
            }
        }
    }
    return shown;
}

}  // namespace

void MarkRemoved(Clip* clip) {
    clip->removed = true;
    for (auto& [depth, instance] : clip->children)
        if (instance.clip && !instance.clip->removed) MarkRemoved(instance.clip);
}

const Timeline& EmptyTimeline() {
    static const Timeline empty;
    return empty;
}

Clip::Clip(Player* player_, const Movie* movie_, const Timeline* timeline_, Clip* parent_, int depth_, long born_)
    : avm1::Object(nullptr), player(player_), movie(movie_), timeline(timeline_), parent(parent_), depth(depth_), born(born_) {
    ++player->live_clips_;
}

Clip::~Clip() { --player->live_clips_; }

Instance& Clip::Placement() {
    if (parent) {
        auto found = parent->children.find(depth);
        if (found != parent->children.end() && found->second.clip == this) return found->second;
    }
    if (this == player->root_) return player->root_instance_;
    // A removed clip keeps answering from the entry it had.
    if (!detached) detached = std::make_unique<Instance>();
    return *detached;
}

void Clip::TraceRefs(avm1::Tracer& tracer) {
    tracer.Mark(parent);
    for (auto& [d, instance] : children) {
        tracer.Mark(instance.clip);
        tracer.Mark(instance.text);
        tracer.Mark(instance.bitmap_data);
    }
    tracer.Mark(mask);
    tracer.Mark(text_mask);
    if (drawing)
        for (const ShapeLayer& layer : drawing->shape.layers)
            for (const FillStyle& fill : layer.fills) tracer.Mark(fill.bitmap_data);
}

Player::Player() = default;

Player::~Player() {
    queue_.clear();
    root_ = nullptr;
    vm_.reset();
}

void Player::SetTraceSink(std::function<void(const std::string&)> sink) {
    trace_sink_ = std::move(sink);
    if (vm_) vm_->on_trace = trace_sink_;
}

void Player::SetClock(double epoch_seconds, int utc_offset_minutes) {
    epoch_seconds_ = epoch_seconds;
    utc_offset_minutes_ = utc_offset_minutes;
    if (vm_) {
        vm_->epoch_seconds = epoch_seconds;
        vm_->utc_offset_minutes = utc_offset_minutes;
    }
}

void Player::Load(std::shared_ptr<const Movie> movie) {
    Unload();
    movie_ = std::move(movie);
    if (!movie_) return;
    frame_rate_ = movie_->frame_rate;
    vm_ = std::make_unique<avm1::Vm>(movie_->version);
    vm_->load_folder = base_folder_.string();
    vm_->host = this;
    if (step_limit_) vm_->max_steps = step_limit_;
    vm_->on_trace = trace_sink_;
    vm_->epoch_seconds = epoch_seconds_;
    vm_->utc_offset_minutes = utc_offset_minutes_;
    vm_->stage_width = movie_->StageWidth();
    vm_->stage_height = movie_->StageHeight();
    root_ = vm_->heap.Make<Clip>(this, movie_.get(), &movie_->timeline, nullptr, 0, tick_);
    root_->proto = vm_->Proto("MovieClip");
    // The player's version string is a variable of the main timeline.
    root_->Define("$version", avm1::Value(avm1::PlayerVersionString()), 0);
    root_instance_ = Instance{};
    root_instance_.clip = root_;
    clips_.assign(1, root_);
    RunFrame(*root_, 0, true, false);
    QueueEvent(*root_, kEventLoad, "onLoad");
    RunQueue();
    // What the first frame asked for and is ready at once (local data,
    // dialogs that close) arrives before the first frame ends.
    vm_->RunDeliveries();
    RunQueue();
    RunTimers();
    ProcessLoads();
    if (observer_) observer_->Settled(*this);
}

void Player::SetBaseFolder(const std::filesystem::path& folder) {
    base_folder_ = folder;
    // Script loads (XML, LoadVars) start from the same folder.
    if (vm_) vm_->load_folder = folder.string();
}

void Player::Unload() {
    queue_.clear();
    pending_loads_.clear();
    levels_.clear();
    loaded_movies_.clear();
    clips_.clear();
    init_done_.clear();
    root_ = nullptr;
    root_instance_ = Instance{};
    dragged = nullptr;
    hovered_ = pressed_ = nullptr;
    mouse_down_ = false;
    vm_.reset();
    movie_.reset();
    pending_ms_ = 0;
    quit_requested_ = false;
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
    // The first movie sets the rate; one loaded over it later does not.
    double rate = movie_ ? frame_rate_ : 0;
    if (rate <= 0) return 12;
    return std::clamp(rate, 0.01, 120.0);
}

void Player::Advance() {
    if (!root_) return;
    ++tick_;
    vm_->clock_ms = tick_ * 1000.0 / FrameRate();
    vm_->stack.clear();
    RemoveUnloaded();
    StepAll();
    RunQueue();
    RunTimers();
    // Loads the frame asked for land at its end.
    ProcessLoads();
    SyncTextFields(*vm_, *root_);
    if (observer_) observer_->Settled(*this);
    CollectGarbage();
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

void Player::RunTimers() {
    // Until the frame ends, each timer runs as often as its interval fits,
    // and what its calls queued runs after each round.
    double frame_start = vm_->clock_ms;
    double frame_end = (tick_ + 1) * 1000.0 / FrameRate();
    for (int round = 0; round < kMaxTimerRounds; ++round) {
        double next = frame_end + 1;
        for (const avm1::Vm::Timer& timer : vm_->timers) next = std::min(next, timer.next_ms);
        if (next > frame_end) break;
        vm_->clock_ms = std::max(vm_->clock_ms, next);
        vm_->RunTimers();
        RunQueue();
    }
    vm_->clock_ms = frame_start;
}

void Player::StepAll() {
    // Newest clips first: a child steps (and queues its frame's actions)
    // before the timeline that placed it. Clips made during the walk wait
    // for the next tick.
    std::vector<Clip*> clips;
    clips.reserve(clips_.size());
    size_t kept = 0;
    for (Clip* clip : clips_)
        if (!clip->removed || clip == root_) clips_[kept++] = clip;
    clips_.resize(kept);
    clips = clips_;
    for (auto it = clips.rbegin(); it != clips.rend(); ++it) {
        Clip* clip = *it;
        if (!clip->removed && clip->born < tick_) Step(*clip);
    }
}

void Player::Step(Clip& clip) {
    QueueEvent(clip, kEventEnterFrame, "onEnterFrame");
    if (clip.playing && clip.timeline->frame_count > 1) {
        int next = clip.frame + 1;
        if (next >= clip.timeline->frame_count) {
            if (clip.timeline->loops) Goto(clip, 0);
        } else {
            Goto(clip, next);
        }
    }
}

void Player::Goto(Clip& clip, int frame) {
    // A jump past the end lands on the last frame without running its actions.
    int last = std::max(clip.timeline->frame_count - 1, 0);
    bool past_end = frame > last;
    frame = std::clamp(frame, 0, last);
    if (frame == clip.frame) return;
    if (frame > clip.frame) {
        std::set<const PlaceRecord*> skipped = PlacedAndRemoved(*clip.timeline, clip.frame + 1, frame);
        for (int f = clip.frame + 1; f <= frame; ++f) RunFrame(clip, f, f == frame && !past_end, false, &skipped);
    } else {
        // Going back: what the timeline placed after the target frame goes,
        // unless the target frame shows at its depth the same ratio with the
        // same character, or with any character when the ratio was given.
        // What it placed before stays as it is (sprites keep playing), and
        // so do clips at script depths. The frames up to the target replay
        // over what stayed.
        std::map<int, TimelineObject> shown = TimelineAt(*clip.timeline, frame);
        std::vector<int> going;
        for (auto& [depth, instance] : clip.children) {
            if (depth < 0 || depth >= kDepthOffset) continue;
            if (instance.placed_frame >= 0 && instance.placed_frame <= frame) continue;
            auto there = shown.find(depth);
            if (instance.placed_frame >= 0 && instance.origin && there != shown.end() &&
                there->second.ratio == instance.ratio &&
                (there->second.character == instance.character || there->second.has_ratio)) {
                instance.placed_frame = there->second.frame;
                instance.origin = there->second.creator;
                continue;
            }
            going.push_back(depth);
        }
        for (int depth : going) Remove(clip, depth);
        std::set<const PlaceRecord*> skipped = PlacedAndRemoved(*clip.timeline, 0, frame);
        for (int f = 0; f <= frame; ++f) RunFrame(clip, f, f == frame && !past_end, true, &skipped);
    }
    clip.frame = frame;
}

std::set<const PlaceRecord*> Player::PlacedAndRemoved(const Timeline& timeline, int first, int last) const {
    std::set<const PlaceRecord*> skipped;
    std::map<int, std::vector<const PlaceRecord*>> pending;  // by depth
    for (int f = first; f <= last; ++f) {
        const Frame* tags = timeline.At(f);
        if (!tags) continue;
        for (const ControlTag& tag : tags->tags) {
            if (tag.kind == ControlKind::Remove) {
                auto found = pending.find(tag.place.depth);
                if (found == pending.end()) continue;
                skipped.insert(found->second.begin(), found->second.end());
                pending.erase(found);
            } else if (tag.kind == ControlKind::Place && f < last && tag.place.has_character && !tag.place.move) {
                pending[tag.place.depth].push_back(&tag.place);
            }
        }
    }
    return skipped;
}

void Player::RunFrame(Clip& clip, int frame, bool queue_actions, bool rewinding,
                      const std::set<const PlaceRecord*>* skipped) {
    if (queue_actions && observer_) observer_->FrameEntered(clip, frame);
    const Frame* tags = clip.timeline->At(frame);
    if (!tags) return;
    // A frame's init actions run before anything it places.
    for (const ControlTag& tag : tags->tags)
        if (tag.kind == ControlKind::InitActions) RunInitActions(clip, tag);
    for (const ControlTag& tag : tags->tags) {
        switch (tag.kind) {
        case ControlKind::Place:
            if (skipped && skipped->count(&tag.place)) break;
            Place(clip, tag.place, frame, rewinding);
            break;
        case ControlKind::Remove:
            if (rewinding) {
                // What stayed was placed after this tag removed its depth.
                auto found = clip.children.find(tag.place.depth);
                if (found != clip.children.end() && found->second.placed_frame >= frame) break;
            }
            Remove(clip, tag.place.depth);
            break;
        case ControlKind::Actions:
            if (queue_actions) queue_.push_back({&clip, tag.actions, {}});
            break;
        case ControlKind::InitActions:
            break;
        }
    }
}

void Player::RunInitActions(Clip& clip, const ControlTag& tag) {
    // Once per sprite of each movie, on the clip that plays that movie.
    if (!init_done_.insert({clip.movie, tag.sprite}).second) return;
    Clip* top = &clip;
    while (top->parent && top->parent->movie == clip.movie) top = top->parent;
    vm_->RunActions(CodeOf(tag.actions, clip.movie->version), top);
}

void Player::Remove(Clip& parent, int depth) {
    auto found = parent.children.find(depth);
    if (found == parent.children.end()) return;
    Clip* clip = found->second.clip;
    if (clip && !clip->unloading && depth >= 0 && HasUnloadHandler(*clip)) {
        // A clip with an unload handler stays on the list, below everything
        // the timeline and scripts place, until the handler has run.
        int unload_depth = -1 - depth;
        Instance moved = std::move(found->second);
        parent.children.erase(found);
        Remove(parent, unload_depth);
        moved.origin = nullptr;
        moved.placed_frame = -1;
        clip->depth = unload_depth;
        clip->unloading = true;
        parent.children[unload_depth] = std::move(moved);
        QueueUnload(*clip);
        if (dragged == clip) dragged = nullptr;
        return;
    }
    if (clip) {
        clip->detached = std::make_unique<Instance>(found->second);
        MarkRemoved(clip);
        if (!clip->unloading) QueueUnload(*clip);
        if (dragged == clip) dragged = nullptr;
    }
    if (found->second.text) found->second.text->removed = true;
    parent.children.erase(found);
}

bool Player::HasUnloadHandler(Clip& clip) {
    for (const ClipAction& action : clip.events)
        if (action.events & kEventUnload) return true;
    avm1::Value method = vm_->Get(&clip, "onUnload");
    return method.IsObject() && method.object->AsFunction();
}

void Player::RemoveUnloaded() {
    for (Clip* clip : clips_)
        if (clip->unloading && !clip->removed && clip->parent) Remove(*clip->parent, clip->depth);
}

namespace {
// How many shapes a depth keeps on show below what was placed over them.
constexpr size_t kMaxShapesBeneath = 8;
}  // namespace

void Player::Place(Clip& clip, const PlaceRecord& place, int frame, bool rewinding) {
    auto found = clip.children.find(place.depth);
    Instance* target = found == clip.children.end() ? nullptr : &found->second;
    bool created = false;

    if (place.has_character && (!place.move || !target)) {
        if (rewinding && target) {
            // What stayed through a jump back: the tag that placed the same
            // character before it moves it; other tags leave it alone.
            if (target->placed_frame > frame || target->character != place.character) return;
        } else {
            if (target && target->clip) {
                if (target->origin == nullptr) {
                    // A script-made clip keeps its depth against the timeline.
                    if (vm_) vm_->Warn("Warning: Failed to place object at depth " +
                                       std::to_string(place.depth) + ".");
                    return;
                }
                MarkRemoved(target->clip);
            }
            Instance placed = Create(clip, place);
            if (target && !target->clip && !target->text && target->definition && target->origin &&
                target->clip_depth == 0) {
                placed.beneath = std::move(target->beneath);
                target->beneath.clear();
                if (placed.beneath.size() < kMaxShapesBeneath) placed.beneath.push_back(std::move(*target));
            }
            clip.children[place.depth] = std::move(placed);
            target = &clip.children[place.depth];
            target->placed_frame = frame;
            created = true;
            if (target->clip) Initialize(*target->clip, true);
        }
    } else if (!target) {
        return;  // moving a depth that holds nothing
    } else if (place.has_character && place.character != target->character && !target->clip) {
        // Shapes are replaced by another character; a clip stays itself.
        Instance replaced = Create(clip, place);
        replaced.matrix = target->matrix;
        replaced.color = target->color;
        replaced.clip_depth = target->clip_depth;
        replaced.name = target->name;
        replaced.placed_frame = target->placed_frame;
        if (target->clip) MarkRemoved(target->clip);
        *target = std::move(replaced);
        created = true;
        if (target->clip) Initialize(*target->clip, true);
    }
    if (!target->scripted) {
        if (place.has_matrix) target->matrix = place.matrix;
        if (place.has_color) target->color = place.color;
    }
    if (place.has_ratio) target->ratio = place.ratio;
    if (place.has_clip_depth) target->clip_depth = place.clip_depth;
    if (place.has_filters) target->filters = place.filters;
    if (place.has_blend_mode) target->blend_mode = place.blend_mode;
    if (place.has_cache) target->cache_as_bitmap = place.cache_as_bitmap;
    if (place.has_visible) target->visible = place.visible;
    if (place.has_background) {
        target->has_background = true;
        target->background = place.background;
    }
    // A move does not rename what is already there.
    if (!place.name.empty() && (created || !target->clip)) target->name = place.name;
}

Clip* Player::MakeClip(Clip& parent, const Movie* movie, const Timeline* timeline, uint16_t character, int depth) {
    if (Nesting(&parent) >= kMaxNesting || live_clips_ >= kMaxLiveClips) return nullptr;
    Clip* clip = vm_->heap.Make<Clip>(this, movie, timeline, &parent, depth, tick_);
    clip->character = character;
    clip->proto = vm_->Proto("MovieClip");
    clips_.push_back(clip);
    return clip;
}

Instance Player::Create(Clip& parent, const PlaceRecord& place) {
    Instance instance;
    instance.character = place.character;
    instance.definition = parent.movie->Find(place.character);
    instance.origin = &place;
    instance.name = place.name;
    // What the timeline places without a name is named by a running count.
    if (!place.has_name && instance.definition && (instance.definition->sprite || instance.definition->edit_text))
        instance.name = "instance" + std::to_string(++unnamed_count_);
    if (instance.definition && instance.definition->edit_text && vm_) {
        instance.text = vm_->heap.Make<TextField>(this, &parent, place.depth);
        instance.text->proto = vm_->Proto("TextField");
        const Movie* owner = instance.definition->owner ? instance.definition->owner : parent.movie;
        instance.text->Define(*vm_, *instance.definition->edit_text, *owner);
    }
    if (!instance.definition || !instance.definition->sprite) return instance;
    const Timeline* timeline = &instance.definition->sprite->timeline;
    if (PlaysTimeline(&parent, timeline)) {
        instance.definition = nullptr;
        return instance;
    }
    const Movie* owner = instance.definition->owner ? instance.definition->owner : parent.movie;
    instance.clip = MakeClip(parent, owner, timeline, place.character, place.depth);
    if (!instance.clip) {
        instance.definition = nullptr;
        return instance;
    }
    instance.clip->events = place.clip_actions;
    if (instance.definition->button) {
        instance.clip->button = instance.definition->button.get();
        instance.clip->proto = vm_->Proto("Button");
    }
    return instance;
}

void Player::Initialize(Clip& clip, bool queue_frame, avm1::Object* init) {
    clip.original_name = clip.Placement().name;
    // A class registered for the clip's symbol becomes its prototype. The
    // first frame's children are placed and the init object's members
    // copied, then the construct event and the class's constructor run,
    // then the initialize event.
    avm1::Object* constructor = nullptr;
    // Buttons take no class.
    if (clip.character && !clip.button)
        for (const auto& [name, id] : clip.movie->exports)
            if (id == clip.character) {
                auto registered = vm_->registered_classes.find({avm1::Vm::Realm(clip.movie->version), name});
                if (registered != vm_->registered_classes.end()) constructor = registered->second;
            }
    if (constructor) {
        avm1::Value prototype = vm_->Get(constructor, "prototype");
        if (prototype.IsObject()) {
            clip.proto = prototype.object;
            clip.Define("__proto__", prototype);
        }
        clip.Define("__constructor__", avm1::Value(constructor));
        if (clip.movie->version < 7) clip.Define("constructor", avm1::Value(constructor));
    }
    if (queue_frame) RunFrame(clip, 0, true, false);
    // An init object's properties come once the first frame is placed,
    // before the constructor, last enumerated first (a button takes none).
    if (init && !clip.button) {
        std::vector<std::string> keys = vm_->EnumerableKeys(init);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) vm_->Set(&clip, *key, vm_->Get(init, *key));
    }
    for (const ClipAction& action : clip.events)
        if (action.events & kEventConstruct) RunQueued({&clip, action.actions, {}});
    // The class's constructor, then an onConstruct method the clip has
    // (scripts put one on MovieClip.prototype to see every clip made).
    avm1::Value on_construct = vm_->Get(&clip, "onConstruct");
    for (avm1::Value function : {constructor ? avm1::Value(constructor) : avm1::Value(), on_construct}) {
        if (!function.IsObject() || !function.object->AsFunction()) continue;
        try {
            vm_->Call(function, avm1::Value(&clip), {});
        } catch (avm1::ScriptThrow& thrown) {
            vm_->Warn("Warning: Uncaught exception, " + vm_->ToString(thrown.value));
        } catch (avm1::ScriptAbort&) {
        }
    }
    for (const ClipAction& action : clip.events)
        if (action.events & kEventInitialize) RunQueued({&clip, action.actions, {}});
    QueueEvent(clip, kEventLoad, "onLoad");
}

void Player::QueueEvent(Clip& clip, uint32_t event, const char* method) {
    for (const ClipAction& action : clip.events)
        if (action.events & event) queue_.push_back({&clip, action.actions, {}});
    if (method) queue_.push_back({&clip, nullptr, method});
}

void Player::QueueUnload(Clip& clip) {
    for (auto& [depth, instance] : clip.children)
        if (instance.clip) QueueUnload(*instance.clip);
    QueueEvent(clip, kEventUnload, "onUnload");
}

void Player::RunQueue() {
    for (size_t i = 0; i < queue_.size() && i < kMaxActionListsPerTick; ++i) {
        Queued item = queue_[i];
        RunQueued(item);
    }
    queue_.clear();
}

void Player::RunQueued(const Queued& item) {
    Clip* clip = item.clip;
    // A clip taken off the list runs only its unload event, during which it
    // still answers as a clip on the list; so does one waiting at its
    // unload depth.
    bool leaving = clip != root_ && (clip->removed || InUnloadingClip(clip));
    struct Unloading {
        Clip* clip = nullptr;
        ~Unloading() {
            if (clip) clip->removed = true;
        }
    } unloading;
    if (item.actions) {
        if (leaving) {
            bool unload = false;
            for (const ClipAction& action : clip->events)
                if (action.actions == item.actions && (action.events & kEventUnload)) unload = true;
            if (!unload) return;
            if (clip->removed) unloading.clip = clip;
            clip->removed = false;
        }
        vm_->RunActions(CodeOf(item.actions, clip->movie->version), clip);
        return;
    }
    if (leaving) {
        if (item.method != "onUnload") return;
        if (clip->removed) unloading.clip = clip;
        clip->removed = false;
    }
    avm1::Value method = vm_->Get(clip, item.method);
    if (!method.IsObject() || !method.object->AsFunction()) return;
    try {
        vm_->steps = 0;
        vm_->Call(method, avm1::Value(clip), {});
    } catch (avm1::ScriptThrow& thrown) {
        vm_->Warn("Warning: Uncaught exception, " + vm_->ToString(thrown.value));
    } catch (avm1::ScriptAbort&) {
    }
}

void Player::CollectGarbage() {
    if (vm_->heap.made_since_collect() < kCollectEvery) return;
    vm_->Collect([this](avm1::Tracer& tracer) {
        tracer.Mark(root_);
        tracer.Mark(dragged);
        tracer.Mark(hovered_);
        tracer.Mark(pressed_);
        for (const Queued& item : queue_) tracer.Mark(item.clip);
        for (Clip* clip : clips_) tracer.Mark(clip);
        for (auto& [level, clip] : levels_) tracer.Mark(clip);
        for (const PendingLoad& load : pending_loads_) {
            tracer.Mark(load.target);
            tracer.Mark(load.loader);
        }
    });
}

void Player::RunFrameActions(Clip& clip, int frame) {
    const Frame* tags = clip.timeline->At(frame);
    if (!tags) return;
    for (const ControlTag& tag : tags->tags)
        if (tag.kind == ControlKind::Actions) vm_->RunActions(CodeOf(tag.actions, clip.movie->version), &clip);
}

// ---- what scripts ask of the display ----

avm1::Object* Player::ResolveTarget(avm1::Object* from, const std::string& path) {
    Clip* clip = from ? from->AsClip() : root_;
    if (!clip) clip = root_;
    bool cs = vm_ && vm_->CaseSensitive();
    size_t pos = 0;
    if (!path.empty() && path[0] == '/') {
        clip = root_;
        pos = 1;
    }
    // After a slash, a dot is part of a name, no longer a separator.
    bool slashed = false;
    while (clip && pos <= path.size()) {
        size_t end = path.find_first_of(slashed ? "/:" : "/.:", pos);
        if (end != std::string::npos && path[end] == '/') slashed = true;
        if (end == std::string::npos) end = path.size();
        // ".." is a part of its own, not two separators.
        if (path.compare(pos, 2, "..") == 0) end = pos + 2;
        std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty()) continue;
        if (part == ".." || SameName(part, "_parent", false)) {
            clip = clip->parent;
        } else if (SameName(part, "_root", false)) {
            clip = static_cast<Clip*>(RootOf(clip));
        } else if (part.size() > 6 && avm1::FoldCase(part.substr(0, 6)) == "_level") {
            // The number is read from the digits that follow; what comes
            // after them does not count ("_level0abc" is _level0).
            if (!std::isdigit(static_cast<unsigned char>(part[6]))) {
                clip = nullptr;
            } else if (long number = std::strtol(part.c_str() + 6, nullptr, 10); number == 0) {
                clip = root_;
            } else {
                auto level = number > INT_MAX ? levels_.end() : levels_.find(static_cast<int>(number));
                clip = level == levels_.end() ? nullptr : level->second;
            }
        } else if (SameName(part, "this", false)) {
            continue;
        } else {
            Clip* child = nullptr;
            for (auto& [depth, instance] : clip->children)
                if (instance.clip && SameName(instance.name, part, cs)) {
                    child = instance.clip;
                    break;
                }
            if (!child) {
                // A member that holds a clip also leads there.
                avm1::Property* property = clip->FindOwn(part, cs);
                if (property && property->value.IsObject()) child = property->value.object->AsClip();
            }
            clip = child;
        }
    }
    return clip;
}

avm1::Object* Player::RootOf(avm1::Object* from) {
    Clip* clip = from ? from->AsClip() : nullptr;
    if (!clip) return root_;
    for (; clip->parent; clip = clip->parent) {
        avm1::Property* lock = clip->FindOwn("_lockroot", false);
        if (lock && vm_->ToBoolean(lock->value)) return clip;
    }
    return clip;
}

avm1::Object* Player::Relocate(avm1::Object* object) {
    Clip* clip = object ? object->AsClip() : nullptr;
    if (!clip) return nullptr;
    std::vector<const std::string*> names;
    Clip* top = clip;
    for (; top->parent; top = top->parent) names.push_back(&top->original_name);
    if (top != root_ && std::none_of(levels_.begin(), levels_.end(), [&](const auto& l) { return l.second == top; }))
        return nullptr;
    bool cs = vm_ && vm_->CaseSensitive();
    Clip* at = top;
    for (auto it = names.rbegin(); it != names.rend() && at; ++it) {
        Clip* child = nullptr;
        for (auto& [depth, instance] : at->children)
            if (instance.clip && !instance.clip->removed && SameName(instance.name, **it, cs)) {
                child = instance.clip;
                break;
            }
        at = child;
    }
    return at && !at->removed ? at : nullptr;
}

std::string Player::DottedPath(avm1::Object* object) {
    if (auto* field = dynamic_cast<TextField*>(object))
        return field->parent ? DottedPath(field->parent) + "." + field->Placement().name : "";
    Clip* clip = object ? object->AsClip() : nullptr;
    // A clip no longer on the display list names the one at its path.
    if (clip && clip->removed && clip != root_) clip = static_cast<Clip*>(Relocate(clip));
    if (!clip) return "";
    std::vector<std::string> names;
    Clip* top = clip;
    for (Clip* c = clip; c && c->parent; c = c->parent) {
        names.push_back(c->Placement().name);
        top = c->parent;
    }
    std::string path = "_level0";
    for (const auto& [number, level] : levels_)
        if (level == top) path = "_level" + std::to_string(number);
    for (auto it = names.rbegin(); it != names.rend(); ++it) path += "." + *it;
    return path;
}

std::string Player::SlashPath(avm1::Object* object) {
    if (auto* field = dynamic_cast<TextField*>(object)) {
        if (!field->parent) return "";
        std::string base = SlashPath(field->parent);
        return (base == "/" ? "" : base) + "/" + field->Placement().name;
    }
    Clip* clip = object ? object->AsClip() : nullptr;
    if (!clip) return "";
    std::vector<std::string> names;
    for (Clip* c = clip; c && c->parent; c = c->parent) names.push_back(c->Placement().name);
    if (names.empty()) return "/";
    std::string path;
    for (auto it = names.rbegin(); it != names.rend(); ++it) path += "/" + *it;
    return path;
}

void Player::GotoFrame(avm1::Object* object, int frame, bool play) {
    Clip* clip = object ? object->AsClip() : nullptr;
    if (!clip || clip->removed) return;
    Goto(*clip, frame);
    clip->playing = play;
}

bool Player::GotoLabel(avm1::Object* object, const std::string& label, bool play) {
    Clip* clip = object ? object->AsClip() : nullptr;
    if (!clip) return false;
    int frame = clip->timeline->FindLabel(label);
    if (frame < 0) return false;
    GotoFrame(object, frame, play);
    return true;
}

void Player::SetPlaying(avm1::Object* object, bool playing) {
    if (Clip* clip = object ? object->AsClip() : nullptr) clip->playing = playing;
}

int Player::CurrentFrame(avm1::Object* object) {
    Clip* clip = object ? object->AsClip() : nullptr;
    return clip ? clip->frame : 0;
}

int Player::TotalFrames(avm1::Object* object) {
    Clip* clip = object ? object->AsClip() : nullptr;
    return clip ? clip->timeline->frame_count : 0;
}

int Player::FramesLoaded(avm1::Object* object) { return TotalFrames(object); }

int Player::FindLabel(avm1::Object* object, const std::string& label) {
    Clip* clip = object ? object->AsClip() : nullptr;
    return clip ? clip->timeline->FindLabel(label) : -1;
}

void Player::CallFrame(avm1::Object* object, int frame) {
    if (Clip* clip = object ? object->AsClip() : nullptr) RunFrameActions(*clip, frame);
}

void Player::CloneClip(avm1::Object* object, const std::string& name, int depth) {
    // Script depths only, as the file counts them.
    if (depth < 0 || depth > kHighestScriptDepth + kDepthOffset) return;
    if (Clip* clip = object ? object->AsClip() : nullptr) DuplicateClip(*clip, name, depth);
}

void Player::RemoveClip(avm1::Object* object) {
    if (auto* field = dynamic_cast<TextField*>(object)) {
        // Text fields at script depths go the same way.
        if (field->removed || !field->parent || field->depth < kDepthOffset) return;
        auto found = field->parent->children.find(field->depth);
        if (found != field->parent->children.end() && found->second.text == field) Remove(*field->parent, field->depth);
        return;
    }
    Clip* clip = object ? object->AsClip() : nullptr;
    if (!clip || !clip->parent || clip->removed) return;
    // Only clips at script depths (0 and up for scripts) can be removed.
    if (clip->depth < kDepthOffset) return;
    Remove(*clip->parent, clip->depth);
}

void Player::GetUrl(avm1::Object* from, const std::string& url, const std::string& target, int, bool load_target,
                    bool load_variables) {
    std::string lower = avm1::FoldCase(target);
    if (avm1::FoldCase(url) == "fscommand:quit") {
        quit_requested_ = true;
        return;
    }
    if (load_target) {
        avm1::Object* object = ResolveTarget(from, target);
        if (Clip* clip = object ? object->AsClip() : nullptr) LoadInto(clip, -1, url, load_variables);
        return;
    }
    if (lower.rfind("_level", 0) == 0 && lower.size() > 6) {
        int level = std::atoi(lower.c_str() + 6);
        LoadInto(nullptr, level, url, load_variables);
    }
    // Other targets are browser windows: nothing to do here.
}

Clip* Player::AttachClip(Clip& parent, uint16_t character, const std::string& name, int depth, avm1::Object* init) {
    const Character* definition = parent.movie->Find(character);
    if (!definition || !definition->sprite) return nullptr;
    Remove(parent, depth);
    const Movie* owner = definition->owner ? definition->owner : parent.movie;
    Clip* clip = MakeClip(parent, owner, &definition->sprite->timeline, character, depth);
    if (!clip) return nullptr;
    if (definition->button) {
        clip->button = definition->button.get();
        clip->proto = vm_->Proto("Button");
    }
    Instance& instance = parent.children[depth];
    instance.character = character;
    instance.definition = definition;
    instance.name = name;
    instance.clip = clip;
    Initialize(*clip, true, init);
    return clip;
}

void Player::AttachBitmap(Clip& parent, avm1::Object* bitmap_data, int depth, bool smoothing) {
    Remove(parent, depth);
    static const Character attached_bitmap;
    Instance& instance = parent.children[depth];
    instance.definition = &attached_bitmap;
    instance.bitmap_data = bitmap_data;
    instance.bitmap_smoothing = smoothing;
}

Clip* Player::CreateEmptyClip(Clip& parent, const std::string& name, int depth) {
    Remove(parent, depth);
    Clip* clip = MakeClip(parent, parent.movie, &EmptyTimeline(), 0, depth);
    if (!clip) return nullptr;
    static const Character empty_sprite = [] {
        Character c;
        c.sprite = std::make_shared<Sprite>();
        return c;
    }();
    Instance& instance = parent.children[depth];
    instance.definition = &empty_sprite;
    instance.name = name;
    instance.clip = clip;
    Initialize(*clip, false);
    return clip;
}

Clip* Player::DuplicateClip(Clip& source, const std::string& name, int depth, avm1::Object* init) {
    if (!source.parent || source.removed) return nullptr;
    Clip& parent = *source.parent;
    Instance original = source.Placement();
    if (&parent.children[source.depth] != nullptr && depth == source.depth) return nullptr;
    Remove(parent, depth);
    Clip* clip = MakeClip(parent, source.movie, source.timeline, source.character, depth);
    if (!clip) return nullptr;
    clip->events = source.events;
    if (source.drawing) clip->drawing = std::make_shared<Drawing>(*source.drawing);
    Instance& instance = parent.children[depth];
    instance = original;
    instance.origin = nullptr;
    instance.placed_frame = -1;
    instance.name = name;
    instance.clip = clip;
    instance.scripted = true;
    Initialize(*clip, true, init);
    return clip;
}

void Player::SwapDepths(Clip& clip, int depth) {
    if (!clip.parent || clip.depth == depth) return;
    // Clips waiting for their unload handler keep their depth.
    if (clip.unloading || clip.depth < 0 || depth < 0) return;
    Clip& parent = *clip.parent;
    auto here = parent.children.find(clip.depth);
    if (here == parent.children.end()) return;
    Instance moving = std::move(here->second);
    parent.children.erase(here);
    auto there = parent.children.find(depth);
    if (there != parent.children.end()) {
        Instance other = std::move(there->second);
        parent.children.erase(there);
        if (other.clip) other.clip->depth = clip.depth;
        if (other.text) other.text->depth = clip.depth;
        other.origin = nullptr;
        other.scripted = true;
        parent.children[clip.depth] = std::move(other);
    }
    // The timeline no longer moves what a script put at another depth.
    moving.origin = nullptr;
    moving.scripted = true;
    clip.depth = depth;
    parent.children[depth] = std::move(moving);
}

Matrix Player::StageMatrix(Clip& clip) {
    Matrix m;
    for (Clip* c = &clip; c && c->parent; c = c->parent) m = Multiply(c->Placement().matrix, m);
    return m;
}

}  // namespace flash
