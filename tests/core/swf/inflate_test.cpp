// zlib inflation fed in pieces: however the input is cut, the bytes and the
// way the stream ends are those of inflating it whole, at and around the
// output limit too.
#include <gtest/gtest.h>

#include "swf/zlib_inflate.h"
#include "tests/core/swf/swf_test_builder.h"

using namespace swftest;

namespace {

// Bytes that deflate into a mix of literals, matches and long runs.
Data Sample(size_t size) {
    Data bytes;
    uint32_t state = 1;
    while (bytes.size() < size) {
        state = state * 1103515245 + 12345;
        size_t run = (state >> 16) % 40;
        uint8_t value = static_cast<uint8_t>(state >> 8);
        for (size_t i = 0; i < run && bytes.size() < size; ++i) bytes.push_back(i % 3 ? value : uint8_t(i));
    }
    return bytes;
}

struct Result {
    swf::InflateEnd end;
    Data output;
};

// Room reserved in the output is filled in place, the rest appended.
Result InPieces(const Data& input, size_t max_output, size_t piece, size_t reserve) {
    Result result;
    result.output = {9, 9};  // bytes already held stay in front
    result.output.reserve(reserve);
    swf::Inflater inflater(&result.output, max_output);
    for (size_t at = 0; at < input.size(); at += piece) {
        size_t count = std::min(piece, input.size() - at);
        if (!inflater.Feed(swf::Bytes(input.data() + at, count))) break;
    }
    result.end = inflater.Finish();
    return result;
}

}  // namespace

TEST(Inflater, PiecesGiveWhatTheWholeInputGives) {
    const Data plain = Sample(300000);
    const Data stream = Deflate(plain);
    Data corrupt = stream;
    corrupt[corrupt.size() / 2] ^= 0x5A;
    corrupt[corrupt.size() / 2 + 1] ^= 0xA5;
    Data bad_header = stream;
    bad_header[0] ^= 0xFF;
    const Data cut(stream.begin(), stream.end() - 3);
    const Data half(stream.begin(), stream.begin() + stream.size() / 2);

    struct Case {
        const Data* input;
        size_t max_output;
    };
    const Case cases[] = {
        {&stream, plain.size() + 1}, {&stream, plain.size()}, {&stream, plain.size() - 1},
        {&stream, 100000},           {&stream, 1},            {&stream, 0},
        {&cut, plain.size()},        {&cut, plain.size() + 5}, {&half, plain.size()},
        {&corrupt, plain.size()},    {&corrupt, 2 * plain.size()}, {&bad_header, plain.size()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "input " << c.input->size() << " limit " << c.max_output);
        Data whole = {9, 9};
        swf::InflateEnd end = swf::Inflate(*c.input, c.max_output, whole);
        EXPECT_EQ(swf::InflateCheck(*c.input, c.max_output), end);
        EXPECT_LE(whole.size(), c.max_output + 2);
        for (size_t piece : {size_t(1), size_t(7), size_t(4096), size_t(70001), c.input->size()}) {
            for (size_t reserve : {size_t(0), size_t(100000), plain.size() + 2}) {
                SCOPED_TRACE(testing::Message() << "piece " << piece << " reserve " << reserve);
                Result result = InPieces(*c.input, c.max_output, piece, reserve);
                EXPECT_EQ(result.end, end);
                EXPECT_TRUE(result.output == whole);
            }
        }
    }

    Data exact = {9, 9};
    EXPECT_EQ(swf::Inflate(stream, plain.size(), exact), swf::InflateEnd::StreamEnd);
    EXPECT_TRUE(Data(exact.begin() + 2, exact.end()) == plain);
    Data short_of_end;
    EXPECT_EQ(swf::Inflate(stream, plain.size() - 1, short_of_end), swf::InflateEnd::LimitReached);
    EXPECT_EQ(swf::InflateCheck(cut, plain.size() + 5), swf::InflateEnd::InputEnded);
    EXPECT_EQ(swf::InflateCheck(bad_header, plain.size()), swf::InflateEnd::Corrupt);
}
