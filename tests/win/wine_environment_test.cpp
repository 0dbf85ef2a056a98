// Checks that the prefix the Wine tests run in is the one the program is
// meant for: code page 936, the Chinese font substitute, a working desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(WineEnvironment, AnsiCodePageFollowsTheLocale) {
    const char* lang = std::getenv("LANG");
    if (lang && std::string(lang).rfind("zh_CN", 0) == 0)
        EXPECT_EQ(GetACP(), 936u);
    else
        GTEST_SKIP() << "started without the zh_CN locale";
}

TEST(WineEnvironment, ChineseFontIsSubstituted) {
    wchar_t value[128] = {};
    DWORD size = sizeof(value);
    LONG rc = RegGetValueW(HKEY_LOCAL_MACHINE,
                           L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes",
                           L"宋体", RRF_RT_REG_SZ, nullptr, value, &size);
    ASSERT_EQ(rc, ERROR_SUCCESS);
    EXPECT_STREQ(value, L"WenQuanYi Zen Hei");
}

TEST(WineEnvironment, TopLevelWindowCanBeShownAndMadeTopmost) {
    HWND window = CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  10, 10, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(window);
}
