#include "playback/file_kind.h"
#include "playback/play_file.h"

#include <gtest/gtest.h>

namespace {

const WindowShape kNormal{547, 524, 377};
const WindowShape kCompact{555, 130, 0};
const WindowShape kFullScreen{1024, 768, 700};

}  // namespace

TEST(FileKind, ExtensionDecidesThePlayer) {
    EXPECT_TRUE(KindOfFile(L"D:\\m\\song.MP3").sound);
    EXPECT_TRUE(KindOfFile(L"D:\\m\\song.mp3").sound);
    EXPECT_TRUE(KindOfFile(L"clip.Mpeg").video);
    EXPECT_FALSE(KindOfFile(L"clip.Mpeg").sound);
    EXPECT_TRUE(KindOfFile(L"a.mp2").sound);
    EXPECT_TRUE(KindOfFile(L"a.mid").sound);
    EXPECT_TRUE(KindOfFile(L"a.wmv").video);
    EXPECT_FALSE(KindOfFile(L"a.wmv").sound);
    FileKind wm = KindOfFile(L"a.wm");
    EXPECT_TRUE(wm.media && wm.sound && wm.video);

    // Flash movies: .swf, no extension, unlisted ones, a "." in a folder name.
    EXPECT_FALSE(KindOfFile(L"movie.swf").media);
    EXPECT_FALSE(KindOfFile(L"D:\\m\\movie").media);
    EXPECT_FALSE(KindOfFile(L"notes.txt").media);
    EXPECT_FALSE(KindOfFile(L"D:\\x.mp3\\movie").media);
    EXPECT_FALSE(KindOfFile(L"C:.mp3x").media);
    EXPECT_TRUE(KindOfFile("C:a.mp3").sound);
}

TEST(FileKind, LayoutForFlashMovies) {
    EXPECT_TRUE(LayoutForFile(KindOfFile(L"a.swf"), kCompact).restore_normal);
    PlayLayout normal = LayoutForFile(KindOfFile(L"a.swf"), kNormal);
    EXPECT_FALSE(normal.restore_normal);
    EXPECT_FALSE(normal.media);
    EXPECT_TRUE(normal.picture_shown);
}

TEST(FileKind, LayoutForMediaFiles) {
    PlayLayout sound = LayoutForFile(KindOfFile(L"a.mp3"), kFullScreen);
    EXPECT_TRUE(sound.media && sound.sound && sound.make_compact);
    EXPECT_FALSE(sound.picture_shown);
    EXPECT_FALSE(LayoutForFile(KindOfFile(L"a.mp3"), kCompact).make_compact);

    PlayLayout video = LayoutForFile(KindOfFile(L"a.avi"), kCompact);
    EXPECT_TRUE(video.video && video.make_video && video.picture_shown);
    EXPECT_FALSE(LayoutForFile(KindOfFile(L"a.avi"), kNormal).make_video);

    // ".wm" first takes the compact layout, then the video one.
    PlayLayout wm = LayoutForFile(KindOfFile(L"a.wm"), kNormal);
    EXPECT_TRUE(wm.make_compact && wm.make_video && wm.picture_shown);
}

TEST(PlayFile, UnplayableEntryMovesOn) {
    EXPECT_EQ(EntryAfterUnplayable(1, 5), 2);
    EXPECT_EQ(EntryAfterUnplayable(4, 5), -1);
    EXPECT_EQ(EntryAfterUnplayable(-1, 0), -1);
    EXPECT_EQ(EntryAfterUnplayable(-1, 3), 0);
}

TEST(PlayFile, StartMenuOpensUpward) {
    MenuPlace small = StartMenuPlace(300, 500, 8, 20, 547);
    EXPECT_EQ(small.top, 500 - 360 + 48);
    EXPECT_EQ(small.left, 300);
    EXPECT_EQ(StartMenuPlace(300, 500, 8, 20, 601).left, 8);
}
