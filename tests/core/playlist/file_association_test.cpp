#include "playlist/file_association.h"

#include <gtest/gtest.h>

TEST(FileAssociation, ValuesOfTheThreeTypes) {
    std::vector<RegistryDefaultValue> values = PlayerFileTypeValues(L"C:\\Tools\\player.exe");
    ASSERT_EQ(values.size(), 12u);
    const std::wstring command = L"C:\\Tools\\player.exe \"%1\"";
    EXPECT_EQ(values[0].key, L".swf");
    EXPECT_EQ(values[0].value, L"FlashFile");
    EXPECT_EQ(values[1].key, L"FlashFile");
    EXPECT_EQ(values[1].value, L"Flash\u6587\u4EF6");
    EXPECT_EQ(values[2].key, L"FlashFile\\DefaultIcon");
    EXPECT_EQ(values[2].value, L"C:\\Tools\\player.exe");
    EXPECT_EQ(values[3].key, L"FlashFile\\shell\\open\\command");
    EXPECT_EQ(values[3].value, command);
    EXPECT_EQ(values[4].key, L".mp3");
    EXPECT_EQ(values[4].value, L"Mp3File");
    EXPECT_EQ(values[7].key, L"Mp3File\\shell\\open\\command");
    EXPECT_EQ(values[7].value, command);
    EXPECT_EQ(values[8].key, L".lis");
    EXPECT_EQ(values[9].value, L"Flash\u6587\u4EF6\u5217\u8868");
}

TEST(FileAssociation, ExtensionDotsAndEmptyInputs) {
    EXPECT_EQ(FileTypeValues(L"..s.wf", L"T", L"D", L"p", L"").front().key, L".swf");
    EXPECT_EQ(FileTypeValues(L"swf", L"T", L"D", L"p", L"").size(), 3u);  // no icon key
    EXPECT_TRUE(FileTypeValues(L"...", L"T", L"D", L"p", L"i").empty());
    EXPECT_TRUE(FileTypeValues(L"swf", L"T", L"D", L"", L"i").empty());
}
