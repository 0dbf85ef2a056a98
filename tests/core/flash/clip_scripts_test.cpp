// Movie clips as scripts see them: references to removed clips, code
// whose target goes away, jumps back over what scripts changed, and the
// order in which registered classes and init actions run.
#include "flash_test_movies.h"

#include "flash/avm1/vm.h"
#include "flash/player.h"
#include "tests/core/temp_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using flash::ActionWriter;
using flash::Player;
using flash_test::DefineBox;
using flash_test::Load;
using flash_test::NewAt;

struct Played {
    explicit Played(const flash::SwfWriter& writer) {
        player.SetTraceSink([this](const std::string& line) { traced.push_back(line); });
        player.Load(Load(writer));
    }
    flash::Clip* Root() { return const_cast<flash::Clip*>(player.Root()); }
    std::string Var(const std::string& name) { return player.vm()->ToString(player.vm()->Get(Root(), name)); }
    flash::Clip* Child(int depth) {
        auto found = Root()->children.find(depth);
        return found == Root()->children.end() ? nullptr : found->second.clip;
    }
    Player player;
    std::vector<std::string> traced;
};

// this.method(args...) with its result left on the stack; args are pushed
// last first by the caller.
ActionWriter& CallOnThis(ActionWriter& w, const std::string& method, int count) {
    return w.Push(count).Push("this").GetVariable().Push(method).CallMethod();
}

ActionWriter& CreateEmpty(ActionWriter& w, const std::string& name, double depth) {
    w.Push(depth).Push(name);
    return CallOnThis(w, "createEmptyMovieClip", 2);
}

TEST(ClipScripts, AReferenceToARemovedClipNamesTheClipNowAtItsPath) {
    flash::SwfWriter movie(7, 100, 100, 10);
    ActionWriter w;
    w.Push("c");
    CreateEmpty(w, "a", 1).SetVariable();
    w.Push("c").GetVariable().Push("_name").Push("renamed").SetMember();
    w.Push("c").GetVariable().Trace();
    w.Push(0.0).Push("c").GetVariable().Push("removeMovieClip").CallMethod().Pop();
    w.Push("c").GetVariable().Trace();                                       // nothing there
    w.Push("c").GetVariable().Push("_x").GetMember().Trace();
    CreateEmpty(w, "a", 2).Pop();                                             // the name it was made with
    w.Push("c").GetVariable().Trace();
    w.Push("c").GetVariable().Push("_name").GetMember().Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"_level0.renamed", "", "undefined", "_level0.a", "a"}));
}

TEST(ClipScripts, CodeWhoseTargetIsRemovedActsOnItsOwnClip) {
    flash::SwfWriter movie(7, 100, 100, 10);
    ActionWriter w;
    CreateEmpty(w, "t", 1).Pop();
    w.Push("t").Op(0x20);                         // tellTarget("t")
    w.Push("x").Push(1).SetVariable();
    w.Push("/t").Op(0x25);                        // removeMovieClip("/t")
    w.Push("y").Push(2).SetVariable();
    w.Push("").Push(11).Op(0x22).Trace();         // _target of the target
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"/"}));
    EXPECT_EQ(p.Var("y"), "2");
    EXPECT_EQ(p.Var("x"), "undefined");
}

TEST(ClipScripts, RemovedClipCodeStopsAtItsNextCallButNotAtAMethodOfNothing) {
    flash::SwfWriter movie(7, 100, 100, 10);
    flash::TagList sprite;
    ActionWriter body;
    body.Push("this").GetVariable().Op(0x25);                          // removes its own clip
    body.Push(0.0).Push("nothing").GetVariable().Push("f").CallMethod().Pop();
    body.Push("after a method of nothing").Trace();
    body.Push(0.0).Push("missing").CallFunction().Pop();
    body.Push("after a call").Trace();
    sprite.DoAction(body);
    sprite.ShowFrame();
    movie.DefineSprite(5, sprite);
    movie.Tag(56, {1, 0, 5, 0, 's', 0});                                 // ExportAssets 5 "s"
    ActionWriter attach;
    attach.Push(1).Push("s1").Push("s");
    CallOnThis(attach, "attachMovie", 3).Pop();
    movie.DoAction(attach);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"after a method of nothing"}));
}

TEST(ClipScripts, AJumpBackKeepsWhatTheTimelinePlacedBeforeTheTarget) {
    flash::SwfWriter movie(6, 100, 100, 10);
    DefineBox(movie, 1, 0, 0, 5, 5, {255, 0, 0, 255});
    flash::TagList empty;
    empty.ShowFrame();
    movie.DefineSprite(5, empty);
    movie.ShowFrame();
    flash::PlaceArgs a = NewAt(1, 5);
    a.name = "a";
    flash::PlaceArgs b = NewAt(2, 5);
    b.name = "b";
    movie.PlaceObject(a);
    movie.PlaceObject(b);
    movie.ShowFrame();
    movie.PlaceObject(NewAt(3, 1));
    ActionWriter script_clip;
    CreateEmpty(script_clip, "s", 4 - 16384).Pop();   // a timeline depth
    CreateEmpty(script_clip, "k", 7).Pop();           // a script depth
    movie.DoAction(script_clip);
    movie.ShowFrame();
    Played p(movie);
    p.player.Advance();
    p.player.Advance();
    p.player.Stop();
    p.player.SwapDepths(*p.Child(1), 2);
    flash::Clip* first = p.Child(2);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Placement().name, "a");          // swapped onto depth 2
    EXPECT_NE(p.Child(4), nullptr);
    p.player.GotoFrame(1);
    EXPECT_EQ(p.Child(2), first);                     // the same clip, not a new one
    EXPECT_EQ(p.Child(1)->Placement().name, "b");
    EXPECT_FALSE(first->removed);
    EXPECT_EQ(p.Root()->children.count(3), 0u);       // placed after the target
    EXPECT_EQ(p.Child(4), nullptr);                   // a script clip at a timeline depth
    EXPECT_NE(p.Child(7 + 16384), nullptr);           // a script clip at a script depth
    p.player.GotoFrame(0);
    EXPECT_TRUE(first->removed);
    EXPECT_EQ(p.Child(2), nullptr);
}

// DoInitAction for `sprite`.
std::vector<uint8_t> InitAction(uint16_t sprite, const ActionWriter& actions) {
    std::vector<uint8_t> body{static_cast<uint8_t>(sprite), static_cast<uint8_t>(sprite >> 8)};
    std::vector<uint8_t> code = actions.Bytes();
    body.insert(body.end(), code.begin(), code.end());
    return body;
}

TEST(ClipScripts, RegisteredClassesSeeTheirFirstFrameAndInitActionsComeFirst) {
    flash::SwfWriter movie(7, 100, 100, 10);
    flash::TagList kid;
    kid.ShowFrame();
    movie.DefineSprite(5, kid);
    flash::TagList thing;
    flash::PlaceArgs inner = NewAt(1, 5);
    inner.name = "kid";
    thing.PlaceObject(inner);
    thing.ShowFrame();
    movie.DefineSprite(6, thing);
    movie.Tag(56, {1, 0, 6, 0, 't', 'h', 'i', 'n', 'g', 0});   // ExportAssets 6 "thing"
    flash::PlaceArgs placed = NewAt(1, 6);
    placed.name = "t";
    movie.PlaceObject(placed);                                    // before the init action in the file
    ActionWriter init;
    init.Function("C", ActionWriter().Push("this").GetVariable().Push("kid").GetMember().Trace());
    init.Push("C").GetVariable().Push("thing").Push(2).Push("Object").GetVariable().Push("registerClass").CallMethod().Pop();
    init.Push(5).Push("thing").Push(2).Push("Object").GetVariable().Push("registerClass").CallMethod().Trace();
    movie.Tag(59, InitAction(6, init));
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"false", "_level0.t.kid"}));
    flash::Clip* t = p.Child(1);
    ASSERT_NE(t, nullptr);
    flash::avm1::Property* constructor = t->FindOwn("__constructor__", true);
    ASSERT_NE(constructor, nullptr);
    EXPECT_EQ(constructor->value.object, p.player.vm()->Get(p.Root(), "C").object);
}

TEST(ClipScripts, ANamedShapeStandsForItsClipAndAMoveKeepsAClip) {
    flash::SwfWriter movie(7, 100, 100, 10);
    DefineBox(movie, 1, 0, 0, 5, 5, {255, 0, 0, 255});
    flash::TagList empty;
    empty.ShowFrame();
    movie.DefineSprite(5, empty);
    movie.DefineSprite(6, empty);
    flash::PlaceArgs shape = NewAt(1, 1);
    shape.name = "box";
    movie.PlaceObject(shape);
    flash::PlaceArgs clip = NewAt(2, 5);
    clip.name = "c";
    movie.PlaceObject(clip);
    movie.DoAction(ActionWriter().Push("box").GetVariable().Trace());
    movie.ShowFrame();
    flash::PlaceArgs replace = NewAt(2, 6, 30, 0);
    replace.move = true;
    replace.name = "other";
    movie.PlaceObject(replace);
    movie.ShowFrame();
    Played p(movie);
    flash::Clip* before = p.Child(2);
    p.player.Advance();
    EXPECT_EQ(p.traced, (std::vector<std::string>{"_level0"}));
    EXPECT_EQ(p.Child(2), before);                     // a move does not replace a clip
    EXPECT_EQ(p.Root()->children.at(2).name, "c");
    EXPECT_EQ(p.Root()->children.at(2).matrix.tx, 600);
}

TEST(ClipScripts, FsCommandQuitAsksThePlayerToClose) {
    flash::SwfWriter movie(7, 100, 100, 10);
    movie.ShowFrame();
    std::string url = "FSCommand:quit";
    std::vector<uint8_t> get_url{0x83, static_cast<uint8_t>(url.size() + 2), 0};
    get_url.insert(get_url.end(), url.begin(), url.end());
    get_url.insert(get_url.end(), {0, 0, 0});
    movie.Tag(12, get_url);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_FALSE(p.player.QuitRequested());
    p.player.Advance();
    EXPECT_TRUE(p.player.QuitRequested());
}

TEST(ClipScripts, PropertiesReadBackAsScriptsSetThem) {
    flash::SwfWriter movie(7, 100, 100, 10);
    DefineBox(movie, 1, 0, 0, 20, 10, {255, 0, 0, 255});
    flash::TagList box;
    box.PlaceObject(NewAt(1, 1));
    box.ShowFrame();
    movie.DefineSprite(5, box);
    flash::PlaceArgs placed = NewAt(1, 5);
    placed.name = "c";
    movie.PlaceObject(placed);
    movie.ShowFrame();
    Played p(movie);
    flash::avm1::Vm& vm = *p.player.vm();
    flash::Clip* c = p.Child(1);
    auto get = [&](const char* name) { return vm.ToString(vm.Get(c, name)); };
    vm.Set(c, "_XSCALE", flash::avm1::Value(-50));          // any case, in every version
    EXPECT_EQ(get("_xscale"), "-50");
    EXPECT_EQ(get("_width"), "10");
    vm.Set(c, "_rotation", flash::avm1::Value(90));
    vm.Set(c, "_width", flash::avm1::Value(20));             // twice the width in the parent: x scale doubles
    EXPECT_EQ(get("_xscale"), "-100");
    EXPECT_EQ(get("_yscale"), "100");
    vm.Set(c, "_visible", flash::avm1::Value("0"));
    EXPECT_EQ(get("_visible"), "false");
    vm.Set(c, "_visible", flash::avm1::Value("yes"));       // no number: unchanged
    vm.Set(c, "_visible", flash::avm1::Value::Null());
    EXPECT_EQ(get("_visible"), "false");
}

TEST(ClipScripts, ChildrenUnloadFirstAndAnUnloadingClipStillAnswers) {
    flash::SwfWriter movie(7, 100, 100, 10);
    flash::TagList kid;
    kid.ShowFrame();
    movie.DefineSprite(5, kid);
    flash::TagList parent;
    flash::PlaceArgs inner = NewAt(1, 5);
    inner.name = "k";
    parent.PlaceObject(inner);
    parent.ShowFrame();
    movie.DefineSprite(6, parent);
    movie.Tag(56, {1, 0, 6, 0, 's', 0});                                 // ExportAssets 6 "s"
    ActionWriter w;
    w.Push(1).Push("p").Push("s");
    CallOnThis(w, "attachMovie", 3).Pop();
    w.Function("fk", ActionWriter().Push("k unloads").Trace());
    w.Function("fp", ActionWriter().Push("this").GetVariable().Push("_name").GetMember().Trace());
    w.Push("p").GetVariable().Push("k").GetMember().Push("onUnload").Push("fk").GetVariable().SetMember();
    w.Push("p").GetVariable().Push("onUnload").Push("fp").GetVariable().SetMember();
    w.Push(0.0).Push("p").GetVariable().Push("removeMovieClip").CallMethod().Pop();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"k unloads", "p"}));
}

TEST(ClipScripts, ARemovedClipWithAnUnloadHandlerWaitsAtItsUnloadDepthForAFrame) {
    flash::SwfWriter movie(7, 100, 100, 10);
    flash::TagList kid;
    kid.ShowFrame();
    movie.DefineSprite(5, kid);
    for (int depth : {1, 2}) {
        flash::PlaceArgs place = NewAt(depth, 5);
        place.name = depth == 1 ? "m" : "n";
        movie.PlaceObject(place);
    }
    ActionWriter handler;
    handler.Push(0.0).Push("this").GetVariable().Push("getDepth").CallMethod().Trace();
    movie.DoAction(ActionWriter().Function("f", handler).Push("m").GetVariable().Push("onUnload").Push("f").GetVariable().SetMember());
    movie.ShowFrame();
    movie.RemoveObject(1);
    movie.RemoveObject(2);                                                  // no handler: gone at once
    ActionWriter after;
    after.Push(0.0).Push("m").GetVariable().Push("getDepth").CallMethod().Trace();
    after.Push("n").GetVariable().Op(0x44).Trace();                          // typeof
    after.Push(-16385).Push(1).Push("m").GetVariable().Push("swapDepths").CallMethod().Pop();
    after.Push(0.0).Push("m").GetVariable().Push("getDepth").CallMethod().Trace();
    movie.DoAction(after);
    movie.ShowFrame();
    movie.DoAction(ActionWriter().Push("m").GetVariable().Op(0x44).Trace().Op(0x07));
    movie.ShowFrame();
    Played p(movie);
    p.player.Advance();
    p.player.Advance();
    EXPECT_EQ(p.traced, (std::vector<std::string>{"-16386", "-16386", "undefined", "-16386", "undefined"}));
}

TEST(ClipScripts, AJumpBackKeepsALaterClipWhenTheTargetFrameShowsTheSameRatioThere) {
    flash::SwfWriter movie(7, 100, 100, 10);
    flash::TagList kid;
    kid.ShowFrame();
    movie.DefineSprite(5, kid);
    movie.DefineSprite(6, kid);
    auto place = [&](int depth, uint16_t character, const char* name, std::optional<int> ratio) {
        flash::PlaceArgs args = NewAt(depth, character);
        args.name = name;
        args.ratio = ratio;
        movie.PlaceObject(args);
    };
    place(1, 5, "a", std::nullopt);
    place(2, 5, "c", std::nullopt);
    place(3, 5, "e", 3);
    place(4, 5, "g", std::nullopt);
    movie.ShowFrame();
    for (int depth : {1, 2, 3, 4}) movie.RemoveObject(depth);
    place(1, 5, "b", 0);                                                      // the same as "a" shows
    place(2, 5, "d", 7);                                                      // another ratio
    place(3, 6, "f", 3);                                                      // the ratio given: any character
    place(4, 6, "h", std::nullopt);                                           // no ratio: the same character only
    ActionWriter w;
    w.Push(1).Op(0x9F, {0});                                                  // gotoAndStop(1)
    for (const char* name : {"a", "b", "c", "d", "e", "f", "g", "h"}) w.Push(name).GetVariable().Op(0x44).Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    p.player.Advance();
    EXPECT_EQ(p.traced, (std::vector<std::string>{"undefined", "movieclip", "movieclip", "undefined", "undefined",
                                                  "movieclip", "movieclip", "undefined"}));
}

TEST(ClipScripts, AJumpNeverMakesWhatTheFramesItPassesThroughPlaceAndRemove) {
    // A class registered for the sprite traces "made" for each clip made.
    flash::SwfWriter movie(7, 100, 100, 10);
    flash::TagList kid;
    kid.ShowFrame();
    movie.DefineSprite(5, kid);
    movie.Tag(56, {1, 0, 5, 0, 'k', 'i', 'd', 0});                          // ExportAssets 5 "kid"
    ActionWriter init;
    init.Function("C", ActionWriter().Push("made").Trace());
    init.Push("C").GetVariable().Push("kid").Push(2).Push("Object").GetVariable().Push("registerClass").CallMethod().Pop();
    movie.Tag(59, InitAction(5, init));
    ActionWriter jump;
    jump.Push(4).Op(0x9F, {0});                                               // gotoAndStop(4)
    movie.DoAction(jump);
    movie.ShowFrame();
    for (auto [depth, name] : {std::pair{1, "gone"}, std::pair{2, "kept"}}) {
        flash::PlaceArgs args = NewAt(depth, 5);
        args.name = name;
        movie.PlaceObject(args);
    }
    movie.ShowFrame();
    movie.RemoveObject(1);
    movie.ShowFrame();
    ActionWriter last;
    for (const char* name : {"gone", "kept"}) last.Push(name).GetVariable().Op(0x44).Trace();
    movie.DoAction(last);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"made", "undefined", "movieclip"}));
    // Nor does a jump back that replays those frames.
    p.player.GotoFrame(2);
    EXPECT_EQ(p.traced.size(), 3u);
    EXPECT_EQ(p.Child(1), nullptr);
}

TEST(ClipScripts, GotoPastTheEndSkipsTheLastFramesActionsAndOtherValuesNameLabels) {
    flash::SwfWriter movie(7, 100, 100, 10);
    ActionWriter w;
    w.Push(99).Op(0x9F, {0});                                                 // gotoAndStop(99)
    w.Push("").Push(4).Op(0x22).Trace();                                      // _currentframe
    w.Push("undefined").GetVariable().Op(0x9F, {0});                          // the label "undefined"
    w.Push("").Push(4).Op(0x22).Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    movie.FrameLabel("undefined");
    movie.ShowFrame();
    movie.DoAction(ActionWriter().Push("last").Trace());
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"3", "2"}));
}

TEST(ClipScripts, AnAttachedButtonSymbolIsAButtonThatTakesNoInitObject) {
    flash::SwfWriter movie(6, 100, 100, 10);
    DefineBox(movie, 1, 0, 0, 10, 10, {255, 0, 0, 255});
    movie.DefineButton2(2, {flash::ButtonRecordArgs{0x0F, 1, 1, {}}}, {});
    movie.Tag(56, {1, 0, 2, 0, 'b', 0});                                 // ExportAssets 2 "b"
    ActionWriter w;
    w.Push("o").Push(0.0).Push("Object").Op(0x40).SetVariable();         // o = new Object()
    w.Push("o").GetVariable().Push("f").Push(56).SetMember();
    w.Push("o").GetVariable().Push(1).Push("k").Push("b");
    CallOnThis(w, "attachMovie", 4).Pop();
    w.Push("k").GetVariable().Op(0x44).Trace();
    w.Push("k").GetVariable().Push("f").GetMember().Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"object", "undefined"}));
}

TEST(ClipScripts, TheConstantPoolOfOneActionListHoldsInTheNext) {
    flash::SwfWriter movie(6, 100, 100, 10);
    movie.DoAction(ActionWriter().Op(0x88, {1, 0, 'A', 0}));                 // ConstantPool ["A"]
    movie.DoAction(ActionWriter().Op(0x96, {8, 0}).Trace());                 // Push constant 0
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"A"}));
}

TEST(ClipScripts, AnImageFileLoadsIntoAClipWhateverItsNameSays) {
    std::filesystem::path folder = testtemp::OwnTempPath("corvella_clip_image_test");
    std::filesystem::create_directories(folder);
    {
        std::ofstream file(folder / "pic.gif", std::ios::binary);    // a PNG signature, then anything
        file << "\x89PNG\r\n\x1a\n and the rest";
    }
    flash::SwfWriter movie(8, 100, 100, 10);
    ActionWriter w;
    CreateEmpty(w, "c", 1).Pop();
    w.Push("pic.gif").Push(1).Push("c").GetVariable().Push("loadMovie").CallMethod().Pop();
    movie.DoAction(w);
    movie.ShowFrame();
    ActionWriter check;
    check.Push(0.0).Push("c").GetVariable().Push("getBytesTotal").CallMethod().Trace();
    check.Push(-7).Push(1).Push("c").GetVariable().Push("_url").GetMember();
    check.Push("slice").CallMethod().Trace();                                // the url's end
    check.Op(0x07);
    movie.DoAction(check);
    movie.ShowFrame();
    Player player;
    std::vector<std::string> traced;
    player.SetTraceSink([&](const std::string& line) { traced.push_back(line); });
    player.SetBaseFolder(folder);
    player.Load(Load(movie));
    player.Advance();
    EXPECT_EQ(traced, (std::vector<std::string>{"21", "pic.gif"}));
    std::filesystem::remove_all(folder);
}

TEST(ClipScripts, ATextFieldSwapsDepthsWithAClipAndRemoveMovieClipRemovesIt) {
    flash::SwfWriter movie(8, 100, 100, 10);
    ActionWriter w;
    CreateEmpty(w, "c", 1).Pop();
    w.Push(10).Push(10).Push(0.0).Push(0.0).Push(2).Push("t");
    CallOnThis(w, "createTextField", 6).Pop();
    w.Push("t").GetVariable().Push(1).Push("c").GetVariable().Push("swapDepths").CallMethod().Pop();
    w.Push(0.0).Push("t").GetVariable().Push("getDepth").CallMethod().Trace();
    w.Push(0.0).Push("c").GetVariable().Push("getDepth").CallMethod().Trace();
    w.Push("t").GetVariable().Push(1).Push("MovieClip").GetVariable().Push("prototype").GetMember();
    w.Push("removeMovieClip").GetMember().Push("apply").CallMethod().Pop();    // removeMovieClip.apply(t)
    w.Push("t").GetVariable().Op(0x44).Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"1", "2", "undefined"}));
}

TEST(ClipScripts, ScriptsMakeClipsOnlyFromDepthMinus16384To2130690044) {
    flash::SwfWriter movie(7, 100, 100, 10);
    ActionWriter w;
    for (double depth : {-16384.0, -16385.0, 2130690044.0, 2130690045.0}) {
        CreateEmpty(w, "c", depth);
        w.Op(0x44).Trace();                                                   // typeof the result
    }
    CreateEmpty(w, "o", 1).Pop();
    w.Push("o").Push("d").Push(-16385 + 16384).Op(0x24);                      // CloneSprite below the range
    w.Push("d").GetVariable().Op(0x44).Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"movieclip", "undefined", "movieclip", "undefined", "undefined"}));
}

TEST(ClipScripts, TheClassConstructorOfAnAttachedClipSeesTheInitObject) {
    flash::SwfWriter movie(7, 100, 100, 10);
    flash::TagList kid;
    kid.ShowFrame();
    movie.DefineSprite(5, kid);
    movie.Tag(56, {1, 0, 5, 0, 's', 0});                                 // ExportAssets 5 "s"
    ActionWriter w;
    w.Function("C", ActionWriter().Push("this").GetVariable().Push("v").GetMember().Trace());
    w.Push("C").GetVariable().Push("s").Push(2).Push("Object").GetVariable().Push("registerClass").CallMethod().Pop();
    w.Push("o").Push(0.0).Push("Object").Op(0x40).SetVariable();
    w.Push("o").GetVariable().Push("v").Push(5).SetMember();
    w.Push("o").GetVariable().Push(1).Push("k").Push("s");
    CallOnThis(w, "attachMovie", 4).Pop();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"5"}));
}

TEST(ClipScripts, ShortIntervalsRunAsOftenAsTheyFitInAFrame) {
    flash::SwfWriter movie(7, 100, 100, 10);                           // 100 ms a frame
    ActionWriter w;
    w.Push("i").Push(0.0).SetVariable();
    w.Function("f", ActionWriter().Push("i").Push("i").GetVariable().Op(0x50).SetVariable());
    w.Push(1).Push("f").GetVariable().Push(2).Push("setInterval").CallFunction().Pop();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    double first = p.player.vm()->ToNumber(p.player.vm()->Get(p.Root(), "i"));
    EXPECT_GE(first, 50);
    EXPECT_LE(first, 100);
}

TEST(ClipScripts, RootIsTheNearestClipWithLockroot) {
    flash::SwfWriter movie(7, 100, 100, 10);
    ActionWriter w;
    CreateEmpty(w, "c", 1).Pop();
    w.Push(1).Push("d").Push(2).Push("c").GetVariable().Push("createEmptyMovieClip").CallMethod().Pop();
    w.Push("c.d._root").GetVariable().Trace();
    w.Push("c").GetVariable().Push("_lockroot").Push(1).SetMember();
    w.Push("c.d._root").GetVariable().Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"_level0", "_level0.c"}));
}

TEST(ClipScripts, BoundsAreGivenInTheSpaceOfAClipOrATargetPath) {
    flash::SwfWriter movie(7, 100, 100, 10);
    DefineBox(movie, 1, 0, 0, 20, 10, {255, 0, 0, 255});
    flash::TagList box;
    box.PlaceObject(NewAt(1, 1));
    box.ShowFrame();
    movie.DefineSprite(5, box);
    flash::PlaceArgs placed = NewAt(1, 5, 30, 40);
    placed.name = "c";
    movie.PlaceObject(placed);
    ActionWriter w;
    for (const char* target : {"/", "_level0", "", "nothing"}) {
        w.Push(target).Push(1).Push("c").GetVariable().Push("getBounds").CallMethod();
        w.Push("xMin").GetMember().Trace();
    }
    w.Push(0.0).Push("c").GetVariable().Push("getBounds").CallMethod().Push("yMax").GetMember().Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"30", "30", "undefined", "undefined", "10"}));
}

// Empty bounds are 0x7FFFFFF twips; measured in another clip's space they
// become 2^27 once code of version 8 has asked for bounds.
TEST(ClipScripts, EmptyBoundsComeOutInSinglePrecisionAfterVersion8Asks) {
    for (int version : {7, 8}) {
        flash::SwfWriter movie(version, 100, 100, 10);
        ActionWriter w;
        CreateEmpty(w, "e", 1).Pop();
        w.Push(0.0).Push("e").GetVariable().Push("getBounds").CallMethod().Push("xMin").GetMember().Trace();
        w.Push("this").GetVariable().Push(1).Push("e").GetVariable().Push("getBounds").CallMethod();
        w.Push("xMin").GetMember().Trace();
        movie.DoAction(w);
        movie.ShowFrame();
        Played p(movie);
        std::string other_space = version == 8 ? "6710886.4" : "6710886.35";
        EXPECT_EQ(p.traced, (std::vector<std::string>{"6710886.35", other_space})) << version;
    }
}

// A member name is an own property, else a level name, else a child, else
// a built-in property; GetProperty reads the built-in one whatever children
// are called.
TEST(ClipScripts, ChildrenHideBuiltInPropertiesButNotLevels) {
    flash::SwfWriter movie(7, 100, 100, 10);
    ActionWriter w;
    CreateEmpty(w, "_x", 1).Pop();
    CreateEmpty(w, "_level0", 2).Pop();
    w.Push("_root").GetVariable().Push("_x").GetMember().Trace();
    w.Push("_root").GetVariable().Push("_level0").GetMember().Trace();
    w.Push("_root").GetVariable().Push("_flash").GetMember().Trace();
    w.Push("_root").GetVariable().Push("_level-1").GetMember().Trace();
    w.Push("_root").GetVariable().Push("_x").Push(42).SetMember();
    w.Push("").Push(0.0).Op(0x22).Trace();   // GetProperty _x
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"_level0._x", "_level0", "_level0", "undefined", "42"}));
}

// clip.transform reads the clip's own matrix and colour, and the
// concatenated colour keeps offsets to 16 bits as the player does.
TEST(ClipScripts, TransformReadsAndWritesTheClip) {
    flash::SwfWriter movie(8, 100, 100, 10);
    flash::TagList empty;
    empty.ShowFrame();
    movie.DefineSprite(5, empty);
    flash::PlaceArgs placed = NewAt(1, 5, 30, 40);
    placed.name = "c";
    movie.PlaceObject(placed);
    movie.ShowFrame();
    Played p(movie);
    flash::avm1::Vm& vm = *p.player.vm();
    flash::Clip* c = p.Child(1);
    flash::avm1::Value transform = vm.Get(c, "transform");
    ASSERT_TRUE(transform.IsObject());
    auto text = [&](const char* name) {
        return vm.ToString(vm.CallMethod(vm.GetMember(transform, name), "toString", {}));
    };
    EXPECT_EQ(text("matrix"), "(a=1, b=0, c=0, d=1, tx=30, ty=40)");
    vm.Set(c, "_x", flash::avm1::Value(5));                  // the object stays live
    EXPECT_EQ(text("matrix"), "(a=1, b=0, c=0, d=1, tx=5, ty=40)");
    vm.SetMember(transform, "matrix", flash::avm1::Value(vm.MakeObject()));   // no Matrix: ignored
    EXPECT_EQ(vm.ToNumber(vm.Get(c, "_x")), 5);
    // Root blue multiplier 127.5 over a blue offset of -523: -66682.5 kept to 16 bits.
    flash::Instance& root = p.Root()->Placement();
    root.color.bm = 32640;
    c->Placement().color.ba = -523;
    EXPECT_EQ(text("concatenatedColorTransform"),
              "(redMultiplier=1, greenMultiplier=1, blueMultiplier=127.5, alphaMultiplier=1, redOffset=0, "
              "greenOffset=0, blueOffset=-1147, alphaOffset=0)");
    EXPECT_NE(vm.Get(c, "transform").object, vm.Get(c, "transform").object);   // a new one each time
}

TEST(ClipScripts, PathsSplitAtTheLastDotOrColonAndDotsAfterASlashAreNames) {
    flash::SwfWriter movie(7, 100, 100, 10);
    ActionWriter w;
    CreateEmpty(w, "a", 1).Pop();
    w.Push(1).Push("b").Push(2).Push("a").GetVariable().Push("createEmptyMovieClip").CallMethod().Pop();
    w.Push("a.b").GetVariable().Push("v").Push("deep").SetMember();
    w.Push("a").GetVariable().Push("v").Push("shallow").SetMember();
    for (const char* path : {"a/b.v", "a.b/v", "a/b:v", "a/v", "a/b.c.v", "a.", "a.b"})
        w.Push(path).GetVariable().Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"deep", "undefined", "deep", "shallow", "undefined", "undefined",
                                                  "_level0.a.b"}));
}

TEST(ClipScripts, FramesPastTheLastAMovieCanHaveAreNeverLoaded) {
    flash::SwfWriter movie(7, 100, 100, 10);
    ActionWriter w;
    // Each check skips the push and trace after it when its frame is not loaded.
    for (double frame : {16001.0, 16002.0, 16002.5, 2147483648.0, 2147483649.0, -5.0}) {
        w.Push(frame).Op(0x8D, {2}).Push(std::to_string(static_cast<long long>(frame * 10))).Trace();
    }
    w.Push("16002").Op(0x8D, {2}).Push("string").Trace();
    w.Push("label").Op(0x8D, {2}).Push("label").Trace();
    movie.DoAction(w);
    movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"160010", "160025", "21474836490", "-50", "label"}));
}

TEST(ClipScripts, AFrameNumberWithAFractionNamesALabel) {
    flash::SwfWriter movie(7, 100, 100, 10);
    ActionWriter w;
    w.Push(2.5).Op(0x9F, {0}).Push("").Push(4).Op(0x22).Trace();     // gotoAndStop(2.5); _currentframe
    w.Push(3).Op(0x9F, {0}).Push("").Push(4).Op(0x22).Trace();
    movie.DoAction(w);
    for (int i = 0; i < 3; ++i) movie.ShowFrame();
    Played p(movie);
    EXPECT_EQ(p.traced, (std::vector<std::string>{"1", "3"}));
}

TEST(ClipScripts, AFunctionOfARemovedClipFindsVariablesOnTheRoot) {
    flash::SwfWriter movie(7, 100, 100, 10);
    flash::TagList kid;
    ActionWriter inner;
    inner.Push("v").Push("kid").SetVariable();
    inner.Function("f", ActionWriter().Push("v").GetVariable().Trace());
    inner.Push("_root").GetVariable().Push("f").Push("f").GetVariable().SetMember();
    kid.DoAction(inner);
    kid.ShowFrame();
    movie.DefineSprite(5, kid);
    flash::PlaceArgs placed = NewAt(1, 5);
    placed.name = "k";
    movie.PlaceObject(placed);
    ActionWriter first;
    first.Push("v").Push("root").SetVariable();
    first.Push(0.0).Push("f").CallFunction().Pop();
    movie.DoAction(first);
    movie.ShowFrame();
    movie.RemoveObject(1);
    ActionWriter second;
    second.Push(0.0).Push("f").CallFunction().Pop();
    movie.DoAction(second);
    movie.ShowFrame();
    Played p(movie);
    p.player.Advance();
    EXPECT_EQ(p.traced, (std::vector<std::string>{"kid", "root"}));
}

}  // namespace
