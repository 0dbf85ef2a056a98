#include "playlist/media_search.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

class MediaSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::path(::testing::TempDir()) /
                ("corvella_search_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    void Touch(const fs::path& relative) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << "x";
    }

    // Runs the search, returning the names found and the progress after each folder.
    std::vector<std::string> Search(const MediaSearch::Text& folder, std::vector<int>* progress = nullptr) {
        MediaSearch search(folder);
        std::vector<std::string> names;
        bool stopped = false;
        EXPECT_TRUE(RunMediaSearch(
            search, stopped,
            [&](const MediaSearch::Text&) {
                if (progress) progress->push_back(search.Progress());
            },
            [&](const MediaSearch::Found& file) {
                EXPECT_EQ(fs::path(file.path).filename().native(), file.name);
                names.push_back(fs::path(file.name).string());
            }));
        if (progress) progress->push_back(search.Progress());
        return names;
    }

    fs::path root_;
};

}  // namespace

TEST_F(MediaSearchTest, BreadthFirstOrder) {
    Touch("a/x.swf");
    Touch("b/y.mp3");
    Touch("a/c/z.avi");
    Touch("w.wav");
    Touch("notes.txt");
    Touch("a/Upper.SWF");
    std::vector<std::string> names = Search(root_.native());
    // Within one folder the file system's order decides; across depths the
    // folder order does.
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(names.front(), "w.wav");
    EXPECT_EQ(names.back(), "z.avi");
    EXPECT_NE(std::find(names.begin(), names.end(), "Upper.SWF"), names.end());
}

TEST_F(MediaSearchTest, DotFoldersSkippedDotFilesListed) {
    Touch(".hidden/a.mp3");
    Touch(".mp3");
    EXPECT_EQ(Search(root_.native() + MediaSearch::Text(1, fs::path::preferred_separator)),
              (std::vector<std::string>{".mp3"}));
}

TEST_F(MediaSearchTest, ProgressNeverMovesBack) {
    fs::create_directories(root_ / "a");
    fs::create_directories(root_ / "b");
    std::vector<int> progress;
    Search(root_.native(), &progress);
    EXPECT_EQ(progress, (std::vector<int>{0, 33, 66, 100}));

    // Subfolders found late lower done × 100 div length; the bar stays.
    fs::remove_all(root_ / "b");
    for (const char* name : {"1", "2", "3", "4", "5"}) fs::create_directories(root_ / "a" / name);
    progress.clear();
    Search(root_.native(), &progress);
    EXPECT_EQ(progress, (std::vector<int>{0, 50, 50, 50, 57, 71, 85, 100}));
}

TEST_F(MediaSearchTest, MissingFolderEndsAtOnce) {
    std::vector<int> progress;
    EXPECT_TRUE(Search((root_ / "none").native(), &progress).empty());
    EXPECT_EQ(progress.back(), 100);
}

TEST_F(MediaSearchTest, StopFinishesTheFolderBeingListed) {
    Touch("a/c/z.avi");
    Touch("b/y.mp3");
    MediaSearch search(root_.native());
    bool stopped = false;
    std::vector<MediaSearch::Text> listed;
    std::vector<std::string> found;
    bool done = RunMediaSearch(
        search, stopped,
        [&](const MediaSearch::Text& folder) {
            listed.push_back(folder);
            if (listed.size() == 3) stopped = true;  // the stop command runs while messages are pumped
        },
        [&](const MediaSearch::Found& file) { found.push_back(fs::path(file.name).string()); });
    EXPECT_FALSE(done);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(search.FoldersDone(), 3u);
    EXPECT_EQ(search.QueueLength(), 4u);
    // root, a and b are listed; c is never entered.
    EXPECT_EQ(fs::path(listed[0]), fs::path(root_.native() + fs::path::preferred_separator));
    EXPECT_EQ(found, (std::vector<std::string>{"y.mp3"}));
}

#ifndef _WIN32
TEST_F(MediaSearchTest, LinksToFoldersAreNotFollowed) {
    Touch("a/x.mp3");
    fs::create_directory_symlink(root_, root_ / "a" / "loop");
    EXPECT_EQ(Search(root_.native()), (std::vector<std::string>{"x.mp3"}));
}
#endif
