#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "skin/skin_package_writer.h"
#include "skin/skin_reader.h"
#include "tests/core/temp_path.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace

// The definition first, then the bitmaps by lower-case name; other files
// are left out. The package reads back to the same files.
TEST(SkinPackageWriter, PacksAFolderInItsStatedOrder) {
    const fs::path dir = testtemp::OwnTempPath("corvella_skin_pack_test");
    fs::remove_all(dir);
    fs::create_directories(dir / "sub.bmp");
    Touch(dir / "z.INI", "second");
    Touch(dir / "b.ini", "[TitlebarSkin]");
    Touch(dir / "C.bmp", "c");
    Touch(dir / "a.BMP", "a");
    Touch(dir / "notes.txt", "x");

    std::vector<SkinPackageEntry> entries;
    std::string error;
    ASSERT_TRUE(CollectSkinFolder(dir.string(), entries, error)) << error;
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "b.ini");
    EXPECT_EQ(entries[1].name, "a.BMP");
    EXPECT_EQ(entries[2].name, "C.bmp");

    TSkinReader reader;
    ASSERT_TRUE(reader.ReadPackage(BuildSkinPackage(entries)));
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"b.ini", "a.bmp", "c.bmp"}));
    std::vector<uint8_t> out;
    reader.ExtractFile("B.INI", out);
    EXPECT_EQ(std::string(out.begin(), out.end()), "[TitlebarSkin]");

    fs::remove(dir / "z.INI");
    fs::remove(dir / "b.ini");
    EXPECT_FALSE(CollectSkinFolder(dir.string(), entries, error));
    EXPECT_NE(error.find("no .ini"), std::string::npos);
    EXPECT_FALSE(CollectSkinFolder((dir / "missing").string(), entries, error));
    fs::remove_all(dir);
}
