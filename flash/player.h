// Plays a Movie: the display list of the main timeline and of every sprite
// frame by frame, the movie's scripts through the script machine, and the
// frame clock. A movie that plays past its last frame starts again at
// frame 0, as Flash players do. Movie clips are script objects: scripts
// and the timeline share one display list.
#pragma once

#include "flash/avm1/display_host.h"
#include "flash/avm1/object.h"
#include "flash/movie.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace flash {

namespace avm1 {
class Vm;
}

struct Clip;
struct Drawing;
struct TextField;
class Player;

// One entry of a display list.
struct Instance {
    uint16_t character = 0;
    const Character* definition = nullptr;   // nullptr: nothing to draw
    const PlaceRecord* origin = nullptr;     // the tag that created it
    int placed_frame = -1;                   // the frame whose tag created it (-1: a script)
    Matrix matrix;
    ColorTransform color;
    int ratio = 0;
    int clip_depth = 0;                      // > 0: a mask up to this depth
    std::string name;
    bool visible = true;
    // Set once a script moved or coloured it: the timeline no longer does.
    bool scripted = false;
    // The _xscale, _yscale and _rotation a script last set, read back as
    // set (the matrix keeps neither their signs nor their range).
    bool has_scale = false;
    double xscale = 100, yscale = 100, rotation = 0;
    Clip* clip = nullptr;                    // sprites (and buttons) only
    TextField* text = nullptr;               // edit text only
    std::vector<Filter> filters;
    BlendMode blend_mode = BlendMode::Normal;
    bool cache_as_bitmap = false;
    bool has_background = false;             // opaqueBackground set
    Rgba background;
    // scrollRect: the part of the object (in its own pixels) shown, with
    // its top left corner at the object's origin.
    bool has_scroll_rect = false;
    // A BitmapData that attachBitmap put here: drawn as it is at each frame.
    avm1::Object* bitmap_data = nullptr;
    bool bitmap_smoothing = false;
    double scroll_x = 0, scroll_y = 0, scroll_width = 0, scroll_height = 0;
    // Shapes the timeline had at this depth when a tag placed another
    // character there without moving: they stay on show, below it.
    std::vector<Instance> beneath;
};

// Scripts see depth d of the file as d - kDepthOffset, and place clips from
// script depth -kDepthOffset up to kHighestScriptDepth.
constexpr int kDepthOffset = 16384;
constexpr int kHighestScriptDepth = 2130690044;

// A timeline being played: the main movie or one sprite instance. It is a
// script object: its properties (_x, _currentframe...) and its named
// children are seen by scripts as members.
struct Clip : avm1::Object {
    Clip(Player* player, const Movie* movie, const Timeline* timeline, Clip* parent, int depth, long born);
    ~Clip() override;

    const char* TypeOf() const override { return button ? "object" : "movieclip"; }
    Clip* AsClip() override { return this; }
    bool IsRemoved() const override { return removed; }
    bool GetVirtual(avm1::Vm& vm, const std::string& name, avm1::Value* out) override;
    bool GetBuiltIn(avm1::Vm& vm, const std::string& name, avm1::Value* out) override;
    bool SetVirtual(avm1::Vm& vm, const std::string& name, const avm1::Value& value) override;
    void TraceRefs(avm1::Tracer& tracer) override;
    void ChildKeys(std::vector<std::string>& keys) override;
    avm1::Object* NamedChild(const std::string& name, bool case_sensitive);

    // The display list entry that shows this clip (the player's own entry
    // for the root).
    Instance& Placement();
    // The display object properties of version 8 (opaqueBackground,
    // scrollRect, cacheAsBitmap, blendMode); false for any other name.
    bool GetDisplayProperty(avm1::Vm& vm, const std::string& name, avm1::Value* out);
    bool SetDisplayProperty(avm1::Vm& vm, const std::string& name, const avm1::Value& value);

    Player* player;
    const Movie* movie;                      // the dictionary its timeline uses
    const Timeline* timeline;
    Clip* parent;
    int depth;                               // in the parent's list
    long born;                               // tick in which it was placed
    int frame = 0;
    bool playing = true;
    bool removed = false;                    // taken off the display list
    bool loaded = false;                     // its load event has run
    // Taken off the timeline with an unload handler to run: it waits at its
    // unload depth, still on the list, until the next frame removes it.
    bool unloading = false;
    uint16_t character = 0;                  // the sprite it plays (0: root or empty)
    std::string original_name;               // its instance name when it was placed
    std::vector<ClipAction> events;          // onClipEvent handlers
    std::map<int, Instance> children;        // by depth, drawn in order
    // Buttons: the definition, and the state whose records are the children.
    const Button* button = nullptr;
    int button_state = 0;                    // ButtonState
    std::shared_ptr<Drawing> drawing;        // what the drawing methods made, under the children
    Clip* mask = nullptr;                    // setMask: shows only where this clip draws
    bool masking = false;                    // is some clip's mask: not drawn itself
    TextField* text_mask = nullptr;          // setMask with a text field: shows only where its text draws
    // The entry that showed it, kept once it is taken off the list.
    std::unique_ptr<Instance> detached;
};

// What a button shows, and where the pointer is against it.
enum ButtonState { kButtonUp = 0, kButtonOver = 1, kButtonDown = 2 };

class Player;

// Told what the player does, so that the movie's sound can follow it.
class PlayerObserver {
public:
    virtual ~PlayerObserver() = default;
    // The clip arrived on frame by a tick or a jump (not the frames a jump
    // passes through); the frame's actions have not run yet.
    virtual void FrameEntered(Clip& clip, int frame) = 0;
    // A call on the player (load, unload, tick, goto, play, stop) is over.
    virtual void Settled(Player& player) = 0;
    // A script stopped every sound (stopAllSounds).
    virtual void SoundsStopped() {}
};

class Player : public avm1::DisplayHost {
public:
    Player();
    ~Player() override;

    // Starts the movie from frame 0, playing (unless frame 0 stops it).
    void Load(std::shared_ptr<const Movie> movie);
    void Unload();
    bool HasMovie() const { return movie_ != nullptr; }
    const Movie* movie() const { return movie_.get(); }
    const Clip* Root() const { return root_; }
    avm1::Vm* vm() { return vm_.get(); }

    int TotalFrames() const;
    int CurrentFrame() const;          // 0-based
    bool IsPlaying() const;
    void Play();
    void Stop();
    // Moves the main timeline to frame (clamped to the movie) without
    // changing the play state; the target frame's actions run.
    void GotoFrame(int frame);
    // Returns false when the movie has no such label.
    bool GotoLabel(const std::string& label);

    // One tick of the frame clock: every playing timeline moves one frame.
    void Advance();
    // Moves the clock on by elapsed milliseconds; returns the ticks run.
    int AdvanceTime(double milliseconds);
    // Frames per second the clock runs at (the movie's rate, kept sensible).
    double FrameRate() const;

    // Actions one script may run before it is cut off, for the movies loaded
    // from now on (the machine's own limit when unset).
    void SetScriptStepLimit(uint64_t steps) { step_limit_ = steps; }
    // Where trace() lines go (nothing when unset).
    void SetTraceSink(std::function<void(const std::string&)> sink);
    // Fixes the clock scripts see: local time of the movie's start, seconds
    // since 1970 UTC, and the local offset from UTC in minutes.
    void SetClock(double epoch_seconds, int utc_offset_minutes);

    // ---- what scripts ask of the display ----
    avm1::Object* ResolveTarget(avm1::Object* from, const std::string& path) override;
    avm1::Object* RootClip() override { return root_; }
    avm1::Object* RootOf(avm1::Object* from) override;
    avm1::Object* Relocate(avm1::Object* removed) override;
    std::string DottedPath(avm1::Object* clip) override;
    std::string SlashPath(avm1::Object* clip) override;
    void GotoFrame(avm1::Object* clip, int frame, bool play) override;
    bool GotoLabel(avm1::Object* clip, const std::string& label, bool play) override;
    void SetPlaying(avm1::Object* clip, bool playing) override;
    int CurrentFrame(avm1::Object* clip) override;
    int TotalFrames(avm1::Object* clip) override;
    int FramesLoaded(avm1::Object* clip) override;
    int FindLabel(avm1::Object* clip, const std::string& label) override;
    void CallFrame(avm1::Object* clip, int frame) override;
    void CloneClip(avm1::Object* clip, const std::string& name, int depth) override;
    void RemoveClip(avm1::Object* clip) override;
    void StartDrag(avm1::Object* clip, bool lock_center, bool constrain, double left, double top, double right,
                   double bottom) override;
    void StopDrag() override;
    void GetUrl(avm1::Object* from, const std::string& url, const std::string& target, int method, bool load_target,
                bool load_variables) override;
    void StopSounds() override {
        if (observer_) observer_->SoundsStopped();
    }

    // Script-made clips (attachMovie, createEmptyMovieClip,
    // duplicateMovieClip): placed at depth in parent's list, replacing what
    // is there; nullptr when the character is not a sprite.
    // init: an object whose properties the new clip gets before its
    // constructor and first frame run (nullptr for none).
    Clip* AttachClip(Clip& parent, uint16_t character, const std::string& name, int depth,
                     avm1::Object* init = nullptr);
    // Shows a BitmapData at depth of parent (attachBitmap).
    void AttachBitmap(Clip& parent, avm1::Object* bitmap_data, int depth, bool smoothing);
    Clip* CreateEmptyClip(Clip& parent, const std::string& name, int depth);
    Clip* DuplicateClip(Clip& clip, const std::string& name, int depth, avm1::Object* init = nullptr);
    // Moves the clip to another depth of its parent, swapping with what is there.
    void SwapDepths(Clip& clip, int depth);
    // The bounds of what the clip draws, in its own coordinates (twips);
    // false when it draws nothing.
    bool ClipBounds(Clip& clip, double* xmin, double* ymin, double* xmax, double* ymax);
    // The matrix from the clip's coordinates to the stage's.
    Matrix StageMatrix(Clip& clip);
    double mouse_x = 0, mouse_y = 0;         // stage twips
    // Set by the first getBounds asked as version 8 would (code of version 8,
    // or in a movie loaded under one of version 8): from then on, empty
    // bounds measured in another clip's space come out through single
    // precision (2^27 twips rather than 2^27 - 1).
    bool single_precision_bounds = false;
    Clip* dragged = nullptr;

    // ---- input (input.cpp) ----
    // Pointer position in stage twips, and the left button.
    void MouseMove(double x, double y);
    void MouseDown();
    void MouseUp();
    // A key went down or up: the key code scripts see (Key.getCode) and its
    // character (0 for none).
    void KeyDown(int code, int ascii);
    void KeyUp(int code, int ascii);
    // Whether the pointer is over a button or clip that shows the hand.
    bool CursorIsHand();
    // The button or clip with mouse handlers under a stage point, topmost
    // first; nullptr for none.
    Clip* MouseTarget(double x, double y);
    // Whether what the clip draws (or a button's hit area) covers the point
    // of the root's coordinates; with shape false, its bounding box is enough.
    bool HitsPoint(Clip& clip, double x, double y, bool shape);
    // The matrix from the clip's coordinates to the window's stage: its
    // stage matrix under the root's own transform. Hit tests use it.
    Matrix WorldMatrix(Clip& clip);
    // Shows a button's state: the state's records become its children.
    void SetButtonState(Clip& button, int state);

    // Runs one frame's DoAction lists of a clip now.
    void RunFrameActions(Clip& clip, int frame);

    // Where the movie came from: relative paths it loads are found there.
    void SetBaseFolder(const std::filesystem::path& folder);
    // Loads a local movie (or, with variables, a file of name=value pairs)
    // into a clip, or into level when target is nullptr, at the end of the
    // frame; an empty url unloads. loader is a MovieClipLoader to tell.
    void LoadInto(Clip* target, int level, const std::string& url, bool variables, avm1::Object* loader = nullptr);
    // The levels above _level0 that loaded movies made, by number.
    const std::map<int, Clip*>& Levels() const { return levels_; }
    // Bytes loaded and total of the movie a clip plays (its own file).
    uint32_t MovieBytes(const Clip& clip) const;

    // Whether a script asked the player to close (fscommand "quit").
    bool QuitRequested() const { return quit_requested_; }

    // The observer is told of frames entered and calls finished; nullptr
    // for none. It must outlive the player or be removed first.
    void SetObserver(PlayerObserver* observer) { observer_ = observer; }

private:
    struct Queued {
        Clip* clip;
        ActionBytes actions;                 // run as the clip's code, or
        std::string method;                  // the clip's method of this name
    };

    void Step(Clip& clip);
    void StepAll();
    void Goto(Clip& clip, int frame);
    // rewinding: the frame is replayed by a jump back over what stayed on
    // the display list. Placements in skipped are passed over.
    void RunFrame(Clip& clip, int frame, bool queue_actions, bool rewinding,
                  const std::set<const PlaceRecord*>* skipped = nullptr);
    // The placements of the frames a jump passes through (first to last,
    // the last one excluded) that a later removal in the same jump takes
    // away again: such objects are never made.
    std::set<const PlaceRecord*> PlacedAndRemoved(const Timeline& timeline, int first, int last) const;
    void Place(Clip& clip, const PlaceRecord& place, int frame, bool rewinding);
    Instance Create(Clip& parent, const PlaceRecord& place);
    Clip* MakeClip(Clip& parent, const Movie* movie, const Timeline* timeline, uint16_t character, int depth);
    // A clip is ready to show: its class constructor, events and frame 0.
    void Initialize(Clip& clip, bool queue_frame, avm1::Object* init = nullptr);
    void Remove(Clip& parent, int depth);
    // Whether the clip has an unload handler (clip event or onUnload).
    bool HasUnloadHandler(Clip& clip);
    // Takes off the list the clips that waited there for their unload
    // handler to run.
    void RemoveUnloaded();
    void QueueEvent(Clip& clip, uint32_t event, const char* method);
    // The unload events of a clip taken off the list: its children's first.
    void QueueUnload(Clip& clip);
    void RunQueue();
    void RunTimers();
    void RunQueued(const Queued& item);
    void RunInitActions(Clip& clip, const ControlTag& tag);
    void CollectGarbage();
    // input.cpp
    void ButtonTransition(Clip& target, uint16_t condition);
    void ClipMouseEvent(Clip& clip, uint32_t event, const char* method);
    void EveryClip(Clip& clip, const std::function<void(Clip&)>& visit);
    void MoveDragged();
    void RunButtonKeys(Clip& clip, int key);
    struct PendingLoad {
        Clip* target;
        int level;
        std::string url;
        bool variables;
        avm1::Object* loader;
    };
    void ProcessLoads();
    void LoadMovieNow(const PendingLoad& load);
    void LoadVariablesNow(const PendingLoad& load);
    void TellLoader(avm1::Object* loader, const char* event, Clip* target, avm1::Args extra = {});
    // Makes a clip play another movie from its first frame.
    void ReplaceContent(Clip& clip, std::shared_ptr<const Movie> movie);
    std::filesystem::path base_folder_;
    std::vector<PendingLoad> pending_loads_;
    std::vector<std::shared_ptr<const Movie>> loaded_movies_;
    std::map<int, Clip*> levels_;

    std::shared_ptr<const Movie> movie_;
    std::unique_ptr<avm1::Vm> vm_;
    Clip* root_ = nullptr;
    Instance root_instance_;
    std::vector<Queued> queue_;
    // Every clip in the order it was made; each tick steps them newest first.
    std::vector<Clip*> clips_;
    std::set<std::pair<const Movie*, uint16_t>> init_done_;   // movie, sprite
    long tick_ = 0;
    int live_clips_ = 0;
    int unnamed_count_ = 0;                  // names "instance1", "instance2"...
    double pending_ms_ = 0;
    double frame_rate_ = 0;                  // of the movie loaded first
    uint64_t step_limit_ = 0;                // 0: the machine's own
    std::function<void(const std::string&)> trace_sink_;
    double epoch_seconds_ = 0;
    int utc_offset_minutes_ = 0;
    // Input: what the pointer is over, what was pressed, the drag.
    Clip* hovered_ = nullptr;
    Clip* pressed_ = nullptr;
    bool mouse_down_ = false;
    bool pressed_outside_ = false;           // the pointer left what it pressed
    struct Drag {
        bool lock_center = false;
        bool constrain = false;
        double left = 0, top = 0, right = 0, bottom = 0;   // twips, parent space
        double offset_x = 0, offset_y = 0;                 // clip minus pointer
    } drag_;

    friend struct Clip;

    PlayerObserver* observer_ = nullptr;
    bool quit_requested_ = false;
};

// Marks a clip taken off the display list, with everything inside it.
void MarkRemoved(Clip* clip);

// The empty timeline of clips made by createEmptyMovieClip.
const Timeline& EmptyTimeline();

}  // namespace flash
