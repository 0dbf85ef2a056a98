#include "flash/sound_decoder.h"

#include "flash/sound_mp3.h"
#include "swf/adpcm.h"

#include <algorithm>

namespace flash {

namespace {

// Decoded sounds are limited to about ten minutes of 44.1 kHz stereo.
constexpr size_t kMaxDecodedSamples = 60u * 1024 * 1024;

bool Silent(int codec) {
    return codec == swf::kSoundNelly16k || codec == swf::kSoundNelly8k || codec == swf::kSoundNelly ||
           codec == swf::kSoundSpeex;
}

// Moves MP3 output into pcm, dropping the first skip frames.
void TakeMp3(Mp3Pcm& mp3, size_t skip, Pcm& pcm) {
    pcm.rate = mp3.rate;
    pcm.channels = mp3.channels;
    size_t drop = std::min(mp3.samples.size(), skip * static_cast<size_t>(mp3.channels));
    size_t keep = std::min(mp3.samples.size() - drop, kMaxDecodedSamples);
    pcm.samples.assign(mp3.samples.begin() + static_cast<std::ptrdiff_t>(drop),
                       mp3.samples.begin() + static_cast<std::ptrdiff_t>(drop + keep));
}

}  // namespace

int16_t ALawSample(uint8_t code) {
    code ^= 0x55;
    int exponent = (code >> 4) & 7;
    int mantissa = code & 0x0F;
    int magnitude = exponent == 0 ? (mantissa << 4) + 8 : ((mantissa << 4) + 0x108) << (exponent - 1);
    return static_cast<int16_t>((code & 0x80) ? magnitude : -magnitude);
}

int16_t MuLawSample(uint8_t code) {
    code = static_cast<uint8_t>(~code);
    int exponent = (code >> 4) & 7;
    int mantissa = code & 0x0F;
    int magnitude = (((mantissa << 3) + 0x84) << exponent) - 0x84;
    return static_cast<int16_t>((code & 0x80) ? -magnitude : magnitude);
}

void DecodePiece(const swf::SoundFlags& flags, const uint8_t* data, size_t size, size_t max_frames,
                 std::vector<int16_t>& pcm) {
    size_t channels = static_cast<size_t>(flags.Channels());
    size_t room = kMaxDecodedSamples > pcm.size() ? (kMaxDecodedSamples - pcm.size()) / channels : 0;
    max_frames = std::min(max_frames, room);
    switch (flags.format) {
    case swf::kSoundPcmNative:
    case swf::kSoundPcmLittle: {
        size_t width = flags.sixteen_bit ? 2 : 1;
        size_t frames = std::min(size / (width * channels), max_frames);
        for (size_t i = 0; i < frames * channels; ++i) {
            if (flags.sixteen_bit)
                pcm.push_back(static_cast<int16_t>(data[2 * i] | (data[2 * i + 1] << 8)));
            else
                pcm.push_back(static_cast<int16_t>((data[i] - 128) * 256));
        }
        break;
    }
    case swf::kSoundAdpcm:
        swf::DecodeAdpcm(swf::Bytes(data, size), static_cast<int>(channels), max_frames, pcm);
        break;
    case swf::kSoundALaw:
    case swf::kSoundMuLaw: {
        size_t frames = std::min(size / channels, max_frames);
        for (size_t i = 0; i < frames * channels; ++i)
            pcm.push_back(flags.format == swf::kSoundALaw ? ALawSample(data[i]) : MuLawSample(data[i]));
        break;
    }
    default:
        break;
    }
}

Pcm DecodeSound(const Sound& sound) {
    Pcm pcm;
    pcm.rate = SoundRate(sound.flags);
    pcm.channels = sound.flags.Channels();
    if (sound.flags.format == swf::kSoundMp3) {
        Mp3Pcm mp3;
        if (DecodeMp3(sound.data.data(), sound.data.size(), mp3)) {
            TakeMp3(mp3, static_cast<size_t>(std::max(sound.mp3_seek, 0)), pcm);
            // The tag's sample count is the sound's true length.
            size_t wanted = static_cast<size_t>(sound.sample_count) * static_cast<size_t>(pcm.channels);
            if (sound.sample_count > 0 && pcm.samples.size() > wanted) pcm.samples.resize(wanted);
        }
    } else if (Silent(sound.flags.format)) {
        size_t frames = std::min<size_t>(sound.sample_count, kMaxDecodedSamples / 2);
        pcm.samples.assign(frames * static_cast<size_t>(pcm.channels), 0);
    } else {
        size_t limit = sound.sample_count > 0 ? sound.sample_count : static_cast<size_t>(-1);
        DecodePiece(sound.flags, sound.data.data(), sound.data.size(), limit, pcm.samples);
    }
    return pcm;
}

Pcm DecodeStream(const StreamSound& stream, std::vector<size_t>& block_starts) {
    Pcm pcm;
    pcm.rate = SoundRate(stream.flags);
    pcm.channels = stream.flags.Channels();
    block_starts.clear();
    if (stream.flags.format == swf::kSoundMp3) {
        // The blocks' MP3 frames make one continuous stream; each block
        // begins where the sample counts of the blocks before it end.
        std::vector<uint8_t> frames;
        size_t start = 0;
        for (const StreamBlock& block : stream.blocks) {
            block_starts.push_back(start);
            start += block.sample_count;
            frames.insert(frames.end(), block.data.begin(), block.data.end());
        }
        Mp3Pcm mp3;
        if (DecodeMp3(frames.data(), frames.size(), mp3)) TakeMp3(mp3, 0, pcm);
        if (pcm.rate > 0 && pcm.rate != SoundRate(stream.flags)) {
            double scale = pcm.rate / SoundRate(stream.flags);
            for (size_t& s : block_starts) s = static_cast<size_t>(static_cast<double>(s) * scale);
        }
        return pcm;
    }
    for (const StreamBlock& block : stream.blocks) {
        block_starts.push_back(pcm.Frames());
        if (Silent(stream.flags.format))
            pcm.samples.insert(pcm.samples.end(),
                               static_cast<size_t>(std::max(stream.samples_per_block, 0)) * static_cast<size_t>(pcm.channels), 0);
        else
            DecodePiece(stream.flags, block.data.data(), block.data.size(), static_cast<size_t>(-1), pcm.samples);
    }
    return pcm;
}

}  // namespace flash
