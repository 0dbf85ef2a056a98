// Skinned menus under the skin manager: popup windows with the skin's
// background and border (the system menu too), items that keep the
// platform look, and a skinned menu bar with keyboard switching between
// its popups.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/application_win.h"
#include "skin/skin_data.h"
#include "skin/skin_manage_win.h"
#include "skin/skin_menu_win.h"
#include "skin/skin_menubar_win.h"
#include "skin/skin_popmenu_win.h"
#include "skin/win_skin_form_win.h"
#include "tests/win/skin_test_skin.h"

namespace {

using namespace skin_test;

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU

int g_commands = 0;

LRESULT CALLBACK MenuTestProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND) g_commands++;
    return DefWindowProcW(window, message, wparam, lparam);
}

HWND MakeWindow(HMENU menu) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = MenuTestProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CorvellaSkinMenuTest";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
        registered = true;
    }
    return CreateWindowExW(WS_EX_TOPMOST, L"CorvellaSkinMenuTest", L"menus", WS_OVERLAPPEDWINDOW, 80, 80, 400, 300,
                           nullptr, menu, GetModuleHandleW(nullptr), nullptr);
}

HMENU Popup(std::initializer_list<const wchar_t*> captions, UINT first_id) {
    HMENU menu = CreatePopupMenu();
    UINT id = first_id;
    for (const wchar_t* caption : captions) AppendMenuW(menu, MF_STRING, id++, caption);
    return menu;
}

BOOL CALLBACK CollectPopups(HWND window, LPARAM data) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32768") == 0 && IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

HWND TopPopup() {
    std::vector<HWND> popups;
    EnumThreadWindows(GetCurrentThreadId(), CollectPopups, reinterpret_cast<LPARAM>(&popups));
    return popups.empty() ? nullptr : popups.front();
}

HMENU MenuOf(HWND popup) { return popup ? reinterpret_cast<HMENU>(SendMessageW(popup, kGetMenuHandle, 0, 0)) : nullptr; }

uint32_t ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return AsPixel(c);
}

// What a timer saw of an open popup-menu window.
struct PopupProbe {
    bool seen = false;
    bool skinned = false;
    LRESULT query = 0;
    uint32_t corner = 0;
    uint32_t right_edge = 0;
    int ticks = 0;
};
PopupProbe g_probe;

void CALLBACK ProbePopup(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = TopPopup();
    if (popup && IsWindowVisible(popup) && ++g_probe.ticks >= 3) {
        RECT r;
        GetWindowRect(popup, &r);
        g_probe.seen = true;
        g_probe.skinned = PopMenuSkinnerOf(popup) != nullptr;
        g_probe.query = SendMessageW(popup, kSkinQuery, 0, 0);
        g_probe.corner = ScreenPixel(r.left + 1, r.top + 1);
        g_probe.right_edge = ScreenPixel(r.right - 2, (r.top + r.bottom) / 2);
    }
    if (g_probe.seen || g_probe.ticks > 100) {
        KillTimer(nullptr, id);
        EndMenu();
    }
}

// Keyboard switching on the skinned bar: which popup each step saw.
struct BarWalk {
    int step = 0;
    HMENU first = nullptr;
    HMENU last = nullptr;
    std::vector<HMENU> shown;
    bool first_item_selected = false;
    int ticks = 0;
};
BarWalk g_walk;

void CALLBACK WalkBar(HWND, UINT, UINT_PTR id, DWORD) {
    HWND popup = TopPopup();
    if (++g_walk.ticks > 200) {
        KillTimer(nullptr, id);
        EndMenu();
        return;
    }
    if (!popup) return;
    const HMENU menu = MenuOf(popup);
    if (g_walk.shown.empty() || g_walk.shown.back() != menu) g_walk.shown.push_back(menu);
    if (g_walk.step == 0 && menu == g_walk.last) {
        g_walk.step = 1;
        PostMessageW(popup, WM_KEYDOWN, VK_RIGHT, 0);
    } else if (g_walk.step == 1 && menu == g_walk.first) {
        if (GetMenuState(menu, 0, MF_BYPOSITION) & MF_HILITE) {
            g_walk.first_item_selected = true;
            g_walk.step = 2;
            PostMessageW(popup, WM_KEYDOWN, VK_LEFT, 0);
        }
    } else if (g_walk.step == 2 && menu == g_walk.last) {
        g_walk.step = 3;
        KillTimer(nullptr, id);
        EndMenu();
    }
}

// The mouse moved across the bar while a popup is open: where to go and
// which popups showed.
struct BarSweep {
    POINT target{};
    bool moved = false;
    std::vector<HMENU> shown;
    int ticks = 0;
};
BarSweep g_sweep;

void CALLBACK SweepBar(HWND, UINT, UINT_PTR id, DWORD) {
    const HMENU menu = MenuOf(TopPopup());
    if (menu && (g_sweep.shown.empty() || g_sweep.shown.back() != menu)) g_sweep.shown.push_back(menu);
    if (++g_sweep.ticks > 100 || g_sweep.shown.size() >= 2) {
        KillTimer(nullptr, id);
        EndMenu();
        return;
    }
    if (!g_sweep.moved && menu) {
        g_sweep.moved = true;
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = static_cast<LONG>((g_sweep.target.x * 65535LL + GetSystemMetrics(SM_CXSCREEN) / 2) /
                                     (GetSystemMetrics(SM_CXSCREEN) - 1));
        in.mi.dy = static_cast<LONG>((g_sweep.target.y * 65535LL + GetSystemMetrics(SM_CYSCREEN) / 2) /
                                     (GetSystemMetrics(SM_CYSCREEN) - 1));
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof(in));
    }
}

class SkinMenusTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_commands = 0;
        skin_.SetPackage(Package());
        ASSERT_TRUE(skin_.LoadPackage());
        TSkinManage::Instance().Register(skin_);
        ASSERT_TRUE(skin_.SetActive(true));
        TSkinManage::Instance().RunRequest();
    }
    void TearDown() override {
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
        TSkinManage::Instance().Shutdown();
    }
    HWND Skinned(HMENU bar) {
        window_ = MakeWindow(bar);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        UpdateWindow(window_);  // the platform sizes its menu bar when it first draws it
        ProcessPendingMessages();
        RECT client;
        GetClientRect(window_, &client);
        before_ = {client.right, client.bottom};
        TSkinManage::Instance().Offer(window_);
        ProcessPendingMessages();
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        ProcessPendingMessages();
        return window_;
    }
    POINT ScreenPoint(int x, int y) {
        RECT r;
        GetWindowRect(window_, &r);
        return {r.left + x, r.top + y};
    }

    TSkinData skin_;
    HWND window_ = nullptr;
    SIZE before_{};
};

}  // namespace

TEST_F(SkinMenusTest, PopupWindowsWearTheMenuBackgroundAndBorder) {
    HWND w = Skinned(nullptr);
    HMENU menu = Popup({L"&Open", L"&Save", L"E&xit"}, 100);
    g_probe = {};
    SetTimer(nullptr, 0, 30, ProbePopup);
    POINT at = ScreenPoint(40, 60);
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, w, nullptr);
    ProcessPendingMessages();
    ASSERT_TRUE(g_probe.seen);
    EXPECT_TRUE(g_probe.skinned);
    EXPECT_EQ(g_probe.query, 1);
    EXPECT_EQ(g_probe.corner, kMenuBorder);
    EXPECT_EQ(g_probe.right_edge, kMenuBorder);
    EXPECT_EQ(TSkinManage::Instance().PopMenuCount(), 0u);  // released with its window
    DestroyMenu(menu);
}

TEST_F(SkinMenusTest, TheSystemMenuIsSkinnedToo) {
    HWND w = Skinned(nullptr);
    g_probe = {};
    SetTimer(nullptr, 0, 30, ProbePopup);
    const POINT at = ScreenPoint(100, 10);
    SendMessageW(w, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
    ProcessPendingMessages();
    ASSERT_TRUE(g_probe.seen);
    EXPECT_TRUE(g_probe.skinned);
    EXPECT_EQ(g_probe.corner, kMenuBorder);
}

TEST_F(SkinMenusTest, ItemsMarkedToKeepTheirLookAreNotOwnerDrawn) {
    HMENU menu = Popup({L"one", L"two"}, 1);
    MENUITEMINFOW keep{};
    keep.cbSize = sizeof(keep);
    keep.fMask = MIIM_DATA;
    keep.dwItemData = TSkinMenuItems::kKeepLook;
    SetMenuItemInfoW(menu, 1, TRUE, &keep);
    {
        TSkinMenuItems items(skin_);
        items.Prepare(menu);
        EXPECT_NE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
        EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
    }
    // Given back when the skinner goes.
    EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION) & MF_OWNERDRAW, 0u);
    wchar_t text[16] = {};
    GetMenuStringW(menu, 0, text, 16, MF_BYPOSITION);
    EXPECT_STREQ(text, L"one");
    DestroyMenu(menu);
}

TEST_F(SkinMenusTest, TheMenuBarIsDrawnInTheFrameAndGivenBack) {
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({L"&New", L"&Open"}, 10)), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({L"&Copy"}, 20)), L"&Edit");
    AppendMenuW(bar, MF_STRING, 30, L"&Go");
    HWND w = Skinned(bar);
    TWinSkinForm* form = TSkinManage::Instance().SkinnerOf(w);
    ASSERT_NE(form, nullptr);
    ASSERT_NE(form->MenuBar(), nullptr);
    EXPECT_EQ(GetMenu(w), nullptr);
    EXPECT_EQ(form->Metrics().MenuHeight, GetSystemMetrics(SM_CYMENU));
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, before_.cx);
    EXPECT_EQ(client.bottom, before_.cy);

    TWinSkinMenu& menu = *form->MenuBar();
    ASSERT_EQ(menu.Count(), 3u);
    const SkinRect file = menu.Item(0).Rect;
    EXPECT_EQ(file.left, 4 + 4 + 4);  // left border + TileLeftMenu + 4
    EXPECT_EQ(file.top, 24);
    const POINT in_file = ScreenPoint(file.left + 3, file.top + 3);
    EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(in_file.x, in_file.y)), HTOBJECT);
    RECT frame;
    GetWindowRect(w, &frame);
    const POINT in_bar = ScreenPoint(frame.right - frame.left - 40, 24 + 3);
    EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(in_bar.x, in_bar.y)), HTMENU);
    EXPECT_EQ(ScreenPixel(in_bar.x, in_bar.y), kMenuBar);
    EXPECT_EQ(menu.FindAccelerator(L'e'), &menu.Item(1));

    // A command item on the bar runs its command.
    const SkinRect go = menu.Item(2).Rect;
    const POINT in_go = ScreenPoint(go.left + 2, go.top + 2);
    SendMessageW(w, WM_NCLBUTTONDOWN, HTOBJECT, MAKELPARAM(in_go.x, in_go.y));
    ProcessPendingMessages();
    EXPECT_EQ(g_commands, 1);

    ASSERT_TRUE(skin_.SetActive(false));
    TSkinManage::Instance().RunRequest();
    EXPECT_EQ(GetMenu(w), bar);
    GetClientRect(w, &client);
    EXPECT_EQ(client.bottom, before_.cy);
}

TEST_F(SkinMenusTest, ArrowKeysPastTheEndsOfAPopupOpenTheNeighbouringBarItem) {
    HMENU bar = CreateMenu();
    HMENU file = Popup({L"&New", L"&Open"}, 10);
    HMENU edit = Popup({L"&Copy"}, 20);
    HMENU help = Popup({L"&About"}, 30);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
    HWND w = Skinned(bar);
    TWinSkinMenu* menu = TSkinManage::Instance().SkinnerOf(w)->MenuBar();
    ASSERT_NE(menu, nullptr);
    g_walk = {};
    g_walk.first = file;
    g_walk.last = help;
    SetTimer(nullptr, 0, 40, WalkBar);
    const SkinRect last = menu->Item(2).Rect;
    const POINT at = ScreenPoint(last.left + 2, last.top + 2);
    SendMessageW(w, WM_NCLBUTTONDOWN, HTOBJECT, MAKELPARAM(at.x, at.y));
    ProcessPendingMessages();
    EXPECT_EQ(g_walk.step, 3);
    EXPECT_TRUE(g_walk.first_item_selected);
    ASSERT_GE(g_walk.shown.size(), 3u);
    EXPECT_EQ(g_walk.shown[0], help);
    EXPECT_EQ(g_walk.shown[1], file);
    EXPECT_EQ(g_walk.shown[2], help);
    EXPECT_EQ(menu->OpenIndex(), -1);
    EXPECT_FALSE(TSkinManage::Instance().MenuOpen);
}

TEST_F(SkinMenusTest, TheMouseOverAnotherBarItemOpensItsPopup) {
    HMENU bar = CreateMenu();
    HMENU file = Popup({L"&New"}, 10);
    HMENU edit = Popup({L"&Copy"}, 20);
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
    HWND w = Skinned(bar);
    TWinSkinMenu* menu = TSkinManage::Instance().SkinnerOf(w)->MenuBar();
    ASSERT_NE(menu, nullptr);
    const SkinRect second = menu->Item(1).Rect;
    g_sweep = {};
    g_sweep.target = ScreenPoint((second.left + second.right) / 2, (second.top + second.bottom) / 2);
    SetTimer(nullptr, 0, 40, SweepBar);
    const SkinRect first = menu->Item(0).Rect;
    const POINT at = ScreenPoint(first.left + 2, first.top + 2);
    SendMessageW(w, WM_NCLBUTTONDOWN, HTOBJECT, MAKELPARAM(at.x, at.y));
    ProcessPendingMessages();
    ASSERT_EQ(g_sweep.shown.size(), 2u);
    EXPECT_EQ(g_sweep.shown[0], file);
    EXPECT_EQ(g_sweep.shown[1], edit);
}
