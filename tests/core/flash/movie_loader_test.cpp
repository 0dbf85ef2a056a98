// Reading whole movies: the header, both containers, the timeline and the
// refusal of files that are not movies or lie about their sizes.
#include "flash_test_movies.h"

#include "swf/movie_header.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using flash::LoadMovie;
using swf::SwfDataError;
using flash_test::DefineBox;
using flash_test::NewAt;

flash::SwfWriter ThreeFrameMovie() {
    flash::SwfWriter movie(6, 400, 300, 12.5);
    movie.SetBackgroundColor({10, 20, 30, 255});
    DefineBox(movie, 1, 0, 0, 10, 10, {255, 0, 0, 255});
    movie.PlaceObject(NewAt(1, 1));
    movie.ShowFrame();
    movie.FrameLabel("middle");
    movie.ShowFrame();
    movie.ShowFrame();
    return movie;
}

TEST(MovieLoader, ReadsHeaderAndTimeline) {
    for (bool compressed : {false, true}) {
        std::vector<uint8_t> file = ThreeFrameMovie().Finish(compressed);
        flash::Movie movie = LoadMovie(file);
        EXPECT_EQ(movie.compressed, compressed);
        EXPECT_EQ(movie.version, 6);
        EXPECT_EQ(movie.StageWidth(), 400);
        EXPECT_EQ(movie.StageHeight(), 300);
        EXPECT_DOUBLE_EQ(movie.frame_rate, 12.5);
        EXPECT_EQ(movie.header_frames, 3);
        EXPECT_EQ(movie.timeline.frame_count, 3);
        EXPECT_EQ(movie.background.r, 10);
        EXPECT_EQ(movie.background.b, 30);
        EXPECT_EQ(movie.timeline.FindLabel("middle"), 1);
        EXPECT_EQ(movie.timeline.FindLabel("MIDDLE"), 1);
        EXPECT_EQ(movie.timeline.FindLabel("none"), -1);
        ASSERT_NE(movie.Find(1), nullptr);
        ASSERT_NE(movie.Find(1)->shape, nullptr);
        EXPECT_EQ(movie.Find(1)->shape->layers.front().edges.size(), 4u);
    }
}

TEST(MovieLoader, CompressedBodyIsInflatedByZlib) {
    // The writer stores its zlib stream uncompressed; a real deflated body
    // must load the same.
    std::vector<uint8_t> plain = ThreeFrameMovie().Finish(false);
    std::vector<uint8_t> packed(compressBound(static_cast<uLong>(plain.size() - 8)));
    uLongf packed_size = static_cast<uLongf>(packed.size());
    ASSERT_EQ(compress2(packed.data(), &packed_size, plain.data() + 8, static_cast<uLong>(plain.size() - 8), 9), Z_OK);
    packed.resize(packed_size);
    packed.insert(packed.begin(), plain.begin(), plain.begin() + 8);
    std::vector<uint8_t>& file = packed;
    file[0] = 'C';
    EXPECT_EQ(swf::MovieBody(file), std::vector<uint8_t>(plain.begin() + 8, plain.end()));
    EXPECT_EQ(LoadMovie(file).timeline.frame_count, 3);
}

TEST(MovieLoader, RefusesFilesThatAreNotMovies) {
    std::vector<uint8_t> file = ThreeFrameMovie().Finish(false);
    EXPECT_THROW(LoadMovie(std::vector<uint8_t>(file.begin(), file.begin() + 7)), SwfDataError);
    // Cut inside the stage rectangle.
    EXPECT_THROW(LoadMovie(std::vector<uint8_t>(file.begin(), file.begin() + 10)), SwfDataError);
    std::vector<uint8_t> wrong = file;
    wrong[0] = 'Z';
    EXPECT_THROW(LoadMovie(wrong), SwfDataError);
    std::vector<uint8_t> short_length = file;
    short_length[4] = 3;
    short_length[5] = short_length[6] = short_length[7] = 0;
    EXPECT_THROW(LoadMovie(short_length), SwfDataError);
    std::vector<uint8_t> damaged = ThreeFrameMovie().Finish(true);
    damaged[8] = 0x12;  // not a zlib header
    EXPECT_THROW(LoadMovie(damaged), SwfDataError);
}

TEST(MovieLoader, HugeClaimedLengthCostsOnlyWhatTheDataHolds) {
    std::vector<uint8_t> file = ThreeFrameMovie().Finish(true);
    file[4] = file[5] = file[6] = file[7] = 0xFF;  // claims 4 GiB
    std::vector<uint8_t> body = swf::MovieBody(file);
    EXPECT_LT(body.size(), 1000u);
    EXPECT_EQ(LoadMovie(file).timeline.frame_count, 3);
}

TEST(MovieLoader, TruncatedMovieKeepsTheTagsBeforeTheCut) {
    std::vector<uint8_t> whole = ThreeFrameMovie().Finish(false);
    for (size_t cut = 21; cut < whole.size(); ++cut) {
        std::vector<uint8_t> part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        flash::Movie movie = LoadMovie(part);
        EXPECT_EQ(movie.timeline.frame_count, 3) << cut;  // the header's count
    }
}

TEST(MovieLoader, DamagedTagsAreSkippedWithoutReadingPastThem) {
    flash::SwfWriter movie(6, 100, 100, 12);
    // A shape tag whose body ends inside its style arrays, then a good one.
    movie.Tag(2, {1, 0, 0x00, 5, 0x00});
    DefineBox(movie, 2, 0, 0, 10, 10, {0, 255, 0, 255});
    // A sprite that claims many frames but holds nothing.
    movie.Tag(39, {3, 0, 0xFF, 0xFF});
    // An action record longer than its tag.
    movie.Tag(12, {0x81, 0x10, 0x00});
    movie.ShowFrame();
    flash::Movie loaded = LoadMovie(movie.Finish());
    EXPECT_EQ(loaded.Find(1), nullptr);
    EXPECT_NE(loaded.Find(2), nullptr);
    ASSERT_NE(loaded.Find(3), nullptr);
    EXPECT_EQ(loaded.Find(3)->sprite->timeline.frame_count, 65535);
    EXPECT_TRUE(loaded.Find(3)->sprite->timeline.frames.empty());
}

TEST(MovieLoader, SpritesStillLoadingDoNotLoop) {
    flash::SwfWriter movie(6, 100, 100, 12);
    // ShowFrame, then a DoAction (Stop) with no ShowFrame after it, End.
    movie.Tag(39, {3, 0, 1, 0, 0x40, 0x00, 0x02, 0x03, 0x07, 0x00, 0x00, 0x00});
    // Two frames closed by ShowFrame but no End tag.
    movie.Tag(39, {4, 0, 2, 0, 0x40, 0x00, 0x40, 0x00});
    // Two whole frames.
    movie.Tag(39, {5, 0, 2, 0, 0x40, 0x00, 0x40, 0x00, 0x00, 0x00});
    movie.ShowFrame();
    flash::Movie loaded = LoadMovie(movie.Finish());
    const flash::Timeline& partial = loaded.Find(3)->sprite->timeline;
    EXPECT_EQ(partial.frame_count, 2);
    ASSERT_EQ(partial.frames.size(), 2u);
    EXPECT_EQ(partial.frames[1].tags.size(), 1u);
    EXPECT_FALSE(partial.loops);
    EXPECT_FALSE(loaded.Find(4)->sprite->timeline.loops);
    EXPECT_TRUE(loaded.Find(5)->sprite->timeline.loops);
    EXPECT_EQ(loaded.Find(5)->sprite->bytes, 6u);
}

TEST(MovieLoader, RandomBytesAfterAGoodHeaderNeverCrash) {
    std::vector<uint8_t> base = ThreeFrameMovie().Finish(false);
    uint32_t seed = 12345;
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> file = base;
        for (size_t i = 21; i < file.size(); ++i) {
            seed = seed * 1103515245u + 12345u;
            if ((seed >> 16) % 7 == 0) file[i] = static_cast<uint8_t>(seed >> 24);
        }
        try {
            LoadMovie(file);
        } catch (const SwfDataError&) {
        }
    }
}

}  // namespace
