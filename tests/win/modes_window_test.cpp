// The window modes of the main window and what a change of its size does:
// full screen, window, window without the control panel, the sound-only
// window and the place of a Flash movie's window.
#include "app_test_support.h"
#include "media_test_support.h"

#include "app/application_win.h"
#include "flash/flash_control_win.h"

#include <commctrl.h>

using app_test::MainWindowTest;

namespace {

struct Outer {
    int left, top, width, height;
    bool operator==(const Outer&) const = default;
};

Outer OuterOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void PrintTo(const Outer& o, std::ostream* os) {
    *os << o.left << ", " << o.top << ", " << o.width << " x " << o.height;
}

bool HasFrame(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

void Resize(HWND window, int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class WindowModesTest : public MainWindowTest {
protected:
    Tfrmmain& MovieForm() {
        Tfrmmain& form = MakeForm();
        form.Show();
        ProcessPendingMessages();
        form.PictureShown = true;   // as a Flash movie leaves it
        form.MediaMode = false;
        return form;
    }

    bool Visible(Tfrmmain& form, const wchar_t* name) {
        return form.Controls().Visible(form.ControlIndex(name));
    }
    LayoutRect Rect(Tfrmmain& form, const wchar_t* name) { return form.Controls().Rect(form.ControlIndex(name)); }
};

}  // namespace

TEST_F(WindowModesTest, FullScreenThenWindow) {
    Tfrmmain& form = MovieForm();
    HWND window = form.Window();
    form.ClickMenuItem(L"N5");
    EXPECT_EQ(OuterOf(window), (Outer{0, 0, ScreenWidth(), ScreenHeight()}));
    EXPECT_FALSE(HasFrame(window));
    EXPECT_FALSE(Visible(form, L"Panel1"));
    // The Flash area takes the whole window.
    EXPECT_EQ(Rect(form, L"flash"), (LayoutRect{0, 0, ScreenWidth(), ScreenHeight()}));
    EXPECT_FALSE(IsTopmost(window));

    form.ClickMenuItem(L"N3");
    // The panel's width by 555, centred on the screen (not raised: the
    // place is set after the size).
    EXPECT_EQ(OuterOf(window), (Outer{(ScreenWidth() - 544) / 2, (ScreenHeight() - 555) / 2, 544, 555}));
    if (ScreenWidth() == 1024 && ScreenHeight() == 768) {
        EXPECT_EQ(OuterOf(window), (Outer{240, 106, 544, 555}));
    }
    EXPECT_TRUE(HasFrame(window));
    EXPECT_TRUE(Visible(form, L"Panel1"));
    RECT client{};
    GetClientRect(window, &client);
    // The control panel sits at the bottom again; the Flash area is the
    // window's height less the panel's.
    EXPECT_EQ(Rect(form, L"Panel1").top + Rect(form, L"Panel1").height, client.bottom);
    EXPECT_EQ(Rect(form, L"flash").height, 555 - Rect(form, L"Panel5").height);
    EXPECT_EQ(Rect(form, L"flash").width, client.right);
    EXPECT_EQ(GetFocus(), form.flash()->Window());
    EXPECT_FALSE(IsTopmost(window));   // made topmost, then the user's choice

    // A second time changes nothing: the panel keeps its width.
    form.ClickMenuItem(L"N3");
    EXPECT_EQ(OuterOf(window).width, 544);
}

TEST_F(WindowModesTest, StayOnTopSurvivesTheModes) {
    Tfrmmain& form = MovieForm();
    form.ClickMenuItem(L"N18");
    form.ClickMenuItem(L"N5");
    EXPECT_TRUE(IsTopmost(form.Window()));
    form.ClickMenuItem(L"N3");
    EXPECT_TRUE(IsTopmost(form.Window()));
}

TEST_F(WindowModesTest, WindowWithoutControlPanel) {
    Tfrmmain& form = MovieForm();
    form.ClickMenuItem(L"N4");
    EXPECT_EQ(OuterOf(form.Window()), (Outer{(ScreenWidth() - 544) / 2, (ScreenHeight() - 524) / 2, 544, 524}));
    EXPECT_TRUE(HasFrame(form.Window()));
    EXPECT_FALSE(Visible(form, L"Panel1"));
    EXPECT_EQ(Rect(form, L"flash").height, 524);

    // Only for Flash movies.
    Tfrmmain& media = MovieForm();
    media.MediaMode = true;
    Outer before = OuterOf(media.Window());
    media.ClickMenuItem(L"N4");
    EXPECT_EQ(OuterOf(media.Window()), before);
    EXPECT_TRUE(Visible(media, L"Panel1"));
}

TEST_F(WindowModesTest, MovieWindowIsKeptCentredAndFifteenPixelsHigh) {
    Tfrmmain& form = MovieForm();
    Resize(form.Window(), 640, 500);
    EXPECT_EQ(OuterOf(form.Window()), (Outer{(ScreenWidth() - 640) / 2, (ScreenHeight() - 500) / 2 - 15, 640, 500}));
    EXPECT_TRUE(Visible(form, L"BitBtn1"));
    EXPECT_EQ(Rect(form, L"Panel4").width, 640);
    EXPECT_EQ(GetFocus(), form.flash()->Window());
    // Moving is not a size change.
    SetWindowPos(form.Window(), nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(OuterOf(form.Window()).left, 5);
}

TEST_F(WindowModesTest, SoundOnlyWindowIgnoresTheModesAndShrinks) {
    Tfrmmain& form = MovieForm();
    form.MediaMode = true;
    form.PictureShown = false;
    Outer before = OuterOf(form.Window());
    form.ClickMenuItem(L"N5");
    EXPECT_EQ(OuterOf(form.Window()), before);
    EXPECT_TRUE(HasFrame(form.Window()));
    form.ClickMenuItem(L"N3");
    EXPECT_EQ(OuterOf(form.Window()), before);

    SetWindowPos(form.Window(), nullptr, 30, 40, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(OuterOf(form.Window()), (Outer{30, 40, 555, 150}));
    EXPECT_FALSE(Visible(form, L"BitBtn1"));
    // Low enough already: left as it is.
    Resize(form.Window(), 600, 180);
    EXPECT_EQ(OuterOf(form.Window()), (Outer{30, 40, 600, 180}));
}

TEST_F(WindowModesTest, VideoWindowShowsTheStartButtonWhereItIs) {
    Tfrmmain& form = MovieForm();
    form.MediaMode = true;
    form.PictureShown = false;
    SetWindowPos(form.Window(), nullptr, 30, 40, 555, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(Visible(form, L"BitBtn1"));
    form.PictureShown = true;
    SetWindowPos(form.Window(), nullptr, 30, 40, 555, 550, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(OuterOf(form.Window()), (Outer{30, 40, 555, 550}));
    EXPECT_TRUE(Visible(form, L"BitBtn1"));
}

TEST_F(WindowModesTest, MinimisingKeepsTheLayout) {
    Tfrmmain& form = MovieForm();
    form.ClickMenuItem(L"N3");
    Outer before = OuterOf(form.Window());
    LayoutRect panel = Rect(form, L"Panel5");
    ShowWindow(form.Window(), SW_MINIMIZE);
    ShowWindow(form.Window(), SW_RESTORE);
    ProcessPendingMessages();
    EXPECT_EQ(OuterOf(form.Window()), before);
    EXPECT_EQ(Rect(form, L"Panel5"), panel);
    EXPECT_TRUE(Visible(form, L"BitBtn1"));
}

TEST_F(WindowModesTest, FullScreenReopensMediaAndPlaysOnFromTheBar) {
    Tfrmmain& form = MovieForm();
    std::wstring path = media_test::WriteFile(folder_ / L"clip.wav", media_test::Tone(2000));
    form.AppendEntry(path);
    form.SelectListEntry(0);
    form.PlayFile(path);
    ASSERT_TRUE(form.mp.IsOpen());
    form.mp.Stop();
    // A file with a picture is playing and the bar stands at 1200.
    form.PictureShown = true;
    HWND bar = form.ControlWindow(L"ProgressBar1");
    SendMessageW(bar, PBM_SETRANGE32, 0, 2000);
    SendMessageW(bar, PBM_SETPOS, 1200, 0);
    form.mp.Close();

    form.ClickMenuItem(L"N5");
    EXPECT_EQ(form.CurrentFile, path);
    ASSERT_TRUE(form.mp.IsOpen());
    long position = form.mp.Position();
    EXPECT_GE(position, 1200);
    EXPECT_LE(position, 2000);
    form.mp.Stop();
    EXPECT_TRUE(app_test::CapturedErrors().empty());
}
