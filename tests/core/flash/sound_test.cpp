#include "flash_test_movies.h"
#include "sound_test_movies.h"

#include "flash/player.h"
#include "flash/sound_decoder.h"
#include "flash/sound_engine.h"
#include "flash/sound_mixer.h"
#include "flash/sound_reader.h"
#include "flash/sound_track.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace flash_test;

namespace {

// Frames of 4410 samples: a movie at 10 frames per second.
constexpr int kBlock = 4410;

std::shared_ptr<const flash::Pcm> MonoPcm(std::vector<int16_t> samples, double rate = 44100) {
    auto pcm = std::make_shared<flash::Pcm>();
    pcm->rate = rate;
    pcm->channels = 1;
    pcm->samples = std::move(samples);
    return pcm;
}

std::vector<int16_t> Mix(flash::SoundMixer& mixer, size_t frames) {
    std::vector<int16_t> out(frames * 2);
    mixer.Mix(out.data(), frames);
    return out;
}

// A 10 fps movie whose main timeline streams one block per frame, block f
// holding samples of the value 100 × (f + 1); frame 5 holds no block.
std::shared_ptr<const flash::Movie> StreamMovie(int frames) {
    flash::SwfWriter movie(8, 100, 100, 10);
    movie.Tag(kSoundStreamHead, StreamHeadBody(kPcm44Mono, kBlock));
    for (int f = 0; f < frames; ++f) {
        if (f != 5) StreamBlock(movie, static_cast<int16_t>(100 * (f + 1)), kBlock);
        movie.ShowFrame();
    }
    return Load(movie);
}

}  // namespace

TEST(SoundDecoder, G711AndAdpcmAgainstHandWorkedSamples) {
    EXPECT_EQ(flash::ALawSample(0xD5), 8);
    EXPECT_EQ(flash::ALawSample(0x55), -8);
    EXPECT_EQ(flash::ALawSample(0x2A), -32256);
    EXPECT_EQ(flash::ALawSample(0xAA), 32256);
    EXPECT_EQ(flash::MuLawSample(0xFF), 0);
    EXPECT_EQ(flash::MuLawSample(0x00), -32124);
    EXPECT_EQ(flash::MuLawSample(0x80), 32124);

    // 2-bit ADPCM: first sample 1000 at step index 0, then codes 01, 11, 00:
    // +(7 + 3), -(9 + 4), +5 with the index moving 0, 2, 4, 3.
    flash::BitWriter bits;
    bits.UB(0, 2);
    bits.UB(1000, 16);
    bits.UB(0, 6);
    bits.UB(0b011100, 6);
    std::vector<uint8_t> data = bits.Bytes();
    swf::SoundFlags adpcm = swf::ParseSoundFlags(0x16);
    std::vector<int16_t> pcm;
    flash::DecodePiece(adpcm, data.data(), data.size(), 4, pcm);   // the last two bits only pad
    EXPECT_EQ(pcm, (std::vector<int16_t>{1000, 1010, 997, 1002}));

    // 8-bit data is unsigned; A-law stereo keeps its channels.
    swf::SoundFlags pcm8 = swf::ParseSoundFlags(0x38);
    pcm.clear();
    const uint8_t bytes8[] = {0, 128, 255};
    flash::DecodePiece(pcm8, bytes8, 3, 100, pcm);
    EXPECT_EQ(pcm, (std::vector<int16_t>{-32768, 0, 32512}));
    swf::SoundFlags alaw = swf::ParseSoundFlags(0x73);
    ASSERT_EQ(alaw.format, swf::kSoundALaw);
    pcm.clear();
    const uint8_t law[] = {0xD5, 0x55, 0xD5};
    flash::DecodePiece(alaw, law, 3, 100, pcm);
    EXPECT_EQ(pcm, (std::vector<int16_t>{8, -8}));   // whole stereo frames only
}

TEST(SoundReader, Mp3SeekAndBlockCountsAndHeadsWithoutBlockSize) {
    // MP3 DefineSound: the seek count is kept apart from the frames.
    std::vector<uint8_t> define = {5, 0, 0x2E, 0x40, 0x02, 0, 0, 0xFD, 0xFF, 0xAA, 0xBB};
    flash::Sound sound = flash::ReadDefineSound(define);
    EXPECT_EQ(sound.flags.format, swf::kSoundMp3);
    EXPECT_EQ(sound.sample_count, 576u);
    EXPECT_EQ(sound.mp3_seek, -3);
    EXPECT_EQ(sound.data, (std::vector<uint8_t>{0xAA, 0xBB}));

    // An MP3 block's own sample count; a PCM block counts the head's.
    std::vector<uint8_t> mp3_head = {0x2E, 0x2E, 0x40, 0x02, 0xFD, 0xFF};
    flash::StreamSound stream = flash::ReadStreamHead(mp3_head);
    EXPECT_EQ(stream.samples_per_block, 576);
    EXPECT_EQ(stream.latency_seek, -3);
    std::vector<uint8_t> block = {0x20, 0x01, 0, 0, 0xCC};
    flash::ReadStreamBlock(block, 2, stream);
    ASSERT_EQ(stream.blocks.size(), 1u);
    EXPECT_EQ(stream.blocks[0].frame, 2);
    EXPECT_EQ(stream.blocks[0].sample_count, 288u);
    EXPECT_EQ(stream.blocks[0].data, (std::vector<uint8_t>{0xCC}));
    std::vector<uint8_t> cut_block = {0x20, 0x01, 0};
    EXPECT_THROW(flash::ReadStreamBlock(cut_block, 3, stream), swf::SwfDataError);
    flash::StreamSound pcm = flash::ReadStreamHead(StreamHeadBody(kPcm44Mono, 100));
    flash::ReadStreamBlock(block, 0, pcm);
    EXPECT_EQ(pcm.blocks[0].sample_count, 100u);
    EXPECT_EQ(pcm.blocks[0].data.size(), 5u);

    std::vector<uint8_t> short_head = {kPcm44Mono, kPcm44Mono, 100};
    EXPECT_THROW(flash::ReadStreamHead(short_head), swf::SwfDataError);
}

TEST(SoundMixer, InAndOutPointsLoopsAndNoMultiple) {
    std::vector<int16_t> ramp(1000);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<int16_t>(i + 1);
    flash::SoundMixer mixer;
    flash::SoundInfo info;
    info.has_in = info.has_out = true;
    info.in = 100;
    info.out = 400;
    info.loops = 3;
    info.no_multiple = true;
    ASSERT_NE(mixer.StartEvent(7, MonoPcm(ramp), info), 0u);
    EXPECT_EQ(mixer.StartEvent(7, MonoPcm(ramp), info), 0u);   // already playing
    std::vector<int16_t> out = Mix(mixer, 1000);
    EXPECT_EQ(out[0], 101);
    EXPECT_EQ(out[1], 101);                // mono goes to both sides
    EXPECT_EQ(out[2 * 299], 400);
    EXPECT_EQ(out[2 * 300], 101);          // second loop
    EXPECT_EQ(out[2 * 899], 400);
    EXPECT_EQ(out[2 * 900], 0);            // three loops of 300 samples
    EXPECT_FALSE(mixer.IsPlaying(7));

    // Stop info stops every voice of the sound.
    mixer.StartEvent(7, MonoPcm(ramp), flash::SoundInfo{});
    flash::SoundInfo stop;
    stop.stop = true;
    mixer.StartEvent(7, MonoPcm(ramp), stop);
    EXPECT_EQ(mixer.ActiveVoices(), 0u);

    // An out point inside the first sample of a one-sample 22 kHz sound
    // stays inside the sound; out before in plays nothing.
    flash::SoundInfo tiny;
    tiny.has_out = true;
    tiny.out = 1;
    EXPECT_NE(mixer.StartEvent(8, MonoPcm({500}, 22050), tiny), 0u);
    EXPECT_EQ(Mix(mixer, 4)[0], 500);
    flash::SoundInfo backwards = info;
    backwards.in = 500;
    backwards.out = 200;
    EXPECT_EQ(mixer.StartEvent(9, MonoPcm(ramp), backwards), 0u);
}

TEST(SoundMixer, ResamplesPansAndFollowsTheEnvelope) {
    flash::SoundMixer mixer;
    mixer.StartEvent(1, MonoPcm({0, 400, 800}, 11025), flash::SoundInfo{});
    std::vector<int16_t> out = Mix(mixer, 12);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 100);     // a quarter of the way to the next sample
    EXPECT_EQ(out[8], 400);
    EXPECT_EQ(out[2 * 5], 500);
    EXPECT_EQ(out[2 * 7], 700);
    EXPECT_EQ(out[2 * 11], 800);   // the last sample is held, not faded

    flash::SoundTransform half_right = flash::PanTransform(50);
    EXPECT_DOUBLE_EQ(half_right.ll, 0.5);
    EXPECT_DOUBLE_EQ(half_right.rr, 1);
    mixer.StartEvent(2, MonoPcm(std::vector<int16_t>(10, 10000)), flash::SoundInfo{}, flash::PanTransform(-100));
    out = Mix(mixer, 1);
    EXPECT_EQ(out[0], 10000);
    EXPECT_EQ(out[1], 0);
    mixer.StopAll();

    // Left fades in over 1000 samples, right fades out.
    flash::SoundInfo info;
    info.envelope = {{0, 0, 32768}, {1000, 32768, 0}};
    double left = 0, right = 0;
    flash::EnvelopeLevels(info.envelope, 250, left, right);
    EXPECT_DOUBLE_EQ(left, 0.25);
    EXPECT_DOUBLE_EQ(right, 0.75);
    mixer.StartEvent(3, MonoPcm(std::vector<int16_t>(2000, 10000)), info);
    out = Mix(mixer, 2000);
    EXPECT_EQ(out[2 * 500], 5000);
    EXPECT_EQ(out[2 * 500 + 1], 5000);
    EXPECT_EQ(out[2 * 1500], 10000);
    EXPECT_EQ(out[2 * 1500 + 1], 0);
}

TEST(SoundTrack, StreamComesOutSampleExactAtTheFrameTimes) {
    std::vector<int16_t> track = flash::RenderSoundtrack(StreamMovie(8), 8);
    ASSERT_EQ(track.size(), size_t(8 * kBlock * 2));
    for (int f = 0; f < 8; ++f) {
        int16_t want = f == 5 ? 0 : static_cast<int16_t>(100 * (f + 1));
        for (int i : {0, kBlock / 2, kBlock - 1}) {
            size_t at = (static_cast<size_t>(f) * kBlock + static_cast<size_t>(i)) * 2;
            ASSERT_EQ(track[at], want) << "frame " << f << " sample " << i;
            ASSERT_EQ(track[at + 1], want);
        }
    }
    std::vector<uint8_t> wav = flash::StereoWav(track);
    EXPECT_EQ(wav.size(), 44 + track.size() * 2);
    EXPECT_EQ(wav[22], 2);   // channels
}

TEST(SoundTrack, EventSoundWithPointsAndThreeLoopsHasItsLength) {
    flash::SwfWriter movie(8, 100, 100, 10);
    movie.Tag(kDefineSound, DefineSoundBody(3, kPcm44Mono, std::vector<int16_t>(5000, 1234)));
    movie.ShowFrame();
    StartArgs args;
    args.in = 1000;
    args.out = 3000;
    args.loops = 3;
    movie.Tag(kStartSound, StartSoundBody(3, args));
    for (int f = 0; f < 4; ++f) movie.ShowFrame();
    std::vector<int16_t> track = flash::RenderSoundtrack(Load(movie), 5);
    size_t first = track.size(), last = 0;
    for (size_t i = 0; i < track.size(); i += 2)
        if (track[i] != 0) {
            first = std::min(first, i / 2);
            last = i / 2;
        }
    EXPECT_EQ(first, size_t(kBlock));           // starts with frame 1
    EXPECT_EQ(last - first + 1, size_t(6000));  // 3 × (3000 − 1000)
}

TEST(SoundEngine, StopStopsTheStreamAndGotoRestartsItAtTheFrame) {
    flash::Player player;
    flash::SoundMixer mixer;
    flash::SoundEngine engine(player, mixer);
    player.Load(StreamMovie(20));
    EXPECT_EQ(Mix(mixer, kBlock)[0], 100);
    player.Advance();
    EXPECT_EQ(Mix(mixer, kBlock)[0], 200);
    player.Stop();
    EXPECT_EQ(Mix(mixer, 10)[0], 0);
    player.GotoFrame(7);
    player.Play();
    player.Advance();
    EXPECT_EQ(Mix(mixer, kBlock)[0], 900);   // frame 8 restarts the stream there
    player.Advance();
    EXPECT_EQ(Mix(mixer, kBlock)[0], 1000);

    // The sound runs on while the picture waits: one frame mixed, then
    // three more, less what the output still holds.
    EXPECT_EQ(engine.StreamFramesAhead(), 1);
    Mix(mixer, 3 * kBlock + 10);
    EXPECT_EQ(engine.StreamFramesAhead(), 4);
    mixer.SetLatency(kBlock);
    EXPECT_EQ(engine.StreamFramesAhead(), 3);
    player.Unload();
    EXPECT_EQ(mixer.ActiveVoices(), 0u);
    EXPECT_EQ(engine.StreamFramesAhead(), 0);
}

TEST(SoundEngine, StreamInsideASpriteAndScriptCalls) {
    flash::SwfWriter movie(8, 100, 100, 10);
    movie.Tag(kDefineSound, DefineSoundBody(4, 0x3A, std::vector<int16_t>(11025, 50)));   // 22 kHz
    movie.Tag(56, {1, 0, 4, 0, 'b', 'e', 'e', 'p', 0});                                      // ExportAssets
    flash::TagList sprite;
    sprite.Tag(kSoundStreamHead, StreamHeadBody(kPcm44Mono, kBlock));
    for (int f = 0; f < 3; ++f) {
        StreamBlock(sprite, static_cast<int16_t>(-7 * (f + 1)), kBlock);
        sprite.ShowFrame();
    }
    movie.DefineSprite(9, sprite);
    movie.PlaceObject(NewAt(1, 9));
    movie.ShowFrame();
    movie.ShowFrame();
    std::vector<int16_t> track = flash::RenderSoundtrack(Load(movie), 2);
    EXPECT_EQ(track[0], -7);
    EXPECT_EQ(track[2 * kBlock], -14);

    flash::Player player;
    flash::SoundMixer mixer;
    flash::SoundEngine engine(player, mixer);
    player.Load(Load(movie));
    mixer.StopAll();
    ASSERT_EQ(engine.SoundByName("beep"), 4);
    EXPECT_DOUBLE_EQ(engine.SoundDuration(4), 0.5);
    flash::SoundMixer::VoiceId voice = engine.StartSound(4, 2, 0.25);
    Mix(mixer, 11025 + 2205);
    EXPECT_NEAR(mixer.VoicePosition(voice), 0.30, 1e-9);   // the second loop starts at the offset too
    Mix(mixer, 11025);
    EXPECT_FALSE(mixer.VoiceActive(voice));
}

TEST(SoundEngine, ScriptSoundObjectsStartAndStopTheirAttachedSound) {
    flash::SwfWriter movie(8, 100, 100, 10);
    movie.Tag(kDefineSound, DefineSoundBody(4, 0x3A, std::vector<int16_t>(11025, 50)));
    movie.Tag(56, {1, 0, 4, 0, 'b', 'e', 'e', 'p', 0});   // ExportAssets
    // s = new Sound(); s.attachSound("beep"); s.start(0, 2);
    flash::ActionWriter start;
    start.Push("s").Push(0.0).Push("Sound").Op(0x40).SetVariable();
    start.Push("beep").Push(1.0).Push("s").GetVariable().Push("attachSound").CallMethod().Pop();
    start.Push(2.0).Push(0.0).Push(2.0).Push("s").GetVariable().Push("start").CallMethod().Pop();
    movie.DoAction(start);
    movie.ShowFrame();
    // s.stop();
    flash::ActionWriter stop;
    stop.Push(0.0).Push("s").GetVariable().Push("stop").CallMethod().Pop();
    movie.DoAction(stop);
    movie.ShowFrame();

    flash::Player player;
    flash::SoundMixer mixer;
    flash::SoundEngine engine(player, mixer);
    player.Load(Load(movie));
    EXPECT_EQ(mixer.ActiveVoices(), 1u);
    player.Advance();
    EXPECT_EQ(mixer.ActiveVoices(), 0u);
}
