// Image rows and exports: JPEG splicing for the three JPEG tags, the JPEG
// tables rules, and lossless bitmaps as BMP files.
#include <gtest/gtest.h>
#include <zlib.h>

#include "swf/bitmap_rules.h"
#include "swf/swf_extractor.h"
#include "tests/core/swf/swf_test_builder.h"

using namespace swftest;

namespace {

const Data kLead = {0xFF, 0xD9, 0xFF, 0xD8};

Data WithId(const Data& data) {
    return Join({Data{7, 0}, data});
}

Data Jpeg3Body(const Data& jpeg, const Data& alpha) {
    Data body = {7, 0};
    Put32(body, static_cast<uint32_t>(jpeg.size()));
    return Join({body, jpeg, alpha});
}

// Exports row and returns the file's bytes; the row's length must match.
Data ExportRow(swf::SwfExtractor& extractor, size_t row, const std::string& folder_name) {
    std::filesystem::path folder = FreshFolder(folder_name);
    std::filesystem::path path = extractor.ExtractRow(row, folder);
    EXPECT_EQ(path.filename(), swf::Utf8Path(extractor.Rows()[row].caption));
    Data bytes = ReadFile(path);
    EXPECT_EQ(bytes.size(), extractor.Rows()[row].length);
    EXPECT_EQ(extractor.LastExtracted(), path);
    std::filesystem::remove_all(folder);
    return bytes;
}

}  // namespace

TEST(JpegExport, DefineBitsJoinedWithTheSharedTables) {
    Data jpeg = EncodeJpeg(16, 8);
    SplitJpeg split = SplitTables(jpeg);
    swf::SwfExtractor extractor =
        Loaded(Movie({Tag(8, split.tables), Tag(6, WithId(split.image)), Tag(6, WithId(split.image)), End()}));
    ASSERT_EQ(extractor.Rows().size(), 2u);
    const swf::ResourceRow& row = extractor.Rows()[0];
    EXPECT_EQ(row.caption, "6_1.jpg");
    EXPECT_EQ(row.tag_id, 1);
    EXPECT_EQ(row.code, 6);
    EXPECT_EQ(row.blocks, 1u);
    EXPECT_EQ(row.icon, swf::kIconJpeg);
    // Body less the id, plus the tables less 4 bytes.
    EXPECT_EQ(row.length, split.image.size() + split.tables.size() - 4);
    EXPECT_EQ(extractor.Rows()[1].caption, "6_2.jpg");

    Data file = ExportRow(extractor, 0, "bits");
    int width = 0, height = 0;
    EXPECT_TRUE(DecodesAsJpeg(file, &width, &height));
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 8);
}

TEST(JpegExport, DefineBitsWaitsForTables) {
    SplitJpeg split = SplitTables(EncodeJpeg(8, 8));
    // Without JPEGTables a DefineBits gets no row.
    swf::SwfExtractor none = Loaded(Movie({Tag(6, WithId(split.image)), End()}));
    EXPECT_TRUE(none.Rows().empty());
    EXPECT_EQ(none.ExportEntry(0, FreshFolder("none")), std::filesystem::path());
    EXPECT_EQ(none.Messages().back(), "不能提取信息!");

    // The last DefineBits met before the tables is listed at the tables.
    swf::SwfExtractor late = Loaded(Movie({Tag(6, WithId(split.image)), Tag(1, {}), Tag(6, WithId(split.image)),
                                           Tag(8, split.tables), End()}));
    ASSERT_EQ(late.Rows().size(), 1u);
    EXPECT_EQ(late.Rows()[0].caption, "6_2.jpg");
    EXPECT_EQ(late.Rows()[0].tag_id, 2);

    // Building the list again gives the same rows.
    late.addtolistview();
    ASSERT_EQ(late.Rows().size(), 1u);
    EXPECT_EQ(late.Rows()[0].tag_id, 2);
}

TEST(JpegExport, DefineBitsThatIsACompleteJpegNeedsNoTables) {
    Data jpeg = EncodeJpeg(8, 8);
    // An empty JPEGTables tag, as newer authoring tools write it.
    swf::SwfExtractor extractor = Loaded(Movie({Tag(8, {}), Tag(6, WithId(jpeg)), End()}));
    ASSERT_EQ(extractor.Rows().size(), 1u);
    EXPECT_EQ(extractor.Rows()[0].caption, "6_1.jpg");
    EXPECT_EQ(ExportRow(extractor, 0, "complete-bits"), jpeg);
}

TEST(JpegExport, DefineBitsWithoutAScanIsUnreadable) {
    SplitJpeg split = SplitTables(EncodeJpeg(8, 8));
    Data no_scan = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 1, 2, 0xFF, 0xD9};
    swf::SwfExtractor extractor = Loaded(Movie({Tag(8, split.tables), Tag(6, WithId(no_scan)), End()}));
    ASSERT_EQ(extractor.Rows().size(), 1u);
    EXPECT_EQ(extractor.Rows()[0].caption, "");
    EXPECT_EQ(extractor.Rows()[0].length, 0u);
    EXPECT_EQ(extractor.Rows()[0].blocks, 0u);
    EXPECT_EQ(extractor.ExtractRow(0, FreshFolder("no-scan")), std::filesystem::path());
    EXPECT_EQ(extractor.Messages().back(), "不能提取信息!");
}

TEST(JpegExport, LeadingEndAndStartMarkersAreDropped) {
    Data jpeg = EncodeJpeg(8, 16);
    SplitJpeg split = SplitTables(jpeg);
    swf::SwfExtractor extractor = Loaded(Movie({
        Tag(8, Join({kLead, split.tables})),
        Tag(6, WithId(Join({kLead, split.image}))),
        Tag(21, WithId(Join({kLead, split.tables, split.image}))),
        Tag(35, Jpeg3Body(Join({kLead, split.tables, split.image}), {1, 2, 3})),
        Tag(21, WithId(Join({kLead, jpeg}))),
        End(),
    }));
    ASSERT_EQ(extractor.Rows().size(), 4u);
    for (size_t row = 0; row < 4; ++row) {
        Data file = ExportRow(extractor, row, "lead");
        EXPECT_TRUE(DecodesAsJpeg(file)) << extractor.Rows()[row].caption;
        EXPECT_EQ(file[0], 0xFF);
        EXPECT_EQ(file[1], 0xD8);
        EXPECT_EQ(file[file.size() - 2], 0xFF);
        EXPECT_EQ(file[file.size() - 1], 0xD9);
    }
    EXPECT_EQ(ExportRow(extractor, 3, "lead-single"), jpeg);
}

TEST(JpegExport, SplitJpeg2AndJpeg3BecomeOneDecodableJpeg) {
    Data jpeg = EncodeJpeg(24, 8);
    SplitJpeg split = SplitTables(jpeg);
    Data data = Join({split.tables, split.image});
    swf::SwfExtractor extractor = Loaded(Movie({Tag(21, WithId(data)), Tag(35, Jpeg3Body(data, Data(50, 0xAB))),
                                                Tag(35, Jpeg3Body(data, {})), End()}));
    ASSERT_EQ(extractor.Rows().size(), 3u);
    EXPECT_EQ(extractor.Rows()[0].caption, "21_0.jpg");
    EXPECT_EQ(extractor.Rows()[1].caption, "35_1.jpg");
    // The start and end markers of the tables block are left out; the alpha
    // data is never written.
    for (size_t row = 0; row < 3; ++row) EXPECT_EQ(extractor.Rows()[row].length, data.size() - 4);
    for (size_t row = 0; row < 3; ++row) {
        Data file = ExportRow(extractor, row, "split");
        int width = 0;
        EXPECT_TRUE(DecodesAsJpeg(file, &width)) << row;
        EXPECT_EQ(width, 24);
    }
}

TEST(JpegExport, CompleteJpegInJpeg2AndJpeg3IsExportedAsItIs) {
    Data jpeg = EncodeJpeg(8, 8);
    swf::SwfExtractor extractor =
        Loaded(Movie({Tag(21, WithId(jpeg)), Tag(35, Jpeg3Body(jpeg, Data(64, 0x11))), End()}));
    ASSERT_EQ(extractor.Rows().size(), 2u);
    EXPECT_EQ(extractor.Rows()[0].length, jpeg.size());
    EXPECT_EQ(ExportRow(extractor, 0, "single2"), jpeg);
    EXPECT_EQ(ExportRow(extractor, 1, "single3"), jpeg);
}

TEST(JpegExport, DataThatIsNoJpegGivesUnreadableRows) {
    SplitJpeg split = SplitTables(EncodeJpeg(8, 8));
    Data png = {'G', 'I', 'F', '9', '0', 'a', 1, 0, 1, 0, 0, 0};  // no known image signature
    Data jpeg3_too_long = {7, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xD8};
    swf::SwfExtractor extractor = Loaded(Movie({
        Tag(21, WithId(png)),
        Tag(21, WithId(split.tables)),  // a tables block and no image
        Tag(35, jpeg3_too_long),        // AlphaDataOffset past the body
        Tag(8, {0xFF, 0xD8, 0xFF}),     // tables cut inside a marker
        Tag(21, {}),
        End(),
    }));
    ASSERT_EQ(extractor.Rows().size(), 5u);
    const char* captions[] = {"无法读取21_0.jpg", "无法读取21_1.jpg", "无法读取35_2.jpg", "无法读取8_3.jpg",
                              "无法读取21_4.jpg"};
    for (size_t row = 0; row < 5; ++row) {
        EXPECT_EQ(extractor.Rows()[row].caption, captions[row]);
        EXPECT_EQ(extractor.Rows()[row].length, 0u);
        EXPECT_EQ(extractor.Rows()[row].icon, swf::kIconJpeg);
    }
    EXPECT_THROW(extractor.ExportEntry(0, FreshFolder("png")), swf::SwfDataError);
}

namespace {

Data Chunk(const char* type, const Data& data) {
    Data out;
    out.push_back(static_cast<uint8_t>(data.size() >> 24));
    out.push_back(static_cast<uint8_t>(data.size() >> 16));
    out.push_back(static_cast<uint8_t>(data.size() >> 8));
    out.push_back(static_cast<uint8_t>(data.size()));
    Data typed = Join({Data(type, type + 4), data});
    uint32_t crc = static_cast<uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size())));
    return Join({out, typed, Data{uint8_t(crc >> 24), uint8_t(crc >> 16), uint8_t(crc >> 8), uint8_t(crc)}});
}

// A 2 x 1 RGB PNG: one filter byte and two red pixels.
Data TinyPng() {
    Data header = {0, 0, 0, 2, 0, 0, 0, 1, 8, 2, 0, 0, 0};
    return Join({Data{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, Chunk("IHDR", header),
                 Chunk("IDAT", Deflate({0, 255, 0, 0, 255, 0, 0})), Chunk("IEND", {})});
}

// A 1 x 1 GIF with a two-colour table.
Data TinyGif(char version) {
    return {'G', 'I', 'F', '8', static_cast<uint8_t>(version), 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0,
            0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
}

}  // namespace

TEST(JpegExport, PngAndGifDataIsWrittenAsItIsUnderItsOwnSuffix) {
    Data png = TinyPng();
    Data gif89 = TinyGif('9');
    Data gif87 = TinyGif('7');
    swf::SwfExtractor extractor = Loaded(Movie({
        Tag(21, WithId(png)),
        Tag(21, WithId(gif89)),
        Tag(35, Jpeg3Body(png, Data(2, 0x80))),  // the alpha data is not applied
        Tag(35, Jpeg3Body(gif87, {})),
        Tag(6, WithId(png)),  // DefineBits holds JPEG data only
        End(),
    }));
    ASSERT_EQ(extractor.Rows().size(), 4u);
    const char* captions[] = {"21_0.png", "21_1.gif", "35_2.png", "35_3.gif"};
    const Data* files[] = {&png, &gif89, &png, &gif87};
    for (size_t row = 0; row < 4; ++row) {
        EXPECT_EQ(extractor.Rows()[row].caption, captions[row]);
        EXPECT_EQ(extractor.Rows()[row].icon, swf::kIconJpeg);
        EXPECT_EQ(extractor.Rows()[row].blocks, 1u);
        EXPECT_EQ(ExportRow(extractor, row, "embedded"), *files[row]) << captions[row];
    }
    EXPECT_EQ(extractor.ExportEntry(4, FreshFolder("embedded-bits")), std::filesystem::path());
}

namespace {

// A DefineBitsLossless(2) body of format 3 with the given table and pixel rows.
Data ColourMapped(uint16_t width, uint16_t height, const Data& table, int entries, const Data& pixels) {
    Data body = {5, 0, 3};
    Put16(body, width);
    Put16(body, height);
    body.push_back(static_cast<uint8_t>(entries - 1));
    Data stream = Deflate(Join({table, pixels}));
    body.insert(body.end(), stream.begin(), stream.end());
    return body;
}

Data Direct(int format, uint16_t width, uint16_t height, const Data& pixels) {
    Data body = {5, 0, static_cast<uint8_t>(format)};
    Put16(body, width);
    Put16(body, height);
    Data stream = Deflate(pixels);
    body.insert(body.end(), stream.begin(), stream.end());
    return body;
}

void ExpectBmpHeader(const Data& bmp, uint32_t width, uint32_t height, int bits, uint32_t table_entries) {
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Le32(bmp, 2), bmp.size());
    EXPECT_EQ(Le32(bmp, 6), 0u);
    EXPECT_EQ(Le32(bmp, 10), 54 + table_entries * 4);
    EXPECT_EQ(Le32(bmp, 14), 40u);
    EXPECT_EQ(Le32(bmp, 18), width);
    EXPECT_EQ(Le32(bmp, 22), height);
    EXPECT_EQ(bmp[26] | bmp[27] << 8, 1);
    EXPECT_EQ(bmp[28] | bmp[29] << 8, bits);
    EXPECT_EQ(Le32(bmp, 30), 0u);  // no compression
    EXPECT_EQ(Le32(bmp, 46), table_entries < 256 ? table_entries : 0u);
}

}  // namespace

TEST(BitmapExport, ColourMappedRowsAndTables) {
    // Width 5: rows of 8 bytes; two rows, top row first in the tag.
    Data table = {0x11, 0x22, 0x33, 0x80, 0x44, 0x55, 0x66, 0xFF};  // RGBA x 2
    Data pixels = {0, 1, 0, 1, 0, 9, 9, 9, 1, 1, 1, 1, 1, 8, 8, 8};
    Data bmp = swf::LosslessToBmp(ColourMapped(5, 2, table, 2, pixels), true);
    ExpectBmpHeader(bmp, 5, 2, 8, 2);
    EXPECT_EQ(bmp.size(), 54u + 8 + 16);
    EXPECT_EQ(Data(bmp.begin() + 54, bmp.begin() + 62), (Data{0x33, 0x22, 0x11, 0x80, 0x66, 0x55, 0x44, 0xFF}));
    EXPECT_EQ(Data(bmp.begin() + 62, bmp.begin() + 70), Data(pixels.begin() + 8, pixels.end()));
    EXPECT_EQ(Data(bmp.begin() + 70, bmp.end()), Data(pixels.begin(), pixels.begin() + 8));

    // Without alpha the entries are 3 bytes and the fourth byte is 0.
    Data rgb = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
    Data plain = swf::LosslessToBmp(ColourMapped(8, 1, rgb, 2, Data(8, 1)), false);
    ExpectBmpHeader(plain, 8, 1, 8, 2);
    EXPECT_EQ(Data(plain.begin() + 54, plain.begin() + 62), (Data{0x33, 0x22, 0x11, 0, 0x66, 0x55, 0x44, 0}));
    EXPECT_EQ(plain.size(), 54u + 8 + 8);  // width 8: rows of 8 bytes
}

TEST(BitmapExport, FifteenBitPixelsBecomeLittleEndianWords) {
    // Width 3 is stored padded to 4 pixels of 2 bytes; rows bottom-up.
    Data top = {0x7C, 0x00, 0x03, 0xE0, 0x00, 0x1F, 0, 0};
    Data bottom = {0xFF, 0xFF, 0x00, 0x00, 0x12, 0x34, 0, 0};
    Data bmp = swf::LosslessToBmp(Direct(4, 3, 2, Join({top, bottom})), false);
    ExpectBmpHeader(bmp, 3, 2, 16, 0);
    EXPECT_EQ(Data(bmp.begin() + 54, bmp.end()),
              (Data{0xFF, 0x7F, 0x00, 0x00, 0x34, 0x12, 0, 0, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}));
}

TEST(BitmapExport, TrueColourPixelsBecomeBlueGreenRed) {
    Data pixels = {0x80, 0x10, 0x20, 0x30, 0xFF, 0x40, 0x50, 0x60};  // A R G B, one row of 2
    Data with_alpha = swf::LosslessToBmp(Direct(5, 2, 1, pixels), true);
    ExpectBmpHeader(with_alpha, 2, 1, 32, 0);
    EXPECT_EQ(Data(with_alpha.begin() + 54, with_alpha.end()), (Data{0x30, 0x20, 0x10, 0x80, 0x60, 0x50, 0x40, 0xFF}));
    Data without = swf::LosslessToBmp(Direct(5, 2, 1, pixels), false);
    EXPECT_EQ(Data(without.begin() + 54, without.end()), (Data{0x30, 0x20, 0x10, 0, 0x60, 0x50, 0x40, 0}));
}

TEST(BitmapExport, ShortStreamsAreCompletedWithZeros) {
    // A stream that cannot hold the image by far is refused instead.
    EXPECT_THROW(swf::LosslessToBmp(Direct(5, 4000, 4000, {0}), false), swf::SwfDataError);

    Data bmp = swf::LosslessToBmp(Direct(5, 2, 2, {0, 1, 2, 3}), false);
    ExpectBmpHeader(bmp, 2, 2, 32, 0);
    // The bottom row (row 1) is missing entirely; row 0 has one pixel.
    EXPECT_EQ(Data(bmp.begin() + 54, bmp.end()), (Data{0, 0, 0, 0, 0, 0, 0, 0, 3, 2, 1, 0, 0, 0, 0, 0}));
}

TEST(BitmapExport, RowsAndUnreadableBitmaps) {
    Data good = ColourMapped(4, 1, {1, 2, 3}, 1, {0, 0, 0, 0});
    Data huge = Direct(5, 65535, 65535, {0});
    Data corrupt = {5, 0, 5, 1, 0, 1, 0, 0x12, 0x34, 0x56, 0x78};
    Data format6 = Direct(6, 1, 1, {0, 0, 0, 0});
    Data empty = Direct(5, 0, 0, {});
    swf::SwfExtractor extractor = Loaded(Movie(
        {Tag(20, good), Tag(36, huge), Tag(20, corrupt), Tag(36, format6), Tag(20, {5, 0}), Tag(36, empty), End()}));
    ASSERT_EQ(extractor.Rows().size(), 6u);
    EXPECT_EQ(extractor.Rows()[0].caption, "20_0.bmp");
    EXPECT_EQ(extractor.Rows()[0].length, 54u + 4 + 4);
    EXPECT_EQ(extractor.Rows()[0].icon, swf::kIconBitmap);
    for (size_t row = 1; row < 6; ++row) {   // the last one has no pixels at all
        EXPECT_EQ(extractor.Rows()[row].caption, "无法读取" + std::to_string(row % 2 ? 36 : 20) + "_" +
                                                     std::to_string(row) + ".bmp");
        EXPECT_EQ(extractor.Rows()[row].length, 0u);
        EXPECT_EQ(extractor.Rows()[row].icon, swf::kIconBitmap);
    }
    Data file = ExportRow(extractor, 0, "bmp");
    ExpectBmpHeader(file, 4, 1, 8, 1);
}
