// The header lines, the tag walk and the census, and the reader's behaviour
// on rejected, truncated and hostile movies.
#include <gtest/gtest.h>

#include <fstream>

#include "swf/swf_extractor.h"
#include "tests/core/swf/swf_test_builder.h"

using namespace swftest;

namespace {

std::vector<std::string> Lines(std::initializer_list<const char*> lines) {
    return std::vector<std::string>(lines.begin(), lines.end());
}

// A 550 x 400 stage: Nbits 15, rectangle byte 0x78, 9 rectangle bytes.
Data StageMovie() {
    Data movie = {'F', 'W', 'S', 6, 0x2A, 0, 0, 0, 0x78, 0, 0x05, 0x5F, 0, 0, 0x0F, 0xA0, 0,
                  0x80, 0x0C, 0x03, 0x00};
    Data end = End();
    movie.insert(movie.end(), end.begin(), end.end());
    return movie;
}

}  // namespace

TEST(SwfHeader, LinesOfAStageOf550By400) {
    swf::SwfExtractor extractor = Loaded(StageMovie());
    EXPECT_EQ(extractor.InfoLines(), Lines({"标志：FWS", "版本：6", "文件长度：42", "bit位：120", "bit数：72",
                                            "字节数：8", "帧速度：12.128", "总帧数3", "共发现ID：1", "ID:0共有1"}));
    EXPECT_EQ(extractor.HeaderLength(), 42u);
    ASSERT_EQ(extractor.TagCount(), 1u);
    EXPECT_EQ(extractor.TagTable()[0].HeaderPos, 21u);  // frame rate at 17, count at 19
}

TEST(SwfHeader, RectangleSizesAtTheLimitsOfNbits) {
    // Nbits 0: 5 bits, one byte, frame rate at offset 9.
    swf::SwfExtractor small = Loaded(Movie({End()}));
    EXPECT_EQ(small.InfoLines()[4], "bit数：8");
    EXPECT_EQ(small.InfoLines()[5], "字节数：0");
    EXPECT_EQ(small.InfoLines()[6], "帧速度：12.0");

    // Nbits 31: 129 bits raised to 136, 16 more bytes.
    Data movie = {'F', 'W', 'S', 8, 0, 0, 0, 0, 0xF8};
    movie.insert(movie.end(), 16, 0);
    movie.insert(movie.end(), {0, 24, 1, 0});
    Data end = End();
    movie.insert(movie.end(), end.begin(), end.end());
    swf::SwfExtractor large = Loaded(movie);
    EXPECT_EQ(large.InfoLines()[3], "bit位：248");
    EXPECT_EQ(large.InfoLines()[4], "bit数：136");
    EXPECT_EQ(large.InfoLines()[5], "字节数：16");
    EXPECT_EQ(large.InfoLines()[6], "帧速度：24.0");
    EXPECT_EQ(large.TagCount(), 1u);
}

TEST(SwfHeader, RejectedMoviesLeaveOnlyTheLinesBeforeTheTest) {
    swf::SwfExtractor extractor = Loaded(Movie({Tag(20, Data(20, 0)), End()}));
    ASSERT_EQ(extractor.TagCount(), 2u);
    ASSERT_EQ(extractor.Rows().size(), 1u);

    // A version 4 movie loaded into the same extractor empties its list.
    extractor.SetSwfImage(Movie({Tag(20, Data(20, 0)), End()}, 4));
    extractor.getinfo();
    extractor.addtolistview();
    EXPECT_EQ(extractor.InfoLines(), Lines({"标志：FWS", "版本：4"}));
    EXPECT_EQ(extractor.Messages(), Lines({"不能提取信息!"}));
    EXPECT_EQ(extractor.TagCount(), 0u);
    EXPECT_TRUE(extractor.Rows().empty());
    EXPECT_FALSE(extractor.HeaderDecoded());

    swf::SwfExtractor wrong = Loaded({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(wrong.InfoLines(), Lines({"标志：GIF"}));
    EXPECT_EQ(wrong.Messages(), Lines({"不能提取信息!"}));

    swf::SwfExtractor binary = Loaded({0x00, 0xFF, 'S', 6});
    EXPECT_EQ(binary.InfoLines(), Lines({"标志：??S"}));
}

TEST(SwfTagWalk, CataloguesEveryTagUpToEnd) {
    Data movie = Movie({Tag(9, {1, 2, 3}), Tag(1, {}), Tag(8, {9, 9}, true), Tag(1, {}), End(), Tag(1, {})});
    swf::SwfExtractor extractor = Loaded(movie);
    const auto& tags = extractor.TagTable();
    ASSERT_EQ(tags.size(), 5u);  // 4 tags, then End; nothing after End
    EXPECT_EQ(tags[0].Code, 9);
    EXPECT_EQ(tags[0].HeaderPos, 13u);
    EXPECT_EQ(tags[0].BodyPos, 15u);
    EXPECT_EQ(tags[0].BodyLength, 3u);
    // A long header with a short length is read with the stated length.
    EXPECT_EQ(tags[2].Code, 8);
    EXPECT_EQ(tags[2].BodyPos, tags[2].HeaderPos + 6);
    EXPECT_EQ(tags[2].BodyLength, 2u);
    EXPECT_EQ(tags[3].HeaderPos, tags[2].BodyPos + 2);
    EXPECT_EQ(tags[4].Code, 0);

    EXPECT_EQ(extractor.TagCounts()[1], 2);
    const auto& lines = extractor.InfoLines();
    std::vector<std::string> census(lines.begin() + 8, lines.end());
    EXPECT_EQ(census, Lines({"共发现ID：5", "ID:0共有1", "ID:1共有2", "ID:8共有1-JPEG图象定义", "ID:9共有1"}));
}

TEST(SwfTagWalk, CensusSuffixesOfTheKnownCodes) {
    std::vector<Data> tags;
    for (int code : {6, 14, 18, 19, 20, 21, 35, 36, 45}) tags.push_back(Tag(code, {}));
    tags.push_back(End());
    swf::SwfExtractor extractor = Loaded(Movie(tags));
    const auto& lines = extractor.InfoLines();
    std::vector<std::string> census(lines.begin() + 9, lines.end());
    EXPECT_EQ(census, Lines({"ID:0共有1", "ID:6共有1-JPEG图象扫描行数据", "ID:14共有1-声音", "ID:18共有1-声音（流）",
                             "ID:19共有1-声音（流）数据", "ID:20共有1-无Alpha的Bitmap数据",
                             "ID:21共有1-无Alpha的JPEG数据", "ID:35共有1-有Alpha的JPEG数据",
                             "ID:36共有1-有Alpha的Bitmap数据", "ID:45共有1-声音（流）"}));
}

TEST(SwfTagWalk, CodesAbove255AreNotCountedNorTakenForKnownTags) {
    // 270 has the low 8 bits of DefineSound (14).
    swf::SwfExtractor extractor = Loaded(Movie({Tag(270, Data(20, 0x20)), End()}));
    ASSERT_EQ(extractor.TagCount(), 2u);
    EXPECT_EQ(extractor.TagTable()[0].Code, 270);
    EXPECT_EQ(extractor.TagCounts()[14], 0);
    EXPECT_TRUE(extractor.Rows().empty());
}

TEST(SwfTagWalk, StopsAtTheEndOfTheBytesOrOfTheCatalogue) {
    // No End tag, and a last tag whose stated body runs past the file.
    Data movie = Movie({Tag(1, {}), Tag(2, {})});
    Data cut = Tag(20, Data(100, 0));
    movie.insert(movie.end(), cut.begin(), cut.begin() + 40);
    swf::SwfExtractor extractor = Loaded(movie);
    ASSERT_EQ(extractor.TagCount(), 3u);
    EXPECT_EQ(extractor.TagTable()[2].BodyLength, 100u);
    EXPECT_TRUE(extractor.Messages().empty());
    ASSERT_EQ(extractor.Rows().size(), 1u);
    EXPECT_EQ(extractor.Rows()[0].length, 0u);

    std::vector<Data> many(swf::kMaxTagEntries + 50, Tag(1, {}));
    swf::SwfExtractor full = Loaded(Movie(many));
    EXPECT_EQ(full.TagCount(), swf::kMaxTagEntries);
    EXPECT_EQ(full.TagCounts()[1], static_cast<int>(swf::kMaxTagEntries));
}

TEST(SwfTagWalk, LengthsNear4GBDoNotWrapAround) {
    Data movie = Movie({});
    Data tag;
    Put16(tag, 1 << 6 | 63);
    Put32(tag, 0xFFFFFFF0u);
    movie.insert(movie.end(), tag.begin(), tag.end());
    Data end = End();
    movie.insert(movie.end(), end.begin(), end.end());
    swf::SwfExtractor extractor = Loaded(movie);
    EXPECT_EQ(extractor.TagCount(), 1u);
}

TEST(SwfCompressed, CatalogueEqualsTheUncompressedMovie) {
    Data fws = Movie({Tag(9, {1, 2}), Tag(20, Data(70, 3)), Tag(1, {}), End()});
    swf::SwfExtractor plain = Loaded(fws);
    swf::SwfExtractor packed = Loaded(Compress(fws));
    ASSERT_EQ(packed.TagCount(), plain.TagCount());
    for (size_t i = 0; i < plain.TagCount(); ++i) {
        EXPECT_EQ(packed.TagTable()[i].Code, plain.TagTable()[i].Code);
        EXPECT_EQ(packed.TagTable()[i].BodyPos, plain.TagTable()[i].BodyPos);
        EXPECT_EQ(packed.TagTable()[i].BodyLength, plain.TagTable()[i].BodyLength);
    }
    // The 8 header bytes stay as they were; the body is the inflated one.
    Data image = packed.SwfImage();
    EXPECT_EQ(image[0], 'C');
    image[0] = 'F';
    EXPECT_EQ(image, fws);
    std::vector<std::string> lines = plain.InfoLines();
    lines[0] = "标志：CWS";
    EXPECT_EQ(packed.InfoLines(), lines);
}

TEST(SwfCompressed, HostileBodies) {
    Data fws = Movie({Tag(1, {}), Tag(1, {}), End()});
    // FileLength claiming 4 GB: the body is what actually inflates.
    Data claim = Compress(fws);
    for (int i = 4; i < 8; ++i) claim[i] = 0xFF;
    swf::SwfExtractor big = Loaded(claim);
    EXPECT_EQ(big.InfoLines()[2], "文件长度：4294967295");
    EXPECT_EQ(big.TagCount(), 3u);
    EXPECT_EQ(big.SwfImage().size(), fws.size());

    // A body that is no zlib stream: nothing is catalogued, no message.
    Data junk = {'C', 'W', 'S', 6, 20, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    swf::SwfExtractor bad = Loaded(junk);
    EXPECT_EQ(bad.InfoLines(), Lines({"标志：CWS"}));
    EXPECT_EQ(bad.TagCount(), 0u);
    EXPECT_TRUE(bad.Messages().empty());
    EXPECT_FALSE(bad.HeaderDecoded());

    // A cut stream keeps the tags that inflated.
    Data long_movie = Movie({Tag(9, Data(3000, 7)), Tag(1, {}), End()});
    Data packed = Compress(long_movie);
    packed.resize(packed.size() - 6);
    swf::SwfExtractor cut = Loaded(packed);
    EXPECT_TRUE(cut.HeaderDecoded());
    EXPECT_GE(cut.TagCount(), 1u);
}

// Every prefix of a small movie with one resource of each kind is read
// without a fault: a header that is cut gives no lines past the cut and no
// rows, a cut tag list keeps the entries before the cut.
TEST(SwfTruncation, EveryLengthOfASmallMovie) {
    SplitJpeg split = SplitTables(EncodeJpeg(8, 8));
    Data lossless = {1, 0, 3, 2, 0, 2, 0, 1};
    Data pixels = Deflate({1, 2, 3, 4, 5, 6, 0, 1, 0, 0, 1, 0, 0, 0});
    lossless.insert(lossless.end(), pixels.begin(), pixels.end());
    Data jpeg3 = {1, 0};
    Put32(jpeg3, static_cast<uint32_t>(split.tables.size() + split.image.size()));
    Data jpeg3_body = Join({jpeg3, split.tables, split.image, Data{0x78, 0x9C}});
    Data movie = Movie({Tag(8, split.tables), Tag(6, Join({Data{1, 0}, split.image})),
                        Tag(21, Join({Data{2, 0}, split.tables, split.image})), Tag(35, jpeg3_body),
                        Tag(20, lossless), Tag(36, lossless),
                        Tag(14, DefineSoundBody(0x22, 4, {0, 0, 0xFF, 0xFB, 0x90, 0})),
                        Tag(14, DefineSoundBody(0x16, 300, Data(40, 0x5A))), Tag(18, StreamHeadBody(0x2A)),
                        Tag(19, {1, 0, 0, 0, 0xFF, 0xFB}), Tag(45, StreamHeadBody(0x16)), Tag(19, Data(30, 0x33)),
                        End()});
    swf::SwfExtractor whole = Loaded(movie);
    ASSERT_EQ(whole.Rows().size(), 9u);
    for (const swf::ResourceRow& row : whole.Rows()) EXPECT_GT(row.length, 0u) << row.caption;

    for (Data source : {movie, Compress(movie)}) {
        for (size_t length = 0; length < source.size(); ++length) {
            Data cut(source.begin(), source.begin() + length);
            swf::SwfExtractor extractor = Loaded(cut);
            EXPECT_LE(extractor.TagCount(), whole.TagCount());
            EXPECT_LE(extractor.Rows().size(), whole.Rows().size());
            for (size_t row = 0; row < extractor.Rows().size(); ++row) {
                swf::ResourceRow r = extractor.Rows()[row];
                EXPECT_LE(r.length, 20000u);
            }
        }
    }
}

TEST(SwfFile, ReadingFailuresAreReported) {
    swf::SwfExtractor extractor;
    EXPECT_THROW(extractor.init("/nonexistent/corvella/movie.swf"), swf::SwfFileError);
    EXPECT_THROW(extractor.init(std::filesystem::temp_directory_path()), swf::SwfFileError);

    std::filesystem::path folder = FreshFolder("reader");
    std::filesystem::path path = folder / swf::Utf8Path("动画.swf");
    Data movie = Movie({Tag(1, {}), End()});
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(movie.data()), movie.size());
    extractor.init(path);
    EXPECT_EQ(extractor.TagCount(), 2u);
    std::filesystem::remove_all(folder);
}

// A compressed movie read from a file is inflated as it is read; its lines,
// catalogue and rows are those of the same bytes given in memory, whether
// its body is whole, cut, corrupt or longer than one read.
TEST(SwfFile, CompressedMoviesReadAsInMemory) {
    // Sound data that does not compress: the body takes several reads.
    Data sound;
    uint32_t state = 1;
    while (sound.size() < 700000) sound.push_back(static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 16));
    Data movie = Movie({Tag(8, SplitTables(EncodeJpeg(8, 8)).tables), Tag(18, StreamHeadBody(0x3E)),
                        Tag(19, sound), Tag(20, Join({Data{1, 0, 5, 2, 0, 2, 0}, Deflate(Data(16, 0x44))})),
                        Tag(14, DefineSoundBody(0x3E, 4, Data(20, 1))), End()});
    Data packed = Compress(movie);
    Data corrupt = packed;
    corrupt[packed.size() / 2] ^= 0xFF;
    Data old_version = packed;
    old_version[3] = 4;
    Data claim = packed;
    for (int i = 4; i < 8; ++i) claim[i] = 0xFF;

    std::filesystem::path folder = FreshFolder("reader-cws");
    std::filesystem::path path = folder / "movie.swf";
    std::vector<Data> sources = {packed, corrupt, old_version, claim, Data(packed.begin(), packed.begin() + 7)};
    for (size_t length : {9u, 20u, 300u, 5000u, 270000u, 600000u})
        sources.push_back(Data(packed.begin(), packed.begin() + length));
    for (const Data& source : sources) {
        SCOPED_TRACE(source.size());
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(source.data()), static_cast<std::streamsize>(source.size()));
        swf::SwfExtractor from_file;
        from_file.init(path);
        swf::SwfExtractor in_memory = Loaded(source);
        EXPECT_EQ(from_file.InfoLines(), in_memory.InfoLines());
        EXPECT_EQ(from_file.HeaderDecoded(), in_memory.HeaderDecoded());
        EXPECT_EQ(from_file.TagCount(), in_memory.TagCount());
        ASSERT_EQ(from_file.Rows().size(), in_memory.Rows().size());
        for (size_t row = 0; row < in_memory.Rows().size(); ++row) {
            EXPECT_EQ(from_file.Rows()[row].caption, in_memory.Rows()[row].caption);
            EXPECT_EQ(from_file.Rows()[row].length, in_memory.Rows()[row].length);
        }
        // Decoding again gives the same: a body is inflated only once.
        in_memory.getinfo();
        from_file.getinfo();
        EXPECT_EQ(from_file.InfoLines(), in_memory.InfoLines());
        EXPECT_EQ(from_file.TagCount(), in_memory.TagCount());
        if (source == packed) {
            ASSERT_EQ(from_file.Rows().size(), 3u);
            for (const swf::ResourceRow& row : from_file.Rows()) EXPECT_GT(row.length, 0u) << row.caption;
        }
    }
    std::filesystem::remove_all(folder);
}
