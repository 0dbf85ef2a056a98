#include <gtest/gtest.h>

#include <climits>

#include "skin/skin_ini.h"

TEST(SkinIni, LooksUpLikeTheProfileFunctions) {
    const SkinIniText ini(
        "; a comment\r\n"
        "  [Personality]  \r\n"
        "  Left = left.bmp  \r\n"
        "LEFT=second.bmp\r\n"
        "Quoted=\"  spaced  \"\r\n"
        "Single='x'\r\n"
        "Half=\"open\r\n"
        "NoEquals\r\n"
        ";Commented=1\r\n"
        "Empty=\r\n"
        "Inline=3 ; not a comment\n"
        "[personality]\n"
        "Other=1\n"
        "[ Colours ]\rWindowText=1 2 3\r");
    EXPECT_EQ(ini.ReadString("PERSONALITY", "left", "-"), "left.bmp");
    EXPECT_EQ(ini.ReadString("Personality", "Quoted", "-"), "  spaced  ");
    EXPECT_EQ(ini.ReadString("Personality", "Single", "-"), "x");
    EXPECT_EQ(ini.ReadString("Personality", "Half", "-"), "\"open");
    EXPECT_EQ(ini.ReadString("Personality", "NoEquals", "-"), "-");
    EXPECT_EQ(ini.ReadString("Personality", ";Commented", "-"), "-");
    EXPECT_EQ(ini.ReadString("Personality", "Empty", "-"), "");
    EXPECT_TRUE(ini.HasKey("Personality", "Empty"));
    EXPECT_EQ(ini.ReadString("Personality", "Inline", "-"), "3 ; not a comment");
    // Only the first section of a name is looked at.
    EXPECT_EQ(ini.ReadString("Personality", "Other", "-"), "-");
    EXPECT_EQ(ini.ReadString("colours", "windowtext", "-"), "1 2 3");
    EXPECT_EQ(ini.ReadString("Missing", "Left", "-"), "-");
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Personality", "personality", "Colours"}));
}

TEST(SkinIni, SectionHeaders) {
    const SkinIniText ini("Key=1\n[S]\nKey=2\n[broken\nMore=3\n[a]b] \nX=4\n");
    EXPECT_EQ(ini.ReadInteger("S", "Key", 0), 2);  // keys before any section are ignored
    EXPECT_EQ(ini.ReadInteger("S", "More", 0), 3);
    EXPECT_EQ(ini.ReadInteger("a]b", "X", 0), 4);
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"S", "a]b"}));
}

TEST(SkinIni, Integers) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {"42", true, 42},         {" -7 ", true, -7},          {"+5", true, 5},
        {"$1F", true, 31},        {"0x10", true, 16},          {"0XfF", true, 255},
        {"$FFFFFFFF", true, -1},  {"-$10", true, -16},         {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN}, {"2147483648", false, 0}, {"$100000000", false, 0},
        {"", false, 0},           {"12px", false, 0},          {"0x", false, 0},
        {"$", false, 0},          {"-", false, 0},             {"1 2", false, 0},
    };
    for (const Case& c : cases) {
        int32_t value = 12345;
        EXPECT_EQ(ParseIniInteger(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    const SkinIniText ini("[S]\nA=oops\nB=$20\n");
    EXPECT_EQ(ini.ReadInteger("S", "A", 9), 9);
    EXPECT_EQ(ini.ReadInteger("S", "B", 9), 32);
    EXPECT_EQ(ini.ReadInteger("S", "C", -1), -1);
}
