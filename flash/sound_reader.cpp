#include "flash/sound_reader.h"

namespace flash {

namespace {

std::vector<uint8_t> Rest(SwfBits& in) {
    std::vector<uint8_t> data(in.Here(), in.Here() + in.Remaining());
    in.Skip(in.Remaining());
    return data;
}

}  // namespace

SoundFormat ParseSoundFormat(uint8_t flags) {
    SoundFormat format;
    format.codec = flags >> 4;
    format.rate_code = (flags >> 2) & 3;
    format.sixteen_bit = (flags & 2) != 0;
    format.stereo = (flags & 1) != 0;
    return format;
}

Sound ReadDefineSound(SwfBits& in) {
    Sound sound;
    sound.format = ParseSoundFormat(in.U8());
    sound.sample_count = in.U32();
    if (sound.format.codec == kSoundMp3 && in.Remaining() >= 2) sound.mp3_seek = in.S16();
    sound.data = Rest(in);
    return sound;
}

SoundInfo ReadSoundInfo(SwfBits& in) {
    SoundInfo info;
    uint8_t flags = in.U8();
    info.stop = flags & 0x20;
    info.no_multiple = flags & 0x10;
    info.has_in = flags & 0x01;
    info.has_out = flags & 0x02;
    if (info.has_in) info.in = in.U32();
    if (info.has_out) info.out = in.U32();
    if (flags & 0x04) info.loops = in.U16();
    if (flags & 0x08) {
        int count = in.U8();
        for (int i = 0; i < count; ++i) {
            SoundEnvelopePoint point;
            point.position = in.U32();
            point.left = in.U16();
            point.right = in.U16();
            info.envelope.push_back(point);
        }
    }
    return info;
}

ButtonSounds ReadButtonSounds(SwfBits& in) {
    ButtonSounds sounds;
    for (SoundStart& change : sounds.changes) {
        if (in.Remaining() < 2) break;
        change.sound = in.U16();
        if (change.sound != 0) change.info = ReadSoundInfo(in);
    }
    return sounds;
}

StreamSound ReadStreamHead(SwfBits& in) {
    StreamSound stream;
    in.U8();  // the format the maker suggests for playback
    stream.format = ParseSoundFormat(in.U8());
    stream.samples_per_block = in.U16();
    if (stream.format.codec == kSoundMp3 && in.Remaining() >= 2) stream.latency_seek = in.S16();
    return stream;
}

void ReadStreamBlock(SwfBits& in, int frame, StreamSound& stream) {
    StreamBlock block;
    block.frame = frame;
    if (stream.format.codec == kSoundMp3) {
        block.sample_count = in.U16();
        in.S16();  // seek samples
    } else {
        block.sample_count = static_cast<uint32_t>(stream.samples_per_block);
    }
    block.data = Rest(in);
    stream.blocks.push_back(std::move(block));
}

}  // namespace flash
