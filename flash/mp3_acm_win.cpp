// MP3 decoding through the platform's audio compression manager.
#include "flash/sound_mp3.h"

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace flash {

namespace {

struct FrameHeader {
    int rate = 0;
    int channels = 0;
    int bitrate = 0;       // bits per second
    bool mpeg1 = false;
};

// The first MPEG audio layer III frame header of the data.
bool FindHeader(const uint8_t* data, size_t size, FrameHeader& header) {
    static const int kRates[4][3] = {{11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    static const int kBitratesV1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int kBitratesV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    for (size_t i = 0; i + 4 <= size; ++i) {
        if (data[i] != 0xFF || (data[i + 1] & 0xE0) != 0xE0) continue;
        int version = (data[i + 1] >> 3) & 3;
        int layer = (data[i + 1] >> 1) & 3;
        int bitrate_index = data[i + 2] >> 4;
        int rate_index = (data[i + 2] >> 2) & 3;
        if (version == 1 || layer != 1 || rate_index == 3 || bitrate_index == 0 || bitrate_index == 15) continue;
        header.mpeg1 = version == 3;
        header.rate = kRates[version][rate_index];
        header.bitrate = (header.mpeg1 ? kBitratesV1 : kBitratesV2)[bitrate_index] * 1000;
        header.channels = (data[i + 3] >> 6) == 3 ? 1 : 2;
        return true;
    }
    return false;
}

}  // namespace

bool DecodeMp3WithAcm(const uint8_t* data, size_t size, Mp3Pcm& pcm) {
    FrameHeader header;
    if (!FindHeader(data, size, header) || size > 0x7FFFFFFF) return false;
    MPEGLAYER3WAVEFORMAT source{};
    source.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    source.wfx.nChannels = static_cast<WORD>(header.channels);
    source.wfx.nSamplesPerSec = static_cast<DWORD>(header.rate);
    source.wfx.nAvgBytesPerSec = static_cast<DWORD>(header.bitrate / 8);
    source.wfx.nBlockAlign = 1;
    source.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    source.wID = MPEGLAYER3_ID_MPEG;
    source.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    source.nBlockSize = static_cast<WORD>((header.mpeg1 ? 144 : 72) * header.bitrate / header.rate);
    source.nFramesPerBlock = 1;
    source.nCodecDelay = 0;
    WAVEFORMATEX target{};
    target.wFormatTag = WAVE_FORMAT_PCM;
    target.nChannels = source.wfx.nChannels;
    target.nSamplesPerSec = source.wfx.nSamplesPerSec;
    target.wBitsPerSample = 16;
    target.nBlockAlign = static_cast<WORD>(2 * header.channels);
    target.nAvgBytesPerSec = target.nSamplesPerSec * target.nBlockAlign;

    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, &source.wfx, &target, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0)
        return false;
    pcm.rate = header.rate;
    pcm.channels = header.channels;
    const DWORD kChunk = 16384;
    DWORD out_size = 0;
    acmStreamSize(stream, kChunk, &out_size, ACM_STREAMSIZEF_SOURCE);
    if (out_size == 0) out_size = kChunk * 16;
    std::vector<uint8_t> in(kChunk);
    std::vector<uint8_t> out(out_size);
    size_t offset = 0;
    DWORD pending = 0;   // bytes left in "in" from the previous round
    bool ok = true;
    while (ok) {
        DWORD take = static_cast<DWORD>(std::min<size_t>(kChunk - pending, size - offset));
        std::memcpy(in.data() + pending, data + offset, take);
        offset += take;
        DWORD available = pending + take;
        bool last = offset >= size;
        ACMSTREAMHEADER h{};
        h.cbStruct = sizeof(h);
        h.pbSrc = in.data();
        h.cbSrcLength = available;
        h.pbDst = out.data();
        h.cbDstLength = out_size;
        if (acmStreamPrepareHeader(stream, &h, 0) != 0) break;
        ok = acmStreamConvert(stream, &h, last ? ACM_STREAMCONVERTF_END : ACM_STREAMCONVERTF_BLOCKALIGN) == 0;
        const int16_t* samples = reinterpret_cast<const int16_t*>(out.data());
        pcm.samples.insert(pcm.samples.end(), samples, samples + h.cbDstLengthUsed / 2);
        DWORD used = h.cbSrcLengthUsed;
        acmStreamUnprepareHeader(stream, &h, 0);
        if (last) break;
        pending = available - std::min(used, available);
        std::memmove(in.data(), in.data() + (available - pending), pending);
        if (used == 0 && take == 0) break;
    }
    acmStreamClose(stream, 0);
    return !pcm.samples.empty();
}

}  // namespace flash
