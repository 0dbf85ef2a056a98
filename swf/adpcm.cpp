#include "swf/adpcm.h"

#include <algorithm>

namespace swf {

namespace {

const int kStepSizes[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,    73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,   253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,   876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749,  3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493,  10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// Step index changes by the magnitude bits of a code, for codes of 2 to 5 bits.
const int kIndexShift2[2] = {-1, 2};
const int kIndexShift3[4] = {-1, -1, 2, 4};
const int kIndexShift4[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
const int kIndexShift5[16] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};
const int* const kIndexShifts[4] = {kIndexShift2, kIndexShift3, kIndexShift4, kIndexShift5};

// Reads bit fields most significant bit first, as SWF stores them.
class BitReader {
public:
    explicit BitReader(Bytes data) : data_(data) {}

    uint64_t BitsLeft() const { return uint64_t(data_.size()) * 8 - pos_; }

    uint32_t Read(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            uint8_t byte = data_[pos_ >> 3];
            value = (value << 1) | ((byte >> (7 - (pos_ & 7))) & 1);
            ++pos_;
        }
        return value;
    }

private:
    Bytes data_;
    uint64_t pos_ = 0;
};

struct ChannelState {
    int sample = 0;
    int index = 0;
};

int16_t DecodeCode(ChannelState& state, uint32_t code, int bits) {
    uint32_t sign = 1u << (bits - 1);
    int step = kStepSizes[state.index];
    int delta = 0;
    for (uint32_t mask = sign >> 1; mask != 0; mask >>= 1) {
        if (code & mask) delta += step;
        step >>= 1;
    }
    delta += step;
    state.sample += (code & sign) ? -delta : delta;
    state.sample = std::clamp(state.sample, -32768, 32767);
    state.index = std::clamp(state.index + kIndexShifts[bits - 2][code & (sign - 1)], 0, 88);
    return static_cast<int16_t>(state.sample);
}

}  // namespace

void DecodeAdpcm(Bytes data, int channels, size_t max_frames, std::vector<int16_t>& pcm) {
    if (channels < 1 || channels > 2) return;
    BitReader bits(data);
    if (bits.BitsLeft() < 2) return;
    int code_bits = static_cast<int>(bits.Read(2)) + 2;
    ChannelState state[2];
    size_t frames = 0;
    while (frames < max_frames && bits.BitsLeft() >= uint64_t(22) * channels) {
        for (int ch = 0; ch < channels; ++ch) {
            state[ch].sample = static_cast<int16_t>(bits.Read(16));
            state[ch].index = static_cast<int>(bits.Read(6));
            state[ch].index = std::min(state[ch].index, 88);
            pcm.push_back(static_cast<int16_t>(state[ch].sample));
        }
        ++frames;
        for (int n = 1; n < 4096 && frames < max_frames; ++n) {
            if (bits.BitsLeft() < uint64_t(code_bits) * channels) return;
            for (int ch = 0; ch < channels; ++ch)
                pcm.push_back(DecodeCode(state[ch], bits.Read(code_bits), code_bits));
            ++frames;
        }
    }
}

}  // namespace swf
