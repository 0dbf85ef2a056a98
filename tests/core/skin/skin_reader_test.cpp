#include <gtest/gtest.h>

#include <climits>

#include "skin/skin_reader.h"
#include "skin_test_util.h"

using namespace skintest;

namespace {

void PutInt32(std::vector<uint8_t>& out, int32_t value) {
    for (int i = 0; i < 4; i++) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i)));
}

// An image written field by field, for the damaged layouts.
std::vector<uint8_t> RawImage(int32_t version, const std::string& names, const std::vector<int32_t>& sizes,
                              size_t data_bytes, int32_t names_length = INT32_MIN) {
    std::vector<uint8_t> image;
    PutInt32(image, version);
    PutInt32(image, names_length == INT32_MIN ? static_cast<int32_t>(names.size()) : names_length);
    PutInt32(image, 0);
    PutInt32(image, 0);
    image.insert(image.end(), names.begin(), names.end());
    for (int32_t s : sizes) PutInt32(image, s);
    image.insert(image.end(), data_bytes, 'd');
    return image;
}

bool Read(TSkinReader& reader, const std::vector<uint8_t>& image, std::string* message) {
    return reader.ReadPackage(LzhPack(image), message);
}

}  // namespace

TEST(SkinReader, ReadsDirectoryAndFiles) {
    TSkinReader reader;
    std::string message;
    ASSERT_TRUE(reader.ReadPackage(
        Package({{"Skin.INI", Bytes("[a]")}, {"Title.BMP", Bytes("title")}, {"empty.bmp", {}}, {"x.bmp", Bytes("xx")}}),
        &message));
    ASSERT_EQ(reader.Count(), 4);
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "title.bmp", "empty.bmp", "x.bmp"}));
    EXPECT_EQ(reader.EntrySize(1), 5);
    EXPECT_EQ(reader.Header().version, 20000);

    std::vector<uint8_t> out = Bytes("old");
    reader.ExtractFile("title.bmp", out);
    EXPECT_EQ(out, Bytes("title"));
    reader.ExtractFile("X.Bmp", out);
    EXPECT_EQ(out, Bytes("xx"));
    reader.ExtractFile("missing.bmp", out);
    EXPECT_TRUE(out.empty());
    reader.ExtractFile("empty.bmp", out);
    EXPECT_TRUE(out.empty());
}

TEST(SkinReader, FirstMatchingEntryWins) {
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadPackage(
        Package({{"a.bmp", Bytes("A")}, {"First.ini", Bytes("1")}, {"second.ini", Bytes("2")}})));
    std::vector<uint8_t> out;
    EXPECT_EQ(reader.ExtractFirstMatching(".ini", out), "first.ini");
    EXPECT_EQ(out, Bytes("1"));
    // The fragment is not folded: names are lower case, so capitals find none.
    EXPECT_EQ(reader.ExtractFirstMatching(".INI", out), "");
    EXPECT_TRUE(out.empty());
}

TEST(SkinReader, NameListLines) {
    EXPECT_EQ(SplitSkinNames("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitSkinNames("a\rb\nc"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(SplitSkinNames("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitSkinNames("a\n\rb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitSkinNames(std::string("a\nb\0c", 5)), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitSkinNames("").empty());
    EXPECT_EQ(FoldSkinName("AbC.BMP\xC4"), "abc.bmp\xC4");

    // A list ending in a line break has as many entries as names.
    TSkinReader reader;
    ASSERT_TRUE(Read(reader, RawImage(20000, "one.ini\ntwo.bmp\n", {1, 2}, 3), nullptr));
    EXPECT_EQ(reader.Count(), 2);
}

TEST(SkinReader, RefusesOtherVersions) {
    TSkinReader reader;
    std::string message;
    EXPECT_TRUE(reader.ReadPackage(BuildSkinPackage({}), &message));
    EXPECT_EQ(reader.Count(), 0);
    EXPECT_FALSE(Read(reader, BuildSkinImage({{"a.ini", Bytes("x")}}, 19999), &message));
    EXPECT_EQ(message, "This is Older Skin File\rPlease update to new version !");
    EXPECT_EQ(reader.Count(), 0);
}

TEST(SkinReader, RefusesMoreThan1001Entries) {
    std::vector<SkinPackageEntry> entries(1001, {"f.bmp", Bytes("z")});
    TSkinReader reader;
    std::string message;
    EXPECT_TRUE(reader.ReadPackage(Package(entries), &message));
    EXPECT_EQ(reader.Count(), 1001);
    entries.push_back({"g.bmp", {}});
    EXPECT_FALSE(reader.ReadPackage(Package(entries), &message));
    EXPECT_EQ(message, kTooManySkinEntriesMessage);
    EXPECT_EQ(reader.Count(), 0);
}

// Nothing outside the image is read: every bad table is refused.
TEST(SkinReader, RefusesTablesPastTheImage) {
    TSkinReader reader;
    std::string message;
    struct Case {
        const char* what;
        std::vector<uint8_t> image;
    } cases[] = {
        {"size table past the end", RawImage(20000, "a\nb\nc\n", {1}, 0)},
        {"files past the end", RawImage(20000, "a\nb\n", {4, 5}, 8)},
        {"negative size", RawImage(20000, "a\nb\n", {-1, 2}, 8)},
        {"huge size", RawImage(20000, "a\n", {0x7FFFFFFF}, 8)},
        {"names past the end", RawImage(20000, "a\n", {1}, 1, 1000)},
        {"negative names length", RawImage(20000, "a\n", {1}, 1, -5)},
        {"shorter than a header", std::vector<uint8_t>(15, 0)},
    };
    for (const Case& c : cases) {
        message.clear();
        EXPECT_FALSE(Read(reader, c.image, &message)) << c.what;
        EXPECT_EQ(message, kDamagedSkinMessage) << c.what;
    }
    // Data past the last file is allowed.
    EXPECT_TRUE(Read(reader, RawImage(20000, "a\nb\n", {4, 3}, 8), &message));
}

TEST(SkinReader, RefusesBrokenCompression) {
    TSkinReader reader;
    std::string message;
    EXPECT_FALSE(reader.ReadPackage({0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}, &message));
    EXPECT_EQ(message, kDamagedSkinMessage);
    EXPECT_FALSE(reader.ReadPackage({}, &message));
}

// Damaged images, byte by byte in the header and tables: each is read or
// refused, never read past its end (the sanitizer build checks the rest).
TEST(SkinReader, SurvivesDamagedImages) {
    const std::vector<uint8_t> image =
        BuildSkinImage({{"skin.ini", Bytes("[TitlebarSkin]\nSkinName=x\n")}, {"a.bmp", SolidBmp(3, 3)}});
    uint32_t seed = 1;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    for (int round = 0; round < 300; round++) {
        std::vector<uint8_t> damaged = image;
        for (int flips = 1 + next() % 4; flips > 0; flips--) damaged[next() % 48] = static_cast<uint8_t>(next() >> 16);
        damaged.resize(damaged.size() - next() % 40);
        TSkinReader reader;
        std::vector<uint8_t> out;
        if (reader.ReadPackage(LzhPack(damaged))) {
            for (const std::string& name : reader.Names()) reader.ExtractFile(name, out);
            reader.ExtractFirstMatching(".ini", out);
        } else {
            EXPECT_EQ(reader.Count(), 0);
        }
    }
}
