#include "playlist/intake.h"

#include <gtest/gtest.h>

TEST(Intake, CommandLineArgument) {
    CommandLineIntake movie = ClassifyCommandLineArgument(L"  C:\\f\\movie.SWF ");
    EXPECT_EQ(movie.path, L"C:\\f\\movie.SWF");
    EXPECT_TRUE(movie.play_at_show);
    EXPECT_FALSE(movie.load_list);

    EXPECT_TRUE(ClassifyCommandLineArgument(L"C:\\f\\song.mp3").play_at_show);
    CommandLineIntake list = ClassifyCommandLineArgument(L"C:\\f\\list.lis");
    EXPECT_TRUE(list.load_list);
    EXPECT_FALSE(list.play_at_show);

    // Only whole four-character endings count.
    for (const wchar_t* other : {L"C:\\f\\clip.avi", L"C:\\f\\a.swf2", L"C:\\f\\list.m3u", L"swf", L""}) {
        CommandLineIntake intake = ClassifyCommandLineArgument(other);
        EXPECT_FALSE(intake.play_at_show) << other;
        EXPECT_FALSE(intake.load_list) << other;
    }
    // A folder named like a list is not a list.
    EXPECT_FALSE(ClassifyCommandLineArgument(L"C:\\x.lis\\").load_list);
}

TEST(Intake, DroppedFiles) {
    EXPECT_TRUE(ClassifyDroppedFile(L"C:\\a.MP3").append);
    EXPECT_TRUE(ClassifyDroppedFile(L"C:\\x.mp").append);
    EXPECT_TRUE(ClassifyDroppedFile(L"C:\\l.lis").load_list);
    EXPECT_FALSE(ClassifyDroppedFile(L"C:\\l.lis").append);
    DropIntake nothing = ClassifyDroppedFile(L"C:\\notes.txt");
    EXPECT_FALSE(nothing.append || nothing.load_list);
    EXPECT_FALSE(ClassifyDroppedFile(L"C:\\noext").append);
}
