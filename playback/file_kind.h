// Which player plays a file, and how the main window is laid out for it.
// The extension tests are the substring tests of playlist/extensions.h.
#pragma once

#include <string_view>

// Played by the media player; every other file is a Flash movie.
inline constexpr char kMediaPlayerExtensions[] = ".AVI.MP2.MP3.MPEG.MPG.ASF.MID.WM.WMV.WAV.DAT";
// Sound only: the compact window.
inline constexpr char kSoundExtensions[] = ".MP2.MP3.MID.WM.WAV";
// Video: drawn in the Flash area.
inline constexpr char kVideoExtensions[] = ".AVI.MPEG.MPG.ASF.DAT.WMV";

// The three tests are independent: ".WM" is both sound and video.
struct FileKind {
    bool media = false;
    bool sound = false;
    bool video = false;
};

FileKind KindOfFile(std::wstring_view path);
FileKind KindOfFile(std::string_view path);

// Window sizes that the layout decisions look at.
struct WindowShape {
    int width = 0;
    int height = 0;
    int flash_height = 0;  // height of the Flash control
};

inline constexpr int kCompactBelowHeight = 200;   // a window lower than this is compact
inline constexpr int kNormalWidth = 547;          // Flash movie after the compact window
inline constexpr int kNormalHeight = 524;
inline constexpr int kNormalPanelHeight = 120;
inline constexpr int kCompactMaxWidth = 600;      // compact: no Flash area and at most this wide
inline constexpr int kCompactWidth = 555;         // sound file
inline constexpr int kCompactHeight = 130;
inline constexpr int kVideoFlashHeight = 377;     // video after the compact window
inline constexpr int kVideoHeight = 550;

// The layout steps of opening a file, to be carried out in the order of the
// fields. For a Flash movie only `restore_normal` may be set; for a media
// file the sound steps come before the video steps (".WM" takes both).
struct PlayLayout {
    bool media = false;           // MediaMode
    bool picture_shown = true;    // PictureShown when the steps are done
    // Flash movie: show the progress labels; and when the window is compact,
    // give it kNormalWidth × kNormalHeight and Panel1 kNormalPanelHeight.
    bool restore_normal = false;
    // Sound file: hide BitBtn1 and the progress labels...
    bool sound = false;
    // ...and unless the window is compact already: show Panel1, Flash
    // control 0 high, Panel1 to the top, window kCompactWidth × kCompactHeight.
    bool make_compact = false;
    // Video file: show the progress labels...
    bool video = false;
    // ...and when the window (after the sound steps) is lower than
    // kCompactBelowHeight: show BitBtn1 and Panel1, Flash control
    // kVideoFlashHeight high, window kVideoHeight high.
    bool make_video = false;
};

PlayLayout LayoutForFile(const FileKind& kind, const WindowShape& window);
