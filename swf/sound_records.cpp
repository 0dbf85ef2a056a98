#include "swf/sound_records.h"

namespace swf {

SoundFlags ParseSoundFlags(uint8_t flags) {
    SoundFlags result;
    result.format = flags >> 4;
    result.rate_code = (flags >> 2) & 3;
    result.sixteen_bit = (flags & 2) != 0;
    result.stereo = (flags & 1) != 0;
    return result;
}

int SampleRate(int rate_code) {
    static const int kRates[4] = {5512, 11025, 22050, 44100};
    return kRates[rate_code & 3];
}

EventSound ReadDefineSound(Bytes body) {
    ByteReader reader(body);
    EventSound sound;
    sound.id = reader.U16();
    sound.flags = ParseSoundFlags(reader.U8());
    sound.sample_count = reader.U32();
    sound.data = reader.Rest();
    return sound;
}

Bytes Mp3SoundSamples(Bytes data) {
    ByteReader reader(data);
    reader.Skip(2);
    return reader.Rest();
}

StreamHead ReadSoundStreamHead(Bytes body) {
    ByteReader reader(body);
    StreamHead head;
    head.playback = ParseSoundFlags(reader.U8());
    head.stream = ParseSoundFlags(reader.U8());
    if (reader.Remaining() >= 2) head.samples_per_block = reader.U16();
    if (head.stream.format == kSoundMp3 && reader.Remaining() >= 2) head.latency_seek = reader.S16();
    return head;
}

Bytes StreamBlockSamples(Bytes block, const SoundFlags& stream) {
    return stream.format == kSoundMp3 ? Clamp(block, 4, UINT64_MAX) : block;
}

}  // namespace swf
