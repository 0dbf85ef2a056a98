// How single files enter the playlist: the first command-line argument and
// files dropped on the main window.
#pragma once

#include <string>
#include <string_view>

struct CommandLineIntake {
    std::wstring path;         // the argument without leading and trailing blanks
    bool play_at_show = false; // ".SWF" or ".MP3": append, select entry 0, play when shown
    bool load_list = false;    // ".LIS": load the list, select entry 0 and play it at once
};

// The argument's last four characters (trimmed, upper-cased) decide ".SWF"
// and ".MP3"; the last four characters of its file name decide ".LIS". The
// two tests are independent; any other argument adds nothing.
CommandLineIntake ClassifyCommandLineArgument(std::wstring_view argument);

struct DropIntake {
    bool load_list = false;  // a playlist file: LoadPlaylistFile
    bool append = false;     // a media file: append an entry
};

// Each dropped file is tested against both lists, independently.
DropIntake ClassifyDroppedFile(std::wstring_view path);
