#include "app/ini_file.h"

#include <gtest/gtest.h>

TEST(IniDocument, ReadsLikeThePrivateProfileFunctions) {
    IniDocument doc = IniDocument::Parse(
        "; settings\r\n"
        "[other]\r\n"
        "AutoSkip=5\r\n"
        "  [ MyData ]  \n"
        "  autoskip =  1  \r"
        "skinfile=\"blue.fac\"\r\n"
        "quoted='a b'\r\n"
        "empty=\r\n"
        ";mySkipzs=3\r\n"
        "[mydata2]\r\n"
        "mySkipzs=9");
    EXPECT_EQ(doc.ReadString("mydata", "AutoSkip", "x"), "1");
    EXPECT_EQ(doc.ReadString("mydata", "skinfile", ""), "blue.fac");
    EXPECT_EQ(doc.ReadString("mydata", "quoted", ""), "a b");
    EXPECT_EQ(doc.ReadString("mydata", "empty", "x"), "");
    // A commented key and a key of another section are not the key.
    EXPECT_EQ(doc.ReadString("mydata", "mySkipzs", "dflt"), "dflt");
    EXPECT_EQ(doc.ReadInteger("mydata2", "mySkipzs", 8), 9);
    EXPECT_EQ(doc.ReadInteger("missing", "AutoSkip", 8), 8);
}

TEST(IniDocument, IntegerRule) {
    EXPECT_EQ(ParseIniInteger("12"), 12);
    EXPECT_EQ(ParseIniInteger("-5"), -5);
    EXPECT_EQ(ParseIniInteger("+7"), 7);
    EXPECT_EQ(ParseIniInteger("0x1F"), 31);
    EXPECT_EQ(ParseIniInteger("0X10"), 16);
    EXPECT_EQ(ParseIniInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(ParseIniInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseIniInteger("-2147483648"), -2147483647 - 1);
    // "0x" alone is not more than two characters: a decimal reading fails.
    EXPECT_FALSE(ParseIniInteger("0x"));
    EXPECT_FALSE(ParseIniInteger("0x1G"));
    EXPECT_FALSE(ParseIniInteger("0x100000000"));
    EXPECT_FALSE(ParseIniInteger("2147483648"));
    EXPECT_FALSE(ParseIniInteger("12abc"));
    EXPECT_FALSE(ParseIniInteger("$10"));
    EXPECT_FALSE(ParseIniInteger(""));
    EXPECT_FALSE(ParseIniInteger("-"));

    IniDocument doc = IniDocument::Parse("[mydata]\nmySkipzs=abc\noverCurrentFileZS=0x0A\n");
    EXPECT_EQ(doc.ReadInteger("mydata", "mySkipzs", 8), 8);
    EXPECT_EQ(doc.ReadInteger("mydata", "overCurrentFileZS", 8), 10);
}

TEST(IniDocument, WritesCreateSectionAndKeepOtherLines) {
    IniDocument doc;
    doc.WriteInteger("mydata", "mySkipzs", 8);
    doc.WriteInteger("mydata", "AutoSkip", 0);
    doc.WriteInteger("mydata", "overCurrentFileZS", -5);
    EXPECT_EQ(doc.Serialize(), "[mydata]\r\nmySkipzs=8\r\nAutoSkip=0\r\noverCurrentFileZS=-5\r\n");

    // Replacing keeps the key's spelling and place; a new key goes after the
    // section's last non-blank line; other sections and comments stay.
    IniDocument other = IniDocument::Parse("[MYDATA]\nautoskip = 1\n; note\n\n[x]\ny=2");
    other.WriteInteger("mydata", "AutoSkip", 0);
    other.WriteString("mydata", "skinfile", "\xC0\xB6.fac");
    other.WriteString("new", "k", "v");
    EXPECT_EQ(other.Serialize(),
              "[MYDATA]\r\nautoskip=0\r\n; note\r\nskinfile=\xC0\xB6.fac\r\n\r\n[x]\r\ny=2\r\n[new]\r\nk=v\r\n");
    EXPECT_EQ(IniDocument::Parse(other.Serialize()).ReadString("MyData", "SKINFILE", ""), "\xC0\xB6.fac");
}
