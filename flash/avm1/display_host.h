// What the script machine asks of the display side: finding clips by
// path, moving their timelines, cloning and removing them, dragging,
// loading. The player implements it; with no host these do nothing.
#pragma once

#include "flash/avm1/value.h"

#include <string>

namespace flash::avm1 {

class Object;

class DisplayHost {
public:
    virtual ~DisplayHost() = default;

    // The clip a target path names ("/a/b", "_root.a", "../b", "_level0"),
    // seen from the clip `from`; nullptr when there is none.
    virtual Object* ResolveTarget(Object* from, const std::string& path) = 0;
    virtual Object* RootClip() = 0;
    // What _root names for code of the clip `from`: the nearest clip above
    // it (or itself) with _lockroot set, else its level.
    virtual Object* RootOf(Object* from) {
        (void)from;
        return RootClip();
    }
    // What a reference to a display object taken off the display list now
    // names: the one at the path it was made with, or nullptr.
    virtual Object* Relocate(Object*) { return nullptr; }
    // "_level0.a.b" of a display object, or "" when it is none.
    virtual std::string DottedPath(Object* clip) = 0;
    // "/a/b" of a display object ("/" for the root), or "" when it is none.
    virtual std::string SlashPath(Object* clip) = 0;

    // Timeline control; frames are 0-based.
    virtual void GotoFrame(Object* clip, int frame, bool play) = 0;
    // False when the clip has no such label.
    virtual bool GotoLabel(Object* clip, const std::string& label, bool play) = 0;
    virtual void SetPlaying(Object* clip, bool playing) = 0;
    virtual int CurrentFrame(Object* clip) = 0;   // 0-based
    virtual int TotalFrames(Object* clip) = 0;
    virtual int FramesLoaded(Object* clip) = 0;
    // The 0-based frame of a label, or -1.
    virtual int FindLabel(Object* clip, const std::string& label) = 0;
    // Runs the actions of one frame of the clip now (the Call action).
    virtual void CallFrame(Object* clip, int frame) = 0;

    virtual void CloneClip(Object* clip, const std::string& name, int depth) = 0;
    virtual void RemoveClip(Object* clip) = 0;
    virtual void StartDrag(Object* clip, bool lock_center, bool constrain, double left, double top, double right,
                           double bottom) = 0;
    virtual void StopDrag() = 0;
    // GetURL: a local file loads into the target level or clip; the rest is
    // ignored. method: 0 none, 1 GET, 2 POST; load_variables for
    // loadVariables.
    virtual void GetUrl(Object* from, const std::string& url, const std::string& target, int method,
                        bool load_target, bool load_variables) = 0;
    virtual void ToggleQuality() {}
    virtual void StopSounds() {}
};

}  // namespace flash::avm1
