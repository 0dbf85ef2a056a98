// The main window: the Flash area above the control panel, the playlist,
// the transport buttons, the two popup menus, the file dialogs and the
// polling timers.
#pragma once

#include "app/control_set_win.h"
#include "app/config.h"
#include "app/main_dialogs.h"
#include "app/popup_menu_win.h"
#include "playback/continuous_controls.h"
#include "playback/continuous_play.h"
#include "playback/file_kind.h"
#include "playback/media_player_win.h"
#include "playlist/playlist.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class FlashControl;
class TSkinData;

// Modifier keys held with a key, as the key handlers receive them.
enum KeyShift : unsigned { kKeyShift = 1, kKeyCtrl = 2, kKeyAlt = 4 };
unsigned CurrentKeyShift();

class Tfrmmain {
public:
    static constexpr const wchar_t* kClassName = L"Tfrmmain";
    static constexpr int kFirstControlId = 1000;
    static constexpr int kFirstMenu1Id = 2000;
    static constexpr int kFirstMenu2Id = 3000;

    struct Options {
        std::wstring program_folder;          // empty: the executable's folder
        std::vector<std::wstring> arguments;  // the command line without the program
        bool ends_program = true;             // closing the window ends the message loop
    };

    explicit Tfrmmain(Options options);
    ~Tfrmmain();
    Tfrmmain(const Tfrmmain&) = delete;
    Tfrmmain& operator=(const Tfrmmain&) = delete;

    // Creates the window hidden with all its controls, then runs FormCreate.
    void Create();
    // Shows the window (which runs FormShow).
    void Show();
    HWND Window() const { return window_; }

    // Controls by name.
    ControlSet& Controls() { return controls_; }
    int ControlIndex(const std::wstring& name) const;   // throws for an unknown name
    HWND ControlWindow(const std::wstring& name) const;
    std::wstring ControlText(const std::wstring& name) const;
    void SetControlText(const std::wstring& name, const std::wstring& text);
    bool ControlChecked(const std::wstring& name) const;
    // Ticks or clears a check box or radio button as a click would; its
    // click handler runs when the state changes.
    void SetControlChecked(const std::wstring& name, bool checked);
    FlashControl* flash() const { return flash_; }

    // Menus: PopupMenu1 (control panel), PopupMenu2 (playlist).
    PopupMenu& PopupMenu1() { return *menu1_; }
    PopupMenu& PopupMenu2() { return *menu2_; }
    bool MenuChecked(const std::wstring& name) const;
    void SetMenuChecked(const std::wstring& name, bool checked);
    // Runs the handler of the menu item called name, as choosing it does.
    void ClickMenuItem(const std::wstring& name);
    // Runs the click handler of a button, check box or radio button.
    void ClickControl(const std::wstring& name);

    // Timers by name ("Timer1".."Timer5").
    bool TimerEnabled(const std::wstring& name) const;
    void SetTimerEnabled(const std::wstring& name, bool enabled);
    int TimerInterval(const std::wstring& name) const;

    const FileDialogRecord& Dialog(const std::wstring& name) const { return MainWindowDialog(name); }

    // The z-order step that restores the user's stay-on-top choice.
    void ApplyStayOnTop();

    // Keyboard shortcuts of PopupMenu1, for the controls that carry it.
    // Returns true when msg was a shortcut and its command ran.
    bool TranslateShortcut(MSG& msg);
    // Key preview: the window's key handlers see key presses of its
    // controls first. Returns true when the key was used up.
    bool PreviewKey(MSG& msg);

    // Shared state of the playback code.
    std::wstring ProgramFolder;
    std::unique_ptr<ConfigFile> Config;   // "config.ini", open from creation to exit
    std::wstring TitleText;
    bool PlayAtShow = false;
    bool MediaMode = false;
    bool PictureShown = false;
    bool FlashArmed = false;
    bool MediaAtEnd = false;
    std::wstring CurrentFile;
    bool SkipPlay = false;
    int NearEndFrames = 0;
    int StepFrames = 0;
    int VolumeLevel = 0;

    // Playback: the media player (its notifications come to this window),
    // the generator of the random picks, and the steps of opening a file.
    MediaPlayer mp;
    RandomGenerator Random;
    void SendVolume();   // VolumeLevel to the wave-out volume of device 0
    void OpenFlashMovie(const std::wstring& path, const PlayLayout& layout);
    void OpenMediaFile(const std::wstring& path, const PlayLayout& layout);

    // Window events.
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormResize();
    void FormKeyDown(WORD& key, unsigned shift);
    void FormKeyUp(WORD& key, unsigned shift);
    void mymess(MSG& msg, bool& handled);
    void changeLanguage(int code);

    // Controls.
    void BitBtn1Click();
    void ListBox1Click();
    void ListBox1KeyDown(WORD& key, unsigned shift);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void ProgressBar1MouseUp(int x, int y);
    void VolImgMouseDown(int x, int y);
    void Panel10MouseDown(int x, int y);
    void bylClick();
    void Edit1Change();

    // PopupMenu1.
    void N55Click();
    void N32Click();
    void IE1Click();
    void N39Click();
    void N41Click();
    void N16Click();
    void N17Click();
    void N12Click();
    void N13Click();
    void N14Click();
    void N15Click();
    void N20Click();
    void N19Click();
    void N5Click();
    void N3Click();
    void N4Click();
    void N34Click();
    void N31Click();
    void N9Click();
    void N10Click();
    void N11Click();
    void N8Click();
    void N51Click();
    void N52Click();
    void N53Click();
    void N57Click();
    void N58Click();
    void N59Click();
    void N60Click();
    void N61Click();
    void N62Click();
    void N18Click();
    void N1Click();
    void N36Click();
    void N27Click();
    void N26Click();
    void N28Click();
    // PopupMenu2.
    void N42Click();
    void N43Click();
    void swfToExe1Click();
    void swfToMp31Click();
    void N44Click();
    void N45Click();
    void N47Click();

    // Timers.
    void Timer1Timer();
    void Timer2Timer();
    void Timer3Timer();
    void Timer4Timer();
    void Timer5Timer();

    // Opens a file in the right player (the playback code fills it in).
    void PlayFile(const std::wstring& path);

    // Playlist: the labels in ListBox1 and, in step with them, the paths in
    // the hidden Memo1 (each line ended by CR LF). Positions are 0-based.
    int ListEntryCount() const;
    std::wstring ListEntryPath(int index) const;  // "" outside the playlist
    int ListSelection() const;                    // -1: none
    void SelectListEntry(int index);              // -1 clears the selection
    void AppendEntry(const std::wstring& path);   // label in the stem form
    void AppendEntries(const std::vector<std::wstring>& paths);
    void AppendFoundEntry(const std::wstring& path, const std::wstring& file_name);  // whole-name label
    // Shows Dialog1 and appends and plays the chosen files.
    void OpenMediaFiles();
    // Appends the entries of a list file; a plain list also selects and
    // plays its first entry. Throws std::runtime_error when the file cannot
    // be read, before anything is appended.
    void LoadPlaylistFile(const std::wstring& path);
    // Writes the paths as a ".lis" file; throws std::runtime_error on failure.
    void SavePlaylistFile(const std::wstring& path) const;
    // Searches the folder tree breadth-first and appends its media files,
    // letting the interface run once per folder. Stops at SearchStopped.
    void SearchMediaFiles(const std::wstring& folder);
    bool SearchStopped = false;
    std::wstring GetBrowserCacheFolder() const;
    // The file types the program opens, under HKEY_CLASSES_ROOT. Throws
    // std::runtime_error when a key or value cannot be written.
    void RegisterFileTypes();
    void RegisterFileType(const std::wstring& extension, const std::wstring& type_name,
                          const std::wstring& description, const std::wstring& command, const std::wstring& icon);

    // Window modes, keys, language.
    // Gives the keyboard focus to the Flash control or to the window; false
    // when it cannot take it (hidden or disabled).
    bool FocusFlashArea();
    bool FocusMainWindow();
    // Disables and re-enables the Flash control.
    void ReenableFlash();
    // The tooltip text of a windowed control.
    void SetControlHint(const std::wstring& name, const std::wstring& hint);

private:
    // Window modes steps.
    void SetFlashArea(int width, int height);
    // Shows the continuous-play state on the check box, radios and menu
    // items without running their handlers.
    void ShowContinuousControls(const ContinuousControls& answer);
    int ShownProgress() const;            // the position ProgressBar1 shows
    void ResumeMediaAt(int position);     // reopens the current entry and plays on from position
    int ControlPanelWidth() const;
    int resized_width_ = 0;               // outer size FormResize last laid out
    int resized_height_ = 0;

    // Playlist steps.
    void DropFiles(WPARAM drop_handle);  // the HDROP of WM_DROPFILES
    void ShowEntriesFrom(size_t first);
    void RebuildPlaylistControls();
    void MarkPathListStale();
    static LRESULT CALLBACK PathListProc(HWND memo, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                         DWORD_PTR data);
    bool path_list_stale_ = false;
    void ShowSearchPanel();
    Playlist playlist_;

    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK ControlSubclass(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    void OnCommand(int id, int code, HWND control);
    void OnContextMenu(HWND source, int x, int y);
    void OnTimer(int id);
    void OnMouse(int index, UINT message, int x, int y);
    void RunControlHandler(int index);

    // Creation steps.
    void ApplyVolumeBar();
    void OpenConfiguration();
    void InstallMessageHook();
    void LoadSkin();
    void SendVolumeLevel();
    void WriteStartupMovie();
    void WriteAssociations();
    void TakeCommandLine();
    // Show steps.
    void FillInformationMemo();
    void ReadSettingsAtShow();

    Options options_;
    HWND window_ = nullptr;
    ControlSet controls_;
    FlashControl* flash_ = nullptr;
    std::unique_ptr<PopupMenu> menu1_;
    std::unique_ptr<PopupMenu> menu2_;
    HACCEL accelerators_ = nullptr;
    std::vector<bool> timers_enabled_;
    HBRUSH background_ = nullptr;

    // The skin of the program's windows (sd1), taken from the skin manager
    // before it is freed.
    struct SkinDataRelease {
        void operator()(TSkinData* skin) const;
    };
    std::unique_ptr<TSkinData, SkinDataRelease> sd1;
};
