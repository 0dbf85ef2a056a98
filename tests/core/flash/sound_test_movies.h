// Bodies of the sound tags, for movies the sound tests build.
#pragma once

#include "flash/swf_writer.h"
#include "swf/tags.h"

#include <cstdint>
#include <vector>

namespace flash_test {

using namespace swf::tag_codes;

inline void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// 16-bit little-endian mono PCM at 44.1 kHz: flag byte 0x3E.
constexpr uint8_t kPcm44Mono = 0x3E;

inline std::vector<uint8_t> PcmBytes(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> out;
    for (int16_t s : samples) Put16(out, static_cast<uint16_t>(s));
    return out;
}

inline std::vector<uint8_t> DefineSoundBody(uint16_t id, uint8_t flags, const std::vector<int16_t>& samples) {
    std::vector<uint8_t> body;
    Put16(body, id);
    body.push_back(flags);
    Put32(body, static_cast<uint32_t>(samples.size()));
    std::vector<uint8_t> data = PcmBytes(samples);
    body.insert(body.end(), data.begin(), data.end());
    return body;
}

struct StartArgs {
    bool stop = false, no_multiple = false;
    int in = -1, out = -1, loops = 0;
    std::vector<uint32_t> envelope;   // position, left, right for each point
};

inline std::vector<uint8_t> StartSoundBody(uint16_t id, const StartArgs& a) {
    std::vector<uint8_t> body;
    Put16(body, id);
    uint8_t flags = (a.stop ? 0x20 : 0) | (a.no_multiple ? 0x10 : 0) | (a.envelope.empty() ? 0 : 0x08) |
                    (a.loops ? 0x04 : 0) | (a.out >= 0 ? 0x02 : 0) | (a.in >= 0 ? 0x01 : 0);
    body.push_back(flags);
    if (a.in >= 0) Put32(body, static_cast<uint32_t>(a.in));
    if (a.out >= 0) Put32(body, static_cast<uint32_t>(a.out));
    if (a.loops) Put16(body, static_cast<uint32_t>(a.loops));
    if (!a.envelope.empty()) {
        body.push_back(static_cast<uint8_t>(a.envelope.size() / 3));
        for (size_t i = 0; i + 2 < a.envelope.size(); i += 3) {
            Put32(body, a.envelope[i]);
            Put16(body, a.envelope[i + 1]);
            Put16(body, a.envelope[i + 2]);
        }
    }
    return body;
}

inline std::vector<uint8_t> StreamHeadBody(uint8_t flags, int samples_per_block) {
    std::vector<uint8_t> body{flags, flags};
    Put16(body, static_cast<uint32_t>(samples_per_block));
    return body;
}

// A block of samples_per_block equal samples.
inline void StreamBlock(flash::TagList& tags, int16_t value, int samples) {
    tags.Tag(kSoundStreamBlock, PcmBytes(std::vector<int16_t>(static_cast<size_t>(samples), value)));
}

}  // namespace flash_test
