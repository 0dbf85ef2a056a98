#include <gtest/gtest.h>

#include <random>
#include <string>

#include "skin/lzh.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

std::vector<uint8_t> Unpack(const std::vector<uint8_t>& packed) {
    std::vector<uint8_t> out;
    TLZH().Unpack(packed, out);
    return out;
}

void ExpectRoundTrip(const std::vector<uint8_t>& data, const std::string& what) {
    const std::vector<uint8_t> packed = LzhPack(data);
    const std::vector<uint8_t> unpacked = Unpack(packed);
    ASSERT_EQ(unpacked.size(), data.size()) << what;
    EXPECT_TRUE(unpacked == data) << what;
}

std::vector<uint8_t> RandomBytes(std::mt19937& rng, size_t size, int alphabet) {
    std::vector<uint8_t> data(size);
    std::uniform_int_distribution<int> pick(0, alphabet - 1);
    for (uint8_t& b : data) b = static_cast<uint8_t>(pick(rng));
    return data;
}

}  // namespace

// The first code of a fresh tree, worked out by hand: the leaf of 'A' (65)
// sits nine levels deep, reached by the bits 111001101.
TEST(Lzh, KnownCodeOfOneLiteral) {
    const std::vector<uint8_t> packed = {1, 0, 0, 0, 0xE6, 0x80};
    EXPECT_EQ(Unpack(packed), Bytes("A"));
    EXPECT_EQ(LzhPack(Bytes("A")), packed);
}

TEST(Lzh, RoundTripsEdgeInputs) {
    ExpectRoundTrip({}, "empty");
    ExpectRoundTrip(Bytes("x"), "one byte");
    ExpectRoundTrip(Bytes(std::string(3, ' ')), "three spaces, matched in the initial ring");
    ExpectRoundTrip(Bytes(std::string(5000, ' ')), "spaces past the ring");
    ExpectRoundTrip(Bytes(std::string(10000, 'a')), "a run longer than any match");
    std::vector<uint8_t> all;
    for (int round = 0; round < 4; round++)
        for (int b = 0; b < 256; b++) all.push_back(static_cast<uint8_t>(b));
    ExpectRoundTrip(all, "every byte value");
}

// Repeats exactly at, just inside and just past the 4096-byte window, and
// inputs whose ends fall on the ring's boundaries.
TEST(Lzh, RoundTripsAroundTheWindow) {
    std::mt19937 rng(7);
    for (size_t distance : {4094u, 4095u, 4096u, 4097u}) {
        std::vector<uint8_t> block = RandomBytes(rng, distance, 256);
        std::vector<uint8_t> data = block;
        data.insert(data.end(), block.begin(), block.begin() + 200);
        ExpectRoundTrip(data, "repeat at distance " + std::to_string(distance));
    }
    for (size_t size : {59u, 60u, 61u, 4035u, 4036u, 4037u, 4095u, 4096u, 4097u, 8192u})
        ExpectRoundTrip(RandomBytes(rng, size, 4), "size " + std::to_string(size));
}

// Enough symbols that the root reaches the frequency limit several times
// and the tree is rebuilt, with text of many shapes.
TEST(Lzh, RoundTripsManyInputs) {
    std::mt19937 rng(12345);
    for (int i = 0; i < 40; i++) {
        const size_t size = std::uniform_int_distribution<size_t>(0, 20000)(rng);
        const int alphabet = std::uniform_int_distribution<int>(1, 256)(rng);
        ExpectRoundTrip(RandomBytes(rng, size, alphabet), "random input " + std::to_string(i));
    }
    std::string text;
    while (text.size() < 300000) text += "[Personality]\r\nLeft=left.bmp\r\nTop" + std::to_string(text.size() % 977) + "\r\n";
    ExpectRoundTrip(Bytes(text), "long text");
    ExpectRoundTrip(RandomBytes(rng, 200000, 256), "long noise");
}

TEST(Lzh, SourceCutShortDecodesFromZeroBits) {
    std::mt19937 rng(3);
    const std::vector<uint8_t> data = RandomBytes(rng, 3000, 16);
    std::vector<uint8_t> packed = LzhPack(data);
    packed.resize(packed.size() / 2);
    const std::vector<uint8_t> out = Unpack(packed);
    ASSERT_GE(out.size(), data.size());
    // What the remaining code holds still decodes to the same bytes.
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 100, data.begin()));

    const std::vector<uint8_t> header_only = {100, 0, 0, 0};
    EXPECT_GE(Unpack(header_only).size(), 100u);
}

// The count is tested only between symbols: a match that crosses
// UnpackedSize is written out whole.
TEST(Lzh, FinalMatchRunsPastUnpackedSize) {
    std::vector<uint8_t> packed = LzhPack(Bytes(std::string(60, ' ')));
    packed[0] = 10;
    EXPECT_EQ(Unpack(packed), Bytes(std::string(60, ' ')));
}

TEST(Lzh, RefusesSizesTheSourceCannotHold) {
    std::vector<uint8_t> out;
    EXPECT_THROW(TLZH().Unpack({0xFF, 0xFF, 0xFF, 0xFF, 0x12, 0x34}, out), ElzhException);
    EXPECT_THROW(TLZH().Unpack({1, 0, 0}, out), ElzhException);
    EXPECT_TRUE(out.empty());

    std::vector<uint8_t> packed = LzhPack(Bytes("small"));
    const uint32_t claim = static_cast<uint32_t>((packed.size() - 4) * 48 + 64 * 1024 + 1);
    for (int i = 0; i < 4; i++) packed[i] = static_cast<uint8_t>(claim >> (8 * i));
    EXPECT_THROW(TLZH().Unpack(packed, out), ElzhException);

    EXPECT_TRUE(UnpackedSizeIsPlausible(kMaxUnpackedSize, kMaxUnpackedSize));
    EXPECT_FALSE(UnpackedSizeIsPlausible(kMaxUnpackedSize + 1, size_t{1} << 31));
    EXPECT_TRUE(Unpack({0, 0, 0, 0}).empty());
}
