// The popup menus as the platform builds them: items, texts with their
// shortcuts, separators, radio groups, hidden items and accelerators.
#include "app_test_support.h"

#include "app/popup_menu_win.h"
#include "app/prompts_win.h"

using app_test::MainWindowTest;

namespace {

struct MenuEntry {
    std::wstring text;
    UINT type = 0;
    UINT state = 0;
    HMENU submenu = nullptr;
    UINT id = 0;
};

MenuEntry EntryAt(HMENU menu, int position) {
    MenuEntry entry;
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 128;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    entry.text = text;
    entry.type = info.fType;
    entry.state = info.fState;
    entry.submenu = info.hSubMenu;
    entry.id = info.wID;
    return entry;
}

std::vector<std::wstring> Texts(HMENU menu) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        MenuEntry entry = EntryAt(menu, i);
        texts.push_back(entry.type & MFT_SEPARATOR ? L"-" : entry.text);
    }
    return texts;
}

HMENU SubmenuAt(HMENU menu, int position) { return EntryAt(menu, position).submenu; }

}  // namespace

TEST(PopupMenuWin, TopLevelTextsCarryTheirShortcuts) {
    PopupMenu menu(PopupMenu1Items(), 2000);
    std::vector<std::wstring> expected = {
        L"打开文件...\tCtrl+O", L"打开列表...\tCtrl+L", L"-", L"查找文件", L"-", L"播放控制", L"窗口控制", L"-",
        L"语言", L"设置墙纸", L"抓图\tF12", L"-", L"画面品质", L"声道", L"缩放", L"-",
        L"窗口最前", L"更换皮肤...", L"-", L"设置...", L"帮助\tF1", L"关于...", L"-", L"退出"};
    EXPECT_EQ(Texts(menu.Handle()), expected);
    EXPECT_EQ(Texts(SubmenuAt(menu.Handle(), 5)),
              (std::vector<std::wstring>{L"播放\tCtrl+P", L"暂停\tCtrl+S", L"-", L"快进", L"快退", L"最前", L"最后",
                                         L"-", L"顺序连续播放", L"随机连续播放"}));
    EXPECT_EQ(EntryAt(menu.Handle(), 0).id, 2000u + static_cast<UINT>(menu.Index(L"N55")));
}

TEST(PopupMenuWin, HiddenItemIsLeftOutUntilShown) {
    PopupMenu menu(PopupMenu1Items(), 2000);
    HMENU window_menu = SubmenuAt(menu.Handle(), 6);
    EXPECT_EQ(Texts(window_menu), (std::vector<std::wstring>{L"全屏\tCtrl+F", L"窗口\tAlt+Enter"}));
    menu.SetHidden(menu.Index(L"N4"), false);
    EXPECT_EQ(Texts(SubmenuAt(menu.Handle(), 6)),
              (std::vector<std::wstring>{L"全屏\tCtrl+F", L"窗口\tAlt+Enter", L"窗口（无控制面板）"}));
}

TEST(PopupMenuWin, RadioItemsAreExclusiveInTheirGroup) {
    PopupMenu menu(PopupMenu1Items(), 2000);
    auto state = [&](const wchar_t* name) {
        return GetMenuState(menu.Handle(), static_cast<UINT>(menu.CommandOf(menu.Index(name))), MF_BYCOMMAND);
    };
    EXPECT_TRUE(state(L"N34") & MF_CHECKED);
    EXPECT_TRUE(state(L"N51") & MF_CHECKED);
    EXPECT_FALSE(state(L"N31") & MF_CHECKED);
    EXPECT_TRUE(EntryAt(SubmenuAt(menu.Handle(), 8), 0).type & MFT_RADIOCHECK);

    menu.SetChecked(menu.Index(L"N31"), true);
    EXPECT_TRUE(state(L"N31") & MF_CHECKED);
    EXPECT_FALSE(state(L"N34") & MF_CHECKED);
    EXPECT_TRUE(menu.Checked(menu.Index(L"N31")));
    EXPECT_FALSE(menu.Checked(menu.Index(L"N34")));
    // Other groups keep their marks.
    EXPECT_TRUE(state(L"N51") & MF_CHECKED);

    menu.SetChecked(menu.Index(L"N53"), true);
    EXPECT_FALSE(state(L"N51") & MF_CHECKED);
    EXPECT_FALSE(state(L"N52") & MF_CHECKED);
    EXPECT_TRUE(state(L"N53") & MF_CHECKED);

    // A group can be cleared altogether.
    menu.SetChecked(menu.Index(L"N20"), true);
    menu.SetChecked(menu.Index(L"N20"), false);
    EXPECT_FALSE(state(L"N20") & MF_CHECKED);
    EXPECT_FALSE(state(L"N19") & MF_CHECKED);
}

TEST(PopupMenuWin, CaptionChangeKeepsTheShortcut) {
    PopupMenu menu(PopupMenu1Items(), 2000);
    menu.SetCaption(menu.Index(L"N55"), L"Open File(s)");
    EXPECT_EQ(Texts(menu.Handle())[0], L"Open File(s)\tCtrl+O");
    // Rebuilding for a hidden item keeps captions and marks.
    menu.SetChecked(menu.Index(L"N18"), true);
    menu.SetHidden(menu.Index(L"N4"), false);
    EXPECT_EQ(Texts(menu.Handle())[0], L"Open File(s)\tCtrl+O");
    EXPECT_TRUE(GetMenuState(menu.Handle(), static_cast<UINT>(menu.CommandOf(menu.Index(L"N18"))), MF_BYCOMMAND) &
                MF_CHECKED);
}

TEST(PopupMenuWin, AcceleratorsComeFromTheShortcuts) {
    PopupMenu menu(PopupMenu1Items(), 2000);
    std::vector<ACCEL> accelerators = menu.Accelerators();
    ASSERT_EQ(accelerators.size(), 8u);
    auto find = [&](const wchar_t* name) {
        for (const ACCEL& a : accelerators)
            if (a.cmd == menu.CommandOf(menu.Index(name))) return a;
        return ACCEL{};
    };
    EXPECT_EQ(find(L"N55").key, 'O');
    EXPECT_EQ(find(L"N55").fVirt, FVIRTKEY | FCONTROL);
    EXPECT_EQ(find(L"N3").key, VK_RETURN);
    EXPECT_EQ(find(L"N3").fVirt, FVIRTKEY | FALT);
    EXPECT_EQ(find(L"N8").key, VK_F12);
    EXPECT_EQ(find(L"N8").fVirt, FVIRTKEY);
    EXPECT_EQ(find(L"N27").key, VK_F1);
}

TEST(PopupMenuWin, PlaylistMenuInOrder) {
    PopupMenu menu(PopupMenu2Items(), 3000);
    EXPECT_EQ(Texts(menu.Handle()),
              (std::vector<std::wstring>{L"打开文件...", L"从列表中删除文件", L"swfToExe...", L"swfToMp3...", L"-",
                                         L"打开列表", L"保存列表", L"清空列表"}));
    EXPECT_EQ(menu.IndexOfCommand(3004), 4);
    EXPECT_EQ(menu.IndexOfCommand(2999), -1);
    EXPECT_EQ(menu.IndexOfCommand(3008), -1);
}

TEST_F(MainWindowTest, MenuItemsAreReachedByName) {
    Tfrmmain& form = MakeForm();
    EXPECT_FALSE(form.MenuChecked(L"N18"));
    EXPECT_TRUE(form.MenuChecked(L"N34"));
    form.SetMenuChecked(L"N19", true);
    EXPECT_TRUE(form.MenuChecked(L"N19"));
    EXPECT_FALSE(form.MenuChecked(L"N20"));
    EXPECT_THROW(form.MenuChecked(L"N99"), std::out_of_range);
    EXPECT_THROW(form.ClickMenuItem(L"N99"), std::out_of_range);
    // The hidden item's command exists.
    EXPECT_NO_THROW(form.ClickMenuItem(L"N4"));
}

TEST_F(MainWindowTest, ShortcutsActOnlyWhereTheControlPanelHasTheFocus) {
    Tfrmmain& form = MakeForm();
    // F12 runs the capture command: its save dialog is cancelled at once.
    SetSaveDialogHook([](const SaveDialogRequest&) { return std::optional<std::wstring>(); });
    BYTE keys[256] = {};
    SetKeyboardState(keys);   // no modifier held
    auto key_to = [&](const wchar_t* control, WPARAM key) {
        MSG msg{};
        msg.hwnd = form.ControlWindow(control);
        msg.message = WM_KEYDOWN;
        msg.wParam = key;
        return form.TranslateShortcut(msg);
    };
    EXPECT_TRUE(key_to(L"ListBox1", VK_F12));
    EXPECT_TRUE(key_to(L"CheckBox1", VK_F12));
    // The Flash control and the information memo do not carry the menu.
    EXPECT_FALSE(key_to(L"flash", VK_F12));
    EXPECT_FALSE(key_to(L"Memo3", VK_F12));
    // Keys without a shortcut pass on.
    EXPECT_FALSE(key_to(L"ListBox1", VK_F11));
    EXPECT_FALSE(key_to(L"ListBox1", 'O'));   // Ctrl is not held
    SetSaveDialogHook(nullptr);
}
