// Decoding the bitmap tags into pixels, as the engine draws them: lossless
// formats with and without alpha, the JPEG tags with split tables, alpha
// planes and PNG data, and the refusal of sizes the data cannot hold.
#include "swf/jpeg_rules.h"
#include "swf/jpeg_tags.h"
#include "swf/lossless_bitmap.h"
#include "swf/movie_header.h"
#include "swf/tags.h"
#include "swf_test_builder.h"

#include <gtest/gtest.h>

namespace {

using swftest::Data;
using swftest::Join;

Data LosslessBody(uint8_t format, uint16_t width, uint16_t height, const Data& extra, const Data& raw) {
    Data body = {1, 0, format};
    swftest::Put16(body, width);
    swftest::Put16(body, height);
    body.insert(body.end(), extra.begin(), extra.end());
    Data packed = swftest::Deflate(raw);
    body.insert(body.end(), packed.begin(), packed.end());
    return body;
}

TEST(LosslessDecode, FormatsBecomeStraightArgbPixels) {
    // Format 3 with alpha: a premultiplied half-transparent red, rows padded to 4 bytes.
    swf::Bitmap mapped = swf::DecodeLossless(LosslessBody(3, 1, 1, {1}, {128, 0, 0, 128, 0, 0, 0, 255, 0, 0, 0, 0}), true);
    EXPECT_EQ(mapped.pixels, std::vector<uint32_t>{0x80FF0000u});
    // Format 4: big-endian 0RRRRRGGGGGBBBBB, two pixels to a padded row.
    swf::Bitmap fifteen = swf::DecodeLossless(LosslessBody(4, 1, 1, {}, {0x7C, 0x00, 0, 0}), false);
    EXPECT_EQ(fifteen.pixels, std::vector<uint32_t>{0xFFFF0000u});
    // Format 5 without alpha: the first byte is reserved, pixels are opaque.
    swf::Bitmap opaque = swf::DecodeLossless(LosslessBody(5, 2, 1, {}, {0, 1, 2, 3, 9, 4, 5, 6}), false);
    EXPECT_EQ(opaque.pixels, (std::vector<uint32_t>{0xFF010203u, 0xFF040506u}));
    swf::Bitmap clear = swf::DecodeLossless(LosslessBody(5, 1, 1, {}, {0, 7, 7, 7}), true);
    EXPECT_EQ(clear.pixels, std::vector<uint32_t>{0u});
}

TEST(LosslessDecode, RefusesWhatTheDataCannotHold) {
    EXPECT_THROW(swf::DecodeLossless(LosslessBody(5, 2, 2, {}, Data(8, 1)), false), swf::SwfDataError);  // short
    EXPECT_THROW(swf::DecodeLossless(LosslessBody(5, 0, 2, {}, {}), false), swf::SwfDataError);         // empty
    EXPECT_THROW(swf::DecodeLossless(LosslessBody(6, 1, 1, {}, Data(4, 1)), false), swf::SwfDataError); // format
    // 9000 x 1 fits the pixel cap but not the side cap; 4097 x 4097 neither,
    // refused before its stream is inflated.
    EXPECT_THROW(swf::DecodeLossless(LosslessBody(5, 9000, 1, {}, Data(36000, 0)), false), swf::SwfDataError);
    EXPECT_THROW(swf::DecodeLossless(LosslessBody(3, 4097, 4097, {0}, {}), false), swf::SwfDataError);
    EXPECT_THROW(swf::DecodeLossless(Data{1, 0, 5, 1}, false), swf::SwfDataError);
}

TEST(JpegDecode, SplitTablesAndSharedTablesDecodeAndAlphaApplies) {
    Data jpeg = swftest::EncodeJpeg(16, 8);
    swftest::SplitJpeg split = swftest::SplitTables(jpeg);
    Data id = {1, 0};
    swf::Bitmap two = swf::DecodeJpegTag(swf::kDefineBitsJpeg2, Join({id, split.tables, split.image}), {});
    EXPECT_EQ(two.width, 16);
    EXPECT_EQ(two.height, 8);
    EXPECT_EQ(two.pixels[0] >> 24, 0xFFu);

    std::vector<uint8_t> tables = swf::JpegTableSegments(split.tables);
    swf::Bitmap shared = swf::DecodeJpegTag(swf::kDefineBits, Join({id, split.image}), tables);
    EXPECT_EQ(shared.pixels, two.pixels);
    EXPECT_THROW(swf::DecodeJpegTag(swf::kDefineBits, Join({id, split.image}), {}), swf::SwfDataError);

    // JPEG3 and JPEG4: the alpha plane applies when it inflates to a byte a pixel.
    Data length;
    swftest::Put32(length, static_cast<uint32_t>(jpeg.size()));
    Data alpha = swftest::Deflate(Data(16 * 8, 0x40));
    swf::Bitmap three = swf::DecodeJpegTag(swf::kDefineBitsJpeg3, Join({id, length, jpeg, alpha}), {});
    EXPECT_EQ(three.pixels[5] >> 24, 0x40u);
    EXPECT_EQ(three.pixels[5] & 0xFFFFFF, two.pixels[5] & 0xFFFFFF);
    swf::Bitmap four = swf::DecodeJpegTag(swf::kDefineBitsJpeg4, Join({id, length, {0, 0}, jpeg, alpha}), {});
    EXPECT_EQ(four.pixels, three.pixels);
    swf::Bitmap short_alpha = swf::DecodeJpegTag(swf::kDefineBitsJpeg3, Join({id, length, jpeg, swftest::Deflate({1})}), {});
    EXPECT_EQ(short_alpha.pixels[5] >> 24, 0xFFu);
    // The image data stated longer than the tag.
    length[1] += 1;
    EXPECT_THROW(swf::DecodeJpegTag(swf::kDefineBitsJpeg3, Join({id, length, jpeg}), {}), swf::SwfDataError);
}

TEST(JpegDecode, PngAndGifDataAreToldApart) {
    Data png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0};
    Data length;
    swftest::Put32(length, static_cast<uint32_t>(png.size()));
    swf::JpegTagImage image = swf::ReadJpegTag(swf::kDefineBitsJpeg3, Join({{1, 0}, length, png, {7, 7}}), {});
    EXPECT_EQ(image.format, swf::ImageFormat::Png);
    EXPECT_EQ(image.file.size(), png.size());
    EXPECT_EQ(image.alpha.size(), 2u);
    Data gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0};
    EXPECT_EQ(swf::ReadJpegTag(swf::kDefineBitsJpeg2, Join({{1, 0}, gif}), {}).format, swf::ImageFormat::Gif);
    EXPECT_THROW(swf::DecodeJpegTag(swf::kDefineBitsJpeg2, Join({{1, 0}, gif}), {}), swf::SwfDataError);
}

TEST(MovieHeader, BodyIsHeldToFileLengthAndTheCap) {
    Data fws = swftest::Movie({swftest::End()});
    Data longer = Join({fws, Data(10, 0)});
    EXPECT_EQ(swf::MovieBody(longer).size(), fws.size() - 8);  // FileLength holds it
    Data cut(fws.begin(), fws.end() - 1);
    EXPECT_EQ(swf::MovieBody(cut).size(), fws.size() - 9);  // a cut file keeps what it has
    Data cws = swftest::Compress(fws);
    EXPECT_EQ(swf::MovieBody(cws), Data(fws.begin() + 8, fws.end()));
    swf::FileHeader header = swf::ReadFileHeader(cws);
    EXPECT_TRUE(header.compressed);
    EXPECT_EQ(header.version, 6);
    EXPECT_EQ(header.file_length, fws.size());
    Data body = swf::MovieBody(fws);
    swf::ByteReader in(body);
    swf::FrameHeader frame = swf::ReadFrameHeader(in);
    EXPECT_EQ(frame.frame_rate, 12 * 256);
    EXPECT_EQ(frame.frame_count, 1);
    EXPECT_EQ(in.Pos(), 5u);  // at the End tag
    Data wrong = fws;
    wrong[1] = 'X';
    EXPECT_THROW(swf::MovieBody(wrong), swf::SwfDataError);
}

}  // namespace
