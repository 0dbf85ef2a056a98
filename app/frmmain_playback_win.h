// What the playback handlers of the main window share: the playlist seen
// from the playback side (a selection or path that is not there is
// nothing), the progress bar, the Flash control and the error box around
// the commands.
#pragma once

#include "app/frmmain_win.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <string>

class FlashControl;

namespace playback {

int PlaylistCount(const Tfrmmain& form);
int PlaylistSelection(const Tfrmmain& form);          // -1 for none
// Selects the entry at index; false (selection unchanged) when there is none.
bool SelectPlaylistEntry(Tfrmmain& form, int index);
// The path of the entry at index, or nothing when there is no such line.
std::optional<std::wstring> PlaylistPath(const Tfrmmain& form, int index);

// ProgressBar1. Positions written are clamped to the bar's range.
struct BarRange {
    int64_t min = 0;
    int64_t max = 0;
};
BarRange ProgressRange(const Tfrmmain& form);
void SetProgressRange(Tfrmmain& form, int64_t min, int64_t max);
int64_t ProgressPosition(const Tfrmmain& form);
void SetProgressPosition(Tfrmmain& form, int64_t position);

// Both progress labels get text.
void SetProgressText(Tfrmmain& form, const std::wstring& text);

// The Flash control; throws when the window has none.
FlashControl& Flash(const Tfrmmain& form);
// Gives the keyboard focus to the Flash control; a failure is ignored.
void FocusFlash(const Tfrmmain& form);

// Shows the failure in the error box.
void ReportError(const std::exception& error);

// Runs a command; a failure goes to the error box.
template <class Command>
void Reported(Command command) {
    try {
        command();
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

}  // namespace playback
