// Opening files: the player chosen by the extension, the window layout for
// each kind of file, the timers, the playlist steps of a missing or broken
// file, the playlist click and the start button's menu.
#include "playback_test_support.h"

#include "swf/sourcefm_win.h"

using app_test::CapturedErrors;
using playback_test::PlaybackTest;

namespace {

struct TimerStates {
    bool t1, t2, t3, t4, t5;
    bool operator==(const TimerStates&) const = default;
};

TimerStates Timers(const Tfrmmain& form) {
    return {form.TimerEnabled(L"Timer1"), form.TimerEnabled(L"Timer2"), form.TimerEnabled(L"Timer3"),
            form.TimerEnabled(L"Timer4"), form.TimerEnabled(L"Timer5")};
}

bool Visible(Tfrmmain& form, const wchar_t* name) { return form.Controls().Visible(form.ControlIndex(name)); }

}  // namespace

TEST_F(PlaybackTest, FlashMovieGoesToTheFlashControl) {
    Tfrmmain& form = MakeForm();
    Tsourcefm sourcefm;
    Forms().sourcefm = &sourcefm;
    form.Show();
    std::wstring movie = File(L"intro.swf", media_test::SquareMovie(10, 12));
    std::wstring odd = File(L"movie.Txt", media_test::SquareMovie(4, 12));
    AddEntries(form, {movie, odd});

    Play(form, 0);
    EXPECT_FALSE(form.MediaMode);
    EXPECT_TRUE(form.PictureShown);
    EXPECT_TRUE(form.FlashArmed);
    EXPECT_EQ(form.CurrentFile, movie);
    EXPECT_EQ(sourcefm.SwfPath, movie);
    EXPECT_EQ(form.flash()->Movie(), movie);
    EXPECT_EQ(BarMax(form), 9);
    EXPECT_EQ(BarPosition(form), 0);
    EXPECT_EQ(Timers(form), (TimerStates{true, true, false, false, true}));
    EXPECT_TRUE(Visible(form, L"PlayFileinfo"));
    EXPECT_TRUE(Visible(form, L"PlayFileinfo1"));

    // Any extension outside the media list is a Flash movie; with the loop
    // box ticked the looping timer runs instead.
    form.SetControlChecked(L"CheckBox2", true);
    Play(form, 1);
    EXPECT_FALSE(form.MediaMode);
    EXPECT_EQ(sourcefm.SwfPath, odd);
    EXPECT_EQ(BarMax(form), 3);
    EXPECT_EQ(Timers(form), (TimerStates{true, false, true, false, true}));
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(PlaybackTest, SoundFileMakesTheWindowCompactAndAMovieRestoresIt) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::wstring song = File(L"song.WAV", media_test::Tone(1000));
    std::wstring movie = File(L"intro.swf", media_test::SquareMovie(10, 12));
    AddEntries(form, {song, movie});

    Play(form, 0);
    ASSERT_TRUE(form.mp.IsOpen());
    EXPECT_TRUE(form.MediaMode);
    EXPECT_FALSE(form.PictureShown);
    EXPECT_FALSE(form.MediaAtEnd);
    EXPECT_EQ(form.CurrentFile, song);
    SIZE size = OuterSize(form.Window());
    EXPECT_EQ(size.cx, 555);
    EXPECT_EQ(size.cy, 130);
    EXPECT_FALSE(Visible(form, L"BitBtn1"));
    EXPECT_FALSE(Visible(form, L"PlayFileinfo"));
    EXPECT_FALSE(Visible(form, L"PlayFileinfo1"));
    EXPECT_EQ(form.Controls().Rect(form.ControlIndex(L"flash")).height, 0);
    EXPECT_EQ(form.flash()->TotalFrames(), 0);   // the Flash area is emptied
    EXPECT_EQ(BarMax(form), form.mp.Length());
    EXPECT_NEAR(static_cast<double>(form.mp.Length()), 1000.0, 50.0);
    EXPECT_EQ(Timers(form), (TimerStates{false, false, false, true, true}));
    EXPECT_EQ(GetFocus(), form.flash()->Window());

    // A second sound file keeps the compact window as it is.
    SetWindowPos(form.Window(), nullptr, 0, 0, 580, 130, SWP_NOMOVE | SWP_NOZORDER);
    Play(form, 0);
    EXPECT_EQ(OuterSize(form.Window()).cx, 580);

    Play(form, 1);
    EXPECT_FALSE(form.MediaMode);
    EXPECT_TRUE(form.PictureShown);
    EXPECT_FALSE(form.mp.IsOpen());
    size = OuterSize(form.Window());
    EXPECT_EQ(size.cx, 547);
    EXPECT_EQ(size.cy, 524);
    EXPECT_EQ(form.Controls().Rect(form.ControlIndex(L"Panel1")).height, 120);
    EXPECT_TRUE(Visible(form, L"PlayFileinfo"));
    EXPECT_EQ(Timers(form), (TimerStates{true, true, false, true, true}));
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(PlaybackTest, MissingFileMovesOnOneEntryOrStopsAtTheEnd) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::wstring a = File(L"a.swf", media_test::SquareMovie(5, 12));
    std::wstring c = File(L"c.swf", media_test::SquareMovie(6, 12));
    AddEntries(form, {a, a, MissingFile(L"b.swf"), c, MissingFile(L"e.swf")});

    Play(form, 2);
    EXPECT_EQ(playback::PlaylistSelection(form), 3);
    EXPECT_EQ(form.CurrentFile, c);
    EXPECT_EQ(BarMax(form), 5);

    // The last entry is missing: nothing changes.
    trace_.clear();
    Play(form, 4);
    EXPECT_EQ(playback::PlaylistSelection(form), 4);
    EXPECT_EQ(form.CurrentFile, c);
    EXPECT_EQ(form.flash()->Movie(), c);
    EXPECT_TRUE(CapturedErrors().empty());
}

TEST_F(PlaybackTest, MediaFileThatCannotOpenMovesOnSilently) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::wstring broken = File(L"broken.wav", {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
    std::wstring movie = File(L"intro.swf", media_test::SquareMovie(10, 12));
    AddEntries(form, {broken, movie});

    Play(form, 0);
    EXPECT_TRUE(CapturedErrors().empty());
    EXPECT_EQ(playback::PlaylistSelection(form), 1);   // selected, not played
    EXPECT_TRUE(form.MediaMode);
    EXPECT_EQ(form.CurrentFile, broken);
    EXPECT_FALSE(form.mp.IsOpen());
    EXPECT_TRUE(form.TimerEnabled(L"Timer1"));   // left on by the failed steps
    EXPECT_TRUE(form.TimerEnabled(L"Timer5"));

    // The transport commands then find no device open.
    form.ClickControl(L"SpeedButton5");
    ASSERT_EQ(CapturedErrors().size(), 1u);
    EXPECT_EQ(CapturedErrors()[0], L"No MCI device open");
}

TEST_F(PlaybackTest, VideoAfterACompactWindowGetsItsPictureBack) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::wstring song = File(L"song.wav", media_test::Tone(500));
    AddEntries(form, {song});
    Play(form, 0);
    ASSERT_EQ(OuterSize(form.Window()).cy, 130);

    // A video file (which MCI need not be able to open here) takes the video
    // layout before the device is opened.
    std::wstring video = File(L"clip.Mpeg", media_test::Tone(500));
    AddEntries(form, {video});
    Play(form, 1);
    EXPECT_TRUE(form.MediaMode);
    EXPECT_TRUE(form.PictureShown);
    SIZE size = OuterSize(form.Window());
    EXPECT_EQ(size.cx, 555);
    EXPECT_EQ(size.cy, 550);
    EXPECT_TRUE(Visible(form, L"BitBtn1"));
    EXPECT_TRUE(Visible(form, L"PlayFileinfo"));
    EXPECT_EQ(form.Controls().Rect(form.ControlIndex(L"flash")).height, 377);
}

TEST_F(PlaybackTest, PlaylistClickWithoutASelectionSelectsTheFirstEntry) {
    Tfrmmain& form = MakeForm();
    form.Show();
    std::wstring movie = File(L"intro.swf", media_test::SquareMovie(10, 12));
    AddEntries(form, {movie, movie});

    // No selection: the first entry is selected, nothing plays.
    form.ListBox1Click();
    EXPECT_EQ(playback::PlaylistSelection(form), 0);
    EXPECT_TRUE(form.CurrentFile.empty());

    Play(form, 1);
    EXPECT_EQ(form.CurrentFile, movie);
    EXPECT_EQ(GetFocus(), form.flash()->Window());
}

namespace {

RECT g_menu_rect;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    for (HWND menu = FindWindowW(L"#32768", nullptr); menu; menu = FindWindowExW(nullptr, menu, L"#32768", nullptr))
        if (IsWindowVisible(menu)) GetWindowRect(menu, &g_menu_rect);
    EndMenu();
}

}  // namespace

TEST_F(PlaybackTest, StartButtonOpensTheMenuUpwardOverTheButton) {
    Tfrmmain& form = MakeForm();
    form.Show();
    RECT button = WindowRect(form.ControlWindow(L"BitBtn1"));
    int items = static_cast<int>(MenuChildren(PopupMenu1Items(), -1).size());
    ASSERT_EQ(items, 24);

    g_menu_rect = {};
    SetTimer(nullptr, 0, 300, CloseMenu);
    form.ClickControl(L"BitBtn1");
    EXPECT_EQ(g_menu_rect.left, button.left);
    EXPECT_EQ(g_menu_rect.top, button.top - 18 * items + 48);
    EXPECT_EQ(GetFocus(), form.flash()->Window());
}
