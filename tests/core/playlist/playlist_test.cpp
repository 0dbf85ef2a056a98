#include "playlist/extensions.h"
#include "playlist/playlist.h"

#include <gtest/gtest.h>

TEST(Extensions, SubstringTestOnTheUpperCasedExtension) {
    EXPECT_EQ(UpperExtension(L"D:\\m\\Song.mp3"), L".MP3");
    EXPECT_EQ(UpperExtension("C:\\a.b\\noext"), "");
    EXPECT_EQ(UpperExtension("C:x.Pls"), ".PLS");
    EXPECT_EQ(UpperExtension(".mp3"), ".MP3");
    EXPECT_EQ(FileNamePart(std::string_view("C:song.mp3")), "song.mp3");

    EXPECT_TRUE(IsMediaFile(L"x.mp"));  // inside ".MP2"
    EXPECT_TRUE(IsMediaFile(L"X.SWF"));
    EXPECT_TRUE(IsMediaFile(L"y.swf"));
    EXPECT_TRUE(IsMediaFile(L".mp3"));
    EXPECT_FALSE(IsMediaFile(L"x.txt"));
    EXPECT_FALSE(IsMediaFile(L"x"));
    EXPECT_FALSE(IsMediaFile(L"x.mp3.bak"));
    EXPECT_TRUE(IsPlaylistFile("list.LiS"));
    EXPECT_TRUE(IsPlaylistFile("list.kpl"));
    EXPECT_FALSE(IsPlaylistFile("list.mp3"));
}

TEST(Playlist, LabelsInStemForm) {
    EXPECT_EQ(EntryLabel(2, L"D:\\m\\Song.mp3"), L"3.Song");
    EXPECT_EQ(EntryLabel(0, L"D:\\v\\Clip.mpeg"), L"1.Clip.");
    EXPECT_EQ(EntryLabel(4, L"D:\\a.wm"), L"5.");
    EXPECT_EQ(EntryLabel(0, L"D:\\Abc"), L"1.");
    EXPECT_EQ(EntryLabel(0, L"D:\\  name.mp3 \t"), L"1.name");
    EXPECT_EQ(EntryLabel(0, L""), L"1.");
    EXPECT_EQ(SearchEntryLabel(2, L"Song.mp3"), L"3.Song.mp3");
}

TEST(Playlist, AppendRemoveRenumbers) {
    Playlist list;
    list.Append(L"C:\\a.mp3");
    list.Append(L"C:\\b.mp3");
    list.Append(L"C:\\c.mp3");
    list.AppendFound(L"C:\\s\\x.swf", L"x.swf");
    list.Append(L"C:\\a.mp3");  // no duplicate check
    EXPECT_EQ(list.Labels(), (std::vector<std::wstring>{L"1.a", L"2.b", L"3.c", L"4.x.swf", L"5.a"}));

    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(list.Labels(), (std::vector<std::wstring>{L"1.a", L"2.c", L"3.x", L"4.a"}));
    EXPECT_EQ(list.Paths(), (std::vector<std::wstring>{L"C:\\a.mp3", L"C:\\c.mp3", L"C:\\s\\x.swf", L"C:\\a.mp3"}));
    EXPECT_FALSE(list.Remove(4));
    EXPECT_EQ(list.Count(), 4u);

    list.Clear();
    EXPECT_TRUE(list.Empty());
    list.Append(L"C:\\d.swf");
    EXPECT_EQ(list.Label(0), L"1.d");
}
