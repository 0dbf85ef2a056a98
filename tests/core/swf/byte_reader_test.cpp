// The bounds-checked reader and the small records read through it.
#include "swf/byte_reader.h"
#include "swf/records.h"
#include "swf/tags.h"

#include <gtest/gtest.h>

namespace {

using swf::ByteReader;
using swf::SwfDataError;

TEST(ByteReader, ReadsBitFieldsBytesAndStringsAndStopsAtTheEnd) {
    const uint8_t data[] = {0b10110000, 0xFF, 0x34, 0x12, 'h', 'i', 0};
    ByteReader in(data);
    EXPECT_EQ(in.UB(2), 2u);
    EXPECT_EQ(in.SB(2), -1);
    EXPECT_EQ(in.U8(), 0xFF);  // aligns first
    EXPECT_EQ(in.U16(), 0x1234);
    EXPECT_EQ(in.String(), "hi");
    EXPECT_THROW(in.U8(), SwfDataError);
    EXPECT_THROW(in.UB(1), SwfDataError);
    ByteReader unterminated(swf::Bytes(data).subspan(4, 2));
    EXPECT_THROW(unterminated.String(), SwfDataError);
    ByteReader wide(data);
    EXPECT_THROW(wide.UB(33), SwfDataError);
}

TEST(ByteReader, ReadsRecordsOfPackedBitFields) {
    // RECT of 5-bit fields: 0, 10, -1, 3; then a MATRIX with scale 1.5 and
    // translation (-2, 7) and a CXFORM that only adds.
    const uint8_t rect[] = {0b00101000, 0b00010101, 0b11110001, 0b10000000};
    ByteReader rect_in(rect);
    swf::Rect r = swf::ReadRect(rect_in);
    EXPECT_EQ(r.xmin, 0);
    EXPECT_EQ(r.xmax, 10);
    EXPECT_EQ(r.ymin, -1);
    EXPECT_EQ(r.ymax, 3);
    EXPECT_EQ(rect_in.Pos(), 4u);
    EXPECT_THROW(swf::ReadRect(rect_in), SwfDataError);

    // HasScale 1, NScaleBits 18, 0x18000 twice; no rotate; NTranslateBits 4, -2, 7.
    std::vector<bool> bits;
    auto put = [&bits](uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) bits.push_back((value >> i) & 1);
    };
    put(1, 1), put(18, 5), put(0x18000, 18), put(0x18000, 18), put(0, 1), put(4, 5), put(0xE, 4), put(7, 4);
    std::vector<uint8_t> bytes((bits.size() + 7) / 8);
    for (size_t i = 0; i < bits.size(); ++i)
        if (bits[i]) bytes[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    bytes.push_back(0b10001000);  // CXFORM: add only, 2-bit fields: 0, -1, 0
    bytes.push_back(0b11000000);
    ByteReader matrix_in(bytes);
    swf::Matrix m = swf::ReadMatrix(matrix_in);
    EXPECT_DOUBLE_EQ(m.scale_x, 1.5);
    EXPECT_DOUBLE_EQ(m.scale_y, 1.5);
    EXPECT_EQ(m.skew0, 0);
    EXPECT_EQ(m.tx, -2);
    EXPECT_EQ(m.ty, 7);
    swf::ColorTransform t = swf::ReadColorTransform(matrix_in, false);
    EXPECT_EQ(t.rm, 256);
    EXPECT_EQ(t.ra, 0);
    EXPECT_EQ(t.ga, -1);
    EXPECT_EQ(t.ba, 0);
}

TEST(TagHeader, ReadsShortAndLongFormsAndRefusesCutHeaders) {
    const uint8_t data[] = {0x45, 0x00, 0x3F, 0x03, 0x10, 0x00, 0x00, 0x00, 0xFF};
    std::optional<swf::TagHeader> first = swf::ReadTagHeader(data, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->code, 1);  // ShowFrame, 5 bytes stated
    EXPECT_EQ(first->length, 5u);
    std::optional<swf::TagHeader> second = swf::ReadTagHeader(data, 2);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->code, 12);
    EXPECT_EQ(second->length, 16u);
    EXPECT_EQ(second->body_pos, 8u);
    EXPECT_EQ(swf::TagBody(data, *second).size(), 1u);  // clamped to the data
    EXPECT_FALSE(swf::ReadTagHeader(swf::Bytes(data).first(7), 2));
    EXPECT_FALSE(swf::ReadTagHeader(data, 8));
}

}  // namespace
