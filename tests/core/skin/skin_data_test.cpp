#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "skin/skin_data.h"
#include "skin/skin_reader.h"
#include "skin_test_util.h"
#include "tests/core/temp_path.h"

using namespace skintest;
namespace fs = std::filesystem;

namespace {

fs::path WriteTempFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path path = testtemp::OwnTempPath(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

}  // namespace

TEST(SkinData, Settings) {
    TSkinData d;
    EXPECT_FALSE(d.Active());
    EXPECT_EQ(d.DisableTag, 99);
    EXPECT_EQ(d.SkinFormtype, sfMainform);
    EXPECT_EQ(d.SkinFile(), "");
    for (int m = xcMainMenu; m < xcFastReport; m++) EXPECT_TRUE(d.SkinControls.Has(static_cast<TSkinControlType>(m)));
    EXPECT_FALSE(d.SkinControls.Has(xcFastReport));
    EXPECT_TRUE(d.Empty());
    EXPECT_EQ(d.Title.Name, "Title");
    EXPECT_EQ(d.Borders[kBorderBottom].Name, "Bottom");
}

TEST(SkinData, ActiveIsRefusedWithoutSkin) {
    TSkinData d;
    int requests = 0;
    d.OnActiveChanged = [&](TSkinData&, bool) { requests++; };
    EXPECT_FALSE(d.SetActive(true));
    EXPECT_FALSE(d.Active());
    EXPECT_EQ(requests, 0);
    d.SetPackage(SkinPackage("[TitlebarSkin]\nSkinName=x\n"));
    ASSERT_TRUE(d.LoadPackage());
    EXPECT_TRUE(d.SetActive(true));
    EXPECT_TRUE(d.Active());
    EXPECT_TRUE(d.SetActive(false));
    EXPECT_EQ(requests, 2);
}

TEST(SkinData, SkinFileLoadsAnExistingPackage) {
    const fs::path path = WriteTempFile("corvella_skin_data_test.fac", SkinPackage("[TitlebarSkin]\nSkinName=Loaded\n"));
    TSkinData d;
    int applied = 0;
    d.OnPackageApplied = [&](TSkinData&, bool loaded) { applied += loaded; };
    d.SetSkinFile(path.string());
    EXPECT_EQ(d.SkinFile(), path.string());
    EXPECT_FALSE(d.Empty());
    EXPECT_EQ(d.SkinName, "Loaded");
    EXPECT_EQ(applied, 1);

    // A missing file: the path is kept, the model stays, the skin counts as not loaded.
    d.SetSkinFile(path.string() + ".missing");
    EXPECT_TRUE(d.Empty());
    EXPECT_EQ(d.SkinName, "Loaded");
    EXPECT_EQ(applied, 1);
    EXPECT_FALSE(d.SetActive(true));
    fs::remove(path);
}

TEST(SkinData, RefusedPackagesShowTheirMessage) {
    TSkinData d;
    d.SetPackage(SkinPackage("[TitlebarSkin]\nSkinName=Old\n"));
    ASSERT_TRUE(d.LoadPackage());
    std::vector<std::string> shown;
    d.OnMessage = [&](const std::string& text) { shown.push_back(text); };

    d.SetPackage(LzhPack(BuildSkinImage({{"skin.ini", Bytes("[TitlebarSkin]\nSkinName=New\n")}}, 19999)));
    EXPECT_FALSE(d.LoadPackage());
    EXPECT_TRUE(d.Empty());
    EXPECT_EQ(d.SkinName, "Old");  // the objects already built stay
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(d.LastMessage(), shown[0]);

    d.SetPackage(Package({{"a.bmp", SolidBmp(1, 1)}}));
    EXPECT_FALSE(d.LoadPackage());
    EXPECT_EQ(d.LastMessage(), kNoSkinDefinitionMessage);

    d.SetPackage(Package(std::vector<SkinPackageEntry>(1002, {"x.ini", {}})));
    EXPECT_FALSE(d.LoadPackage());
    EXPECT_EQ(d.LastMessage(), kTooManySkinEntriesMessage);

    d.SetPackage({1, 2, 3});
    EXPECT_FALSE(d.LoadPackage());
    EXPECT_EQ(d.LastMessage(), kDamagedSkinMessage);
    EXPECT_EQ(shown.size(), 4u);
}

// The definition is read from memory: a hostile entry name writes nothing.
TEST(SkinData, DefinitionNameWritesNoFile) {
    const fs::path temp = fs::temp_directory_path();
    const std::string name = "corvella_escape_probe.ini";
    const fs::path targets[] = {temp / name, temp.parent_path() / name, temp.parent_path().parent_path() / name};
    for (const fs::path& t : targets) fs::remove(t);

    for (const std::string& entry : {"..\\..\\" + name, "../../" + name, "/" + name}) {
        TSkinData d;
        d.SetPackage(Package({{entry, Bytes("[TitlebarSkin]\nSkinName=Escaped\n")}}));
        ASSERT_TRUE(d.LoadPackage()) << entry;
        EXPECT_EQ(d.SkinName, "Escaped");
    }
    for (const fs::path& t : targets) EXPECT_FALSE(fs::exists(t)) << t;
}

TEST(SkinData, SkinStreamProperty) {
    TSkinData d;
    EXPECT_EQ(d.WriteSkinStream(), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(d.SkinStore(), "(none)");

    const std::vector<uint8_t> package = SkinPackage("[TitlebarSkin]\nSkinName=Stream\n");
    d.SetPackage(package);
    const std::vector<uint8_t> property = d.WriteSkinStream();
    ASSERT_EQ(property.size(), package.size() + 4);

    TSkinData read;
    EXPECT_TRUE(read.ReadSkinStream(property));
    EXPECT_EQ(read.Package(), package);
    EXPECT_EQ(read.SkinName, "Stream");
    EXPECT_FALSE(read.Empty());

    TSkinData none;
    int messages = 0;
    none.OnMessage = [&](const std::string&) { messages++; };
    EXPECT_TRUE(none.ReadSkinStream({0, 0, 0, 0}));
    EXPECT_TRUE(none.Package().empty());
    EXPECT_TRUE(none.Empty());
    EXPECT_EQ(messages, 0);  // nothing to load, nothing to complain about

    std::vector<uint8_t> cut = property;
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(none.ReadSkinStream(cut));
    EXPECT_TRUE(none.Package().empty());
    EXPECT_FALSE(none.ReadSkinStream({0xFF, 0xFF}));
}

TEST(SkinData, DesignTime) {
    TSkinData d;
    d.Designing = true;
    d.SetPackage(SkinPackage("[TitlebarSkin]\nSkinName=x\n"));
    EXPECT_EQ(d.SkinStore(), "(Good)");
    d.SetSkinStore("anything");
    EXPECT_EQ(d.SkinStore(), "(Good)");
    EXPECT_FALSE(d.LoadPackage());
    EXPECT_TRUE(d.Empty());
    d.SetSkinFile("some.fac");
    EXPECT_TRUE(d.Package().empty());
    EXPECT_EQ(d.SkinStore(), "(none)");
}
