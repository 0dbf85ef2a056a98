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

// The mode controls. The decisions are ContinuousControls'; the handlers
// read the controls into it, let it take the click and show its answer.

namespace {

ContinuousControls ReadContinuousControls(const Tfrmmain& form) {
    ContinuousState state;
    state.continuous = form.ControlChecked(L"CheckBox1");
    state.in_order_radio = form.ControlChecked(L"RadioButton1");
    state.radios_enabled = IsWindowEnabled(form.ControlWindow(L"RadioButton1")) != FALSE;
    state.in_order_item = form.MenuChecked(L"N20");
    state.random_item = form.MenuChecked(L"N19");
    return ContinuousControls(state);
}

}  // namespace

void Tfrmmain::ShowContinuousControls(const ContinuousControls& answer) {
    ContinuousState state = answer.State();
    controls_.SetCheckState(ControlIndex(L"CheckBox1"), state.continuous);
    controls_.SetCheckState(ControlIndex(L"RadioButton1"), state.in_order_radio);
    controls_.SetCheckState(ControlIndex(L"RadioButton2"), !state.in_order_radio);
    controls_.SetEnabled(ControlIndex(L"RadioButton1"), state.radios_enabled);
    controls_.SetEnabled(ControlIndex(L"RadioButton2"), state.radios_enabled);
    SetMenuChecked(L"N20", state.in_order_item);
    SetMenuChecked(L"N19", state.random_item);
}

void Tfrmmain::CheckBox1Click() {
    // The check box shows its new state already.
    ContinuousControls controls = ReadContinuousControls(*this);
    controls.ContinuousTicked(ControlChecked(L"CheckBox1"));
    ShowContinuousControls(controls);
    FocusFlash(*this);
}

void Tfrmmain::RadioButton1Click() {
    ContinuousControls controls = ReadContinuousControls(*this);
    controls.ClickInOrderRadio();
    ShowContinuousControls(controls);
    FocusFlash(*this);
}

void Tfrmmain::RadioButton2Click() {
    ContinuousControls controls = ReadContinuousControls(*this);
    controls.ClickRandomRadio();
    ShowContinuousControls(controls);
    FocusFlash(*this);
}

void Tfrmmain::N20Click() {
    ContinuousControls controls = ReadContinuousControls(*this);
    controls.ClickInOrderItem();
    ShowContinuousControls(controls);
}

void Tfrmmain::N19Click() {
    ContinuousControls controls = ReadContinuousControls(*this);
    controls.ClickRandomItem();
    ShowContinuousControls(controls);
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
