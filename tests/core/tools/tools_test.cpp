#include <gtest/gtest.h>

#include <cstring>

#include "tools/path_text.h"
#include "tools/projector_trailer.h"
#include "tools/wallpaper.h"

TEST(ProjectorTrailer, MarkerAndSizeAreLittleEndian) {
    std::string t = ProjectorTrailer(10000);
    const unsigned char expected[8] = {0x56, 0x34, 0x12, 0xFA, 0x10, 0x27, 0x00, 0x00};
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(0, memcmp(t.data(), expected, 8));
    // Only the low 32 bits of a huge size are stored.
    std::string big = ProjectorTrailer(0x100000005ull);
    EXPECT_EQ(static_cast<unsigned char>(big[4]), 5);
    EXPECT_EQ(big[7], 0);
}

TEST(ProjectorTrailer, FindsTheMovieOnlyWhenItFits) {
    std::string t = ProjectorTrailer(10000);
    auto* bytes = reinterpret_cast<const unsigned char*>(t.data());
    auto movie = FindAppendedMovie(bytes, 708608 + 10000 + 8);
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->offset, 708608u);
    EXPECT_EQ(movie->size, 10000u);
    EXPECT_TRUE(FindAppendedMovie(bytes, 10000 + 8));      // no projector bytes at all
    EXPECT_FALSE(FindAppendedMovie(bytes, 10000 + 7));     // size runs past the start of the file
    unsigned char plain[8] = {'M', 'Z', 0, 0, 0x10, 0x27, 0, 0};
    EXPECT_FALSE(FindAppendedMovie(plain, 1000000));       // no marker
    EXPECT_FALSE(FindAppendedMovie(bytes, 4));
}

TEST(ProjectorDefaultName, FileNameLessFourCharactersPlusExe) {
    EXPECT_EQ(ProjectorDefaultName(L"C:\\m\\Intro.swf"), L"Intro.exe");
    EXPECT_EQ(ProjectorDefaultName(L"  C:\\m\\ a b.swf  "), L"a b.exe");
    EXPECT_EQ(ProjectorDefaultName(L"C:\\m\\a.sw"), L".exe");      // shorter than five characters
    EXPECT_EQ(ProjectorDefaultName(L"C:\\m\\x.swf"), L"x.exe");
    EXPECT_EQ(ProjectorDefaultName(L"D:movie.swf"), L"movie.exe");
}

TEST(PathText, ReplaceExtensionForCaptureNames) {
    EXPECT_EQ(ReplaceExtension(FileNamePart(L"C:\\m\\intro.swf"), L".bmp"), L"intro.bmp");
    EXPECT_EQ(ReplaceExtension(L"noext", L".bmp"), L"noext.bmp");
}

TEST(Wallpaper, TimeStampedNameAndStyleValues) {
    std::tm t = {};
    t.tm_year = 2026 - 1900; t.tm_mon = 11; t.tm_mday = 7; t.tm_hour = 4; t.tm_min = 15; t.tm_sec = 25;
    EXPECT_EQ(WallpaperFileName(L"C:\\WINDOWS", t), L"C:\\WINDOWS\\20261207 041525.bmp");

    using Values = std::vector<std::pair<std::wstring, std::wstring>>;
    EXPECT_EQ(WallpaperValues(1, L"f"), (Values{{L"wallpaper", L"f"}, {L"Tilewallpaper", L"0"}, {L"WallpaperStyle", L"0"}}));
    EXPECT_EQ(WallpaperValues(2, L"f"), (Values{{L"wallpaper", L"f"}, {L"Tilewallpaper", L"1"}, {L"WallpaperStyle", L"0"}}));
    EXPECT_EQ(WallpaperValues(3, L"f"), (Values{{L"wallpaper", L"f"}, {L"Tilewallpaper", L"0"}, {L"WallpaperStyle", L"2"}}));
    EXPECT_EQ(WallpaperValues(7, L"f"), (Values{{L"wallpaper", L"f"}}));
}
