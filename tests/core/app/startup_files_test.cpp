// The files the main window writes and reads beside the executable.
#include "app/startup_files.h"
#include "tests/core/temp_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

class StartupFiles : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = testtemp::OwnTempPath("corvella-startup-" +
                                      std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    fs::path folder_;
};

}  // namespace

TEST(ProgramFolder, IsTheExecutablesFolderWithoutTrailingSeparator) {
    EXPECT_EQ(ProgramFolderOf(L"C:\\Program Files\\Corvella\\corvella.exe"), L"C:\\Program Files\\Corvella");
    EXPECT_EQ(ProgramFolderOf(L"C:\\corvella.exe"), L"C:");
    EXPECT_EQ(ProgramFolderOf(L"D:\\a\\\\corvella.exe"), L"D:\\a");
    EXPECT_EQ(ProgramFolderOf(L"/opt/corvella/corvella"), L"/opt/corvella");
    EXPECT_EQ(ProgramFolderOf(L"corvella.exe"), L"");
}

TEST_F(StartupFiles, StaleMovieIsReplacedWhole) {
    fs::path movie = folder_ / "corvella.SWF";
    Write(movie, std::string(20000, 'x'));   // longer than the new movie
    std::vector<uint8_t> bytes = {'F', 'W', 'S', 5, 0, 0, 0, 0};
    ReplaceStartupMovie(movie, bytes);
    EXPECT_EQ(Read(movie), std::string("FWS\x05\0\0\0\0", 8));
}

TEST_F(StartupFiles, MovieIsCreatedWhenMissing) {
    fs::path movie = folder_ / "corvella.SWF";
    ReplaceStartupMovie(movie, {1, 2, 3});
    EXPECT_EQ(Read(movie), "\x01\x02\x03");
    ReplaceStartupMovie(movie, {});
    EXPECT_TRUE(fs::exists(movie));
    EXPECT_EQ(fs::file_size(movie), 0u);
}

TEST_F(StartupFiles, UnwritableFolderIsReportedWithTheFileName) {
    fs::path movie = folder_ / "missing" / "corvella.SWF";
    try {
        ReplaceStartupMovie(movie, {1});
        FAIL() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("corvella.SWF"), std::string::npos) << error.what();
    }
    EXPECT_FALSE(fs::exists(movie));
}

TEST_F(StartupFiles, TextFileIsReadWholeOrNotAtAll) {
    fs::path readme = folder_ / "readme.txt";
    EXPECT_FALSE(ReadTextFileBytes(readme).has_value());
    Write(readme, std::string("\xB2\xA5\xB7\xC5\r\nline 2", 12));
    auto bytes = ReadTextFileBytes(readme);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), 12u);
    EXPECT_FALSE(ReadTextFileBytes(readme, 11).has_value());
    EXPECT_FALSE(ReadTextFileBytes(folder_).has_value());
}

TEST(LineBreaks, EveryKindOfBreakBecomesCrLf) {
    EXPECT_EQ(WithCrLf(L"a\nb"), L"a\r\nb");
    EXPECT_EQ(WithCrLf(L"a\r\nb"), L"a\r\nb");
    EXPECT_EQ(WithCrLf(L"a\rb\r"), L"a\r\nb\r\n");
    EXPECT_EQ(WithCrLf(L"\n\n"), L"\r\n\r\n");
    EXPECT_EQ(WithCrLf(L"\r\n\r"), L"\r\n\r\n");
    EXPECT_EQ(WithCrLf(L""), L"");
}
