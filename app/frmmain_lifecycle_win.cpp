// Creation, showing and closing of the main window, and the commands that
// open the other windows, help and exit.
#include "app/frmmain_win.h"

#include "app/application_win.h"
#include "app/error_box_win.h"
#include "app/executable_path_win.h"
#include "app/forms_win.h"
#include "app/frmabout_win.h"
#include "app/frmset_win.h"
#include "app/startup_files.h"
#include "app/startup_movie_win.h"
#include "app/stay_on_top_win.h"
#include "app/trace.h"
#include "app/wide_text_win.h"
#include "flash/flash_control_win.h"

#include <shellapi.h>

#include <exception>

namespace {

// Shows a secondary window without making it modal and puts it above all
// other windows where it is.
void ShowOnTop(HWND window) {
    ShowWindow(window, SW_SHOW);
    RECT r;
    GetWindowRect(window, &r);
    SetWindowPos(window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
}

}  // namespace

void Tfrmmain::FormCreate() {
    // A failing step ends the creation steps; the window is still shown.
    try {
        TraceStep("program folder");
        ProgramFolder = options_.program_folder.empty() ? ProgramFolderOf(ExecutablePath()) : options_.program_folder;
        ApplyVolumeBar();
        OpenConfiguration();
        TraceStep("title text");
        TitleText = L"Corvella3.0  ";
        InstallMessageHook();
        LoadSkin();
        SendVolumeLevel();
        WriteStartupMovie();
        WriteAssociations();
        TakeCommandLine();
    } catch (const std::exception& error) {
        ShowErrorBox(error);
    }
}

void Tfrmmain::ApplyVolumeBar() {
    TraceStep("apply volume bar");
    bylClick();
}

void Tfrmmain::OpenConfiguration() {
    TraceStep("open configuration");
    Config = std::make_unique<ConfigFile>(std::filesystem::path(ProgramFolder + L"\\config.ini"));
}

void Tfrmmain::InstallMessageHook() {
    TraceStep("message hook");
    SetMessageFilter([this](MSG& msg, bool& handled) { mymess(msg, handled); });
    SetMessagePreview([this](MSG& msg) { return TranslateShortcut(msg) || PreviewKey(msg); });
    DragAcceptFiles(window_, TRUE);
}

void Tfrmmain::SendVolumeLevel() {
    TraceStep("volume level");
    VolumeLevel = 100;
    SendVolume();
}

void Tfrmmain::WriteStartupMovie() {
    TraceStep("write start-up movie");
    std::wstring path = ProgramFolder + L"\\corvella.SWF";
    ReplaceStartupMovie(path, LoadStartupMovieResource());
    TraceStep("play start-up movie");
    if (flash_) flash_->SetMovie(path);
}

void Tfrmmain::FormShow() {
    TraceStep("caption");
    SetWindowTextW(window_, L"Corvella3.0 ");
    FillInformationMemo();
    ReadSettingsAtShow();
    if (PlayAtShow) {
        PlayAtShow = false;
        TraceStep("play at show");
        PlayFile(ListEntryPath(0));
    }
}

void Tfrmmain::FillInformationMemo() {
    TraceStep("information memo");
    std::wstring text;
    if (auto bytes = ReadTextFileBytes(ProgramFolder + L"\\readme.txt")) text = WithCrLf(AnsiToWide(*bytes));
    SetControlText(L"Memo3", text);
}

void Tfrmmain::ReadSettingsAtShow() {
    TraceStep("read playback settings");
    if (!Config) return;
    PlaybackSettings settings = ReadPlaybackSettings(*Config);
    NearEndFrames = settings.near_end_frames;
    SkipPlay = settings.skip_play;
    SetControlChecked(L"CheckBox3", settings.skip_play);
    StepFrames = settings.step_frames;
}

void Tfrmmain::FormClose() {
    TraceStep("close");
    if (!MediaMode) return;
    try {
        mp.Stop();
    } catch (const std::exception&) {
        // No device is open.
    }
}

void Tfrmmain::N18Click() {
    if (MenuChecked(L"N18")) {
        MakeNotTopmost(window_);
        SetMenuChecked(L"N18", false);
    } else {
        MakeTopmost(window_);
        SetMenuChecked(L"N18", true);
    }
}

void Tfrmmain::N26Click() {
    if (Tfrmabout* about = Forms().frmabout) ShowOnTop(about->Window());
}

void Tfrmmain::N36Click() {
    if (Tfrmset* settings = Forms().frmset) ShowOnTop(settings->Window());
}

void Tfrmmain::N27Click() {
    std::wstring help = ProgramFolder + L"\\帮助.chm";
    ShellExecuteW(window_, L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Tfrmmain::N28Click() {
    WriteAssociations();
    SendMessageW(window_, WM_CLOSE, 0, 0);
}
