// Opening a file in the right player, the playlist click, the start button,
// the transport commands and the Flash progress timer.
#include "app/frmmain_playback_win.h"

#include "app/error_box_win.h"
#include "app/forms_win.h"
#include "swf/sourcefm_win.h"
#include "app/trace.h"
#include "flash/flash_control_win.h"
#include "playback/continuous_controls.h"
#include "playback/file_kind.h"
#include "playback/play_file.h"
#include "playback/transport.h"

#include <commctrl.h>

#include <stdexcept>

namespace playback {

int PlaylistCount(const Tfrmmain& form) { return form.ListEntryCount(); }

int PlaylistSelection(const Tfrmmain& form) { return form.ListSelection(); }

bool SelectPlaylistEntry(Tfrmmain& form, int index) {
    if (index < 0 || index >= form.ListEntryCount()) return false;
    form.SelectListEntry(index);
    return true;
}

std::optional<std::wstring> PlaylistPath(const Tfrmmain& form, int index) {
    if (index < 0 || index >= form.ListEntryCount()) return std::nullopt;
    return form.ListEntryPath(index);
}

BarRange ProgressRange(const Tfrmmain& form) {
    PBRANGE range{};
    SendMessageW(form.ControlWindow(L"ProgressBar1"), PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh};
}

void SetProgressRange(Tfrmmain& form, int64_t min, int64_t max) {
    SendMessageW(form.ControlWindow(L"ProgressBar1"), PBM_SETRANGE32, static_cast<WPARAM>(static_cast<int>(min)),
                 static_cast<LPARAM>(static_cast<int>(max)));
}

int64_t ProgressPosition(const Tfrmmain& form) {
    return static_cast<int>(SendMessageW(form.ControlWindow(L"ProgressBar1"), PBM_GETPOS, 0, 0));
}

void SetProgressPosition(Tfrmmain& form, int64_t position) {
    BarRange range = ProgressRange(form);
    int64_t clamped = ClampToBar(position, range.min, range.max);
    SendMessageW(form.ControlWindow(L"ProgressBar1"), PBM_SETPOS, static_cast<WPARAM>(static_cast<int>(clamped)), 0);
}

void SetProgressText(Tfrmmain& form, const std::wstring& text) {
    form.SetControlText(L"PlayFileinfo", text);
    form.SetControlText(L"PlayFileinfo1", text);
}

FlashControl& Flash(const Tfrmmain& form) {
    if (!form.flash()) throw std::runtime_error("The Flash control is not available.");
    return *form.flash();
}

void FocusFlash(const Tfrmmain& form) {
    if (form.flash()) SetFocus(form.flash()->Window());
}

void ReportError(const std::exception& error) { ShowErrorBox(error); }

}  // namespace playback

using namespace playback;

namespace {

constexpr wchar_t kEmptyMovie[] = L"c:\\corvella.SWF";

bool FileExists(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

SIZE OuterSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void SetOuterSize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ShowControl(Tfrmmain& form, const wchar_t* name, bool visible) {
    form.Controls().SetVisible(form.ControlIndex(name), visible);
}

void ShowProgressLabels(Tfrmmain& form, bool visible) {
    ShowControl(form, L"PlayFileinfo", visible);
    ShowControl(form, L"PlayFileinfo1", visible);
}

// Changes one side of a control's rectangle.
template <class Change>
void ChangeRect(Tfrmmain& form, const wchar_t* name, Change change) {
    int index = form.ControlIndex(name);
    LayoutRect rect = form.Controls().Rect(index);
    change(rect);
    form.Controls().SetRect(index, rect);
}

WindowShape ShapeOf(Tfrmmain& form) {
    SIZE size = OuterSize(form.Window());
    return {static_cast<int>(size.cx), static_cast<int>(size.cy), form.Controls().Rect(form.ControlIndex(L"flash")).height};
}

}  // namespace

void Tfrmmain::PlayFile(const std::wstring& requested) {
    TraceStep("play file");
    PictureShown = true;
    std::wstring path = requested;
    if (!FileExists(path)) {
        int next = EntryAfterUnplayable(PlaylistSelection(*this), PlaylistCount(*this));
        if (next < 0) return;
        SelectPlaylistEntry(*this, next);
        path = PlaylistPath(*this, next).value_or(L"");
    }
    CurrentFile = path;
    try {
        FileKind kind = KindOfFile(path);
        PlayLayout layout = LayoutForFile(kind, ShapeOf(*this));
        if (!kind.media)
            OpenFlashMovie(path, layout);
        else
            OpenMediaFile(path, layout);
    } catch (const std::exception&) {
        int next = EntryAfterUnplayable(PlaylistSelection(*this), PlaylistCount(*this));
        if (next >= 0) SelectPlaylistEntry(*this, next);
    }
}

void Tfrmmain::OpenFlashMovie(const std::wstring& path, const PlayLayout& layout) {
    ShowProgressLabels(*this, true);
    MediaMode = false;
    PictureShown = true;
    if (Tsourcefm* sourcefm = Forms().sourcefm) sourcefm->SwfPath = path;
    if (layout.restore_normal) {
        SetOuterSize(window_, kNormalWidth, kNormalHeight);
        ChangeRect(*this, L"Panel1", [](LayoutRect& r) { r.height = kNormalPanelHeight; });
        controls_.Realign();
    }
    try {
        mp.Stop();
        mp.Close();
    } catch (const std::exception&) {
        // Nothing was open.
    }
    FlashControl& flash = Flash(*this);
    flash.SetMovie(path);
    SetProgressRange(*this, 0, int64_t(flash.TotalFrames()) - 1);
    SetProgressPosition(*this, 0);
    FlashTimers timers = FlashTimersForLoop(ControlChecked(L"CheckBox2"));
    SetTimerEnabled(L"Timer2", timers.timer2);
    SetTimerEnabled(L"Timer3", timers.timer3);
    SetTimerEnabled(L"Timer1", true);
    FlashArmed = true;
}

void Tfrmmain::OpenMediaFile(const std::wstring& path, const PlayLayout& layout) {
    MediaMode = true;
    if (layout.sound) {
        ShowControl(*this, L"BitBtn1", false);
        PictureShown = false;
        ShowProgressLabels(*this, false);
        if (layout.make_compact) {
            ShowControl(*this, L"Panel1", true);
            ChangeRect(*this, L"flash", [](LayoutRect& r) { r.height = 0; });
            ChangeRect(*this, L"Panel1", [](LayoutRect& r) { r.top = 0; });
            SetOuterSize(window_, kCompactWidth, kCompactHeight);
        }
    }
    if (layout.video) {
        ShowProgressLabels(*this, true);
        PictureShown = true;
        if (layout.make_video) {
            ShowControl(*this, L"BitBtn1", true);
            ShowControl(*this, L"Panel1", true);
            ChangeRect(*this, L"flash", [](LayoutRect& r) { r.height = kVideoFlashHeight; });
            SetOuterSize(window_, OuterSize(window_).cx, kVideoHeight);
        }
    }
    SetTimerEnabled(L"Timer1", true);
    FlashControl& flash = Flash(*this);
    flash.SetMovie(kEmptyMovie);
    mp.SetNotifyWindow(window_);
    mp.SetFileName(path);
    mp.Open();
    mp.Play();
    LayoutRect area = controls_.Rect(ControlIndex(L"flash"));
    mp.SetDisplay(flash.Window());
    mp.SetDisplayRect(0, 0, area.width, area.height);
    SetProgressRange(*this, 0, mp.Length());
    SetProgressPosition(*this, 0);
    SetTimerEnabled(L"Timer4", true);
    SetTimerEnabled(L"Timer1", false);
    SetTimerEnabled(L"Timer2", false);
    SetTimerEnabled(L"Timer3", false);
    FocusFlash(*this);
    MediaAtEnd = false;
}

void Tfrmmain::ListBox1Click() {
    int selection = PlaylistSelection(*this);
    if (std::optional<std::wstring> path = PlaylistPath(*this, selection)) {
        PlayFile(*path);
    } else {
        if (int64_t(selection) + 1 > PlaylistCount(*this)) return;
        SelectPlaylistEntry(*this, selection + 1);
    }
    if (!MediaMode) FocusFlash(*this);
}

void Tfrmmain::BitBtn1Click() {
    HWND button = ControlWindow(L"BitBtn1");
    RECT screen{};
    GetWindowRect(button, &screen);
    int items = static_cast<int>(MenuChildren(PopupMenu1Items(), -1).size());
    MenuPlace place = StartMenuPlace(screen.left, screen.top, controls_.Rect(ControlIndex(L"BitBtn1")).left, items,
                                     OuterSize(window_).cx);
    menu1_->Popup(window_, place.left, place.top);
    FocusFlash(*this);
}

// Transport. Every command works on the player that PlayFile started last.

void Tfrmmain::SpeedButton5Click() {
    Reported([this] {
        if (MediaMode)
            mp.Play();
        else
            Flash(*this).Play();
    });
}

void Tfrmmain::SpeedButton6Click() {
    Reported([this] {
        if (MediaMode) {
            mp.Stop();
        } else {
            FlashArmed = false;
            Flash(*this).Stop();
        }
    });
}

void Tfrmmain::SpeedButton1Click() {
    Reported([this] {
        if (MediaMode)
            mp.Seek(0);
        else
            Flash(*this).GotoFrame(0);
    });
}

void Tfrmmain::SpeedButton4Click() {
    if (PlaylistCount(*this) == 0) return;
    Reported([this] {
        if (MediaMode) {
            mp.Seek(mp.Length());
        } else {
            SetProgressPosition(*this, ProgressRange(*this).max);
            Flash(*this).GotoFrame(static_cast<int>(ProgressPosition(*this)));
        }
    });
}

namespace {

// A media seek outside the media fails inside the device and is ignored;
// without a device the failure is the command's.
void SeekInsideMedia(MediaPlayer& player, int64_t position) {
    try {
        player.Seek(static_cast<long>(position));
    } catch (const std::exception&) {
        if (!player.IsOpen()) throw;
    }
}

}  // namespace

void Tfrmmain::SpeedButton3Click() {
    if (PlaylistCount(*this) == 0) return;
    Reported([this] {
        if (MediaMode) {
            SeekInsideMedia(mp, MediaForwardTarget(mp.Position(), StepFrames));
            mp.Play();
        } else if (auto frame = FlashForwardFrame(ProgressPosition(*this), ProgressRange(*this).max, StepFrames)) {
            Flash(*this).GotoFrame(static_cast<int>(*frame));
        }
    });
}

void Tfrmmain::SpeedButton2Click() {
    if (PlaylistCount(*this) == 0) return;
    Reported([this] {
        if (MediaMode) {
            SeekInsideMedia(mp, MediaBackTarget(ProgressPosition(*this), StepFrames));
            mp.Play();
        } else if (auto frame = FlashBackFrame(ProgressPosition(*this), StepFrames)) {
            Flash(*this).GotoFrame(static_cast<int>(*frame));
        }
    });
}

void Tfrmmain::ProgressBar1MouseUp(int x, int) {
    if (PlaylistCount(*this) == 0) return;
    Reported([this, x] {
        BarRange range = ProgressRange(*this);
        SIZE bar = OuterSize(ControlWindow(L"ProgressBar1"));
        std::optional<int64_t> position = SeekPositionFromClick(range.min, range.max, x, static_cast<int>(bar.cx));
        if (!position) return;
        SetProgressPosition(*this, *position);
        if (MediaMode) {
            SeekInsideMedia(mp, ProgressPosition(*this));
            mp.Play();
        } else {
            Flash(*this).GotoFrame(static_cast<int>(ProgressPosition(*this)));
            Flash(*this).Play();
        }
    });
}

void Tfrmmain::Timer1Timer() {
    try {
        SetProgressPosition(*this, Flash(*this).FrameNum());
        SetWindowTextW(window_, TitleText.c_str());
    } catch (const std::exception&) {
        // The next tick tries again.
    }
}
