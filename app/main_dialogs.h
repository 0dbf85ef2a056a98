// The file dialogs of the main window and the timers, as data.
#pragma once

#include <string>
#include <vector>

struct FileDialogRecord {
    std::wstring name;
    bool save = false;              // save dialog, else open dialog
    std::wstring title;             // empty: the platform's default title
    std::wstring filter;            // "caption|patterns|caption|patterns..."
    int filterIndex = 1;            // 1-based
    std::wstring defaultExtension;
    std::wstring initialFolder;
    bool multiSelect = false;
};

const std::vector<FileDialogRecord>& MainWindowDialogs();
// The dialog called name; throws std::out_of_range for an unknown name.
const FileDialogRecord& MainWindowDialog(const std::wstring& name);

// Turns "caption|patterns|caption|patterns" into the platform's filter form:
// each part ended by a NUL and the whole ended by one more NUL. A trailing
// caption without patterns gets an empty pattern list.
std::wstring FilterToDoubleNul(const std::wstring& filter);

struct TimerRecord {
    std::wstring name;
    int id;            // timer id on the main window
    int intervalMs;
    bool enabled;      // at start
};

const std::vector<TimerRecord>& MainWindowTimers();
