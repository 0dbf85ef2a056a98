// UTF-8 and wide text, including text that is not valid UTF-8.
#include "app/utf8.h"

#include <gtest/gtest.h>

TEST(Utf8, ChineseTextMakesTheRoundTrip) {
    std::wstring text = L"无法创建文件 corvella.SWF";
    EXPECT_EQ(WideFromUtf8(Utf8FromWide(text)), text);
    EXPECT_EQ(Utf8FromWide(L"帮助"), "\xE5\xB8\xAE\xE5\x8A\xA9");
}

TEST(Utf8, CharactersBeyondTheBasicPlane) {
    std::string bytes = "\xF0\x9F\x8E\xB5";   // U+1F3B5
    std::wstring wide = WideFromUtf8(bytes);
    if (sizeof(wchar_t) == 2) {
        ASSERT_EQ(wide.size(), 2u);
        EXPECT_EQ(wide[0], static_cast<wchar_t>(0xD83C));
    } else {
        ASSERT_EQ(wide.size(), 1u);
    }
    EXPECT_EQ(Utf8FromWide(wide), bytes);
}

TEST(Utf8, MalformedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(WideFromUtf8("a\xFF" "b"), L"a\uFFFDb");
    EXPECT_EQ(WideFromUtf8("\xE5\xB8"), L"\uFFFD\uFFFD");              // cut short
    EXPECT_EQ(WideFromUtf8("\xC0\x80"), L"\uFFFD\uFFFD");              // overlong NUL
    EXPECT_EQ(WideFromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD");    // encoded surrogate
    EXPECT_EQ(WideFromUtf8("\xE5" "ab"), L"\uFFFDab");
    EXPECT_EQ(WideFromUtf8(""), L"");
}

TEST(Utf8, UnpairedSurrogatesAndNulsSurvive) {
    std::wstring lone = L"a";
    lone += static_cast<wchar_t>(0xD800);
    lone += L"b";
    EXPECT_EQ(Utf8FromWide(lone), "a\xEF\xBF\xBD" "b");
    std::string with_nul("a\0b", 3);
    EXPECT_EQ(WideFromUtf8(with_nul), std::wstring(L"a\0b", 3));
    EXPECT_EQ(Utf8FromWide(std::wstring(L"a\0b", 3)), with_nul);
}
