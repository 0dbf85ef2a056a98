// The skinned frame of a plain window under the skin manager: client size,
// shape, hit testing, title-button clicks, push buttons and detaching.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/application_win.h"
#include "skin/bitmap.h"
#include "skin/skin_data.h"
#include "skin/skin_manage_win.h"
#include "skin/skin_package_writer.h"
#include "skin/win_skin_form_win.h"

namespace {

constexpr uint32_t kKey = 0xFF00FF;

std::vector<uint8_t> Bmp(int w, int h, uint32_t colour, bool round_corners = false) {
    SkinBitmap b;
    b.Resize(w, h, colour);
    if (round_corners) {
        b.Set(0, 0, kKey);
        b.Set(w - 1, 0, kKey);
    }
    return EncodeBmp24(b);
}

// A skin with a 24-pixel title bar (2 frames), 4-pixel sides and bottom, a
// close button (Action 0) and a minimize button (Action 2) at the right.
std::vector<uint8_t> TestSkinPackage() {
    const std::string ini =
        "[Personality]\nLeft=l.bmp\nLeftFrame=2\nLeftTopHeight=24\nRight=r.bmp\nRightFrame=2\nRightTopHeight=24\n"
        "Top=t.bmp\nTopFrame=2\nTopTopHeight=4\nTopBotHeight=4\nBottom=b.bmp\nBottomFrame=2\nBottomTrans=0\n"
        "[Colours]\nButtonFace=10 20 30\n"
        "[ButtonClose]\nAction=0\nAlign=1\nXcoord=24\nYcoord=3\nframe=4\nButtonImage=close.bmp\n"
        "[ButtonMin]\nAction=2\nAlign=1\nXcoord=44\nYcoord=3\nframe=4\nButtonImage=min.bmp\n"
        "[Buttons]\nBitmap=button.bmp\nLeftWidth=3\nRightWidth=3\nTopHeight=3\nBottomHeight=3\n";
    std::vector<uint8_t> left = Bmp(8, 64, 0x404040), right = Bmp(8, 64, 0x404040);
    SkinBitmap l;
    LoadBmp(left, l);
    l.Set(0, 0, kKey);
    l.Set(4, 0, kKey);
    left = EncodeBmp24(l);
    return BuildSkinPackage({{"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())},
                             {"l.bmp", left},
                             {"r.bmp", right},
                             {"t.bmp", Bmp(60, 48, 0x305070)},
                             {"b.bmp", Bmp(20, 8, 0x404040)},
                             {"close.bmp", Bmp(72, 18, 0xC04040)},
                             {"min.bmp", Bmp(72, 18, 0x4040C0)},
                             {"button.bmp", Bmp(120, 22, 0x808080)}});
}

struct WindowLog {
    int closes = 0;
    int commands = 0;
};
WindowLog g_log;

LRESULT CALLBACK TestProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CLOSE) {
        g_log.closes++;
        return 0;
    }
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) g_log.commands++;
    return DefWindowProcW(window, message, wparam, lparam);
}

HWND MakeWindow(DWORD style) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = TestProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CorvellaSkinTestWindow";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
        registered = true;
    }
    RECT r{0, 0, 300, 200};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    return CreateWindowExW(0, L"CorvellaSkinTestWindow", L"abc", style, 50, 50, r.right - r.left, r.bottom - r.top,
                           nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

SIZE ClientSize(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

class SkinFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log = {};
        skin_.SetPackage(TestSkinPackage());
        ASSERT_TRUE(skin_.LoadPackage());
        TSkinManage::Instance().Register(skin_);
        ASSERT_TRUE(skin_.SetActive(true));
        TSkinManage::Instance().RunRequest();  // switch on now
    }
    void TearDown() override {
        if (window_ && IsWindow(window_)) DestroyWindow(window_);
        TSkinManage::Instance().Shutdown();
    }

    // A shown window, skinned and started.
    HWND Skinned(DWORD style) {
        window_ = MakeWindow(style);
        ShowWindow(window_, SW_SHOW);
        before_ = ClientSize(window_);
        TSkinManage::Instance().Offer(window_);
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

TEST_F(SkinFrameTest, DeferredStartKeepsTheClientSizeUnderTheSkinnedFrame) {
    HWND w = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    TWinSkinForm* form = TSkinManage::Instance().SkinnerOf(w);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->StartState, TWinSkinForm::kRunning);
    EXPECT_EQ(SendMessageW(w, kSkinQuery, 0, 0), 1);
    const SIZE after = ClientSize(w);
    EXPECT_EQ(after.cx, before_.cx);
    EXPECT_EQ(after.cy, before_.cy);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, before_.cx + 8);
    EXPECT_EQ(r.bottom - r.top, before_.cy + 24 + 4);
    // The caption buttons are stripped so that the platform draws none.
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX), 0);
}

TEST_F(SkinFrameTest, RegionLeavesMagentaCornerPixelsOut) {
    HWND w = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetWindowRgn(w, region), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 1, 0));
    EXPECT_TRUE(PtInRegion(region, 0, 1));
    EXPECT_TRUE(PtInRegion(region, 100, 100));
    DeleteObject(region);
}

TEST_F(SkinFrameTest, HitTestComesFromTheSkinMetrics) {
    HWND w = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    auto hit = [&](int x, int y) {
        const POINT p = ScreenPoint(x, y);
        return SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    EXPECT_EQ(hit(100, 2), HTCAPTION);
    EXPECT_EQ(hit(100, 22), HTCAPTION);  // the whole skinned title bar drags
    EXPECT_EQ(hit(100, 30), HTCLIENT);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(hit((r.right - r.left) - 24 + 9, 12), HTOBJECT);  // the close button
}

TEST_F(SkinFrameTest, TitleButtonsCloseAndMinimizeOnRealClicks) {
    HWND w = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    RECT r;
    GetWindowRect(w, &r);
    const int width = r.right - r.left;
    auto click = [&](int x, int y) {
        const POINT screen = ScreenPoint(x, y);
        SendMessageW(w, WM_NCLBUTTONDOWN, HTOBJECT, MAKELPARAM(screen.x, screen.y));
        POINT client = screen;
        ScreenToClient(w, &client);
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        ProcessPendingMessages();
    };
    click(width - 24 + 9, 12);
    EXPECT_EQ(g_log.closes, 1);
    click(width - 44 + 9, 12);
    EXPECT_TRUE(IsIconic(w));
    ShowWindow(w, SW_RESTORE);
    ProcessPendingMessages();
    EXPECT_EQ(ClientSize(w).cx, before_.cx);
}

TEST_F(SkinFrameTest, PushButtonsArePaintedAndPostTheirCommand) {
    HWND w = MakeWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU);
    window_ = w;
    HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 80, 24, w,
                                  reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
    ShowWindow(w, SW_SHOW);
    TSkinManage::Instance().Offer(w);
    ProcessPendingMessages();
    EXPECT_EQ(SendMessageW(button, WM_ERASEBKGND, 0, 0), 1);  // the skinner paints it
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));  // released outside: still a click
    ProcessPendingMessages();
    EXPECT_EQ(g_log.commands, 1);
}

TEST_F(SkinFrameTest, SwitchingOffGivesThePlatformFrameBack) {
    HWND w = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    ASSERT_TRUE(skin_.SetActive(false));
    TSkinManage::Instance().RunRequest();
    EXPECT_EQ(TSkinManage::Instance().SkinnerOf(w), nullptr);
    EXPECT_NE(GetWindowLongPtrW(w, GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_EQ(ClientSize(w).cx, before_.cx);
    EXPECT_EQ(ClientSize(w).cy, before_.cy);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w, region), ERROR);
    DeleteObject(region);
    EXPECT_NE(SendMessageW(w, kSkinQuery, 0, 0), 1);
}

TEST_F(SkinFrameTest, FullScreenStyleDropsTheFrameAndWindowModeBringsItBack) {
    HWND w = Skinned(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    const LONG_PTR framed = GetWindowLongPtrW(w, GWL_STYLE);
    SetWindowLongPtrW(w, GWL_STYLE, (framed & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_POPUP);
    SetWindowPos(w, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(ClientSize(w).cx, 400);  // borderless
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(w, region), ERROR);
    SetWindowLongPtrW(w, GWL_STYLE, (GetWindowLongPtrW(w, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_POPUP)) | WS_CAPTION |
                                        WS_SYSMENU | WS_MINIMIZEBOX);
    SetWindowPos(w, nullptr, 0, 0, 308, 228, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_EQ(ClientSize(w).cx, 300);
    EXPECT_EQ(ClientSize(w).cy, 200);
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_EQ(GetWindowRgn(w, region), COMPLEXREGION);
    DeleteObject(region);
}
