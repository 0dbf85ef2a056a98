// Continuous play: the polling timers that notice the end of a movie or a
// media file and play the next, a random or the same entry, and the check
// boxes, radio buttons and radio menu items that set the mode. Every tick
// swallows its failures; the next tick tries again.
#include "app/frmmain_playback_win.h"

#include "app/frmset_win.h"
#include "app/forms_win.h"
#include "flash/flash_control_win.h"
#include "playback/continuous_controls.h"
#include "playback/progress_text.h"

using namespace playback;

namespace {

// What every timer reads: the playlist, the mode and the playback state.
PlaybackSnapshot BaseSnapshot(const Tfrmmain& form) {
    PlaybackSnapshot state;
    state.entry_count = PlaylistCount(form);
    state.selection = PlaylistSelection(form);
    state.media_mode = form.MediaMode;
    state.flash_armed = form.FlashArmed;
    state.skip_play = form.SkipPlay;
    state.loop = form.ControlChecked(L"CheckBox2");
    state.mode = form.MenuChecked(L"N20")   ? ContinuousMode::kInOrder
                 : form.MenuChecked(L"N19") ? ContinuousMode::kRandom
                                            : ContinuousMode::kOff;
    state.near_end_frames = form.NearEndFrames;
    state.media_at_end = form.MediaAtEnd;
    return state;
}

PlaybackSnapshot FlashSnapshot(const Tfrmmain& form) {
    PlaybackSnapshot state = BaseSnapshot(form);
    const FlashControl& flash = Flash(form);
    state.is_playing = flash.IsPlaying();
    state.current_frame = flash.CurrentFrame();
    state.total_frames = flash.TotalFrames();
    return state;
}

PlaybackSnapshot MediaSnapshot(const Tfrmmain& form) {
    PlaybackSnapshot state = BaseSnapshot(form);
    state.media_position = form.mp.Position();
    state.bar_max = ProgressRange(form).max;
    return state;
}

void WriteFlashProgress(Tfrmmain& form, const std::wstring& title) {
    const FlashControl& flash = Flash(form);
    SetProgressText(form, FlashProgressText(title, form.CurrentFile, flash.FrameNum(), flash.TotalFrames()));
}

// Selects the entry and plays the path at the selection; when the entry
// cannot be selected, the selection stays and its path plays.
void PlayEntry(Tfrmmain& form, int entry) {
    SelectPlaylistEntry(form, entry);
    if (std::optional<std::wstring> path = PlaylistPath(form, PlaylistSelection(form))) form.PlayFile(*path);
}

void RunFlashActions(Tfrmmain& form, const FlashTickActions& actions) {
    if (actions.skip_to_frame >= 0) {
        Flash(form).GotoFrame(actions.skip_to_frame);
        Flash(form).Play();
    }
    if (actions.reset_frame) Flash(form).SetFrameNum(0);
    if (actions.play_entry >= 0) PlayEntry(form, actions.play_entry);
}

}  // namespace

void Tfrmmain::Timer2Timer() {
    if (PlaylistCount(*this) == 0 || MediaMode) return;
    try {
        FlashTickActions actions = Timer2Tick(FlashSnapshot(*this), Random);
        if (actions.write_progress) WriteFlashProgress(*this, TitleText);
        RunFlashActions(*this, actions);
    } catch (const std::exception&) {
    }
}

void Tfrmmain::Timer3Timer() {
    try {
        FlashTickActions actions = Timer3Tick(FlashSnapshot(*this));
        RunFlashActions(*this, actions);
        if (actions.write_progress) WriteFlashProgress(*this, L"");
    } catch (const std::exception&) {
    }
}

void Tfrmmain::Timer4Timer() {
    if (!MediaMode) return;
    try {
        SetProgressPosition(*this, mp.Position());
        MediaTickActions actions = Timer4Tick(MediaSnapshot(*this), Random);
        if (actions.restart) mp.Play();
        if (actions.play_entry >= 0) PlayEntry(*this, actions.play_entry);
    } catch (const std::exception&) {
    }
}

void Tfrmmain::Timer5Timer() {
    if (!MediaMode) return;
    try {
        MediaEndActions actions = Timer5Tick(MediaSnapshot(*this));
        MediaAtEnd = actions.media_at_end;
        std::wstring text = MediaProgressText(TitleText, CurrentFile);
        SetProgressText(*this, text);
        SetWindowTextW(window_, text.c_str());
    } catch (const std::exception&) {
    }
}

// The mode controls. Ticking a control from code runs its handler when its
// state changes, so these handlers call one another once and then stop.

void Tfrmmain::CheckBox1Click() {
    bool continuous = ControlChecked(L"CheckBox1");
    controls_.SetEnabled(ControlIndex(L"RadioButton1"), continuous);
    controls_.SetEnabled(ControlIndex(L"RadioButton2"), continuous);
    SetMenuChecked(L"N20", ControlChecked(L"RadioButton1"));
    SetMenuChecked(L"N19", ControlChecked(L"RadioButton2"));
    if (!continuous) {
        SetMenuChecked(L"N20", false);
        SetMenuChecked(L"N19", false);
    }
    FocusFlash(*this);
}

void Tfrmmain::RadioButton1Click() {
    N20Click();
    FocusFlash(*this);
}

void Tfrmmain::RadioButton2Click() {
    N19Click();
    FocusFlash(*this);
}

void Tfrmmain::N20Click() {
    SetMenuChecked(L"N20", true);
    SetControlChecked(L"CheckBox1", true);
    SetControlChecked(L"RadioButton1", true);
}

void Tfrmmain::N19Click() {
    SetMenuChecked(L"N19", true);
    SetControlChecked(L"CheckBox1", true);
    SetControlChecked(L"RadioButton2", true);
}

void Tfrmmain::CheckBox2Click() {
    if (!MediaMode) {
        FlashTimers timers = FlashTimersForLoop(ControlChecked(L"CheckBox2"));
        SetTimerEnabled(L"Timer2", timers.timer2);
        SetTimerEnabled(L"Timer3", timers.timer3);
    }
    FocusFlash(*this);
}

void Tfrmmain::CheckBox3Click() {
    SkipPlay = ControlChecked(L"CheckBox3");
    if (Tfrmset* settings = Forms().frmset) settings->SetSkipChecked(SkipPlay);
    if (Config) WriteAutoSkip(*Config, SkipPlay);
    FocusFlash(*this);
}
