// Sound rows and exports: event sounds, streamed sounds, WAV files and the
// ADPCM decoder.
#include <gtest/gtest.h>

#include "swf/adpcm.h"
#include "swf/sound_records.h"
#include "swf/sound_rules.h"
#include "swf/swf_extractor.h"
#include "tests/core/swf/swf_test_builder.h"

using namespace swftest;

namespace {

Data Export(swf::SwfExtractor& extractor, size_t row) {
    std::filesystem::path folder = FreshFolder("sound");
    std::filesystem::path path = extractor.ExtractRow(row, folder);
    EXPECT_FALSE(path.empty());
    Data bytes = ReadFile(path);
    EXPECT_EQ(bytes.size(), extractor.Rows()[row].length);
    std::filesystem::remove_all(folder);
    return bytes;
}

void ExpectWav(const Data& file, uint32_t rate, int channels, int bits, uint32_t data_bytes) {
    ASSERT_EQ(file.size(), 44u + data_bytes);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(file, 4), 36 + data_bytes);
    EXPECT_EQ(std::string(file.begin() + 8, file.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(file, 16), 16u);
    EXPECT_EQ(Le16(file, 20), 1);  // PCM
    EXPECT_EQ(Le16(file, 22), channels);
    EXPECT_EQ(Le32(file, 24), rate);
    EXPECT_EQ(Le32(file, 28), rate * channels * bits / 8);
    EXPECT_EQ(Le16(file, 32), channels * bits / 8);
    EXPECT_EQ(Le16(file, 34), bits);
    EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 40), "data");
    EXPECT_EQ(Le32(file, 40), data_bytes);
}

std::vector<int16_t> Samples(const Data& wav) {
    std::vector<int16_t> samples;
    for (size_t pos = 44; pos + 1 < wav.size(); pos += 2) samples.push_back(static_cast<int16_t>(Le16(wav, pos)));
    return samples;
}

// Writes bit fields most significant bit first.
class BitWriter {
public:
    void Put(uint32_t value, int bits) {
        for (int i = bits - 1; i >= 0; --i) {
            if (count_ % 8 == 0) data_.push_back(0);
            if ((value >> i) & 1) data_.back() |= static_cast<uint8_t>(0x80 >> (count_ % 8));
            ++count_;
        }
    }
    const Data& Bytes() const { return data_; }

private:
    Data data_;
    int count_ = 0;
};

// One mono packet of 2-bit codes: first sample 1000, step index 0, then the
// codes 01 01 11 00.
const Data kMonoPacket = {0x00, 0xFA, 0x00, 0x5C};
const std::vector<int16_t> kMonoSamples = {1000, 1010, 1023, 1007, 1013};

}  // namespace

TEST(Adpcm, DecodesKnownPackets) {
    std::vector<int16_t> mono;
    swf::DecodeAdpcm(kMonoPacket, 1, SIZE_MAX, mono);
    EXPECT_EQ(mono, kMonoSamples);

    std::vector<int16_t> limited;
    swf::DecodeAdpcm(kMonoPacket, 1, 3, limited);
    EXPECT_EQ(limited, std::vector<int16_t>(kMonoSamples.begin(), kMonoSamples.begin() + 3));

    // Stereo, 4-bit codes: left 0 at index 0, right -100 at index 10, then
    // the codes 0111 (left) and 1000 (right); 2 padding bits.
    std::vector<int16_t> stereo;
    swf::DecodeAdpcm(Data{0x80, 0x00, 0x00, 0xFF, 0x9C, 0x29, 0xE0}, 2, SIZE_MAX, stereo);
    EXPECT_EQ(stereo, (std::vector<int16_t>{0, -100, 11, -102}));
}

TEST(Adpcm, EveryPacketStartsAfresh) {
    BitWriter bits;
    bits.Put(1, 2);  // 3-bit codes
    bits.Put(0, 16);
    bits.Put(0, 6);
    for (int i = 0; i < 4095; ++i) bits.Put(3, 3);  // rising steps: the sample climbs
    bits.Put(static_cast<uint16_t>(-5000), 16);
    bits.Put(20, 6);
    bits.Put(0, 3);
    std::vector<int16_t> pcm;
    swf::DecodeAdpcm(bits.Bytes(), 1, SIZE_MAX, pcm);
    ASSERT_EQ(pcm.size(), 4098u);
    EXPECT_EQ(pcm[4095], 32767);  // clamped at the top
    EXPECT_EQ(pcm[4096], -5000);
    // Code 0 at index 20 (step 50): 50 >> 2 = 12 up.
    EXPECT_EQ(pcm[4097], -5000 + 12);
}

TEST(WavFile, HeaderFields) {
    ExpectWav(swf::WavHeader(22050, 2, 16, 0), 22050, 2, 16, 0);
    EXPECT_EQ(swf::SampleRate(0), 5512);
    EXPECT_EQ(swf::SampleRate(1), 11025);
    EXPECT_EQ(swf::SampleRate(2), 22050);
    EXPECT_EQ(swf::SampleRate(3), 44100);
}

TEST(EventSound, Mp3IsWrittenFromItsFirstFrame) {
    Data frames = {0xFF, 0xFB, 0x90, 0x64, 1, 2, 3, 4, 5};
    Data data = Join({Data{0x40, 0x02}, frames});  // seek value, then frames
    swf::SwfExtractor extractor = Loaded(Movie({Tag(1, {}), Tag(14, DefineSoundBody(0x2E, 1152, data)), End()}));
    ASSERT_EQ(extractor.Rows().size(), 1u);
    const swf::ResourceRow& row = extractor.Rows()[0];
    EXPECT_EQ(row.caption, "14_1.MP3");
    EXPECT_EQ(row.tag_id, 1);
    EXPECT_EQ(row.code, 14);
    EXPECT_EQ(row.blocks, 1u);
    EXPECT_EQ(row.icon, swf::kIconSound);
    EXPECT_EQ(Export(extractor, 0), frames);
}

TEST(EventSound, UncompressedAndAdpcmBecomeWavFiles) {
    Data pcm16 = {1, 0, 2, 0, 3, 0, 4, 0, 9};  // a stray last byte is no whole frame
    Data pcm8 = {0x80, 0x90, 0xA0};
    Data adpcm = Join({kMonoPacket, Data{0, 0}});
    swf::SwfExtractor extractor = Loaded(Movie({
        Tag(14, DefineSoundBody(0x3F, 2, pcm16)),  // format 3, 44100 Hz, 16-bit stereo
        Tag(14, DefineSoundBody(0x04, 3, pcm8)),   // format 0, 11025 Hz, 8-bit mono
        Tag(14, DefineSoundBody(0x1A, 5, adpcm)),  // format 1, 22050 Hz, mono
        End(),
    }));
    ASSERT_EQ(extractor.Rows().size(), 3u);
    EXPECT_EQ(extractor.Rows()[0].caption, "14_0.WAV");
    EXPECT_EQ(extractor.Rows()[1].caption, "14_1.WAV");
    EXPECT_EQ(extractor.Rows()[2].caption, "14_2.WAV");

    Data stereo = Export(extractor, 0);
    ExpectWav(stereo, 44100, 2, 16, 8);
    EXPECT_EQ(Data(stereo.begin() + 44, stereo.end()), Data(pcm16.begin(), pcm16.begin() + 8));

    Data mono8 = Export(extractor, 1);
    ExpectWav(mono8, 11025, 1, 8, 3);
    EXPECT_EQ(Data(mono8.begin() + 44, mono8.end()), pcm8);

    // The sample count stops the decoder before the padding of the data.
    Data decoded = Export(extractor, 2);
    ExpectWav(decoded, 22050, 1, 16, 10);
    EXPECT_EQ(Samples(decoded), kMonoSamples);
}

TEST(EventSound, OtherFormatsAreWrittenAsStored) {
    Data body = DefineSoundBody(0x62, 256, {1, 2, 3, 4});  // Nellymoser
    swf::SwfExtractor extractor = Loaded(Movie({Tag(14, body), Tag(14, {1, 0, 0x2E}), End()}));
    ASSERT_EQ(extractor.Rows().size(), 2u);
    EXPECT_EQ(extractor.Rows()[0].caption, "14_0");
    EXPECT_EQ(extractor.Rows()[0].length, body.size() - 2);
    EXPECT_EQ(Export(extractor, 0), Data(body.begin() + 2, body.end()));

    // A body too short for its fields.
    EXPECT_EQ(extractor.Rows()[1].caption, "无法读取14_1");
    EXPECT_EQ(extractor.Rows()[1].length, 0u);
    EXPECT_EQ(extractor.Rows()[1].blocks, 0u);
}

TEST(StreamSound, Mp3BlocksLoseTheirFourLeadingBytes) {
    Data block1 = {0x40, 0x02, 0, 0, 0xFF, 0xFB, 0x90, 0x64, 7};
    Data block2 = {0x40, 0x02, 0, 0, 0xFF, 0xFB, 0x90, 0x64, 8, 8};
    swf::SwfExtractor extractor = Loaded(Movie({
        Tag(1, {}), Tag(18, StreamHeadBody(0x2A, 1152)), Tag(19, block1), Tag(1, {}), Tag(26, {1, 2, 3}),
        Tag(19, block2), Tag(45, StreamHeadBody(0x2A)), Tag(19, block1), End(), Tag(19, block2),
    }));
    ASSERT_EQ(extractor.Rows().size(), 2u);
    const swf::ResourceRow& first = extractor.Rows()[0];
    EXPECT_EQ(first.caption, "18_1流.MP3");
    EXPECT_EQ(first.tag_id, 1);
    EXPECT_EQ(first.blocks, 2u);
    EXPECT_EQ(first.length, block1.size() - 4 + block2.size() - 4);
    EXPECT_EQ(Export(extractor, 0), Join({Data(block1.begin() + 4, block1.end()), Data(block2.begin() + 4, block2.end())}));

    const swf::ResourceRow& second = extractor.Rows()[1];
    EXPECT_EQ(second.caption, "45_6流.MP3");
    EXPECT_EQ(second.blocks, 1u);
    EXPECT_EQ(second.length, block1.size() - 4);
}

TEST(StreamSound, OtherFormatsKeepWholeBlocks) {
    Data block1 = {1, 0, 2, 0, 3, 0, 4, 0};
    Data block2 = {5, 0, 6, 0};
    swf::SwfExtractor extractor = Loaded(Movie({
        Tag(18, StreamHeadBody(0x32)), Tag(19, block1), Tag(19, block2),  // format 3, 5512 Hz, 16-bit mono
        Tag(45, StreamHeadBody(0x1A)), Tag(19, kMonoPacket), Tag(19, kMonoPacket),  // ADPCM
        Tag(45, StreamHeadBody(0x0E)), Tag(19, {0x80, 0x81}),  // format 0, 44100 Hz, 16-bit mono
        End(),
    }));
    ASSERT_EQ(extractor.Rows().size(), 3u);
    EXPECT_EQ(extractor.Rows()[0].caption, "18_0流.WAV");
    Data pcm = Export(extractor, 0);
    ExpectWav(pcm, 5512, 1, 16, 12);
    EXPECT_EQ(Data(pcm.begin() + 44, pcm.end()), Join({block1, block2}));

    // Each ADPCM block is decoded on its own.
    EXPECT_EQ(extractor.Rows()[1].caption, "45_3流.WAV");
    EXPECT_EQ(extractor.Rows()[1].blocks, 2u);
    Data decoded = Export(extractor, 1);
    std::vector<int16_t> twice = kMonoSamples;
    twice.insert(twice.end(), kMonoSamples.begin(), kMonoSamples.end());
    EXPECT_EQ(Samples(decoded), twice);

    EXPECT_EQ(extractor.Rows()[2].caption, "45_6流.WAV");
    Data native = Export(extractor, 2);
    ExpectWav(native, 44100, 1, 16, 2);
}

TEST(StreamSound, HeadWithoutBlocksIsListedEmptyAndRefused) {
    swf::SwfExtractor extractor = Loaded(Movie({Tag(18, StreamHeadBody(0x2A)), End(), Tag(19, Data(10, 1))}));
    ASSERT_EQ(extractor.Rows().size(), 1u);
    EXPECT_EQ(extractor.Rows()[0].caption, "18_0流.MP3");
    EXPECT_EQ(extractor.Rows()[0].blocks, 0u);
    EXPECT_EQ(extractor.Rows()[0].length, 0u);
    std::filesystem::path folder = FreshFolder("empty-stream");
    EXPECT_EQ(extractor.ExtractRow(0, folder), std::filesystem::path());
    EXPECT_EQ(extractor.ExportEntry(0, folder), std::filesystem::path());
    EXPECT_EQ(extractor.Messages(), (std::vector<std::string>{"不能提取信息!", "不能提取信息!"}));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    std::filesystem::remove_all(folder);
}

TEST(StreamSound, FileNameWithStreamMarkIsWrittenAsUtf8) {
    swf::SwfExtractor extractor =
        Loaded(Movie({Tag(1, {}), Tag(1, {}), Tag(1, {}), Tag(18, StreamHeadBody(0x2A)), Tag(19, {0, 0, 0, 0, 0xFF}), End()}));
    std::filesystem::path folder = FreshFolder("stream-name");
    std::filesystem::path path = extractor.ExportEntry(3, folder);
    EXPECT_EQ(swf::PathUtf8(path.filename()), "18_3流.MP3");
    EXPECT_TRUE(std::filesystem::exists(folder / swf::Utf8Path("18_3流.MP3")));
    EXPECT_THROW(extractor.ExportEntry(3, folder / "missing"), swf::SwfFileError);
    EXPECT_THROW(extractor.ExportEntry(99, folder), swf::SwfDataError);
    std::filesystem::remove_all(folder);
}

TEST(SoundRecords, HeadsAndSoundsReadTheirFieldsAndOnlyWhatIsThere) {
    // MP3 at 44100 Hz, 16-bit stereo: 1152 samples a block, seek -3.
    Data mp3_head = {0x0F, 0x2F, 0x80, 0x04, 0xFD, 0xFF};
    swf::StreamHead head = swf::ReadSoundStreamHead(mp3_head);
    EXPECT_EQ(head.stream.format, 2);
    EXPECT_EQ(swf::SampleRate(head.stream.rate_code), 44100);
    EXPECT_TRUE(head.stream.stereo && head.stream.sixteen_bit);
    EXPECT_EQ(head.samples_per_block, 1152);
    EXPECT_EQ(head.latency_seek, -3);
    Data bare_head = {0x00, 0x0A}, cut_head = {0x00};
    swf::StreamHead bare = swf::ReadSoundStreamHead(bare_head);
    EXPECT_EQ(bare.samples_per_block, 0);
    EXPECT_THROW(swf::ReadSoundStreamHead(cut_head), swf::SwfDataError);
    Data block = {1, 2, 3, 4, 5};
    EXPECT_EQ(swf::StreamBlockSamples(block, head.stream).size(), 1u);
    EXPECT_EQ(swf::StreamBlockSamples(block, bare.stream).size(), 5u);

    Data body = DefineSoundBody(0x2E, 576, {0xFF, 0xFF, 0xAA});
    swf::EventSound sound = swf::ReadDefineSound(body);
    EXPECT_EQ(sound.id, 1);
    EXPECT_EQ(sound.sample_count, 576u);
    EXPECT_EQ(swf::Mp3SoundSamples(sound.data).size(), 1u);
    EXPECT_THROW(swf::ReadDefineSound(Data(body.begin(), body.begin() + 6)), swf::SwfDataError);
    Data one = {1};
    EXPECT_THROW(swf::Mp3SoundSamples(one), swf::SwfDataError);
}

TEST(StreamSound, HeadInsideASpriteIsListedFromTheSpritesBlocks) {
    Data block1 = {1, 0, 2, 0};
    Data block2 = {3, 0};
    Data sprite = Join({{7, 0, 2, 0}, Tag(18, StreamHeadBody(0x3E, 2)), Tag(19, block1), Tag(1, {}), Tag(19, block2),
                        Tag(1, {}), End()});
    Data silent_sprite = Join({{8, 0, 1, 0}, Tag(45, StreamHeadBody(0x3E)), Tag(1, {}), End()});
    swf::SwfExtractor extractor = Loaded(Movie({Tag(39, silent_sprite), Tag(39, sprite), End()}));
    ASSERT_EQ(extractor.Rows().size(), 1u);   // a head without blocks inside a sprite gets no row
    const swf::ResourceRow& row = extractor.Rows()[0];
    EXPECT_EQ(row.caption, "18_1流.WAV");
    EXPECT_EQ(row.tag_id, 1);
    EXPECT_EQ(row.blocks, 2u);
    Data wav = Export(extractor, 0);
    ExpectWav(wav, 44100, 1, 16, 6);
    EXPECT_EQ(Data(wav.begin() + 44, wav.end()), Join({block1, block2}));
    EXPECT_EQ(extractor.ExportEntry(0, FreshFolder("sprite-stream")), std::filesystem::path());
}

TEST(EventSound, G711BecomesWavWithItsCodec) {
    Data law = {0xD5, 0x55, 0x2A, 0xAA};
    swf::SwfExtractor extractor = Loaded(Movie({
        Tag(14, DefineSoundBody(0x74, 4, law)),   // A-law, 11 kHz, mono
        Tag(14, DefineSoundBody(0x85, 2, law)),   // µ-law, 11 kHz, stereo
        End(),
    }));
    ASSERT_EQ(extractor.Rows().size(), 2u);
    EXPECT_EQ(extractor.Rows()[0].caption, "14_0.WAV");
    Data alaw = Export(extractor, 0);
    ASSERT_EQ(alaw.size(), 48u);
    EXPECT_EQ(Le16(alaw, 20), 6);      // WAVE_FORMAT_ALAW
    EXPECT_EQ(Le16(alaw, 22), 1);
    EXPECT_EQ(Le32(alaw, 24), 11025u);
    EXPECT_EQ(Le16(alaw, 34), 8);
    EXPECT_EQ(Data(alaw.begin() + 44, alaw.end()), law);
    Data mulaw = Export(extractor, 1);
    EXPECT_EQ(Le16(mulaw, 20), 7);     // WAVE_FORMAT_MULAW
    EXPECT_EQ(Le16(mulaw, 22), 2);
    EXPECT_EQ(Le16(mulaw, 32), 2);     // block align
}
