#include "app/config.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

class ConfigFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::path(::testing::TempDir()) /
               ("corvella_config_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path File() const { return dir_ / kConfigFileName; }

    std::string Contents() const {
        std::ifstream in(File(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    void Write(const std::string& bytes) const {
        std::ofstream out(File(), std::ios::binary);
        out << bytes;
    }

    std::filesystem::path dir_;
};

}  // namespace

TEST_F(ConfigFileTest, MissingFileGivesDefaultsAndApplyCreatesIt) {
    ConfigFile config(File());
    PlaybackSettings settings = ReadPlaybackSettings(config);
    EXPECT_EQ(settings.near_end_frames, 8);
    EXPECT_EQ(settings.step_frames, 8);
    EXPECT_FALSE(settings.skip_play);
    EXPECT_EQ(ReadSkinFile(config), "");
    EXPECT_FALSE(std::filesystem::exists(File()));

    EXPECT_TRUE(WriteDialogSettings(config, settings));
    EXPECT_EQ(Contents(), "[mydata]\r\nmySkipzs=8\r\nAutoSkip=0\r\noverCurrentFileZS=8\r\n");
}

TEST_F(ConfigFileTest, AutoSkipIsOnOnlyForOne) {
    ConfigFile config(File());
    Write("[mydata]\r\nAutoSkip=8\r\nmySkipzs=0x10\r\noverCurrentFileZS=-5\r\n");
    PlaybackSettings settings = ReadPlaybackSettings(config);
    EXPECT_FALSE(settings.skip_play);
    EXPECT_EQ(settings.near_end_frames, 16);
    EXPECT_EQ(settings.step_frames, -5);

    // The check box writes at once, without the dialog.
    EXPECT_TRUE(WriteAutoSkip(config, true));
    EXPECT_TRUE(ReadPlaybackSettings(config).skip_play);
    EXPECT_EQ(Contents(), "[mydata]\r\nAutoSkip=1\r\nmySkipzs=0x10\r\noverCurrentFileZS=-5\r\n");
}

TEST_F(ConfigFileTest, EachWriteSeesTheFileAsItIsNow) {
    ConfigFile config(File());
    EXPECT_TRUE(WriteSkinFile(config, "a.fac"));
    Write(Contents() + "[user]\r\nkept=yes\r\n");
    EXPECT_TRUE(WriteAutoSkip(config, false));
    EXPECT_EQ(Contents(), "[mydata]\r\nskinfile=a.fac\r\nAutoSkip=0\r\n[user]\r\nkept=yes\r\n");
    EXPECT_EQ(ReadSkinFile(config), "a.fac");
}

TEST_F(ConfigFileTest, WriteToAFolderThatIsNotThereFailsQuietly) {
    ConfigFile config(dir_ / "no" / "such" / kConfigFileName);
    EXPECT_FALSE(WriteAutoSkip(config, true));
    EXPECT_EQ(ReadPlaybackSettings(config).near_end_frames, 8);
}

TEST(SpinEditValue, IntegersOrZero) {
    EXPECT_EQ(SpinEditValue("-5"), -5);
    EXPECT_EQ(SpinEditValue(" 12 "), 12);
    EXPECT_EQ(SpinEditValue("abc"), 0);
    EXPECT_EQ(SpinEditValue(""), 0);
    EXPECT_EQ(SpinEditValue("99999999999"), 0);
}
