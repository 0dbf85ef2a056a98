// Script Sound objects against the mixer: position, duration,
// onSoundComplete, the volume their clip shares, and loadSound; and the
// extraction window's soundtrack row.
#include "flash_test_movies.h"
#include "sound_test_movies.h"

#include "flash/avm1/vm.h"
#include "flash/player.h"
#include "flash/sound_engine.h"
#include "flash/sound_mixer.h"
#include "flash/sound_track.h"
#include "flash/soundtrack_row.h"
#include "swf/swf_extractor.h"
#include "sine_mp3.h"
#include "tests/core/temp_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace flash_test;

namespace {

constexpr int kFrame = 4410;   // samples of one frame at 10 frames per second

// name = new Sound(); name.attachSound(linkage);
void NewSound(flash::ActionWriter& a, const std::string& name, const std::string& linkage) {
    a.Push(name).Push(0.0).Push("Sound").Op(0x40).SetVariable();
    a.Push(linkage).Push(1.0).Push(name).GetVariable().Push("attachSound").CallMethod().Pop();
}

// A 10 fps movie exporting "beep": 8820 samples of 1000 at 44.1 kHz, whose
// first frame runs script.
std::shared_ptr<const flash::Movie> BeepMovie(const flash::ActionWriter& script, int frames = 8) {
    flash::SwfWriter movie(8, 100, 100, 10);
    movie.Tag(kDefineSound, DefineSoundBody(4, kPcm44Mono, std::vector<int16_t>(8820, 1000)));
    movie.Tag(56, {1, 0, 4, 0, 'b', 'e', 'e', 'p', 0});   // ExportAssets
    movie.DoAction(script);
    for (int f = 0; f < frames; ++f) movie.ShowFrame();
    return Load(movie);
}

struct Playing {
    flash::Player player;
    flash::SoundMixer mixer;
    flash::SoundEngine engine{player, mixer};

    // A variable of the main timeline.
    flash::avm1::Value Var(const std::string& name) {
        return player.vm()->Get(const_cast<flash::Clip*>(player.Root()), name);
    }
    flash::avm1::Value Get(const std::string& object, const std::string& member) {
        return player.vm()->GetMember(Var(object), member);
    }
    flash::avm1::Value Call(const std::string& object, const std::string& method, flash::avm1::Args args = {}) {
        return player.vm()->CallMethod(Var(object), method, std::move(args));
    }
    double Number(const std::string& object, const std::string& member) {
        return player.vm()->ToNumber(Get(object, member));
    }
    // One frame time of sound, then the next frame.
    void Tick(int samples = kFrame) {
        std::vector<int16_t> out(static_cast<size_t>(samples) * 2);
        mixer.Mix(out.data(), static_cast<size_t>(samples));
        player.Advance();
    }
};

}  // namespace

TEST(SoundScript, PositionDurationAndCompletionFollowTheMixer) {
    flash::ActionWriter script;
    NewSound(script, "s", "beep");
    NewSound(script, "none", "no such sound");
    // s.onSoundComplete = function () { done = done + 1; }; s.start(0, 2);
    flash::ActionWriter count;
    count.Push("done").Push("done").GetVariable().Push(1.0).Op(0x47).SetVariable();
    script.Push("done").Push(0.0).SetVariable();
    script.Push("s").GetVariable().Push("onSoundComplete").Function("", count).SetMember();
    script.Push(2.0).Push(0.0).Push(2.0).Push("s").GetVariable().Push("start").CallMethod().Pop();
    Playing p;
    p.player.Load(BeepMovie(script));

    EXPECT_EQ(p.Number("s", "duration"), 200);
    EXPECT_TRUE(p.Get("none", "duration").IsUndefined());
    EXPECT_TRUE(p.Get("none", "position").IsUndefined());
    EXPECT_EQ(p.Number("s", "position"), 0);
    p.Tick();
    EXPECT_EQ(p.Number("s", "position"), 100);
    p.Tick(kFrame + 441);
    EXPECT_EQ(p.Number("s", "position"), 10);   // the second loop starts again at 0
    p.mixer.SetLatency(441);
    EXPECT_EQ(p.Number("s", "position"), 0);    // what is heard lags what is mixed
    p.mixer.SetLatency(0);
    EXPECT_EQ(p.player.vm()->ToNumber(p.Var("done")), 0);
    p.Tick(kFrame * 2);
    // Played to its end: complete once, and the position stays at the end.
    EXPECT_EQ(p.Number("s", "position"), 200);
    EXPECT_EQ(p.player.vm()->ToNumber(p.Var("done")), 1);
    p.Tick();
    EXPECT_EQ(p.player.vm()->ToNumber(p.Var("done")), 1);
}

TEST(SoundScript, StopLeavesThePositionAndCallsNoCompletion) {
    flash::ActionWriter script;
    NewSound(script, "s", "beep");
    script.Push(0.05).Push(1.0).Push("s").GetVariable().Push("start").CallMethod().Pop();
    Playing p;
    p.player.Load(BeepMovie(script));
    p.Tick(2205);
    EXPECT_EQ(p.Number("s", "position"), 100);   // from the offset of 50 ms
    p.Call("s", "stop", {flash::avm1::Value("beep")});
    EXPECT_EQ(p.mixer.ActiveVoices(), 0u);
    p.Tick();
    EXPECT_EQ(p.Number("s", "position"), 100);
}

TEST(SoundScript, SoundsOfOneClipShareTheVolumeAndTheMovieWideOneAppliesOnce) {
    flash::ActionWriter script;
    NewSound(script, "a", "beep");
    script.Push(50.0).Push(1.0).Push("a").GetVariable().Push("setVolume").CallMethod().Pop();
    NewSound(script, "b", "beep");
    // c = new Sound(this): the main timeline's own channel.
    script.Push("c").Push("this").GetVariable().Push(1.0).Push("Sound").Op(0x40).SetVariable();
    script.Push(0.0).Push("b").GetVariable().Push("start").CallMethod().Pop();
    Playing p;
    p.player.Load(BeepMovie(script));
    flash::avm1::Vm& vm = *p.player.vm();
    EXPECT_EQ(vm.ToNumber(p.Call("b", "getVolume")), 50);
    EXPECT_EQ(vm.ToNumber(p.Call("c", "getVolume")), 100);
    std::vector<int16_t> out(4);
    p.mixer.Mix(out.data(), 2);
    EXPECT_EQ(out[0], 500);
    // The main timeline's pan then halves the left side of everything.
    p.Call("c", "setPan", {flash::avm1::Value(50)});
    p.mixer.Mix(out.data(), 2);
    EXPECT_EQ(out[0], 250);
    EXPECT_EQ(out[1], 500);

    // The movie's volume outlasts the Sound objects that set it.
    p.Call("b", "stop");
    p.Number("b", "position");
    auto* root = const_cast<flash::Clip*>(p.player.Root());
    for (const char* name : {"a", "b", "c"}) vm.Set(root, name, flash::avm1::Value());
    vm.Collect([&](flash::avm1::Tracer& tracer) { tracer.Mark(root); });
    flash::avm1::Value fresh = vm.Construct(vm.Get(vm.global, "Sound"), {});
    EXPECT_EQ(vm.ToNumber(vm.CallMethod(fresh, "getVolume", {})), 50);
}

TEST(SoundScript, LoadSoundDecodesALocalMp3AndStreamingStartsIt) {
    std::filesystem::path folder = testtemp::OwnTempPath("corvella_sound_script_test");
    std::filesystem::create_directories(folder);
    {
        // An ID3v2 tag of 16 bytes, then the MPEG frames.
        std::ofstream file(folder / "tune.mp3", std::ios::binary);
        const char tag[] = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0};
        file.write(tag, sizeof tag);
        file.write(reinterpret_cast<const char*>(kSineMp3), sizeof kSineMp3);
    }
    flash::ActionWriter script;
    script.Push("s").Push(0.0).Push("Sound").Op(0x40).SetVariable();
    flash::ActionWriter loaded;   // ok = arguments[0]
    loaded.Push("ok").Push("arguments").GetVariable().Push(0.0).GetMember().SetVariable();
    script.Push("s").GetVariable().Push("onLoad").Function("", loaded).SetMember();
    script.Push(1.0).Push("tune.mp3").Push(2.0).Push("s").GetVariable().Push("loadSound").CallMethod().Pop();
    Playing p;
    p.player.SetBaseFolder(folder);
    // A local file arrives at the end of the frame that asked for it.
    p.player.Load(BeepMovie(script));
    flash::avm1::Vm& vm = *p.player.vm();
    EXPECT_TRUE(vm.ToBoolean(p.Var("ok")));
    EXPECT_EQ(vm.ToNumber(p.Call("s", "getBytesTotal")), 16 + sizeof kSineMp3);
    // A quarter second of sine in 12 frames of 576 samples: 313 ms decoded.
    EXPECT_NEAR(p.Number("s", "duration"), 313, 65);
    EXPECT_EQ(p.mixer.ActiveVoices(), 1u);   // a streaming sound plays at once
    std::filesystem::remove_all(folder);
}

namespace {

// The rows an extractor lists for the movie, and the soundtrack row after them.
struct Listed {
    swf::SwfExtractor extractor;
    flash::ExtractionRows rows;

    explicit Listed(const std::vector<uint8_t>& file) {
        extractor.SetSwfImage(file);
        extractor.getinfo();
        extractor.addtolistview();
        rows.Build(extractor);
    }
};

}  // namespace

TEST(SoundtrackRow, ListsTheWholeMovieAndExportsWhatTheSoundtrackCommandWrites) {
    // A 10 fps movie of 3 frames whose event sound lasts 5.5 frames.
    flash::SwfWriter movie(8, 100, 100, 10);
    movie.Tag(kDefineSound, DefineSoundBody(4, kPcm44Mono, std::vector<int16_t>(kFrame * 11 / 2, 700)));
    movie.Tag(kStartSound, StartSoundBody(4, {}));
    for (int f = 0; f < 3; ++f) movie.ShowFrame();
    for (bool compressed : {false, true}) {
        Listed listed(movie.Finish(compressed));
        ASSERT_EQ(listed.rows.Rows().size(), listed.extractor.Rows().size() + 1);
        const swf::ResourceRow& row = listed.rows.Rows().back();
        EXPECT_EQ(row.caption, "soundtrack.WAV");
        EXPECT_EQ(row.blocks, 6u);
        EXPECT_EQ(row.length, 44u + 6u * kFrame * 4);
        EXPECT_EQ(row.icon, swf::kIconSound);

        std::filesystem::path folder = testtemp::OwnTempPath("corvella_soundtrack_row_test");
        std::filesystem::create_directories(folder);
        std::filesystem::path written = listed.rows.ExtractRow(listed.extractor, listed.rows.Rows().size() - 1, folder);
        EXPECT_EQ(written.filename(), "soundtrack.WAV");
        std::ifstream in(written, std::ios::binary);
        std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(file.size(), row.length);
        EXPECT_EQ(file, flash::StereoWav(flash::RenderSoundtrack(Load(movie), 6)));
        // The extractor's own rows still export through it.
        EXPECT_FALSE(listed.rows.ExtractRow(listed.extractor, 0, folder).empty());
        std::filesystem::remove_all(folder);
    }

    flash::SwfWriter silent(8, 100, 100, 10);
    DefineBox(silent, 1, 0, 0, 10, 10, {255, 0, 0, 255});
    silent.ShowFrame();
    Listed listed(silent.Finish());
    EXPECT_EQ(listed.rows.Rows().size(), listed.extractor.Rows().size());
}

TEST(SoundScript, StopAllSoundsStopsWhatScriptsAndTimelinesPlay) {
    flash::SwfWriter movie(8, 100, 100, 10);
    movie.Tag(kDefineSound, DefineSoundBody(4, kPcm44Mono, std::vector<int16_t>(8820, 1000)));
    movie.Tag(56, {1, 0, 4, 0, 'b', 'e', 'e', 'p', 0});   // ExportAssets
    flash::ActionWriter start;
    NewSound(start, "s", "beep");
    start.Push(9.0).Push(0.0).Push(2.0).Push("s").GetVariable().Push("start").CallMethod().Pop();
    movie.DoAction(start);
    movie.Tag(kStartSound, StartSoundBody(4, {}));
    movie.ShowFrame();
    flash::ActionWriter stop_all;
    stop_all.Op(0x09);
    movie.DoAction(stop_all);
    movie.ShowFrame();
    movie.ShowFrame();
    Playing p;
    p.player.Load(Load(movie));
    EXPECT_EQ(p.mixer.ActiveVoices(), 2u);
    p.Tick(2205);
    EXPECT_EQ(p.mixer.ActiveVoices(), 0u);
    EXPECT_EQ(p.Number("s", "position"), 50);   // where it stopped, not its end
}

TEST(SoundScript, AClipsVolumeReachesTheStreamAndEventSoundsOfItsTimeline) {
    flash::SwfWriter movie(8, 100, 100, 10);
    movie.Tag(kDefineSound, DefineSoundBody(4, kPcm44Mono, std::vector<int16_t>(2 * kFrame, 300)));
    movie.Tag(56, {1, 0, 4, 0, 'b', 'e', 'e', 'p', 0});   // ExportAssets
    flash::TagList sprite;
    sprite.Tag(kSoundStreamHead, StreamHeadBody(kPcm44Mono, kFrame));
    for (int f = 0; f < 3; ++f) {
        StreamBlock(sprite, 1000, kFrame);
        if (f == 1) sprite.Tag(kStartSound, StartSoundBody(4, {}));
        sprite.ShowFrame();
    }
    movie.DefineSprite(9, sprite);
    flash::PlaceArgs place = NewAt(1, 9);
    place.name = "mc";
    movie.PlaceObject(place);
    // w = new Sound(mc); w.attachSound("beep"); w.start();
    // v = new Sound(mc); v.setVolume(50);
    flash::ActionWriter script;
    script.Push("w").Push("mc").GetVariable().Push(1.0).Push("Sound").Op(0x40).SetVariable();
    script.Push("beep").Push(1.0).Push("w").GetVariable().Push("attachSound").CallMethod().Pop();
    script.Push(0.0).Push("w").GetVariable().Push("start").CallMethod().Pop();
    script.Push("v").Push("mc").GetVariable().Push(1.0).Push("Sound").Op(0x40).SetVariable();
    script.Push(50.0).Push(1.0).Push("v").GetVariable().Push("setVolume").CallMethod().Pop();
    movie.DoAction(script);
    for (int f = 0; f < 3; ++f) movie.ShowFrame();
    Playing p;
    p.player.Load(Load(movie));
    std::vector<int16_t> out(4);
    p.mixer.Mix(out.data(), 2);
    EXPECT_EQ(out[0], 500 + 150);   // the stream and the script's sound playing when the volume changed
    p.Tick(kFrame - 2);
    p.mixer.Mix(out.data(), 2);
    EXPECT_EQ(out[0], 500 + 150 + 150);   // and the event sound the clip's frame starts
}
