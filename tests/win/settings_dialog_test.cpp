// The settings dialog and "config.ini": the controls, showing the values in
// memory, apply and back, the unbounded number fields, and the main window's
// skip box, each checked against the file's bytes.
#include "app_test_support.h"

#include "app/frmset_win.h"
#include "app/wide_text_win.h"
#include "flash/flash_control_win.h"

#include <fstream>
#include <iterator>

using app_test::MainWindowTest;

namespace {

class SettingsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        settings_.Create();
        Forms().frmset = &settings_;
    }

    Tfrmmain& ShownForm() {
        Tfrmmain& form = MakeForm();
        form.Show();
        return form;
    }

    std::string ConfigBytes() const {
        std::ifstream in(folder_ / "config.ini", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void WriteConfig(const std::string& bytes) {
        std::ofstream out(folder_ / "config.ini", std::ios::binary);
        out << bytes;
    }

    static std::wstring Text(HWND window) {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        return text;
    }

    static bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    static void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
    void Open(Tfrmmain& form) { form.ClickMenuItem(L"N36"); }

    Tfrmset settings_;
};

}  // namespace

TEST_F(SettingsTest, DialogHoldsItsControls) {
    EXPECT_EQ(Text(settings_.CheckBox1()), L"自动跳过（如有的Flash文件开始的\"Play\"）");
    EXPECT_EQ(Text(settings_.BitBtn1()), L"设置");
    EXPECT_EQ(Text(settings_.BitBtn2()), L"返回");
    for (HWND control : {settings_.CheckBox1(), settings_.SpinEdit1(), settings_.SpinEdit2(), settings_.BitBtn1(),
                         settings_.BitBtn2()})
        EXPECT_EQ(GetParent(control), settings_.Window());
    RECT client{};
    GetClientRect(settings_.Window(), &client);
    for (HWND control : {settings_.SpinEdit1(), settings_.BitBtn2()}) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, settings_.Window(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);
    }
}

TEST_F(SettingsTest, FirstApplyCreatesTheFileWithTheDefaults) {
    Tfrmmain& form = ShownForm();
    EXPECT_FALSE(std::filesystem::exists(folder_ / "config.ini"));
    Open(form);
    EXPECT_TRUE(IsWindowVisible(settings_.Window()));
    EXPECT_EQ(Text(settings_.SpinEdit1()), L"8");
    EXPECT_EQ(Text(settings_.SpinEdit2()), L"8");
    EXPECT_FALSE(Checked(settings_.CheckBox1()));

    Click(settings_.BitBtn1());
    EXPECT_FALSE(IsWindowVisible(settings_.Window()));
    EXPECT_EQ(ConfigBytes(), "[mydata]\r\nmySkipzs=8\r\nAutoSkip=0\r\noverCurrentFileZS=8\r\n");
}

TEST_F(SettingsTest, ApplySavesWhatTheFieldsHoldWithoutBounds) {
    Tfrmmain& form = ShownForm();
    Open(form);
    SetWindowTextW(settings_.SpinEdit1(), L"-5");
    SetWindowTextW(settings_.SpinEdit2(), L"fast");
    Click(settings_.CheckBox1());
    Click(settings_.BitBtn1());
    EXPECT_EQ(form.NearEndFrames, -5);
    EXPECT_EQ(form.StepFrames, 0);
    EXPECT_TRUE(form.SkipPlay);
    EXPECT_TRUE(form.ControlChecked(L"CheckBox3"));
    EXPECT_EQ(ConfigBytes(), "[mydata]\r\nAutoSkip=1\r\nmySkipzs=-5\r\noverCurrentFileZS=0\r\n");

    // Shown again, the dialog shows the values in memory, not the file's.
    WriteConfig("[mydata]\r\nmySkipzs=30\r\n");
    form.NearEndFrames = 12;
    Open(form);
    EXPECT_EQ(Text(settings_.SpinEdit1()), L"12");
    EXPECT_EQ(Text(settings_.SpinEdit2()), L"0");
    EXPECT_TRUE(Checked(settings_.CheckBox1()));
    SetWindowTextW(settings_.SpinEdit1(), L"2147483647");
    Click(settings_.BitBtn1());
    EXPECT_EQ(form.NearEndFrames, 2147483647);
    EXPECT_EQ(ConfigBytes(), "[mydata]\r\nmySkipzs=2147483647\r\nAutoSkip=1\r\noverCurrentFileZS=0\r\n");
}

TEST_F(SettingsTest, BackLeavesMemoryAndFileAlone) {
    WriteConfig("[mydata]\r\nmySkipzs=0x10\r\nAutoSkip=8\r\n");
    Tfrmmain& form = ShownForm();
    EXPECT_EQ(form.NearEndFrames, 16);
    EXPECT_FALSE(form.SkipPlay);
    Open(form);
    EXPECT_EQ(Text(settings_.SpinEdit1()), L"16");
    SetWindowTextW(settings_.SpinEdit1(), L"3");
    SetWindowTextW(settings_.SpinEdit2(), L"4");
    Click(settings_.CheckBox1());
    Click(settings_.BitBtn2());
    EXPECT_FALSE(IsWindowVisible(settings_.Window()));
    EXPECT_EQ(form.NearEndFrames, 16);
    EXPECT_EQ(form.StepFrames, 8);
    EXPECT_FALSE(form.SkipPlay);
    EXPECT_EQ(ConfigBytes(), "[mydata]\r\nmySkipzs=0x10\r\nAutoSkip=8\r\n");
}

TEST_F(SettingsTest, SkipBoxOnTheMainWindowSavesAtOnce) {
    Tfrmmain& form = ShownForm();
    SendMessageW(form.ControlWindow(L"CheckBox3"), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.SkipPlay);
    EXPECT_TRUE(Checked(settings_.CheckBox1()));
    EXPECT_EQ(ConfigBytes(), "[mydata]\r\nAutoSkip=1\r\n");
    EXPECT_EQ(GetFocus(), form.flash()->Window());

    SendMessageW(form.ControlWindow(L"CheckBox3"), BM_CLICK, 0, 0);
    EXPECT_FALSE(form.SkipPlay);
    EXPECT_FALSE(Checked(settings_.CheckBox1()));
    EXPECT_EQ(ConfigBytes(), "[mydata]\r\nAutoSkip=0\r\n");
}

TEST_F(SettingsTest, SkipReadAtShowTicksBothBoxes) {
    WriteConfig("[mydata]\r\nAutoSkip=1\r\n");
    Tfrmmain& form = ShownForm();
    EXPECT_TRUE(form.SkipPlay);
    EXPECT_TRUE(form.ControlChecked(L"CheckBox3"));
    EXPECT_TRUE(Checked(settings_.CheckBox1()));
    EXPECT_EQ(ConfigBytes(), "[mydata]\r\nAutoSkip=1\r\n");
}

TEST_F(SettingsTest, OtherKeysKeepTheirAnsiBytes) {
    // A skin name in the system's code page, with a blank line and a second
    // section around it.
    const std::wstring name = GetACP() == 936 ? L"蓝色.fac" : L"Blå.fac";
    std::string skin = WideToAnsi(name);
    ASSERT_EQ(AnsiToWide(skin), name);
    WriteConfig("[mydata]\r\nskinfile=" + skin + "\r\n\r\n[other]\r\nx=1\r\n");
    Tfrmmain& form = ShownForm();
    Open(form);
    SetWindowTextW(settings_.SpinEdit2(), L"+12");
    Click(settings_.BitBtn1());
    EXPECT_EQ(form.StepFrames, 12);
    EXPECT_EQ(ConfigBytes(), "[mydata]\r\nskinfile=" + skin +
                                 "\r\nmySkipzs=8\r\nAutoSkip=0\r\noverCurrentFileZS=12\r\n\r\n[other]\r\nx=1\r\n");
    EXPECT_EQ(AnsiToWide(ReadSkinFile(*form.Config)), name);
}

TEST_F(SettingsTest, ArrowsStepTheNumberFields) {
    Tfrmmain& form = ShownForm();
    Open(form);
    HWND arrows = GetWindow(settings_.SpinEdit1(), GW_HWNDNEXT);
    ASSERT_NE(arrows, nullptr);
    RECT r{};
    GetClientRect(arrows, &r);
    auto press = [&](int y) {
        SendMessageW(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, y));
        SendMessageW(arrows, WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, y));
    };
    press(2);   // up
    EXPECT_EQ(Text(settings_.SpinEdit1()), L"9");
    SetWindowTextW(settings_.SpinEdit1(), L"-1");
    press(r.bottom - 2);   // down
    EXPECT_EQ(Text(settings_.SpinEdit1()), L"-2");
    SetWindowTextW(settings_.SpinEdit1(), L"2147483647");
    press(2);
    EXPECT_EQ(Text(settings_.SpinEdit1()), L"2147483647");
}

TEST_F(SettingsTest, ClosingTheDialogRestoresTheStayOnTopChoice) {
    Tfrmmain& form = ShownForm();
    form.ClickMenuItem(L"N18");
    Open(form);
    trace_.clear();
    Click(settings_.BitBtn1());
    EXPECT_EQ(trace_, (std::vector<std::string>{"topmost", "not topmost", "topmost"}));
    EXPECT_TRUE(IsTopmost(form.Window()));
    form.ClickMenuItem(L"N18");
    Open(form);
    trace_.clear();
    Click(settings_.BitBtn2());
    EXPECT_EQ(trace_, (std::vector<std::string>{"topmost", "not topmost", "not topmost"}));
    EXPECT_FALSE(IsTopmost(form.Window()));
}
