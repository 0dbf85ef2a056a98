// The file dialogs' filters in the platform's double-NUL form, and the timers.
#include "app/main_dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

using namespace std::string_literals;

TEST(DialogFilters, BarsBecomeNulsAndTheListEndsWithTwo) {
    EXPECT_EQ(FilterToDoubleNul(L"*.fac|*.fac"), L"*.fac\0*.fac\0\0"s);
    EXPECT_EQ(FilterToDoubleNul(MainWindowDialog(L"OpenDialog2").filter),
              L"列表(*.lis;*.m3u;*.kpl,*.pls)\0*.lis;*.m3u;*.pls;*.kpl\0\0"s);
}

TEST(DialogFilters, CaptionWithoutPatternsGetsAnEmptyList) {
    EXPECT_EQ(FilterToDoubleNul(L"All"), L"All\0\0\0"s);
    EXPECT_EQ(FilterToDoubleNul(L"a|b|c"), L"a\0b\0c\0\0\0"s);
    EXPECT_EQ(FilterToDoubleNul(L""), L"\0\0"s);
}

TEST(DialogFilters, MediaFilterHasEightEntriesAndStartsPastThem) {
    const FileDialogRecord& dialog = MainWindowDialog(L"Dialog1");
    std::wstring converted = FilterToDoubleNul(dialog.filter);
    EXPECT_EQ(std::count(converted.begin(), converted.end(), L'\0'), 17);
    EXPECT_EQ(converted.substr(0, converted.find(L'\0')), L"能播放的文件(*.swf;*.mp3;*.dat;*.mpeg;*.wav;*.asf;*.mpg;*.mp2)");
    EXPECT_EQ(dialog.filterIndex, 9);
    EXPECT_TRUE(dialog.multiSelect);
    EXPECT_EQ(dialog.title, L"打开Flash文件");
}

TEST(DialogFilters, DialogSettings) {
    EXPECT_EQ(MainWindowDialog(L"OpenDialog1").initialFolder, L"skins");
    EXPECT_EQ(MainWindowDialog(L"SaveDialog1").defaultExtension, L"bmp");
    EXPECT_TRUE(MainWindowDialog(L"SaveDialog1").save);
    EXPECT_EQ(MainWindowDialog(L"SaveDialog2").title, L"保存列表文件");
    EXPECT_EQ(MainWindowDialog(L"OpenDialog2").defaultExtension, L".lis");
    EXPECT_FALSE(MainWindowDialog(L"OpenDialog2").save);
    EXPECT_EQ(MainWindowDialog(L"SaveDialog3").filter, L"*.exe|*.exe");
    EXPECT_THROW(MainWindowDialog(L"SaveDialog9"), std::out_of_range);
}

TEST(MainTimers, IntervalsAndStartStates) {
    const auto& timers = MainWindowTimers();
    ASSERT_EQ(timers.size(), 5u);
    EXPECT_EQ(timers[0].intervalMs, 300);
    for (size_t i = 1; i < 5; ++i) EXPECT_EQ(timers[i].intervalMs, 100);
    for (size_t i = 0; i < 4; ++i) EXPECT_FALSE(timers[i].enabled);
    EXPECT_TRUE(timers[4].enabled);
    for (size_t i = 0; i < 5; ++i)
        for (size_t j = i + 1; j < 5; ++j) EXPECT_NE(timers[i].id, timers[j].id);
}
