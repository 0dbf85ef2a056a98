// The transport commands on a Flash movie and on a media file, their menu
// twins, the seek by click, the Flash progress timer, and the error box when
// the media player has no device open.
#include "playback_test_support.h"

using app_test::CapturedErrors;
using playback_test::PlaybackTest;

namespace {

class TransportTest : public PlaybackTest {
protected:
    // A stopped movie of `frames` frames, playing from entry 0.
    Tfrmmain& FormWithMovie(int frames) {
        Tfrmmain& form = MakeForm();
        form.Show();
        AddEntries(form, {File(L"movie.swf", media_test::SquareMovie(frames, 12))});
        Play(form, 0);
        form.flash()->Stop();
        form.StepFrames = 8;
        return form;
    }

    static void AtFrame(Tfrmmain& form, int frame) {
        form.flash()->GotoFrame(frame);
        playback::SetProgressPosition(form, frame);
    }
};

}  // namespace

TEST_F(TransportTest, FastForwardAndBackStayInsideTheMovie) {
    Tfrmmain& form = FormWithMovie(100);
    ASSERT_EQ(BarMax(form), 99);

    AtFrame(form, 95);
    form.ClickControl(L"SpeedButton3");   // 95 + 8 is past the bar's maximum
    EXPECT_EQ(form.flash()->CurrentFrame(), 95);
    AtFrame(form, 90);
    form.ClickMenuItem(L"N12");
    EXPECT_EQ(form.flash()->CurrentFrame(), 98);

    AtFrame(form, 5);
    form.ClickControl(L"SpeedButton2");   // the step is not below the position
    EXPECT_EQ(form.flash()->CurrentFrame(), 5);
    AtFrame(form, 9);
    form.ClickMenuItem(L"N13");
    EXPECT_EQ(form.flash()->CurrentFrame(), 1);
    EXPECT_FALSE(form.flash()->IsPlaying());   // the steps keep the play state

    form.ClickMenuItem(L"N15");
    EXPECT_EQ(BarPosition(form), 99);
    EXPECT_EQ(form.flash()->CurrentFrame(), 99);
    form.ClickMenuItem(L"N14");
    EXPECT_EQ(form.flash()->CurrentFrame(), 0);
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(TransportTest, ClickOnTheBarSeeksAndPlays) {
    Tfrmmain& form = FormWithMovie(101);
    ASSERT_EQ(OuterSize(form.ControlWindow(L"ProgressBar1")).cx, 340);
    form.ProgressBar1MouseUp(170, 5);
    EXPECT_EQ(BarPosition(form), 50);
    EXPECT_EQ(form.flash()->CurrentFrame(), 50);
    EXPECT_TRUE(form.flash()->IsPlaying());

    // Past the end the bar clamps the position.
    form.ProgressBar1MouseUp(400, 5);
    EXPECT_EQ(BarPosition(form), 100);
    EXPECT_EQ(form.flash()->CurrentFrame(), 100);
}

TEST_F(TransportTest, AnyMouseButtonSeeksOnTheBar) {
    Tfrmmain& form = FormWithMovie(101);
    HWND bar = form.ControlWindow(L"ProgressBar1");
    SendMessageW(bar, WM_MBUTTONUP, 0, MAKELPARAM(170, 5));
    EXPECT_EQ(BarPosition(form), 50);
    form.flash()->Stop();
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(34, 5));
    EXPECT_EQ(BarPosition(form), 10);
    EXPECT_EQ(form.flash()->CurrentFrame(), 10);
    EXPECT_TRUE(form.flash()->IsPlaying());
}

// A click on a transport button leaves the keyboard with the Flash area, so
// that the keys of the key table keep working and Space does not click again.
TEST_F(TransportTest, TransportButtonsGiveTheFocusBackToTheFlashArea) {
    Tfrmmain& form = FormWithMovie(100);
    SetForegroundWindow(form.Window());
    for (const wchar_t* name : {L"SpeedButton1", L"SpeedButton2", L"SpeedButton3", L"SpeedButton4",
                                L"SpeedButton5", L"SpeedButton6"}) {
        HWND button = form.ControlWindow(name);
        SetFocus(button);
        ASSERT_EQ(GetFocus(), button);
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        EXPECT_EQ(GetFocus(), form.flash()->Window()) << name;
    }
}

TEST_F(TransportTest, PauseDisarmsTheMovieUntilTheNextFile) {
    Tfrmmain& form = FormWithMovie(20);
    form.ClickMenuItem(L"N16");
    EXPECT_TRUE(form.flash()->IsPlaying());
    form.ClickMenuItem(L"N17");
    EXPECT_FALSE(form.flash()->IsPlaying());
    EXPECT_FALSE(form.FlashArmed);
    form.ClickControl(L"SpeedButton5");
    EXPECT_TRUE(form.flash()->IsPlaying());
    EXPECT_FALSE(form.FlashArmed);
    Play(form, 0);
    EXPECT_TRUE(form.FlashArmed);
}

TEST_F(TransportTest, FlashProgressTimerMovesTheBarAndSetsTheCaption) {
    Tfrmmain& form = FormWithMovie(30);
    form.flash()->GotoFrame(12);
    SetWindowTextW(form.Window(), L"something else");
    form.Timer1Timer();
    EXPECT_EQ(BarPosition(form), 12);
    EXPECT_EQ(WindowText(form.Window()), form.TitleText);
}

TEST_F(PlaybackTest, EmptyPlaylistLeavesTheSteppingCommandsAlone) {
    Tfrmmain& form = MakeForm();
    form.Show();
    form.MediaMode = true;   // a media player with no device would complain
    for (const wchar_t* button : {L"SpeedButton2", L"SpeedButton3", L"SpeedButton4"}) form.ClickControl(button);
    form.ProgressBar1MouseUp(100, 5);
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(PlaybackTest, CommandsWithoutAMediaDeviceShowTheErrorBox) {
    Tfrmmain& form = MakeForm();
    form.Show();
    AddEntries(form, {MissingFile(L"gone.mp3")});
    form.MediaMode = true;
    const wchar_t* commands[] = {L"N16", L"N17", L"N14", L"N15", L"N12", L"N13"};
    for (const wchar_t* item : commands) form.ClickMenuItem(item);
    form.ProgressBar1MouseUp(100, 5);
    ASSERT_EQ(CapturedErrors().size(), std::size(commands) + 1);
    for (const std::wstring& error : CapturedErrors()) EXPECT_EQ(error, L"No MCI device open");
}

TEST_F(PlaybackTest, MediaTransportSeeksStopsAndResumes) {
    Tfrmmain& form = MakeForm();
    form.Show();
    AddEntries(form, {File(L"song.wav", media_test::Tone(2000))});
    Play(form, 0);
    ASSERT_TRUE(form.mp.IsOpen());
    long length = form.mp.Length();

    form.ClickControl(L"SpeedButton4");
    EXPECT_EQ(form.mp.Position(), length);
    form.ClickControl(L"SpeedButton1");   // stopped at the start
    EXPECT_EQ(form.mp.Position(), 0);
    playback_test::Pump(200);
    EXPECT_EQ(form.mp.Position(), 0);
    form.ClickControl(L"SpeedButton5");
    EXPECT_TRUE(CapturedErrors().empty());

    // The sound device here may play faster than real time, so each step
    // starts from a held position and looks only at where play begins.
    // Fast forward starts from the player's position.
    form.StepFrames = 500;
    form.ClickControl(L"SpeedButton6");
    form.mp.Seek(200);
    playback::SetProgressPosition(form, 1500);
    form.ClickControl(L"SpeedButton3");
    EXPECT_GE(form.mp.Position(), 700);

    // Fast back starts from the bar's position.
    form.ClickControl(L"SpeedButton6");
    form.mp.Seek(200);
    playback::SetProgressPosition(form, 1500);
    form.ClickControl(L"SpeedButton2");
    EXPECT_GE(form.mp.Position(), 1000);

    // A target before the start is refused by the device and ignored; play
    // goes on from where the device stands.
    form.ClickControl(L"SpeedButton6");
    form.mp.Seek(1200);
    playback::SetProgressPosition(form, 100);
    form.ClickControl(L"SpeedButton2");
    EXPECT_GE(form.mp.Position(), 1200);

    // A click in the middle of the bar goes to the middle of the file.
    form.ClickControl(L"SpeedButton6");
    form.ProgressBar1MouseUp(170, 5);
    EXPECT_EQ(BarPosition(form), length / 2);
    EXPECT_GE(form.mp.Position(), length / 2);
    EXPECT_TRUE(CapturedErrors().empty());
}
