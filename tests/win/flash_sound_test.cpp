// The Flash control's sound as it reaches the output: a test double takes
// the place of the wave-out device and pulls from the mixer on demand, while
// the main window plays a movie with a stream sound.
#include "playback_test_support.h"

#include "../core/flash/sound_test_movies.h"
#include "../core/flash/sine_mp3.h"
#include "flash/sound_mp3.h"
#include "flash/sound_output.h"
#include "flash/wave_output_win.h"

#include <gtest/gtest.h>

namespace {

constexpr int kBlock = 3675;   // one frame at 12 frames per second

class RecordingOutput : public flash::SoundOutput {
public:
    static RecordingOutput* latest;

    RecordingOutput() { latest = this; }
    ~RecordingOutput() override {
        if (latest == this) latest = nullptr;
    }
    bool Start(flash::SoundMixer& mixer) override {
        mixer_ = &mixer;
        return true;
    }
    void Stop() override { mixer_ = nullptr; }

    // The first left sample of the next frames the device would play.
    int16_t Pull(size_t frames = 64) {
        std::vector<int16_t> out(frames * 2, -1);
        if (mixer_) mixer_->Mix(out.data(), frames);
        return out[0];
    }

private:
    flash::SoundMixer* mixer_ = nullptr;
};

RecordingOutput* RecordingOutput::latest = nullptr;

std::unique_ptr<flash::SoundOutput> MakeRecording() { return std::make_unique<RecordingOutput>(); }

// 60 frames at 12 fps whose stream block in frame f holds 100 × (f + 1).
std::vector<uint8_t> StreamMovie() {
    flash::SwfWriter movie(8, 100, 100, 12);
    movie.Tag(swf::kSoundStreamHead, flash_test::StreamHeadBody(flash_test::kPcm44Mono, kBlock));
    for (int f = 0; f < 60; ++f) {
        flash_test::StreamBlock(movie, static_cast<int16_t>(100 * (f + 1)), kBlock);
        movie.ShowFrame();
    }
    return movie.Finish();
}

class FlashSoundTest : public playback_test::PlaybackTest {
protected:
    void TearDown() override {
        flash::SetSoundOutputFactory(flash::MakeWaveOutput);
        playback_test::PlaybackTest::TearDown();
    }
};

}  // namespace

TEST_F(FlashSoundTest, StreamReachesTheOutputPauseStopsItAndGotoMovesIt) {
    Tfrmmain& form = MakeForm();
    form.Show();
    flash::SetSoundOutputFactory(MakeRecording);
    AddEntries(form, {File(L"stream.swf", StreamMovie())});
    Play(form, 0);
    RecordingOutput* output = RecordingOutput::latest;
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->Pull(), 100);   // frame 0's block, as loaded

    form.ClickControl(L"SpeedButton6");   // pause
    EXPECT_EQ(output->Pull(), 0);

    form.flash()->GotoFrame(30);
    form.ClickControl(L"SpeedButton5");   // play
    int frame = form.flash()->CurrentFrame();
    for (int i = 0; i < 100 && form.flash()->CurrentFrame() == frame; ++i) playback_test::Pump(10);
    ASSERT_GT(form.flash()->CurrentFrame(), 30);
    EXPECT_EQ(output->Pull(), 3200);   // the stream starts again at frame 31

    // A movie without sound has no output.
    AddEntries(form, {File(L"silent.swf", media_test::SquareMovie(10, 12))});
    Play(form, 1);
    EXPECT_EQ(RecordingOutput::latest, nullptr);
}

// A movie without sound tags whose script loads an MP3 file beside it and
// streams it: the output opens once the sound plays.
TEST_F(FlashSoundTest, ScriptLoadedSoundOpensTheOutput) {
    flash::InstallWindowsSound();
    Tfrmmain& form = MakeForm();
    form.Show();
    flash::SetSoundOutputFactory(MakeRecording);
    File(L"tune.mp3", std::vector<uint8_t>(kSineMp3, kSineMp3 + sizeof kSineMp3));
    flash::SwfWriter movie(8, 100, 100, 12);
    flash::ActionWriter script;   // s = new Sound(); s.loadSound("tune.mp3", true);
    script.Push("s").Push(0.0).Push("Sound").Op(0x40).SetVariable();
    script.Push(1.0).Push("tune.mp3").Push(2.0).Push("s").GetVariable().Push("loadSound").CallMethod().Pop();
    movie.DoAction(script);
    for (int f = 0; f < 24; ++f) movie.ShowFrame();
    AddEntries(form, {File(L"loader.swf", movie.Finish())});
    Play(form, 0);
    EXPECT_EQ(RecordingOutput::latest, nullptr);
    for (int i = 0; i < 100 && !RecordingOutput::latest; ++i) playback_test::Pump(10);
    RecordingOutput* output = RecordingOutput::latest;
    ASSERT_NE(output, nullptr);
    bool heard = false;
    for (int i = 0; i < 20 && !heard; ++i) heard = output->Pull(1024) != 0;
    EXPECT_TRUE(heard);
}

std::unique_ptr<flash::SoundOutput> MakeFailing() { return nullptr; }

// Without a device a sound still runs its course: a script that stops the
// movie when its sound completes stops it.
TEST_F(FlashSoundTest, WithoutADeviceSoundsStillComplete) {
    Tfrmmain& form = MakeForm();
    form.Show();
    flash::SetSoundOutputFactory(MakeFailing);
    flash::SwfWriter movie(8, 100, 100, 12);
    movie.Tag(swf::kDefineSound, flash_test::DefineSoundBody(4, flash_test::kPcm44Mono, std::vector<int16_t>(11025, 9)));
    movie.Tag(56, {1, 0, 4, 0, 'b', 'e', 'e', 'p', 0});   // ExportAssets
    flash::ActionWriter script;   // s = new Sound(); s.attachSound("beep");
    script.Push("s").Push(0.0).Push("Sound").Op(0x40).SetVariable();
    script.Push("beep").Push(1.0).Push("s").GetVariable().Push("attachSound").CallMethod().Pop();
    flash::ActionWriter stop;     // s.onSoundComplete = function () { stop(); };
    stop.Op(0x07);
    script.Push("s").GetVariable().Push("onSoundComplete").Function("", stop).SetMember();
    script.Push(0.0).Push("s").GetVariable().Push("start").CallMethod().Pop();
    movie.DoAction(script);
    for (int f = 0; f < 120; ++f) movie.ShowFrame();
    AddEntries(form, {File(L"beep.swf", movie.Finish())});
    Play(form, 0);
    for (int i = 0; i < 150 && form.flash()->IsPlaying(); ++i) playback_test::Pump(10);
    EXPECT_FALSE(form.flash()->IsPlaying());
    EXPECT_LT(form.flash()->CurrentFrame(), 60);
}

TEST(FlashSoundCodec, Mp3IsDecodedByThePlatform) {
    flash::InstallWindowsSound();
    flash::Mp3Pcm pcm;
    ASSERT_TRUE(flash::DecodeMp3(kSineMp3, sizeof(kSineMp3), pcm));
    EXPECT_EQ(pcm.rate, 22050);
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_GE(pcm.samples.size(), size_t(22050 / 5));
    // The period of 441 Hz at 22,050 Hz is 50 samples: the middle of the
    // sound matches itself best 50 samples on.
    ASSERT_GE(pcm.samples.size(), size_t(4000));
    auto match = [&](size_t lag) {
        double sum = 0;
        for (size_t i = 2000; i < 3000; ++i) sum += double(pcm.samples[i]) * pcm.samples[i + lag];
        return sum;
    };
    size_t best = 25;
    for (size_t lag = 25; lag <= 100; ++lag)
        if (match(lag) > match(best)) best = lag;
    EXPECT_EQ(best, size_t(50));
}

TEST(FlashSoundDevice, WaveOutputPlaysThroughTheMixerOrStaysSilent) {
    flash::SoundMixer mixer;
    std::unique_ptr<flash::SoundOutput> output = flash::MakeWaveOutput();
    auto pcm = std::make_shared<flash::Pcm>();
    pcm->samples.assign(44100, 1000);   // one second
    mixer.StartEvent(1, pcm, flash::SoundInfo{});
    if (!output->Start(mixer)) {
        GTEST_SKIP() << "no wave-out device";
    }
    // The audio thread keeps the device fed, at the pace the device plays.
    ULONGLONG start = GetTickCount64();
    for (int i = 0; i < 300 && mixer.ActiveVoices() > 0; ++i) Sleep(10);   // up to 3 s
    EXPECT_EQ(mixer.ActiveVoices(), 0u);
    // Never faster than it plays: a second less the 200 ms held ahead.
    EXPECT_GE(GetTickCount64() - start, 700u);
    output->Stop();
    output->Stop();   // twice is harmless
}
