// The resource extraction window. Its list and export come with the SWF
// code; this is the window, created hidden at start and hidden again when
// closed.
#pragma once

#include <windows.h>

#include <string>

class Tsourcefm {
public:
    static constexpr const wchar_t* kClassName = L"Tsourcefm";
    static constexpr int kClientWidth = 509;
    static constexpr int kClientHeight = 306;

    Tsourcefm() = default;
    ~Tsourcefm();
    Tsourcefm(const Tsourcefm&) = delete;
    Tsourcefm& operator=(const Tsourcefm&) = delete;

    void Create();   // hidden
    HWND Window() const { return window_; }

    // The movie the window reads when it is opened: the Flash movie that the
    // player opened last.
    std::wstring SwfPath;

private:
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);

    HWND window_ = nullptr;
};
