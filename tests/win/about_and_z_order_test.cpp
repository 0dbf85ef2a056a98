// Stay on top, the z-order steps, the about box and the shells of the
// settings dialog and the extraction window.
#include "app_test_support.h"

#include "app/frmabout_win.h"
#include "app/frmset_win.h"
#include "swf/sourcefm_win.h"
#include "app/stay_on_top_win.h"

using app_test::MainWindowTest;

namespace {

SIZE ClientSize(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST_F(MainWindowTest, StayOnTopTogglesWithoutMovingTheWindow) {
    Tfrmmain& form = MakeForm();
    form.Show();
    RECT before = WindowRect(form.Window());
    trace_.clear();

    form.ClickMenuItem(L"N18");
    EXPECT_TRUE(IsTopmost(form.Window()));
    EXPECT_TRUE(form.MenuChecked(L"N18"));
    form.ApplyStayOnTop();
    EXPECT_TRUE(IsTopmost(form.Window()));

    form.ClickMenuItem(L"N18");
    EXPECT_FALSE(IsTopmost(form.Window()));
    EXPECT_FALSE(form.MenuChecked(L"N18"));
    form.ApplyStayOnTop();
    EXPECT_FALSE(IsTopmost(form.Window()));

    EXPECT_EQ(trace_, (std::vector<std::string>{"topmost", "topmost", "not topmost", "not topmost"}));
    RECT after = WindowRect(form.Window());
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
}

TEST_F(MainWindowTest, AboutBoxLayout) {
    MakeForm();
    Tfrmabout about;
    about.Create();
    HWND box = about.Window();
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_EQ(WindowText(box), L"关于...");
    SIZE client = ClientSize(box);
    EXPECT_EQ(client.cx, 483);
    EXPECT_EQ(client.cy, 452);
    LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style & WS_SYSMENU);

    RECT panel = ChildRect(about.Panel());
    EXPECT_EQ(panel.top, 452 - 84);
    EXPECT_EQ(panel.bottom, 452);
    RECT text = ChildRect(about.Text());
    EXPECT_EQ(text.bottom, 452 - 84);
    EXPECT_EQ(text.right, 483);
    EXPECT_TRUE(GetWindowLongPtrW(about.Text(), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(WindowText(about.BitBtn1()), L"关闭");
    EXPECT_GT(GetWindowTextLengthW(about.Text()), 0);
}

TEST_F(MainWindowTest, AboutButtonIsCentredByTheOuterWidthOnResize) {
    MakeForm();
    Tfrmabout about;
    about.Create();
    HWND box = about.Window();
    auto expected_left = [&] {
        RECT outer = WindowRect(box);
        RECT button = ChildRect(about.BitBtn1());
        return (outer.right - outer.left) / 2 - (button.right - button.left) / 2;
    };
    EXPECT_EQ(ChildRect(about.BitBtn1()).left, expected_left());

    RECT outer = WindowRect(box);
    for (int width : {701, 300, 20}) {
        SetWindowPos(box, nullptr, 0, 0, width, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
        EXPECT_EQ(ChildRect(about.BitBtn1()).left, expected_left()) << width;
    }
    SetWindowPos(box, nullptr, 0, 0, 701, outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(ChildRect(about.BitBtn1()).left, 350 - 37);
    // The text and the panel follow the new width.
    EXPECT_EQ(ChildRect(about.Panel()).right, ClientSize(box).cx);
    EXPECT_EQ(ChildRect(about.Text()).right, ClientSize(box).cx);
}

TEST_F(MainWindowTest, AboutCommandShowsTheBoxOnTopWhereItIs) {
    Tfrmmain& form = MakeForm();
    Tfrmabout about;
    about.Create();
    Forms().frmabout = &about;
    RECT before = WindowRect(about.Window());
    form.ClickMenuItem(L"N26");
    EXPECT_TRUE(IsWindowVisible(about.Window()));
    EXPECT_TRUE(IsTopmost(about.Window()));
    RECT after = WindowRect(about.Window());
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
}

TEST_F(MainWindowTest, ClosingTheAboutBoxRestoresTheMainWindowsZOrder) {
    Tfrmmain& form = MakeForm();
    form.Show();
    Tfrmabout about;
    about.Create();
    Forms().frmabout = &about;

    form.ClickMenuItem(L"N26");
    trace_.clear();
    about.BitBtn1Click();
    EXPECT_FALSE(IsWindowVisible(about.Window()));
    EXPECT_EQ(trace_, (std::vector<std::string>{"topmost", "not topmost", "not topmost"}));
    EXPECT_FALSE(IsTopmost(form.Window()));
    EXPECT_EQ(GetFocus(), form.Window());

    // With stay on top checked the main window ends topmost.
    form.ClickMenuItem(L"N18");
    form.ClickMenuItem(L"N26");
    trace_.clear();
    SendMessageW(about.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(trace_, (std::vector<std::string>{"topmost", "not topmost", "topmost"}));
    EXPECT_TRUE(IsTopmost(form.Window()));
    EXPECT_TRUE(IsWindow(about.Window()));   // hidden, not destroyed
}

TEST_F(MainWindowTest, SettingsDialogShellRestoresTheZOrderWithoutTakingFocus) {
    Tfrmmain& form = MakeForm();
    form.Show();
    Tfrmset settings;
    settings.Create();
    Forms().frmset = &settings;
    EXPECT_EQ(WindowText(settings.Window()), L"系统设置");
    SIZE client = ClientSize(settings.Window());
    EXPECT_EQ(client.cx, 386);
    EXPECT_EQ(client.cy, 258);
    EXPECT_FALSE(IsWindowVisible(settings.Window()));

    form.ClickMenuItem(L"N36");
    EXPECT_TRUE(IsWindowVisible(settings.Window()));
    EXPECT_TRUE(IsTopmost(settings.Window()));
    SetFocus(form.ControlWindow(L"ListBox1"));
    form.ClickMenuItem(L"N18");
    trace_.clear();
    SendMessageW(settings.Window(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(settings.Window()));
    EXPECT_EQ(trace_, (std::vector<std::string>{"topmost", "not topmost", "topmost"}));
    EXPECT_TRUE(IsTopmost(form.Window()));
    EXPECT_EQ(GetFocus(), form.ControlWindow(L"ListBox1"));
}

TEST(SecondaryWindows, ExtractionWindowShell) {
    Tsourcefm sourcefm;
    sourcefm.Create();
    HWND window = sourcefm.Window();
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    EXPECT_STREQ(caption, L"提取资源");
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 509);
    EXPECT_EQ(client.bottom, 306);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(IsWindowVisible(window));
    ShowWindow(window, SW_SHOW);
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
}
