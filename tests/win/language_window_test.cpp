// The interface language commands: captions, hints and the title of the
// main window in English and back in Chinese.
#include "app_test_support.h"

#include <commctrl.h>

using app_test::MainWindowTest;

namespace {

// The text of a menu item as the platform menu holds it (shortcut included).
std::wstring PlatformMenuText(PopupMenu& menu, const wchar_t* name) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 128;
    GetMenuItemInfoW(menu.Handle(), static_cast<UINT>(menu.CommandOf(menu.Index(name))), FALSE, &info);
    return text;
}

std::wstring Caption(Tfrmmain& form, const wchar_t* name) {
    if (int i = form.PopupMenu1().Index(name); i >= 0) return form.PopupMenu1().Caption(i);
    return form.PopupMenu2().Caption(form.PopupMenu2().Index(name));
}

std::wstring HintOf(Tfrmmain& form, const wchar_t* name) {
    HWND control = form.ControlWindow(name);
    wchar_t text[128] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text;
    SendMessageW(form.Controls().Tooltip(), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
    return text;
}

}  // namespace

TEST_F(MainWindowTest, EnglishRewritesMenusButtonsAndCheckBoxes) {
    Tfrmmain& form = MakeForm();
    SetWindowTextW(form.Window(), L"something else");
    form.ClickMenuItem(L"N31");

    EXPECT_EQ(WindowText(form.Window()), L"Corvella3.0 ");
    EXPECT_TRUE(form.MenuChecked(L"N31"));
    EXPECT_FALSE(form.MenuChecked(L"N34"));
    EXPECT_EQ(Caption(form, L"N55"), L"Open File(s)");
    EXPECT_EQ(PlatformMenuText(form.PopupMenu1(), L"N55"), L"Open File(s)\tCtrl+O");
    // Submenu heads and items deep inside submenus, trailing blanks kept.
    EXPECT_EQ(PlatformMenuText(form.PopupMenu1(), L"N2"), L"Window cortrol Center");
    EXPECT_EQ(PlatformMenuText(form.PopupMenu1(), L"N56"), L"Track ");
    EXPECT_EQ(PlatformMenuText(form.PopupMenu1(), L"N11"), L"Extend ");
    EXPECT_EQ(Caption(form, L"N4"), L"Window(No Have Contral)");   // hidden, still renamed
    EXPECT_EQ(PlatformMenuText(form.PopupMenu2(), L"N43"), L"Remove File From List");
    EXPECT_EQ(form.ControlText(L"BitBtn1"), L"Start");
    EXPECT_EQ(form.ControlText(L"CheckBox1"), L"Sequential");
    EXPECT_EQ(form.ControlText(L"RadioButton2"), L"Random");
    EXPECT_EQ(form.ControlText(L"SpeedButton9"), L"V+");

    // Transport hints are Chinese in both languages; other hints and the
    // labels are not touched.
    EXPECT_EQ(HintOf(form, L"SpeedButton3"), L"快进");
    EXPECT_EQ(HintOf(form, L"SpeedButton2"), L"快退");
    EXPECT_EQ(HintOf(form, L"CheckBox1"), L"选中才可以连续播放");
    EXPECT_EQ(form.ControlText(L"PlayFileinfo"), L"播放文件信息");
    EXPECT_EQ(form.ControlText(L"zzcz"), L"正在查找");
}

TEST_F(MainWindowTest, BackToChineseGivesTheTableTextsNotTheDesign) {
    Tfrmmain& form = MakeForm();
    form.ClickMenuItem(L"N31");
    form.ClickMenuItem(L"N34");
    EXPECT_TRUE(form.MenuChecked(L"N34"));
    EXPECT_FALSE(form.MenuChecked(L"N31"));
    EXPECT_EQ(PlatformMenuText(form.PopupMenu1(), L"N55"), L"打开文件\tCtrl+O");
    EXPECT_EQ(PlatformMenuText(form.PopupMenu1(), L"N3"), L"窗口(有控制面板)\tAlt+Enter");
    EXPECT_EQ(Caption(form, L"N34"), L"简体中文");
    EXPECT_EQ(Caption(form, L"N42"), L"打开文件");
    EXPECT_EQ(form.ControlText(L"BitBtn1"), L"开始");
    EXPECT_EQ(form.ControlText(L"CheckBox3"), L"跳过Play");

    // The same language again writes the same texts.
    form.ClickMenuItem(L"N34");
    EXPECT_EQ(Caption(form, L"N20"), L"顺序播放");
    EXPECT_TRUE(form.MenuChecked(L"N34"));
}

TEST_F(MainWindowTest, UnknownLanguageCodeOnlyRetitles) {
    Tfrmmain& form = MakeForm();
    form.changeLanguage(3);
    EXPECT_EQ(WindowText(form.Window()), L"Corvella3.0 ");
    EXPECT_EQ(Caption(form, L"N55"), L"打开文件...");
    EXPECT_EQ(form.ControlText(L"CheckBox1"), L"连续播放");
    EXPECT_EQ(HintOf(form, L"SpeedButton2"), L"向前");
    EXPECT_TRUE(form.MenuChecked(L"N34"));
}
