#include "swf/sound_rules.h"

#include <algorithm>

#include "swf/adpcm.h"

namespace swf {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutText(std::vector<uint8_t>& out, const char* text) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(text[i]));
}

}  // namespace

bool IsWavFormat(int format) {
    return format == kSoundPcmNative || format == kSoundAdpcm || format == kSoundPcmLittle || format == kSoundALaw ||
           format == kSoundMuLaw;
}

const char* SoundSuffix(int format) {
    if (IsWavFormat(format)) return ".WAV";
    if (format == kSoundMp3) return ".MP3";
    return "";
}

std::vector<uint8_t> WavHeader(int sample_rate, int channels, int bits_per_sample, uint32_t data_bytes,
                               int format_tag) {
    int block_align = channels * bits_per_sample / 8;
    std::vector<uint8_t> out;
    PutText(out, "RIFF");
    Put32(out, 36 + data_bytes);
    PutText(out, "WAVE");
    PutText(out, "fmt ");
    Put32(out, 16);
    Put16(out, static_cast<uint32_t>(format_tag));
    Put16(out, channels);
    Put32(out, sample_rate);
    Put32(out, sample_rate * block_align);
    Put16(out, block_align);
    Put16(out, bits_per_sample);
    PutText(out, "data");
    Put32(out, data_bytes);
    return out;
}

void SoundFileBuilder::AddData(Bytes data, size_t max_frames) {
    if (flags_.format == kSoundAdpcm) {
        int channels = flags_.Channels();
        size_t room = kMaxSoundBytes - data_size_;
        // Decoding one frame past the room is enough to know it does not fit.
        size_t room_frames = room / (2 * channels) + 1;
        std::vector<int16_t> pcm;
        DecodeAdpcm(data, channels, std::min(max_frames, room_frames), pcm);
        if (pcm.size() * 2 > room) throw SwfDataError("the sound is too large");
        data_size_ += pcm.size() * 2;
        if (keep_data_)
            for (int16_t sample : pcm) Put16(data_, static_cast<uint16_t>(sample));
        return;
    }
    if (data.size() > kMaxSoundBytes - data_size_) throw SwfDataError("the sound is too large");
    data_size_ += data.size();
    if (keep_data_) data_.insert(data_.end(), data.begin(), data.end());
}

namespace {

bool IsG711(int format) { return format == kSoundALaw || format == kSoundMuLaw; }

int WavBits(const SoundFlags& flags) {
    if (IsG711(flags.format)) return 8;
    return (flags.format == kSoundAdpcm || flags.sixteen_bit) ? 16 : 8;
}

int WavFormatTag(int format) {
    return format == kSoundALaw ? kWaveALaw : format == kSoundMuLaw ? kWaveMuLaw : kWavePcm;
}

}  // namespace

uint32_t SoundFileBuilder::WavDataBytes() const {
    int channels = flags_.Channels();
    int bits = WavBits(flags_);
    size_t frame = size_t(channels) * bits / 8;
    return static_cast<uint32_t>(data_size_ / frame * frame);
}

std::vector<uint8_t> SoundFileBuilder::Finish() const {
    if (data_.empty() || !IsWavFormat(flags_.format)) return data_;
    uint32_t data_bytes = WavDataBytes();
    if (data_bytes == 0) return {};
    int channels = flags_.Channels();
    std::vector<uint8_t> out =
        WavHeader(SampleRate(flags_.rate_code), channels, WavBits(flags_), data_bytes, WavFormatTag(flags_.format));
    out.insert(out.end(), data_.begin(), data_.begin() + data_bytes);
    return out;
}

uint64_t SoundFileBuilder::FileSize() const {
    if (data_size_ == 0 || !IsWavFormat(flags_.format)) return data_size_;
    uint32_t data_bytes = WavDataBytes();
    return data_bytes == 0 ? 0 : 44 + uint64_t(data_bytes);
}

}  // namespace swf
