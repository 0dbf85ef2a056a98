// The application as a whole: its title, the hidden window that owns the
// secondary windows, the message filter and the message loop.
#pragma once

#include <windows.h>

#include <functional>

inline constexpr const wchar_t* kApplicationTitle = L"Corvella3.0";

// A window titled kApplicationTitle that owns the main window and the
// secondary windows, so that they stay off the task bar and keep their own
// place in the z-order. Shown (without size), it is the program's one task
// bar button, which keeps its title while the main window's caption changes.
HWND ApplicationWindow();

// Shows or hides the task bar button.
void ShowApplicationButton(bool shown);

// Minimising the application hides its visible windows and leaves the task
// bar button minimised; restoring the button shows them again and gives the
// last active one the activation.
void MinimizeApplication();
void RestoreApplication();

// The application-wide message filter: called for every message the loop
// takes from the queue, before anything else sees it. Setting handled ends
// the message there. An empty function removes the filter.
using MessageFilter = std::function<void(MSG& msg, bool& handled)>;
void SetMessageFilter(MessageFilter filter);

// What the loop does with a message after the filter: keyboard shortcuts
// and key preview. Returns true when the message is used up.
using MessagePreview = std::function<bool(MSG& msg)>;
void SetMessagePreview(MessagePreview preview);

// Runs one message through the filter, the preview, then translation and
// dispatch.
void ProcessMessage(MSG& msg);
// Processes the messages waiting in the queue, then returns (tests, and
// code that waits for a window to settle).
void ProcessPendingMessages();
// Runs until WM_QUIT; returns its exit code.
int RunMessageLoop();
