// Plays a Movie: the display list of the main timeline and of every sprite
// frame by frame, the basic frame actions, and the frame clock. A movie that
// plays past its last frame starts again at frame 0, as Flash players do.
#pragma once

#include "flash/movie.h"

#include <map>
#include <memory>
#include <vector>

namespace flash {

struct Clip;

// One entry of a display list.
struct Instance {
    uint16_t character = 0;
    const Character* definition = nullptr;   // nullptr: nothing to draw
    const PlaceRecord* origin = nullptr;     // the tag that created it
    Matrix matrix;
    ColorTransform color;
    int ratio = 0;
    int clip_depth = 0;                      // > 0: a mask up to this depth
    std::string name;
    std::shared_ptr<Clip> clip;              // sprites only
};

// A timeline being played: the main movie or one sprite instance.
struct Clip : std::enable_shared_from_this<Clip> {
    Clip(const Timeline* timeline, Clip* parent, long born, int* live);
    ~Clip();
    Clip(const Clip&) = delete;
    Clip& operator=(const Clip&) = delete;

    const Timeline* timeline;
    Clip* parent;
    long born;                               // tick in which it was placed
    int* live;                               // the player's count of clips
    int frame = 0;
    bool playing = true;
    std::map<int, Instance> children;        // by depth, drawn in order
};

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
};

class Player {
public:
    Player();
    ~Player();

    // Starts the movie from frame 0, playing (unless frame 0 stops it).
    void Load(std::shared_ptr<const Movie> movie);
    void Unload();
    bool HasMovie() const { return movie_ != nullptr; }
    const Movie* movie() const { return movie_.get(); }
    const Clip* Root() const { return root_.get(); }

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

    // The observer is told of frames entered and calls finished; nullptr
    // for none. It must outlive the player or be removed first.
    void SetObserver(PlayerObserver* observer) { observer_ = observer; }

private:
    struct QueuedActions {
        std::weak_ptr<Clip> clip;
        const std::vector<Action>* actions;
    };

    void Step(Clip& clip);
    void Goto(Clip& clip, int frame);
    void RunFrame(Clip& clip, int frame, bool queue_actions, std::map<int, Instance>* reuse);
    void Place(Clip& clip, const PlaceRecord& place, std::map<int, Instance>* reuse);
    Instance Create(Clip& parent, const PlaceRecord& place);
    void RunQueue();
    void Run(Clip& clip, const std::vector<Action>& actions);
    // The sprite a target path names, seen from the clip; nullptr if none.
    Clip* Resolve(Clip& from, const std::string& path);

    std::shared_ptr<const Movie> movie_;
    std::shared_ptr<Clip> root_;
    std::vector<QueuedActions> queue_;
    long tick_ = 0;
    int live_clips_ = 0;
    double pending_ms_ = 0;
    PlayerObserver* observer_ = nullptr;
};

}  // namespace flash
