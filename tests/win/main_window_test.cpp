// The main window as created: its frame, its control tree, its menus and
// timers, and the routing of commands to handlers.
#include "app_test_support.h"

#include "app/application_win.h"
#include "app/frmmain_dispatch_win.h"
#include "app/glyphs_win.h"
#include "app/main_menus.h"

#include <cwctype>

using app_test::MainWindowTest;

namespace {

struct ExpectedControl {
    const wchar_t* name;
    const wchar_t* parent;   // L"" for the window itself
    LayoutRect rect;
    bool visible;
    const wchar_t* text;
};

// The design layout; aligned controls at the places alignment gives them.
const ExpectedControl kLayout[] = {
    {L"flash", L"", {0, 0, 547, 399}, true, nullptr},
    {L"Panel1", L"", {0, 399, 547, 120}, true, L""},
    {L"Panel5", L"Panel1", {1, 1, 544, 118}, true, L""},
    {L"BitBtn1", L"Panel5", {1, 2, 120, 29}, true, L"开始"},
    {L"ListBox1", L"Panel5", {0, 30, 157, 89}, true, L""},
    {L"PlayFileinfo", L"Panel5", {127, 8, 409, 17}, true, L"播放文件信息"},
    {L"PlayFileinfo1", L"Panel5", {128, 9, 409, 17}, true, L"播放文件信息"},
    {L"Shape1", L"Panel5", {171, 29, 359, 86}, true, L""},
    {L"Image1", L"Panel5", {167, 25, 370, 94}, true, L""},
    {L"Panel2", L"Panel5", {179, 35, 256, 37}, true, L""},
    {L"SpeedButton1", L"Panel2", {2, 4, 36, 30}, true, L"||<"},
    {L"SpeedButton2", L"Panel2", {43, 4, 36, 30}, true, L"<<"},
    {L"SpeedButton3", L"Panel2", {84, 4, 36, 30}, true, L">>"},
    {L"SpeedButton4", L"Panel2", {125, 4, 36, 30}, true, L">||"},
    {L"SpeedButton5", L"Panel2", {167, 4, 36, 30}, true, L""},
    {L"SpeedButton6", L"Panel2", {208, 4, 36, 30}, true, L""},
    {L"SpeedButton9", L"Panel2", {174, -12, 36, 30}, false, L"音+"},
    {L"SpeedButton10", L"Panel2", {208, -12, 36, 30}, false, L"音-"},
    {L"CheckBox1", L"Panel5", {178, 72, 75, 17}, true, L"连续播放"},
    {L"RadioButton1", L"Panel5", {251, 72, 47, 17}, true, L"顺序"},
    {L"RadioButton2", L"Panel5", {300, 72, 62, 17}, true, L"随机"},
    {L"CheckBox2", L"Panel5", {360, 72, 74, 17}, true, L"单曲循环"},
    {L"CheckBox3", L"Panel5", {438, 71, 68, 17}, true, L"跳过Play"},
    {L"ProgressBar1", L"Panel5", {180, 92, 340, 18}, true, nullptr},
    {L"Panel7", L"Panel5", {432, 43, 81, 25}, true, L""},
    {L"Panel8", L"Panel7", {1, 1, 77, 20}, true, L""},
    {L"Panel9", L"Panel8", {0, 0, 77, 20}, true, L""},
    {L"VolImg", L"Panel9", {0, 0, 77, 20}, true, L""},
    {L"VolLbl", L"Panel5", {472, 40, 38, 30}, true, L""},
    {L"byl", L"Panel5", {440, -3, 57, 17}, false, L"改变音量"},
    {L"Edit1", L"Panel5", {383, 6, 54, 21}, false, L"127.5"},   // the volume bar applied at creation
    {L"Panel6", L"Panel1", {545, 1, 1, 118}, true, L""},
    {L"Memo3", L"Panel6", {0, 0, 1, 118}, true, nullptr},
    {L"Panel3", L"", {128, 48, 761, 281}, false, L""},
    {L"Memo1", L"Panel3", {8, 8, 360, 265}, true, L""},
    {L"Memo2", L"Panel3", {392, 8, 360, 265}, true, L""},
    {L"Panel4", L"", {0, 144, 540, 65}, false, L""},
    {L"zzcz", L"Panel4", {16, 14, 120, 13}, true, L"正在查找"},
    {L"ProgressBar2", L"Panel4", {1, 48, 538, 16}, true, nullptr},
};

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    std::wstring lower = name;
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    return lower;
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

std::wstring PrintName(const wchar_t* name) { return name; }

}  // namespace

TEST_F(MainWindowTest, FrameIsFixedCentredAndSkyBlue) {
    Tfrmmain& form = MakeForm();
    HWND window = form.Window();
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 547);
    EXPECT_EQ(client.bottom, 519);
    LONG_PTR style = StyleOf(window);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(WindowText(window), L"Corvella3.0");

    RECT outer = WindowRect(window);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);

    // The client area shows the sky blue background where no control lies.
    HBRUSH background = reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
    LOGBRUSH brush{};
    GetObjectW(background, sizeof(brush), &brush);
    EXPECT_EQ(brush.lbColor, RGB(0xA6, 0xCA, 0xF0));
}

TEST_F(MainWindowTest, ControlTreeHasTheDesignLayout) {
    Tfrmmain& form = MakeForm();
    ControlSet& controls = form.Controls();
    for (const ExpectedControl& expected : kLayout) {
        SCOPED_TRACE(testing::Message() << "control " << testing::PrintToString(PrintName(expected.name)));
        int index = form.ControlIndex(expected.name);
        EXPECT_EQ(controls.Rect(index), expected.rect);
        EXPECT_EQ(controls.Visible(index), expected.visible);
        if (expected.text) {
            EXPECT_EQ(form.ControlText(expected.name), expected.text);
        }
        if (HWND window = controls.Window(index)) {
            HWND parent = expected.parent[0] ? form.ControlWindow(expected.parent) : form.Window();
            EXPECT_EQ(GetParent(window), parent);
        } else {
            EXPECT_EQ(controls.Record(controls.Parent(index)).name, expected.parent);
        }
    }
}

TEST_F(MainWindowTest, ControlsAreTheRightKindOfWindow) {
    Tfrmmain& form = MakeForm();
    EXPECT_EQ(ClassOf(form.ControlWindow(L"ListBox1")), L"listbox");
    EXPECT_TRUE(StyleOf(form.ControlWindow(L"ListBox1")) & LBS_NOTIFY);
    EXPECT_EQ(ClassOf(form.ControlWindow(L"ProgressBar1")), L"msctls_progress32");
    EXPECT_EQ(ClassOf(form.ControlWindow(L"Edit1")), L"edit");
    for (const wchar_t* button : {L"BitBtn1", L"SpeedButton1", L"SpeedButton5", L"byl"})
        EXPECT_EQ(StyleOf(form.ControlWindow(button)) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(StyleOf(form.ControlWindow(L"CheckBox3")) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(StyleOf(form.ControlWindow(L"RadioButton2")) & BS_TYPEMASK, BS_RADIOBUTTON);

    LONG_PTR memo = StyleOf(form.ControlWindow(L"Memo3"));
    EXPECT_TRUE(memo & ES_MULTILINE);
    EXPECT_TRUE(memo & ES_READONLY);
    EXPECT_TRUE(memo & WS_VSCROLL);
    EXPECT_FALSE(GetWindowLongPtrW(form.ControlWindow(L"Memo3"), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(StyleOf(form.ControlWindow(L"Memo1")) & ES_READONLY);

    PBRANGE range{};
    SendMessageW(form.ControlWindow(L"ProgressBar1"), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 1000);
    SendMessageW(form.ControlWindow(L"ProgressBar2"), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iHigh, 100);
}

TEST_F(MainWindowTest, RadioButtonsStartCheckedInOrderAndDisabled) {
    Tfrmmain& form = MakeForm();
    EXPECT_TRUE(form.ControlChecked(L"RadioButton1"));
    EXPECT_FALSE(form.ControlChecked(L"RadioButton2"));
    EXPECT_FALSE(IsWindowEnabled(form.ControlWindow(L"RadioButton1")));
    EXPECT_FALSE(IsWindowEnabled(form.ControlWindow(L"RadioButton2")));
    EXPECT_FALSE(form.ControlChecked(L"CheckBox1"));

    // Checking one clears the other; clearing a check box leaves radios alone.
    form.SetControlChecked(L"RadioButton2", true);
    EXPECT_FALSE(form.ControlChecked(L"RadioButton1"));
    EXPECT_TRUE(form.ControlChecked(L"RadioButton2"));
    form.SetControlChecked(L"RadioButton1", true);
    EXPECT_TRUE(form.ControlChecked(L"RadioButton1"));
    EXPECT_FALSE(form.ControlChecked(L"RadioButton2"));
}

TEST_F(MainWindowTest, GraphicTextsChangeWithoutAWindow) {
    Tfrmmain& form = MakeForm();
    EXPECT_EQ(form.ControlWindow(L"PlayFileinfo"), nullptr);
    form.SetControlText(L"PlayFileinfo1", L"Corvella3.0  intro --- 12/99");
    EXPECT_EQ(form.ControlText(L"PlayFileinfo1"), L"Corvella3.0  intro --- 12/99");
    EXPECT_EQ(form.ControlText(L"PlayFileinfo"), L"播放文件信息");
    EXPECT_THROW(form.ControlText(L"Label9"), std::out_of_range);
}

TEST_F(MainWindowTest, HiddenControlsWorkFromCode) {
    Tfrmmain& form = MakeForm();
    form.SetControlText(L"Edit1", L"128");
    EXPECT_EQ(form.ControlText(L"Edit1"), L"128");
    form.Controls().SetVisible(form.ControlIndex(L"Panel4"), true);
    EXPECT_TRUE(form.Controls().Visible(form.ControlIndex(L"Panel4")));
    SendMessageW(form.ControlWindow(L"ProgressBar2"), PBM_SETPOS, 40, 0);
    EXPECT_EQ(SendMessageW(form.ControlWindow(L"ProgressBar2"), PBM_GETPOS, 0, 0), 40);
}

TEST_F(MainWindowTest, WiderWindowWidensTheInformationMemo) {
    Tfrmmain& form = MakeForm();
    RECT outer = WindowRect(form.Window());
    SetWindowPos(form.Window(), nullptr, 0, 0, outer.right - outer.left + 200, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    ControlSet& controls = form.Controls();
    EXPECT_EQ(controls.Rect(form.ControlIndex(L"Panel1")), (LayoutRect{0, 399, 747, 120}));
    EXPECT_EQ(controls.Rect(form.ControlIndex(L"Panel5")), (LayoutRect{1, 1, 544, 118}));
    EXPECT_EQ(controls.Rect(form.ControlIndex(L"Panel6")), (LayoutRect{545, 1, 201, 118}));
    EXPECT_EQ(controls.Rect(form.ControlIndex(L"Memo3")), (LayoutRect{0, 0, 201, 118}));
    EXPECT_EQ(controls.Rect(form.ControlIndex(L"flash")), (LayoutRect{0, 0, 547, 399}));
}

TEST_F(MainWindowTest, TimersStartWithTheirDesignState) {
    Tfrmmain& form = MakeForm();
    EXPECT_EQ(form.TimerInterval(L"Timer1"), 300);
    for (const wchar_t* name : {L"Timer2", L"Timer3", L"Timer4", L"Timer5"})
        EXPECT_EQ(form.TimerInterval(name), 100);
    for (const wchar_t* name : {L"Timer1", L"Timer2", L"Timer3", L"Timer4"}) EXPECT_FALSE(form.TimerEnabled(name));
    EXPECT_TRUE(form.TimerEnabled(L"Timer5"));
    form.SetTimerEnabled(L"Timer2", true);
    form.SetTimerEnabled(L"Timer5", false);
    EXPECT_TRUE(form.TimerEnabled(L"Timer2"));
    EXPECT_FALSE(form.TimerEnabled(L"Timer5"));
    EXPECT_THROW(form.TimerEnabled(L"Timer6"), std::out_of_range);
}

TEST_F(MainWindowTest, AcceptsDroppedFiles) {
    Tfrmmain& form = MakeForm();
    EXPECT_TRUE(GetWindowLongPtrW(form.Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(MainWindowTest, EveryCommandHasAHandler) {
    for (const auto* menu : {&PopupMenu1Items(), &PopupMenu2Items()})
        for (int i = 0; i < static_cast<int>(menu->size()); ++i) {
            const MenuItemRecord& item = (*menu)[i];
            if (item.IsSeparator() || HasSubmenu(*menu, i)) continue;
            EXPECT_TRUE(HasMenuHandler(item.name)) << testing::PrintToString(item.name);
        }
    for (const ControlRecord& control : MainWindowControls()) {
        bool clickable = control.kind == ControlKind::BitBtn || control.kind == ControlKind::SpeedButton ||
                         control.kind == ControlKind::CheckBox || control.kind == ControlKind::RadioButton;
        if (clickable) {
            EXPECT_TRUE(HasControlClick(control.name)) << testing::PrintToString(control.name);
        }
    }
}

TEST_F(MainWindowTest, HintsAreToolsOfOneTooltip) {
    Tfrmmain& form = MakeForm();
    HWND tooltip = form.Controls().Tooltip();
    ASSERT_NE(tooltip, nullptr);
    // Every control with a hint except the loop check box, whose hint is not shown.
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 17);

    auto hint_of = [&](HWND parent, UINT_PTR id, UINT flags) {
        wchar_t text[128] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = flags;
        tool.hwnd = parent;
        tool.uId = id;
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
        return std::wstring(text);
    };
    HWND button = form.ControlWindow(L"BitBtn1");
    EXPECT_EQ(hint_of(GetParent(button), reinterpret_cast<UINT_PTR>(button), TTF_IDISHWND), L"单击这里开始。");
    HWND check = form.ControlWindow(L"CheckBox2");
    EXPECT_EQ(hint_of(GetParent(check), reinterpret_cast<UINT_PTR>(check), TTF_IDISHWND), L"");
    // The volume picture has no window: its tool is a rectangle of its panel.
    ControlSet& controls = form.Controls();
    int picture = form.ControlIndex(L"VolImg");
    EXPECT_EQ(hint_of(form.ControlWindow(L"Panel9"), static_cast<UINT_PTR>(controls.IdOf(picture)), 0), L"总音量");
}

namespace {

// The glyph drawn into a white 16 × 16 picture in the middle of a 24 × 24
// bitmap: for each pixel, whether it is inked.
std::vector<bool> GlyphInk(ControlGlyph glyph) {
    const int size = 24;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawGlyph(dc, glyph, RECT{4, 4, 20, 20}, true);
    GdiFlush();
    std::vector<bool> ink(size * size);
    for (int i = 0; i < size * size; ++i) ink[i] = (static_cast<const DWORD*>(bits)[i] & 0xFFFFFF) != 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ink;
}

int InkIn(const std::vector<bool>& ink, int left, int right) {
    int count = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = left; x < right; ++x) count += ink[y * 24 + x];
    return count;
}

}  // namespace

// The transport glyphs are solid shapes that fill their picture: each one
// stays inside it, covers a good part of it, and differs from the others;
// the pairs of directions are mirror images in how their ink lies.
TEST(TransportGlyphs, FillTheirPictureAndPointTheirWay) {
    const ControlGlyph glyphs[] = {ControlGlyph::First, ControlGlyph::Back, ControlGlyph::Forward,
                                   ControlGlyph::Last,  ControlGlyph::Play, ControlGlyph::Pause};
    std::vector<std::vector<bool>> inks;
    for (ControlGlyph glyph : glyphs) {
        std::vector<bool> ink = GlyphInk(glyph);
        int inside = 0, total = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x) {
                total += ink[y * 24 + x];
                inside += ink[y * 24 + x] && x >= 4 && x < 20 && y >= 4 && y < 20;
            }
        EXPECT_EQ(inside, total) << static_cast<int>(glyph);
        EXPECT_GE(total, 16 * 16 * 30 / 100) << static_cast<int>(glyph);
        for (const std::vector<bool>& other : inks) EXPECT_NE(ink, other) << static_cast<int>(glyph);
        inks.push_back(ink);
    }
    // A triangle's base is a full column, its point a few pixels: a glyph
    // pointing right has more ink in its first inked column than its last.
    auto lean = [](const std::vector<bool>& ink) {
        int first = -1, last = -1;
        for (int x = 0; x < 24; ++x)
            if (InkIn(ink, x, x + 1) > 0) {
                if (first < 0) first = x;
                last = x;
            }
        return InkIn(ink, last, last + 1) - InkIn(ink, first, first + 1);
    };
    EXPECT_GT(lean(inks[1]), 4);    // back points left
    EXPECT_LT(lean(inks[2]), -4);   // forward points right
    EXPECT_LT(lean(inks[4]), -4);   // play points right
    EXPECT_NEAR(InkIn(inks[0], 0, 24), InkIn(inks[3], 0, 24), 16);   // first and last
}

// A hint shown for the playlist goes when another window takes the
// activation (the extraction window opened over it) or a menu opens.
TEST_F(MainWindowTest, HintLeavesTheScreenWithTheActivationAndForMenus) {
    Tfrmmain& form = MakeForm();
    form.Show();
    SetForegroundWindow(form.Window());
    HWND tooltip = form.Controls().Tooltip();
    HWND list = form.ControlWindow(L"ListBox1");
    // The pointer over the playlist, the hint shown at once.
    auto show_hint = [&] {
        RECT r{};
        GetWindowRect(list, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        // The pointer may take a moment to reach the new place under X.
        for (int tries = 0; tries < 20 && !IsWindowVisible(tooltip); ++tries) {
            ProcessPendingMessages();
            Sleep(50);
            SendMessageW(tooltip, TTM_POPUP, 0, 0);
        }
        return IsWindowVisible(tooltip) != FALSE;
    };

    ASSERT_TRUE(show_hint());
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE | WS_CAPTION, 600, 100, 200, 100,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(other);
    ProcessPendingMessages();
    EXPECT_FALSE(IsWindowVisible(tooltip));
    DestroyWindow(other);

    SetActiveWindow(form.Window());
    ASSERT_TRUE(show_hint());
    SendMessageW(form.Window(), WM_ENTERMENULOOP, TRUE, 0);
    EXPECT_FALSE(IsWindowVisible(tooltip));
}
