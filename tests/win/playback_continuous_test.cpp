// Continuous play through a real playlist: the mode controls, the Flash
// timers in order, at random and looping, the automatic "Play" skip, the
// media timers, and ticks that fail without a word.
#include "playback_test_support.h"

using app_test::CapturedErrors;
using playback_test::PlaybackTest;

namespace {

class ContinuousTest : public PlaybackTest {
protected:
    std::vector<std::wstring> Movies(int count, int frames) {
        std::vector<std::wstring> paths;
        for (int i = 0; i < count; ++i)
            paths.push_back(File(L"movie" + std::to_wstring(i) + L".swf", media_test::SquareMovie(frames + i, 12)));
        return paths;
    }
};

}  // namespace

TEST_F(ContinuousTest, ModeControlsFollowOneAnother) {
    Tfrmmain& form = MakeForm();
    form.Show();
    EXPECT_FALSE(form.ControlChecked(L"CheckBox1"));
    EXPECT_FALSE(IsWindowEnabled(form.ControlWindow(L"RadioButton2")));
    EXPECT_FALSE(form.MenuChecked(L"N20"));
    EXPECT_FALSE(form.MenuChecked(L"N19"));

    form.ClickMenuItem(L"N19");
    EXPECT_TRUE(form.ControlChecked(L"CheckBox1"));
    EXPECT_TRUE(IsWindowEnabled(form.ControlWindow(L"RadioButton1")));
    EXPECT_TRUE(IsWindowEnabled(form.ControlWindow(L"RadioButton2")));
    EXPECT_TRUE(form.ControlChecked(L"RadioButton2"));
    EXPECT_FALSE(form.ControlChecked(L"RadioButton1"));
    EXPECT_TRUE(form.MenuChecked(L"N19"));
    EXPECT_FALSE(form.MenuChecked(L"N20"));

    // Clearing the box clears both items; the radio button keeps its tick
    // and gives it back to its item when the box is ticked again.
    form.ClickControl(L"CheckBox1");
    EXPECT_FALSE(form.MenuChecked(L"N19"));
    EXPECT_FALSE(form.MenuChecked(L"N20"));
    EXPECT_TRUE(form.ControlChecked(L"RadioButton2"));
    EXPECT_FALSE(IsWindowEnabled(form.ControlWindow(L"RadioButton2")));
    form.ClickControl(L"CheckBox1");
    EXPECT_TRUE(form.MenuChecked(L"N19"));

    // A real click on the other radio button.
    SendMessageW(form.ControlWindow(L"RadioButton1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.ControlChecked(L"RadioButton1"));
    EXPECT_FALSE(form.ControlChecked(L"RadioButton2"));
    EXPECT_TRUE(form.MenuChecked(L"N20"));
    EXPECT_FALSE(form.MenuChecked(L"N19"));

    form.ClickControl(L"CheckBox1");
    form.ClickMenuItem(L"N20");
    EXPECT_TRUE(form.ControlChecked(L"CheckBox1"));
    EXPECT_TRUE(form.MenuChecked(L"N20"));
}

TEST_F(ContinuousTest, InOrderPlaysEachMovieAndStopsAtTheLast) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::vector<std::wstring> movies = Movies(3, 10);
    AddEntries(form, movies);
    form.ClickMenuItem(L"N20");
    Play(form, 0);
    form.flash()->Stop();

    // Not near the end yet: only the progress text.
    form.NearEndFrames = 8;
    form.flash()->GotoFrame(1);
    form.Timer2Timer();
    EXPECT_EQ(form.CurrentFile, movies[0]);
    EXPECT_EQ(form.ControlText(L"PlayFileinfo1"), form.TitleText + L"movie0 --- 1/9");
    EXPECT_EQ(form.ControlText(L"PlayFileinfo"), form.ControlText(L"PlayFileinfo1"));

    form.flash()->GotoFrame(2);   // 2 + 8 >= 10
    form.Timer2Timer();
    EXPECT_EQ(playback::PlaylistSelection(form), 1);
    EXPECT_EQ(form.CurrentFile, movies[1]);
    EXPECT_EQ(BarMax(form), 10);

    form.NearEndFrames = 1000;
    form.Timer2Timer();
    EXPECT_EQ(form.CurrentFile, movies[2]);
    form.Timer2Timer();   // the last entry: nothing wraps around
    EXPECT_EQ(playback::PlaylistSelection(form), 2);
    EXPECT_EQ(form.CurrentFile, movies[2]);

    // With continuous play off, or after a pause, nothing moves on.
    Play(form, 0);
    form.ClickControl(L"CheckBox1");
    form.Timer2Timer();
    EXPECT_EQ(form.CurrentFile, movies[0]);
    form.ClickControl(L"CheckBox1");
    form.ClickControl(L"SpeedButton6");
    form.Timer2Timer();
    EXPECT_EQ(form.CurrentFile, movies[0]);
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(ContinuousTest, NoFramesBeforeTheEndNeverFinishesAMovie) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::vector<std::wstring> movies = Movies(2, 5);
    AddEntries(form, movies);
    form.ClickMenuItem(L"N20");
    form.NearEndFrames = 0;
    Play(form, 0);
    form.flash()->GotoFrame(4);
    form.Timer2Timer();
    EXPECT_EQ(form.CurrentFile, movies[0]);
}

TEST_F(ContinuousTest, RandomPicksTheSameSequenceEveryRun) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::vector<std::wstring> movies = Movies(10, 4);
    AddEntries(form, movies);
    form.ClickMenuItem(L"N19");
    form.NearEndFrames = 1000;
    Play(form, 5);
    std::vector<int> picks;
    for (int i = 0; i < 6; ++i) {
        form.Timer2Timer();
        picks.push_back(playback::PlaylistSelection(form));
        EXPECT_EQ(form.CurrentFile, movies[static_cast<size_t>(picks.back())]);
        EXPECT_EQ(form.flash()->CurrentFrame(), 0);
    }
    EXPECT_EQ(picks, (std::vector<int>{0, 0, 8, 2, 2, 6}));
}

TEST_F(ContinuousTest, AutomaticSkipPushesPastAMovieThatStoppedItself) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::wstring waiting = File(L"waiting.swf", media_test::SquareMovie(10, 12, 0));
    std::wstring last = File(L"last.swf", media_test::SquareMovie(10, 12, 9));
    AddEntries(form, {waiting, last});

    Play(form, 0);
    playback_test::Pump(150);
    ASSERT_FALSE(form.flash()->IsPlaying());
    ASSERT_EQ(form.flash()->CurrentFrame(), 0);
    form.SkipPlay = true;
    form.Timer2Timer();
    EXPECT_EQ(form.flash()->CurrentFrame(), 1);
    EXPECT_TRUE(form.flash()->IsPlaying());

    // Stopped on its last frame: left alone, by the looping timer as well.
    form.NearEndFrames = 0;
    form.SetControlChecked(L"CheckBox2", true);
    Play(form, 1);
    form.flash()->GotoFrame(9);
    form.flash()->Stop();
    form.Timer3Timer();
    EXPECT_EQ(form.flash()->CurrentFrame(), 9);
    EXPECT_FALSE(form.flash()->IsPlaying());
}

TEST_F(ContinuousTest, LoopStartsTheSameMovieAgain) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::vector<std::wstring> movies = Movies(2, 20);
    AddEntries(form, movies);
    form.ClickMenuItem(L"N20");
    Play(form, 0);
    form.ClickControl(L"CheckBox2");
    EXPECT_TRUE(form.TimerEnabled(L"Timer3"));
    EXPECT_FALSE(form.TimerEnabled(L"Timer2"));

    form.NearEndFrames = 8;
    form.flash()->Stop();
    form.flash()->GotoFrame(15);
    form.Timer3Timer();
    EXPECT_EQ(form.CurrentFile, movies[0]);
    EXPECT_EQ(playback::PlaylistSelection(form), 0);
    EXPECT_LT(form.flash()->CurrentFrame(), 15);
    EXPECT_TRUE(form.flash()->IsPlaying());
    // The looping timer's text has no title.
    EXPECT_EQ(form.ControlText(L"PlayFileinfo1").rfind(L"movie0 --- ", 0), 0u);

    form.ClickControl(L"CheckBox2");
    EXPECT_TRUE(form.TimerEnabled(L"Timer2"));
    EXPECT_FALSE(form.TimerEnabled(L"Timer3"));
}

TEST_F(ContinuousTest, MediaEndMovesOnRestartsOrStays) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::wstring first = File(L"first.wav", media_test::Tone(600));
    std::wstring second = File(L"second.wav", media_test::Tone(700));
    AddEntries(form, {first, second});
    form.ClickMenuItem(L"N20");
    Play(form, 0);
    ASSERT_TRUE(form.mp.IsOpen());
    // The sound device here may play faster than real time: hold the file.
    form.ClickControl(L"SpeedButton6");
    form.mp.Seek(100);

    form.Timer5Timer();
    EXPECT_FALSE(form.MediaAtEnd);
    form.Timer4Timer();
    EXPECT_EQ(BarPosition(form), 100);
    EXPECT_EQ(form.CurrentFile, first);
    EXPECT_EQ(WindowText(form.Window()), form.TitleText + L"---first");
    EXPECT_EQ(form.ControlText(L"PlayFileinfo"), form.TitleText + L"---first");

    // The loop box takes precedence: the file starts again.
    form.mp.Seek(form.mp.Length());
    form.SetControlChecked(L"CheckBox2", true);
    form.Timer5Timer();
    EXPECT_TRUE(form.MediaAtEnd);
    form.Timer4Timer();
    EXPECT_EQ(form.CurrentFile, first);
    EXPECT_EQ(playback::PlaylistSelection(form), 0);

    form.SetControlChecked(L"CheckBox2", false);
    form.mp.Seek(form.mp.Length());
    form.Timer5Timer();
    form.Timer4Timer();
    EXPECT_EQ(form.CurrentFile, second);
    EXPECT_FALSE(form.MediaAtEnd);
    EXPECT_EQ(BarMax(form), form.mp.Length());

    // The last file stays at its end.
    form.ClickControl(L"SpeedButton6");
    form.mp.Seek(form.mp.Length());
    form.Timer5Timer();
    form.Timer4Timer();
    EXPECT_EQ(form.CurrentFile, second);
    EXPECT_EQ(form.mp.Position(), form.mp.Length());
    EXPECT_EQ(BarPosition(form), form.mp.Length());
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(ContinuousTest, FailingMediaTicksStaySilent) {
    Tfrmmain& form = MakeForm();
    form.Show();
    AddEntries(form, {File(L"broken.wav", {'x'})});
    Play(form, 0);   // cannot open: media mode without a device
    ASSERT_TRUE(form.MediaMode);
    ASSERT_FALSE(form.mp.IsOpen());
    playback::SetProgressRange(form, 0, 0);
    form.SetControlChecked(L"CheckBox2", true);
    form.Timer5Timer();
    ASSERT_TRUE(form.MediaAtEnd);   // position 0 = the bar's maximum
    for (int i = 0; i < 3; ++i) {
        form.Timer4Timer();   // the restart finds no device
        form.Timer3Timer();
        form.Timer2Timer();
    }
    playback_test::Pump(350);   // the running timers tick as well
    EXPECT_TRUE(CapturedErrors().empty());
}
