#include "playlist/playlist_file.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

using Paths = std::vector<std::string>;

Paths Read(std::string_view text, PlaylistFormat format, std::string_view prefix = "") {
    return ReadPlaylistText(text, format, prefix);
}

}  // namespace

TEST(PlaylistFile, LineBreaks) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string_view>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\n\rb"), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r\n"), (std::vector<std::string_view>{""}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(PlaylistFile, FormatByExtension) {
    EXPECT_EQ(PlaylistFormatOf("C:\\l\\x.M3u"), PlaylistFormat::kM3u);
    EXPECT_EQ(PlaylistFormatOf("x.Pls"), PlaylistFormat::kPls);
    EXPECT_EQ(PlaylistFormatOf("x.lis"), PlaylistFormat::kPlainList);
    EXPECT_EQ(PlaylistFormatOf("x.kpl"), PlaylistFormat::kPlainList);
    EXPECT_EQ(PlaylistFormatOf("x.m3u8"), PlaylistFormat::kPlainList);
    EXPECT_EQ(PlaylistFormatOf("C:\\a.m3u\\list"), PlaylistFormat::kPlainList);
}

TEST(PlaylistFile, M3u) {
    const char* extended = "#EXTM3U\r\n#EXTINF:200,Song A\r\nC:\\m\\a.mp3\r\n#EXTINF:180,Song B\r\nC:\\m\\b.mp3\r\n";
    EXPECT_EQ(Read(extended, PlaylistFormat::kM3u), (Paths{"C:\\m\\a.mp3", "C:\\m\\b.mp3"}));
    // A song without its information line, blank lines and comments.
    const char* uneven = " #EXTM3U \n#EXTINF:1,A\nC:\\a.mp3\nC:\\b.mp3\n\n  \n#EXTINF:3,C\nC:\\c.mp3";
    EXPECT_EQ(Read(uneven, PlaylistFormat::kM3u), (Paths{"C:\\a.mp3", "C:\\b.mp3", "C:\\c.mp3"}));
    // Plain: every line, comment lines and blank lines too.
    EXPECT_EQ(Read("C:\\a.mp3\n# note\n\nC:\\b.mp3\n", PlaylistFormat::kM3u),
              (Paths{"C:\\a.mp3", "# note", "", "C:\\b.mp3"}));
    // "#EXTM3U" is case-sensitive.
    EXPECT_EQ(Read("#extm3u\nC:\\a.mp3", PlaylistFormat::kM3u).size(), 2u);
}

TEST(PlaylistFile, Pls) {
    const char* sectioned =
        "[playlist]\nFile1=C:\\a.mp3\nTitle1=A\nLength1=10\nFile2=C:\\b.mp3\nTitle2=B\nLength2=20\n"
        "NumberOfEntries=2\nVersion=2\n";
    EXPECT_EQ(Read(sectioned, PlaylistFormat::kPls), (Paths{"C:\\a.mp3", "C:\\b.mp3"}));
    EXPECT_EQ(Read("[playlist]\r\nNumberOfEntries=2\r\nFile1=C:\\a.mp3\r\nFile2=C:\\b.mp3\r\n", PlaylistFormat::kPls),
              (Paths{"C:\\a.mp3", "C:\\b.mp3"}));
    // Entries from File10= on give their paths, not the "=" with them.
    std::string counted = "[playlist]\nNumberOfEntries=10\n";
    for (int i = 1; i <= 10; ++i) counted += "File" + std::to_string(i) + "=C:\\" + std::to_string(i) + ".mp3\n";
    Paths paths = Read(counted, PlaylistFormat::kPls);
    ASSERT_EQ(paths.size(), 10u);
    EXPECT_EQ(paths[9], "C:\\10.mp3");
    // Paths are cut to 200 characters; a line without "=" is taken whole.
    const std::string longer(250, 'x');
    EXPECT_EQ(Read("[playlist]\nNumberOfEntries=2\nFile1=C:\\" + longer + "\nC:\\b.mp3", PlaylistFormat::kPls),
              (Paths{"C:\\" + longer.substr(0, 197), "C:\\b.mp3"}));
    // Fewer than five lines and no count: nothing.
    EXPECT_TRUE(Read("[playlist]\nFile1=C:\\a.mp3\nTitle1=A\nLength1=1\n", PlaylistFormat::kPls).empty());
    EXPECT_TRUE(Read("[playlist]", PlaylistFormat::kPls).empty());
}

TEST(PlaylistFile, RelativePathsOfM3uAndPlsFollowTheListFile) {
    EXPECT_EQ(PlaylistFolderPrefix("C:\\lists\\x.m3u"), "C:\\lists\\");
    EXPECT_EQ(PlaylistFolderPrefix("C:x.m3u"), "C:");
    EXPECT_EQ(PlaylistFolderPrefix("x.m3u"), "");
    EXPECT_EQ(Read("#EXTM3U\nsub\\a.mp3\nD:\\b.mp3\n\\c.mp3\nhttp://h/d.mp3\n", PlaylistFormat::kM3u, "C:\\l\\"),
              (Paths{"C:\\l\\sub\\a.mp3", "D:\\b.mp3", "\\c.mp3", "http://h/d.mp3"}));
    EXPECT_EQ(Read("[playlist]\nNumberOfEntries=1\nFile1=a.mp3\n", PlaylistFormat::kPls, "C:\\l\\"),
              (Paths{"C:\\l\\a.mp3"}));
    // Blank lines stay blank; plain lists stay exactly as written.
    EXPECT_EQ(Read("a.mp3\n\n", PlaylistFormat::kM3u, "C:\\l\\"), (Paths{"C:\\l\\a.mp3", ""}));
    EXPECT_EQ(Read("a.mp3\n \n", PlaylistFormat::kPlainList, "C:\\l\\"), (Paths{"a.mp3", " "}));
}

TEST(PlaylistFile, LisRoundTrip) {
    EXPECT_EQ(LisText({}), "");
    Paths paths{"C:\\a.mp3", "", "D:\\\xB8\xE8\xC7\xFA.swf"};
    EXPECT_EQ(LisText(paths), "C:\\a.mp3\r\n\r\nD:\\\xB8\xE8\xC7\xFA.swf\r\n");
    EXPECT_EQ(Read(LisText(paths), PlaylistFormat::kPlainList), paths);
}

TEST(PlaylistFile, HugeSingleLine) {
    std::string line(10 * 1024 * 1024, 'a');
    EXPECT_EQ(Read(line, PlaylistFormat::kPlainList).at(0).size(), line.size());
    EXPECT_EQ(Read("#EXTM3U\n" + line, PlaylistFormat::kM3u).at(0).size(), line.size());
    EXPECT_EQ(Read("[playlist]\nNumberOfEntries=1\nFile1=" + line, PlaylistFormat::kPls).at(0).size(), 200u);
    EXPECT_TRUE(Read("[playlist]\n" + line, PlaylistFormat::kPls).empty());
}

TEST(PlaylistFile, LoadFromDisk) {
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "corvella_playlist_load";
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "x.PLS";
    {
        std::ofstream out(file, std::ios::binary);
        out << "[playlist]\r\nNumberOfEntries=1\r\nFile1=a.mp3\r\n";
    }
    LoadedPlaylist loaded;
    ASSERT_TRUE(LoadPlaylistFile(file, file.string(), &loaded));
    EXPECT_EQ(loaded.format, PlaylistFormat::kPls);
    EXPECT_EQ(loaded.paths, (Paths{(dir / "").string() + "a.mp3"}));
    EXPECT_FALSE(LoadPlaylistFile(dir / "missing.lis", "missing.lis", &loaded));
    EXPECT_FALSE(LoadPlaylistFile(dir, dir.string(), &loaded));
    std::filesystem::remove_all(dir);
}
