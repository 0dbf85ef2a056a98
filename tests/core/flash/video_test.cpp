// Embedded video: decoding of the H.263 pictures SWF movies carry, checked
// against pixels another decoder gives for the same stream; screen video
// blocks; and the video shown on the stage at the frame its placement names.
#include "flash_test_movies.h"

#include "flash/player.h"
#include "flash/renderer.h"
#include "flash/video_h263.h"
#include "flash/video_screen.h"
#include "swf/tags.h"
#include "tests/core/swf/swf_test_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Four pictures of a 48 x 32 test pattern that scrolls: one intra picture,
// then predicted ones whose vectors have half pixels.
const char* const kPictures[4] = {
    "000084001810151e46106c82417dad492d492b9ecb87f44b565ff6260f22dee96de291c47258300ccaffe0805d25e17843f2"
    "a56d77c0787e5f8980e977af3bcc68fc50060304f80481a67e9900f5740f0f1811ea7e9e83124201703011e08201b7a3fc12"
    "848f02a3c0c07c977ff627563d5140b4c115ef390840c0c2f91830bfcfc20840c0fdf91830b04f390840c0c2f91830bfcfc2"
    "0840c0fdf91830b04fff06008c1826e0610181a677ff0840c10783080e0d3023dec482e543f85f3f00c656636d56031d400d"
    "554b82197aafb714030b0619388060304f80481a67e95060189579403001c5f8077fe086aade88c5cafd7d31ae52f569fbd6"
    "9cc801be83d1eb2d22c154189224978301dc0821014e8f8181061fcf51115f8481f7874b298aea95ec0c9e9c0c032cb42009"
    "564b5404197f904680a0127db568a7fef6d66c866280301827c0240d33f3102083002225ffdffcf8f90fd9e0345073a5c018"
    "3f55fbefa8df62f965dcbee35c13bc8fc030212b2e1eab041f17353aab5393c2408707e0802482009781007a3c1ffd5fffa3"
    "cf0218fa68f39b2ffca1b0689f9e7210818185f230617f9f84108181fbf23061609eef01801012cbfca67cbbabdfa4068a0e"
    "3c100180731f7bfef585e83cc741a2fe87060046d00c0603cc1808bf0301de3d03c3d03c0a203d80a1cdd53aa76834904caa"
    "84a1215400eaa803fc5f5501e1e49ec043c5199de2917bdc40301827c0240d33f488300c5601e06003fdb14c8106df6f64fa"
    "b2e9eb62d547f2b2a2acf5af8412e1fc57fefa79b1ee3292be3a8300d8108bbea2f84be2de54941a2fc7ff84312c7ead40fc"
    "03be10991dab52c62ce9a0820c07cc0601c420841f04257fd03c3e57e0537c0f175f452cdfaa543dc627c6a0",
    "0000840c1810350619206edfd2236818f7f44e99dbf451341bded0244cf6ae01e0c0070303e40800c1fb0420617ec3200f06"
    "0038181f2040060fd821030bf6190d3f1e7bc4ddd386c42c03c1800e0607c8100183f60840c2fd864e2f2e2ea2597aa12bd8"
    "a47e5f07d14b4a55ff12e6925210",
    "00008418181035170c819b7fe9c06f7fde99c18f811c2758fbc2a5601cd64b0c94ea03ba8f00a51608cbb48c115ae3c2a77c"
    "72d1d924da0601572165ae6d8e8c82a7226b164895389e7fc3de6a84ea149629f0c6c514a73a30e7c14be5097858d8e4c0",
    "000084241810351b0c2b79c42946cd0d5e25a1eb828ed9359c440c800b2c1292830afa58d03490547540cb62240617fb7450"
    "14fb8708aa930ca35870771482a0b741a5fe9d061ff84c145caae2a6e95bd0026fbfef50687fac5022d02027c4e8c9c0",
};

std::vector<uint8_t> Bytes(const char* hex) {
    std::vector<uint8_t> out;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) out.push_back(static_cast<uint8_t>(std::stoi(std::string(hex + i, 2), nullptr, 16)));
    return out;
}

// Luma at a few points of each picture as the other decoder gives it.
constexpr int kPoints[8][2] = {{2, 2}, {13, 7}, {30, 4}, {45, 12}, {7, 28}, {24, 20}, {40, 30}, {20, 15}};
constexpr int kLuma[4][8] = {{19, 95, 148, 246, 199, 212, 169, 41},
                             {14, 102, 147, 228, 202, 210, 170, 39},
                             {30, 105, 158, 21, 171, 210, 228, 39},
                             {80, 44, 142, 22, 98, 206, 234, 210}};

TEST(VideoH263, DecodesIntraAndPredictedPicturesAsAnotherDecoderDoes) {
    flash::H263Decoder decoder;
    for (int f = 0; f < 4; ++f) {
        std::vector<uint8_t> data = Bytes(kPictures[f]);
        ASSERT_TRUE(decoder.Decode(data.data(), data.size())) << "picture " << f;
        const flash::YuvPicture& picture = decoder.Picture();
        ASSERT_EQ(picture.width, 48);
        ASSERT_EQ(picture.height, 32);
        for (int p = 0; p < 8; ++p) {
            int luma = picture.y[static_cast<size_t>(kPoints[p][1] * picture.luma_width + kPoints[p][0])];
            EXPECT_NEAR(luma, kLuma[f][p], 3) << "picture " << f << " point " << p;
        }
    }
}

TEST(VideoH263, RefusesDamagedPicturesAndKeepsTheLastGoodOne) {
    flash::H263Decoder decoder;
    std::vector<uint8_t> intra = Bytes(kPictures[0]), predicted = Bytes(kPictures[1]);
    EXPECT_FALSE(decoder.Decode(predicted.data(), predicted.size()));  // nothing to predict from
    EXPECT_FALSE(decoder.Decode(intra.data(), intra.size() / 2));      // cut short
    std::vector<uint8_t> noise(200, 0x5A);
    EXPECT_FALSE(decoder.Decode(noise.data(), noise.size()));          // no picture start
    EXPECT_FALSE(decoder.Decode(nullptr, 0));
    ASSERT_TRUE(decoder.Decode(intra.data(), intra.size()));
    std::vector<uint8_t> y = decoder.Picture().y;
    EXPECT_FALSE(decoder.Decode(predicted.data(), 3));
    EXPECT_EQ(decoder.Picture().y, y);
}

TEST(VideoH263, StudioRangeColoursBecomeFullRangePixels) {
    flash::YuvPicture picture;
    picture.width = 2;
    picture.height = 2;
    picture.luma_width = picture.luma_height = 16;
    picture.y.assign(256, 16);
    picture.cb.assign(64, 128);
    picture.cr.assign(64, 128);
    picture.y[1] = 235;
    swf::Bitmap bitmap = flash::PictureToBitmap(picture);
    ASSERT_EQ(bitmap.pixels.size(), 4u);
    EXPECT_EQ(bitmap.pixels[0], 0xFF000000u);
    EXPECT_EQ(bitmap.pixels[1], 0xFFFFFFFFu);
    picture.cr.assign(64, 240);   // strong red difference
    EXPECT_EQ(flash::PictureToBitmap(picture).pixels[1] >> 16 & 0xFF, 255u);
}

// A screen video frame of 20 x 18 pixels in blocks of 16: the blocks from
// the bottom row up, each blue, green, red from its bottom row; blocks whose
// entry is false are left out as unchanged.
std::vector<uint8_t> ScreenFrame(uint32_t (*colour)(int x, int y), std::vector<bool> sent) {
    std::vector<uint8_t> out{0x00, 20, 0x00, 18};
    size_t block = 0;
    for (int bottom = 18; bottom > 0; bottom -= 16)
        for (int left = 0; left < 20; left += 16, ++block) {
            if (!sent[block]) {
                out.insert(out.end(), {0, 0});
                continue;
            }
            std::vector<uint8_t> pixels;
            for (int y = bottom - 1; y >= std::max(0, bottom - 16); --y)
                for (int x = left; x < std::min(20, left + 16); ++x) {
                    uint32_t c = colour(x, y);
                    pixels.insert(pixels.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)});
                }
            std::vector<uint8_t> packed = swftest::Deflate(pixels);
            out.push_back(static_cast<uint8_t>(packed.size() >> 8));
            out.push_back(static_cast<uint8_t>(packed.size()));
            out.insert(out.end(), packed.begin(), packed.end());
        }
    return out;
}

TEST(VideoScreen, BlocksFillThePictureFromTheBottomAndUnsentBlocksStay) {
    flash::ScreenVideoDecoder decoder;
    auto first = [](int x, int y) { return static_cast<uint32_t>(x * 10 << 16 | y * 10 << 8 | 7); };
    std::vector<uint8_t> key = ScreenFrame(first, {true, true, true, true});
    ASSERT_TRUE(decoder.Decode(key.data(), key.size()));
    const swf::Bitmap& picture = decoder.Picture();
    ASSERT_EQ(picture.width, 20);
    ASSERT_EQ(picture.height, 18);
    for (auto [x, y] : {std::pair{0, 0}, {19, 0}, {5, 17}, {19, 17}, {16, 2}})
        EXPECT_EQ(picture.pixels[static_cast<size_t>(y * 20 + x)], 0xFF000000u | first(x, y)) << x << "," << y;

    // Only the bottom left block changes.
    auto second = [](int, int) { return 0x123456u; };
    std::vector<uint8_t> delta = ScreenFrame(second, {true, false, false, false});
    ASSERT_TRUE(decoder.Decode(delta.data(), delta.size()));
    EXPECT_EQ(decoder.Picture().pixels[17 * 20 + 3], 0xFF123456u);
    EXPECT_EQ(decoder.Picture().pixels[0], 0xFF000000u | first(0, 0));
    EXPECT_EQ(decoder.Picture().pixels[17 * 20 + 18], 0xFF000000u | first(18, 17));

    std::vector<uint8_t> cut(delta.begin(), delta.begin() + 10);
    EXPECT_FALSE(decoder.Decode(cut.data(), cut.size()));
    EXPECT_EQ(decoder.Picture().pixels[17 * 20 + 3], 0xFF123456u);
}

// A movie of 48 x 32 pixels showing the video placed with the given ratio.
flash::SwfWriter VideoMovie(int ratio) {
    flash::SwfWriter movie(8, 48, 32, 12);
    std::vector<uint8_t> stream{1, 0, 4, 0, 48, 0, 32, 0, 0, 2};  // id 1, 4 frames, 48 x 32, codec 2
    movie.Tag(swf::kDefineVideoStream, stream);
    flash::PlaceArgs place = flash_test::NewAt(1, 1);
    place.ratio = ratio;
    movie.PlaceObject(place);
    for (int f = 0; f < 4; ++f) {
        std::vector<uint8_t> frame{1, 0, static_cast<uint8_t>(f), 0};
        std::vector<uint8_t> data = Bytes(kPictures[f]);
        frame.insert(frame.end(), data.begin(), data.end());
        movie.Tag(swf::kVideoFrame, frame);
    }
    movie.ShowFrame();
    return movie;
}

TEST(VideoH263, TheStageShowsTheFrameThePlacementsRatioNames) {
    for (int ratio : {0, 3}) {
        flash::Player player;
        player.Load(flash_test::Load(VideoMovie(ratio)));
        flash::Canvas canvas;
        canvas.Resize(48, 32);
        flash::Renderer renderer;
        renderer.Render(player, flash::View{}, flash::Quality::Low, canvas);
        flash::H263Decoder decoder;
        for (int f = 0; f <= ratio; ++f) {
            std::vector<uint8_t> data = Bytes(kPictures[f]);
            decoder.Decode(data.data(), data.size());
        }
        swf::Bitmap expected = flash::PictureToBitmap(decoder.Picture());
        for (auto [x, y] : kPoints)
            EXPECT_EQ(canvas.Row(y)[x] & 0xFFFFFF, expected.pixels[static_cast<size_t>(y * 48 + x)] & 0xFFFFFF)
                << "ratio " << ratio << " at " << x << "," << y;
    }
}

}  // namespace
