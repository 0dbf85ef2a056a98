// The Flash control: a child window that plays SWF movies with our engine
// and offers the operations the main window uses (Movie, TotalFrames,
// FrameNum, Quality, Zoom, Play, Stop, GotoFrame, CurrentFrame, IsPlaying).
//
// A failing call throws std::runtime_error; callers that must not stop on a
// failure (the timers) catch it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class FlashControl {
public:
    // Window class of the control; registered once per process by Create.
    static constexpr const wchar_t* kClassName = L"CorvellaFlash";

    // Creates the control as a child of parent with the given control id.
    static FlashControl* Create(HWND parent, int id, int x, int y, int width, int height);
    // The control behind a window made by Create, or nullptr.
    static FlashControl* FromWindow(HWND window);

    HWND Window() const { return window_; }

    // Loads the movie at path and plays it from frame 0. A path that cannot
    // be loaded leaves the control empty (TotalFrames 0, nothing drawn).
    void SetMovie(const std::wstring& path);
    std::wstring Movie() const;

    int TotalFrames() const;
    int FrameNum() const;          // current frame, 0-based
    void SetFrameNum(int frame);   // like GotoFrame
    int Quality() const;           // 0 low, 1 high, 2 medium
    void SetQuality(int quality);

    void Zoom(int factor);         // 50 zoom in, 200 zoom out, 0 whole movie
    void Play();
    void Stop();
    void GotoFrame(int frame);     // keeps the play state
    int CurrentFrame() const;
    bool IsPlaying() const;

    ~FlashControl();

private:
    struct State;
    explicit FlashControl(HWND window);
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    void Paint(HDC dc);
    void Tick();
    void Mouse(UINT message, LPARAM lparam);
    void Key(UINT message, WPARAM key, LPARAM lparam);
    bool CursorIsHand();

    HWND window_ = nullptr;
    std::unique_ptr<State> state_;
};
