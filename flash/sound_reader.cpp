#include "flash/sound_reader.h"

namespace flash {

namespace {

std::vector<uint8_t> Copy(swf::Bytes data) { return std::vector<uint8_t>(data.begin(), data.end()); }

}  // namespace

Sound ReadDefineSound(swf::Bytes body) {
    swf::EventSound tag = swf::ReadDefineSound(body);
    Sound sound;
    sound.flags = tag.flags;
    sound.sample_count = tag.sample_count;
    swf::Bytes samples = tag.data;
    if (tag.flags.format == swf::kSoundMp3 && tag.data.size() >= 2) {
        sound.mp3_seek = swf::ByteReader(tag.data).S16();
        samples = swf::Mp3SoundSamples(tag.data);
    }
    sound.data = Copy(samples);
    return sound;
}

SoundInfo ReadSoundInfo(swf::ByteReader& in) {
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

ButtonSounds ReadButtonSounds(swf::ByteReader& in) {
    ButtonSounds sounds;
    for (SoundStart& change : sounds.changes) {
        if (in.Remaining() < 2) break;
        change.sound = in.U16();
        if (change.sound != 0) change.info = ReadSoundInfo(in);
    }
    return sounds;
}

StreamSound ReadStreamHead(swf::Bytes body) {
    if (body.size() < 4) throw swf::SwfDataError("the stream head has no samples per block");
    swf::StreamHead head = swf::ReadSoundStreamHead(body);
    StreamSound stream;
    stream.flags = head.stream;
    stream.samples_per_block = head.samples_per_block;
    stream.latency_seek = head.latency_seek;
    return stream;
}

void ReadStreamBlock(swf::Bytes body, int frame, StreamSound& stream) {
    StreamBlock block;
    block.frame = frame;
    if (stream.flags.format == swf::kSoundMp3) {
        swf::ByteReader reader(body);
        block.sample_count = reader.U16();
        reader.S16();  // seek samples
    } else {
        block.sample_count = static_cast<uint32_t>(stream.samples_per_block);
    }
    block.data = Copy(swf::StreamBlockSamples(body, stream.flags));
    stream.blocks.push_back(std::move(block));
}

}  // namespace flash
