// Shortcut values as the menus store them and the text shown beside items.
#include "app/shortcut.h"

#include <gtest/gtest.h>

TEST(Shortcut, EncodesModifiersAsTheStoredValues) {
    EXPECT_EQ(EncodeShortcut({'O', false, true, false}), 16463);
    EXPECT_EQ(EncodeShortcut({kKeyEnter, false, false, true}), 32781);
    EXPECT_EQ(EncodeShortcut({kKeyF12, false, false, false}), 0x7B);
    EXPECT_EQ(EncodeShortcut({'P', true, true, true}), 8192 + 16384 + 32768 + 'P');
}

TEST(Shortcut, DecodingGivesBackTheParts) {
    for (int value : {16463, 32781, 0x70, 8192 + 16384 + 'S'}) {
        ShortcutParts parts = DecodeShortcut(value);
        EXPECT_EQ(EncodeShortcut(parts), value);
    }
    ShortcutParts alt_enter = DecodeShortcut(32781);
    EXPECT_EQ(alt_enter.key, kKeyEnter);
    EXPECT_TRUE(alt_enter.alt);
    EXPECT_FALSE(alt_enter.ctrl);
    EXPECT_FALSE(alt_enter.shift);
}

TEST(Shortcut, TextNamesModifiersThenKey) {
    EXPECT_EQ(ShortcutText(kShortcutCtrl + 'O'), L"Ctrl+O");
    EXPECT_EQ(ShortcutText(kShortcutAlt + kKeyEnter), L"Alt+Enter");
    EXPECT_EQ(ShortcutText(kKeyF1), L"F1");
    EXPECT_EQ(ShortcutText(kKeyF12), L"F12");
    EXPECT_EQ(ShortcutText(kShortcutShift + kShortcutCtrl + '1'), L"Shift+Ctrl+1");
}

TEST(Shortcut, NoShortcutOrUnnamedKeyHasNoText) {
    EXPECT_EQ(ShortcutText(0), L"");
    EXPECT_EQ(ShortcutText(kShortcutCtrl + 0xE5), L"");
}
