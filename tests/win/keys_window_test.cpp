// The main window's keys sent as key messages through the message loop:
// the key-down table, Esc on release and the menu shortcuts that go first
// where the focused control carries the menu.
#include "app_test_support.h"

#include "app/application_win.h"
#include "flash/flash_control_win.h"

using app_test::MainWindowTest;

namespace {

class KeysTest : public MainWindowTest {
protected:
    Tfrmmain& ShownForm() {
        Tfrmmain& form = MakeForm();
        form.Show();
        ProcessPendingMessages();
        return form;
    }

    // Holds Ctrl and/or Alt in this thread's keyboard state.
    static void Hold(bool ctrl, bool alt = false) {
        BYTE keys[256] = {};
        if (ctrl) keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
        if (alt) keys[VK_MENU] = keys[VK_LMENU] = 0x80;
        SetKeyboardState(keys);
    }

    // A key press (and its release) posted to target and run through the loop.
    static void Press(HWND target, WORD key, bool ctrl = false, bool alt = false) {
        Hold(ctrl, alt);
        UINT down = alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
        UINT up = alt ? WM_SYSKEYUP : WM_KEYUP;
        LPARAM context = alt ? (1 << 29) : 0;
        PostMessageW(target, down, key, context | 1);
        PostMessageW(target, up, key, context | 1 | (1u << 30) | (1u << 31));
        ProcessPendingMessages();
        Hold(false);
    }

    static int OuterWidth(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r.right - r.left;
    }

    // Playable movies in the playlist: copies of the start-up movie.
    void FillPlaylist(Tfrmmain& form, int count) {
        for (int i = 0; i < count; ++i) {
            std::filesystem::path movie = folder_ / (std::wstring(1, static_cast<wchar_t>(L'a' + i)) + L".swf");
            std::filesystem::copy_file(folder_ / L"corvella.SWF", movie);
            form.AppendEntry(movie.wstring());
            paths_.push_back(movie.wstring());
        }
    }

    LayoutRect Overlay(Tfrmmain& form) { return form.Controls().Rect(form.ControlIndex(L"VolLbl")); }

    std::vector<std::wstring> paths_;
};

}  // namespace

TEST_F(KeysTest, CtrlDownAndUpStopAtTheEndsOfThePlaylist) {
    Tfrmmain& form = ShownForm();
    HWND area = form.flash()->Window();
    FillPlaylist(form, 3);

    form.SelectListEntry(-1);
    Press(area, VK_DOWN, true);   // nothing selected: the first entry follows
    EXPECT_EQ(form.ListSelection(), 0);
    EXPECT_EQ(form.CurrentFile, paths_[0]);
    Press(area, VK_UP, true);     // the first entry has none before it
    EXPECT_EQ(form.ListSelection(), 0);

    Press(area, VK_DOWN, true);
    Press(area, VK_DOWN, true);
    EXPECT_EQ(form.ListSelection(), 2);
    EXPECT_EQ(form.CurrentFile, paths_[2]);
    EXPECT_EQ(GetFocus(), area);
    form.CurrentFile.clear();
    Press(area, VK_DOWN, true);   // the last entry has none after it
    EXPECT_EQ(form.ListSelection(), 2);
    EXPECT_EQ(form.CurrentFile, L"");

    Press(area, VK_UP, true);
    EXPECT_EQ(form.ListSelection(), 1);
    EXPECT_EQ(form.CurrentFile, paths_[1]);
    // Without Ctrl the table leaves the arrows alone.
    Press(area, VK_UP);
    EXPECT_EQ(form.ListSelection(), 1);
}

TEST_F(KeysTest, CtrlUpWithASingleEntryDoesNothing) {
    Tfrmmain& form = ShownForm();
    FillPlaylist(form, 1);
    form.SelectListEntry(0);
    Press(form.flash()->Window(), VK_UP, true);
    EXPECT_EQ(form.ListSelection(), 0);
    EXPECT_EQ(form.CurrentFile, L"");
}

TEST_F(KeysTest, CtrlRightRaisesTheVolumeNineteenSteps) {
    Tfrmmain& form = ShownForm();
    HWND area = form.flash()->Window();
    LayoutRect start = Overlay(form);
    ASSERT_EQ(start.width, 38);
    for (int i = 0; i < 19; ++i) Press(area, VK_RIGHT, true);
    EXPECT_EQ(Overlay(form).width, 0);
    EXPECT_EQ(Overlay(form).left, start.left + 38);
    EXPECT_EQ(form.VolumeLevel, 255);
    Press(area, VK_RIGHT, true);
    EXPECT_EQ(Overlay(form).width, 0);
    EXPECT_EQ(Overlay(form).left, start.left + 38);
}

TEST_F(KeysTest, CtrlLeftLowersTheVolumeTwentySteps) {
    Tfrmmain& form = ShownForm();
    HWND area = form.flash()->Window();
    LayoutRect start = Overlay(form);
    for (int i = 0; i < 20; ++i) Press(area, VK_LEFT, true);
    EXPECT_EQ(Overlay(form).width, 78);
    EXPECT_EQ(Overlay(form).left, start.left - 40);
    EXPECT_EQ(form.VolumeLevel, 0);
    Press(area, VK_LEFT, true);
    EXPECT_EQ(Overlay(form).width, 78);
}

TEST_F(KeysTest, F8TwiceLeavesContinuousPlayAsItWas) {
    Tfrmmain& form = ShownForm();
    HWND area = form.flash()->Window();
    form.ClickControl(L"RadioButton2");   // random order, chosen from code
    bool continuous = form.ControlChecked(L"CheckBox1");
    Press(area, VK_F8);
    EXPECT_NE(form.ControlChecked(L"CheckBox1"), continuous);
    EXPECT_EQ(GetFocus(), area);
    Press(area, VK_F8, true);   // other modifiers do not matter
    EXPECT_EQ(form.ControlChecked(L"CheckBox1"), continuous);
    EXPECT_EQ(form.MenuChecked(L"N20"), form.ControlChecked(L"RadioButton1"));
    EXPECT_EQ(form.MenuChecked(L"N19"), form.ControlChecked(L"RadioButton2"));
}

TEST_F(KeysTest, F9TogglesSkipPlay) {
    Tfrmmain& form = ShownForm();
    bool skip = form.ControlChecked(L"CheckBox3");
    Press(form.flash()->Window(), VK_F9);
    EXPECT_NE(form.ControlChecked(L"CheckBox3"), skip);
    Press(form.flash()->Window(), VK_F9);
    EXPECT_EQ(form.ControlChecked(L"CheckBox3"), skip);
}

TEST_F(KeysTest, WindowKeysWaitForAPicture) {
    Tfrmmain& form = ShownForm();
    HWND area = form.flash()->Window();
    int width = OuterWidth(form.Window());
    // Nothing played yet: the start-up movie alone does not count.
    Press(area, 'F', true);
    Press(area, '1', true);
    Press(area, VK_RETURN, false, true);
    EXPECT_EQ(OuterWidth(form.Window()), width);

    form.PictureShown = true;
    Press(area, '1', true);
    EXPECT_EQ(OuterWidth(form.Window()), GetSystemMetrics(SM_CXSCREEN));
    Press(area, VK_RETURN, false, true);
    EXPECT_EQ(OuterWidth(form.Window()), 544);
    Press(area, 'F', true);   // narrow: full screen
    EXPECT_EQ(OuterWidth(form.Window()), GetSystemMetrics(SM_CXSCREEN));
    Press(area, 'F', true);   // wide: back to the window
    EXPECT_EQ(OuterWidth(form.Window()), 544);
    Press(area, '2', true);
    EXPECT_EQ(OuterWidth(form.Window()), 544);
    EXPECT_EQ(GetFocus(), area);
}

TEST_F(KeysTest, EscapeLeavesFullScreenOnly) {
    Tfrmmain& form = ShownForm();
    form.PictureShown = true;
    RECT design{};
    GetWindowRect(form.Window(), &design);
    ASSERT_LE(design.right - design.left, 700);
    Press(form.flash()->Window(), VK_ESCAPE);
    RECT after{};
    GetWindowRect(form.Window(), &after);
    EXPECT_TRUE(EqualRect(&design, &after));

    form.ClickMenuItem(L"N5");
    Press(form.flash()->Window(), VK_ESCAPE);
    EXPECT_EQ(OuterWidth(form.Window()), 544);
}

TEST_F(KeysTest, MenuShortcutGoesFirstInTheControlPanel) {
    Tfrmmain& form = ShownForm();
    form.PictureShown = true;
    form.ClickMenuItem(L"N3");
    ASSERT_EQ(OuterWidth(form.Window()), 544);
    // In the control panel Ctrl+F is the menu's full screen, and only that.
    Press(form.ControlWindow(L"ProgressBar1"), 'F', true);
    EXPECT_EQ(OuterWidth(form.Window()), GetSystemMetrics(SM_CXSCREEN));
    // On the Flash control the table decides: wide, so back to the window.
    Press(form.flash()->Window(), 'F', true);
    EXPECT_EQ(OuterWidth(form.Window()), 544);
}

TEST_F(KeysTest, KeysInThePlaylistHandTheFocusToTheFlashArea) {
    Tfrmmain& form = ShownForm();
    HWND list = form.ControlWindow(L"ListBox1");
    SetFocus(list);
    ASSERT_EQ(GetFocus(), list);
    Press(list, 'A');
    EXPECT_EQ(GetFocus(), form.flash()->Window());
}
